#pragma once
// TSelectLabel, "Select Label Template": the label stock catalogue by maker, product type and
// European paper, with a search by maker and number. Bound to TemplateSelection.

#include "templateselection.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace postavo::labels {

class TSelectLabel : public QDialog {
    Q_OBJECT
public:
    // `sysdataDir`: where LBLTPL.DBF is (the program's sysdata/ unless given).
    explicit TSelectLabel(const LabelSheetDefinition& current, QWidget* parent = nullptr, const QString& sysdataDir = {});

    // Opens the catalogue and sets the lists from the current definition. False with the message
    // to show when the catalogue cannot be opened; the window must not open then.
    bool start(QString* message);

    // After Ok: every field of the chosen template.
    const LabelSheetDefinition& chosen() const { return result_; }
    TemplateSelection& selection() { return selection_; }

    // Where a refused row is told (a message box unless a test sets it).
    std::function<void(const QString&)> showMessage;

    QComboBox* manufacturerList() const { return makers_; }
    QComboBox* productTypeList() const { return products_; }
    QCheckBox* europeanBox() const { return european_; }
    QLineEdit* searchBox() const { return search_; }
    QTableWidget* grid() const { return grid_; }
    QPushButton* okButton() const { return ok_; }
    QString detail(const QString& caption) const;

    void accept() override;

    // Asks with the window; false when cancelled or when the catalogue cannot be opened (the user
    // has been told).
    static bool choose(QWidget* parent, LabelSheetDefinition* d, const QString& sysdataDir = {});

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void showRows();
    void showCurrent();

    TemplateSelection selection_;
    LabelSheetDefinition current_;
    LabelSheetDefinition result_;
    QComboBox* makers_ = nullptr;
    QComboBox* products_ = nullptr;
    QCheckBox* european_ = nullptr;
    QLineEdit* search_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QPushButton* ok_ = nullptr;
    QList<QPair<QString, QLabel*>> details_;
    bool filling_ = false;
};

} // namespace postavo::labels
