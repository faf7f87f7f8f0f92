#include "labeleditform.h"

#include "labelcodes.h"
#include "labelvalidation.h"

#include <algorithm>
#include <cmath>

namespace postavo::labels {

QString formatLength(double value, LengthUnit unit)
{
    return QString::number(value, 'f', unit == LengthUnit::Inches ? 3 : 0);
}

double toUnit(double inches, LengthUnit unit)
{
    return unit == LengthUnit::Inches ? inches : inches * kMillimetresPerInch;
}

double toInches(double value, LengthUnit unit)
{
    return unit == LengthUnit::Inches ? value : value / kMillimetresPerInch;
}

LabelEditForm::LabelEditForm(const LabelSheetDefinition& g)
{
    values_[LabelWidth] = g.lblWidth;
    values_[LabelHeight] = g.lblHeight;
    values_[HorizontalPitch] = g.horizPitch;
    values_[VerticalPitch] = g.vertPitch;
    values_[LeftMargin] = g.leftMarg;
    values_[TopMargin] = g.topMarg;
    values_[PaperWidth] = g.sheetWidth;
    values_[PaperHeight] = g.sheetDepth;
    setAcross(g.nbrAcross);
    setDown(g.nbrDown);
    givenPaper_ = g.paperSize;
    givenShape_ = g.lblShape;
    shapeIndex_ = labelShapeIndex(g.lblShape);
}

void LabelEditForm::setUnit(LengthUnit unit)
{
    if (unit == unit_)
        return;
    for (double& v : values_)
        v = unit == LengthUnit::Millimetres ? v * kMillimetresPerInch : v / kMillimetresPerInch;
    unit_ = unit;
}

bool LabelEditForm::setText(Field f, const QString& text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    values_[f] = v;
    return true;
}

void LabelEditForm::leaveField(Field f)
{
    if (f == LabelWidth && values_[HorizontalPitch] < values_[LabelWidth])
        values_[HorizontalPitch] = values_[LabelWidth];
    else if (f == LabelHeight && values_[VerticalPitch] < values_[LabelHeight])
        values_[VerticalPitch] = values_[LabelHeight];
}

void LabelEditForm::setAcross(int n)
{
    across_ = std::clamp(n, 1, kMaxAcross);
}

void LabelEditForm::setDown(int n)
{
    down_ = std::clamp(n, 1, kMaxDown);
}

void LabelEditForm::pickPaper(int index)
{
    const auto& papers = paperSizes();
    if (index < 0 || index >= int(papers.size()))
        return;
    paperIndex_ = index;
    const PaperSize& p = papers[size_t(index)];
    if (!p.fillsSize())
        return;
    const bool mm = unit_ == LengthUnit::Millimetres;
    values_[PaperWidth] = mm ? p.widthMm : p.widthInches;
    values_[PaperHeight] = mm ? p.heightMm : p.heightInches;
}

void LabelEditForm::pickShape(int index)
{
    if (index >= 0 && index < int(labelShapes().size()))
        shapeIndex_ = index;
}

LabelEditForm::Outcome LabelEditForm::accept() const
{
    auto inches = [this](Field f) {
        return unit_ == LengthUnit::Millimetres ? float(roundToThousandths(values_[f] / kMillimetresPerInch))
                                                : float(values_[f]);
    };
    LabelSheetDefinition d;
    d.nbrAcross = across_;
    d.nbrDown = down_;
    d.lblWidth = inches(LabelWidth);
    d.lblHeight = inches(LabelHeight);
    d.horizPitch = inches(HorizontalPitch);
    d.vertPitch = inches(VerticalPitch);
    d.leftMarg = inches(LeftMargin);
    d.topMarg = inches(TopMargin);
    d.sheetWidth = inches(PaperWidth);
    d.sheetDepth = inches(PaperHeight);
    d.paperSize = paperIndex_ >= 0 ? QLatin1String(paperSizes()[size_t(paperIndex_)].code) : givenPaper_;
    d.lblShape = shapeIndex_ >= 0 ? QLatin1String(labelShapes()[size_t(shapeIndex_)].code) : givenShape_;
    d = asUserDefined(d);
    return {checkEnteredDefinition(d), d};
}

} // namespace postavo::labels
