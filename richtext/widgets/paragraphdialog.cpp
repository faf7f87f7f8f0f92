#include "paragraphdialog.h"

#include "layoutunits.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace postavo::richtext {

namespace {

QDoubleSpinBox* spin(QWidget* parent, double min, double max, int decimals)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(min, max);
    box->setDecimals(decimals);
    box->setAccelerated(true);
    return box;
}

} // namespace

ParagraphDialog::ParagraphDialog(const QTextBlockFormat& format, QWidget* parent)
    : QDialog(parent), format_(format)
{
    setWindowTitle(QStringLiteral("Paragraph Properties"));
    first_ = spin(this, -22, 22, 2);
    left_ = spin(this, -22, 22, 2);
    right_ = spin(this, -22, 22, 2);
    units_ = new QComboBox(this);
    units_->addItems({QStringLiteral("Inch"), QStringLiteral("Cm")});
    before_ = spin(this, 0, 1584, 1);
    lineHeight_ = spin(this, 0, 1584, 1);
    after_ = spin(this, 0, 1584, 1);
    lineHeight_->setToolTip(QStringLiteral("0 gives lines the height of their text"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("First Indent"), first_);
    form->addRow(QStringLiteral("Left Indent"), left_);
    form->addRow(QStringLiteral("Right Indent"), right_);
    form->addRow(QStringLiteral("Units"), units_);
    form->addRow(QStringLiteral("Space before (pts)"), before_);
    form->addRow(QStringLiteral("Line Height (pts)"), lineHeight_);
    form->addRow(QStringLiteral("Space after (pts)"), after_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    indents_[0] = format.textIndent();
    indents_[1] = format.leftMargin();
    indents_[2] = format.rightMargin();
    setUnit(0);
    before_->setValue(scaledToTwips(format.topMargin()) / kTwipsPerPoint);
    after_->setValue(scaledToTwips(format.bottomMargin()) / kTwipsPerPoint);
    const int type = format.lineHeightType();
    if (type == QTextBlockFormat::MinimumHeight || type == QTextBlockFormat::FixedHeight)
        lineHeight_->setValue(scaledToTwips(format.lineHeight()) / kTwipsPerPoint);
    originalLineHeight_ = lineHeight_->value();
    QDoubleSpinBox* boxes[3] = {first_, left_, right_};
    for (int i = 0; i < 3; ++i)
        connect(boxes[i], &QDoubleSpinBox::valueChanged, this, [this, i](double v) {
            if (!showing_)
                indents_[i] = v * twipsPerUnit();
        });
    connect(units_, &QComboBox::currentIndexChanged, this, &ParagraphDialog::setUnit);
}

double ParagraphDialog::twipsPerUnit() const
{
    return unit_ == 0 ? 1440.0 : 1440.0 / 2.54;
}

void ParagraphDialog::setUnit(int index)
{
    if (index < 0 || index > 1)
        return;
    unit_ = index;
    showing_ = true;
    if (units_->currentIndex() != index)
        units_->setCurrentIndex(index);
    const double now = twipsPerUnit();
    const double limit = 31680 / now;
    QDoubleSpinBox* boxes[3] = {first_, left_, right_};
    for (int i = 0; i < 3; ++i) {
        boxes[i]->setRange(-limit, limit);
        boxes[i]->setValue(indents_[i] / now);
    }
    showing_ = false;
}

QTextBlockFormat ParagraphDialog::blockFormat() const
{
    QTextBlockFormat f = format_;
    f.setTextIndent(qRound(indents_[0]));
    f.setLeftMargin(qRound(indents_[1]));
    f.setRightMargin(qRound(indents_[2]));
    f.setTopMargin(twipsToScaled(qRound(before_->value() * kTwipsPerPoint)));
    f.setBottomMargin(twipsToScaled(qRound(after_->value() * kTwipsPerPoint)));
    // An unchanged line height keeps what the paragraph had (proportional spacing included).
    if (lineHeight_->value() != originalLineHeight_) {
        if (lineHeight_->value() > 0)
            f.setLineHeight(twipsToScaled(qRound(lineHeight_->value() * kTwipsPerPoint)), QTextBlockFormat::MinimumHeight);
        else
            f.setLineHeight(0, QTextBlockFormat::SingleHeight);
    }
    return f;
}

} // namespace postavo::richtext
