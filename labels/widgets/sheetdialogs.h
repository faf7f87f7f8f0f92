#pragma once
// The two small windows of a sheet change: "Label Layout" (from the templates or typed in) and
// "User Defined Label Layout" (the geometry typed in inches or millimetres, bound to
// LabelEditForm, which holds every rule).

#include "labeldesign.h"
#include "labeleditform.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace postavo::labels {

class TChooseLabelLayout : public QDialog {
    Q_OBJECT
public:
    explicit TChooseLabelLayout(QWidget* parent = nullptr);
    // After exec(): Template or Manual on Ok, Cancel otherwise.
    LabelDesignerUi::LayoutMethod method() const;
    QRadioButton* templateOption() const { return fromTemplates_; }
    QRadioButton* manualOption() const { return manual_; }

private:
    QRadioButton* fromTemplates_ = nullptr;
    QRadioButton* manual_ = nullptr;
};

class TLabelEdit : public QDialog {
    Q_OBJECT
public:
    // Starts with the definition's geometry, paper and shape, in inches.
    explicit TLabelEdit(const LabelSheetDefinition& given, QWidget* parent = nullptr);

    // After Ok: the user-defined definition, lengths in inches.
    const LabelSheetDefinition& definition() const { return result_; }
    const LabelEditForm& form() const { return form_; }

    // Where a failed check is told (a message box unless a test sets it).
    std::function<void(const QString&)> showMessage;

    QLineEdit* lengthField(LabelEditForm::Field f) const { return fields_[f]; }
    QSpinBox* acrossBox() const { return across_; }
    QSpinBox* downBox() const { return down_; }
    QComboBox* paperList() const { return paper_; }
    QComboBox* shapeList() const { return shape_; }
    QRadioButton* inchesOption() const { return inches_; }
    QRadioButton* millimetresOption() const { return millimetres_; }

    void accept() override;

private:
    void takeTexts();
    void showValues();
    void leaveField(LabelEditForm::Field f);

    LabelEditForm form_;
    LabelSheetDefinition result_;
    QLineEdit* fields_[LabelEditForm::kFieldCount] = {};
    QSpinBox* across_ = nullptr;
    QSpinBox* down_ = nullptr;
    QComboBox* paper_ = nullptr;
    QComboBox* shape_ = nullptr;
    QRadioButton* inches_ = nullptr;
    QRadioButton* millimetres_ = nullptr;
    bool showing_ = false;
};

} // namespace postavo::labels
