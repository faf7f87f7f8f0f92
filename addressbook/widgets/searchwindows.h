#pragma once
// The windows that find records and copy one: "Search" (TSearchBox), "Searching"
// (TPVWSearching, the memo search under way) and "Copy Record To Clipboard". The rules are in
// search.h and recordtext.h; these only ask and show.

#include "recordtext.h"
#include "search.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;

namespace postavo {

class AddressBookController;

class TSearchBox : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kClassName = "TSearchBox";
    // The order list starts at the window's current sort order.
    TSearchBox(const QString& currentSortCaption, QWidget* parent = nullptr);
    QString order() const;
    QString text() const;
    QComboBox* orderBox() const { return order_; }
    QLineEdit* textEdit() const { return text_; }
    QLabel* promptLabel() const { return prompt_; }

private:
    QComboBox* order_ = nullptr;
    QLabel* prompt_ = nullptr;
    QLineEdit* text_ = nullptr;
};

// Shows "Searching for: " + text with a bar and "Cancel" while a memo search runs.
class TPVWSearching : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kClassName = "TPVWSearching";
    TPVWSearching(const QString& text, QWidget* parent = nullptr);
    // The step function of the search: moves the bar, lets the window respond, false once
    // "Cancel" was pressed.
    bool step(int percent);
    bool cancelled() const { return cancelled_; }
    void reject() override;

private:
    QProgressBar* bar_ = nullptr;
    bool cancelled_ = false;
};

// Runs one memo search with its searching window; the controller's window shows the result.
MemoSearchResult runMemoSearch(MemoSearch& search, AddressBookController& controller, bool fromFirst,
                               const QString& text, QWidget* parent);

class TCopyRecordDialog : public QDialog {
    Q_OBJECT
public:
    explicit TCopyRecordDialog(QWidget* parent = nullptr);
    RecordTextGroups groups() const;
    QCheckBox* box(int group) const { return boxes_[group]; }  // in the groups' order

private:
    QCheckBox* boxes_[5] = {};
};

} // namespace postavo
