#include "sheetdialogs.h"

#include "dialogkit.h"
#include "labelcodes.h"
#include "labelhelp.h"
#include "messageboxes.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace postavo::labels {

namespace {

QDialogButtonBox* okCancelHelp(QDialog* d, int topic)
{
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, d);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Ok"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    box->addButton(makeHelpButton(d, topic), QDialogButtonBox::HelpRole);
    QObject::connect(box, &QDialogButtonBox::accepted, d, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, d, &QDialog::reject);
    return box;
}

} // namespace

// ---- TChooseLabelLayout ----

TChooseLabelLayout::TChooseLabelLayout(QWidget* parent)
    : QDialog(parent)
{
    registerLabelHelpTopics();
    setObjectName(QStringLiteral("TChooseLabelLayout"));
    setWindowTitle(QStringLiteral("Label Layout"));
    enableWhatsThis(this);
    fromTemplates_ = new QRadioButton(QStringLiteral("&Select layout from a list of templates"), this);
    fromTemplates_->setObjectName(QStringLiteral("FromTemplates"));
    manual_ = new QRadioButton(QStringLiteral("&Enter the layout values manually (user defined layout)"), this);
    manual_->setObjectName(QStringLiteral("Manual"));
    fromTemplates_->setChecked(true);
    explain(fromTemplates_, QStringLiteral("Pick the label stock from the list of makers' products."));
    explain(manual_, QStringLiteral("Type in the size of the labels, the margins and the paper yourself."));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fromTemplates_);
    layout->addWidget(manual_);
    layout->addWidget(okCancelHelp(this, kChooseLayoutHelpTopic));
}

LabelDesignerUi::LayoutMethod TChooseLabelLayout::method() const
{
    if (result() != QDialog::Accepted)
        return LabelDesignerUi::LayoutMethod::Cancel;
    return manual_->isChecked() ? LabelDesignerUi::LayoutMethod::Manual : LabelDesignerUi::LayoutMethod::Template;
}

// ---- TLabelEdit ----

namespace {

struct FieldRow {
    LabelEditForm::Field field;
    const char* caption;
    const char* name;
    const char* help;
};

const FieldRow kFieldRows[LabelEditForm::kFieldCount] = {
    {LabelEditForm::LabelWidth, "Label Width", "LabelWidth", "The width of one label."},
    {LabelEditForm::LabelHeight, "Label Height", "LabelHeight", "The height of one label."},
    {LabelEditForm::HorizontalPitch, "Horizontal Pitch", "HorizontalPitch",
     "From the left edge of one column of labels to the left edge of the next."},
    {LabelEditForm::VerticalPitch, "Vertical Pitch", "VerticalPitch",
     "From the top of one row of labels to the top of the next."},
    {LabelEditForm::LeftMargin, "Left Margin", "LeftMargin", "From the left edge of the paper to the first column."},
    {LabelEditForm::TopMargin, "Top Margin", "TopMargin", "From the top edge of the paper to the first row."},
    {LabelEditForm::PaperWidth, "Paper Width", "PaperWidth", "The width of the paper as it is printed."},
    {LabelEditForm::PaperHeight, "Paper Height", "PaperHeight", "The height of the paper as it is printed."},
};

} // namespace

TLabelEdit::TLabelEdit(const LabelSheetDefinition& given, QWidget* parent)
    : QDialog(parent), form_(given), result_(given)
{
    registerLabelHelpTopics();
    setObjectName(QStringLiteral("TLabelEdit"));
    setWindowTitle(QStringLiteral("User Defined Label Layout"));
    enableWhatsThis(this);
    showMessage = [this](const QString& text) { showInformation(text, this); };

    inches_ = new QRadioButton(QStringLiteral("Use &Inches"), this);
    inches_->setObjectName(QStringLiteral("UseInches"));
    millimetres_ = new QRadioButton(QStringLiteral("Use &Millimeters"), this);
    millimetres_->setObjectName(QStringLiteral("UseMillimeters"));
    inches_->setChecked(true);
    explain(inches_, QStringLiteral("Show and type the lengths in inches."));
    explain(millimetres_, QStringLiteral("Show and type the lengths in millimetres."));
    auto* units = new QHBoxLayout;
    units->addWidget(inches_);
    units->addWidget(millimetres_);
    units->addStretch();

    auto* form = new QFormLayout;
    for (const FieldRow& r : kFieldRows) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(r.name));
        e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12);
        explain(e, QLatin1String(r.help));
        form->addRow(QLatin1String(r.caption), e);
        fields_[r.field] = e;
        connect(e, &QLineEdit::editingFinished, this, [this, f = r.field] { leaveField(f); });
    }
    across_ = new QSpinBox(this);
    across_->setObjectName(QStringLiteral("Across"));
    across_->setRange(1, LabelEditForm::kMaxAcross);
    across_->setValue(form_.across());
    down_ = new QSpinBox(this);
    down_->setObjectName(QStringLiteral("Down"));
    down_->setRange(1, LabelEditForm::kMaxDown);
    down_->setValue(form_.down());
    explain(across_, QStringLiteral("How many labels there are side by side."));
    explain(down_, QStringLiteral("How many rows of labels there are on a sheet."));
    form->addRow(QStringLiteral("# across"), across_);
    form->addRow(QStringLiteral("# down"), down_);

    paper_ = new QComboBox(this);
    paper_->setObjectName(QStringLiteral("PaperSize"));
    for (const PaperSize& p : paperSizes())
        paper_->addItem(QLatin1String(p.entry));
    paper_->setCurrentIndex(-1);
    explain(paper_, QStringLiteral("Picking a paper fills in its width and height."));
    shape_ = new QComboBox(this);
    shape_->setObjectName(QStringLiteral("LabelShape"));
    for (const LabelShape& s : labelShapes())
        shape_->addItem(QLatin1String(s.entry));
    shape_->setCurrentIndex(form_.shapeIndex());
    explain(shape_, QStringLiteral("The outline the designer draws the label in."));
    form->addRow(QStringLiteral("Paper size"), paper_);
    form->addRow(QStringLiteral("Label Shape"), shape_);

    connect(millimetres_, &QRadioButton::toggled, this, [this](bool mm) {
        if (showing_)
            return;
        takeTexts();
        form_.setUnit(mm ? LengthUnit::Millimetres : LengthUnit::Inches);
        showValues();
    });
    connect(paper_, &QComboBox::activated, this, [this](int index) {
        takeTexts();
        form_.pickPaper(index);
        showValues();
    });
    connect(shape_, &QComboBox::activated, this, [this](int index) { form_.pickShape(index); });
    connect(across_, &QSpinBox::valueChanged, this, [this](int n) { form_.setAcross(n); });
    connect(down_, &QSpinBox::valueChanged, this, [this](int n) { form_.setDown(n); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(units);
    layout->addLayout(form);
    layout->addWidget(okCancelHelp(this, kUserLayoutHelpTopic));
    showValues();
}

void TLabelEdit::takeTexts()
{
    for (int f = 0; f < LabelEditForm::kFieldCount; ++f) {
        const auto field = LabelEditForm::Field(f);
        // A text that is no number keeps the value behind it; the field shows it again.
        if (fields_[f]->text() != form_.text(field))
            form_.setText(field, fields_[f]->text());
    }
}

void TLabelEdit::showValues()
{
    showing_ = true;
    for (int f = 0; f < LabelEditForm::kFieldCount; ++f)
        fields_[f]->setText(form_.text(LabelEditForm::Field(f)));
    inches_->setChecked(form_.unit() == LengthUnit::Inches);
    millimetres_->setChecked(form_.unit() == LengthUnit::Millimetres);
    paper_->setCurrentIndex(form_.paperIndex());
    shape_->setCurrentIndex(form_.shapeIndex());
    showing_ = false;
}

void TLabelEdit::leaveField(LabelEditForm::Field f)
{
    if (fields_[f]->text() != form_.text(f))
        form_.setText(f, fields_[f]->text());
    form_.leaveField(f);
    showValues();
}

void TLabelEdit::accept()
{
    takeTexts();
    form_.setAcross(across_->value());
    form_.setDown(down_->value());
    const LabelEditForm::Outcome o = form_.accept();
    if (!o.ok()) {
        showValues();
        showMessage(o.message);
        return;
    }
    result_ = o.definition;
    QDialog::accept();
}

} // namespace postavo::labels
