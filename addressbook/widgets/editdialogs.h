#pragma once
// The small windows of record editing and of the Help menu: "New Record", "Select a Date",
// "Getting Started" and About.

#include "addressbookcontroller.h"

#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QCheckBox;
class QLabel;
class QLineEdit;
class QTextBrowser;

namespace postavo {

// "New Record": the name and zip asked before a record is added.
class TNewRecordPrompt : public QDialog {
    Q_OBJECT
public:
    TNewRecordPrompt(const NewRecordPrompt& prompt, QWidget* parent = nullptr);
    NewRecordAnswer answer() const;
    QLineEdit* lastBox() const { return last_; }
    QLineEdit* firstBox() const { return first_; }
    QLineEdit* zipBox() const { return zip_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QLineEdit* last_ = nullptr;
    QLineEdit* first_ = nullptr;
    QLineEdit* zip_ = nullptr;
    QLabel* note_ = nullptr;  // which typed characters the file could not hold
    bool zipShown_ = false;
};

// "Select a Date"
class TSelectDate : public QDialog {
    Q_OBJECT
public:
    enum Outcome { Cancelled = 0, Chosen = 1, NoDate = 2 };
    TSelectDate(const QDate& start, QWidget* parent = nullptr);
    QDate date() const;
    void setDate(const QDate& d);

private:
    void showChosen();
    QCalendarWidget* calendar_ = nullptr;
    QLabel* chosen_ = nullptr;
};

// The getting-started screen: a page whose links open help topics.
class TGettingStarted : public QDialog {
    Q_OBJECT
public:
    explicit TGettingStarted(QWidget* parent = nullptr);
    void done(int r) override;  // writes the check box to GettingStarted
    static QString pageHtml();

private:
    QCheckBox* dontShow_ = nullptr;
};

void showAbout(QWidget* parent);

} // namespace postavo
