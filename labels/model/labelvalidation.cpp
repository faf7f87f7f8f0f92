#include "labelvalidation.h"

#include "labelcodes.h"
#include "labelplacement.h"

#include <cmath>

namespace postavo::labels {

namespace {

// Sheets are stored to the thousandth; a label may reach the paper's edge within that.
constexpr double kFitTolerance = 0.005;
// "N 6.3" holds at most 99.999.
constexpr double kLargestLength = 99.999;

QString inches(double v)
{
    return QString::number(v, 'f', 3);
}

struct NamedLength {
    const char* name;
    double value;
};

} // namespace

QString checkEnteredRules(const LabelSheetDefinition& d)
{
    if (d.lblHeight < 0.3f)
        return QStringLiteral("Label Height must be at least .3 inches (or 7mm)");
    if (d.lblWidth < 0.5f)
        return QStringLiteral("Label Width must be at least .5 inch (or 13mm)");
    if (d.nbrAcross >= 2 && d.lblWidth > d.horizPitch)
        return QStringLiteral("Horizontal Pitch must be at least = Label Width");
    if (d.nbrDown >= 2 && d.lblHeight > d.vertPitch)
        return QStringLiteral("Vertical Pitch must be at least = Label Height");
    if (d.sheetWidth < 0.3f)
        return QStringLiteral("Page Width must be at least .3 inch");
    if (d.sheetDepth < 0.3f)
        return QStringLiteral("Page Height must be at least .3 inches");
    return {};
}

QStringList checkSheetSoundness(const LabelSheetDefinition& d)
{
    QStringList p;
    const NamedLength lengths[] = {
        {"Label Height", d.lblHeight},   {"Label Width", d.lblWidth},   {"Top Margin", d.topMarg},
        {"Left Margin", d.leftMarg},     {"Horizontal Pitch", d.horizPitch}, {"Vertical Pitch", d.vertPitch},
        {"Paper Width", d.sheetWidth},   {"Paper Height", d.sheetDepth}, {"Middle gap across", d.midExtraX},
        {"Middle gap down", d.midExtraY},
    };
    bool allNumbers = true;
    for (const NamedLength& l : lengths) {
        if (!std::isfinite(l.value)) {
            p << QStringLiteral("%1 is not a number").arg(QLatin1String(l.name));
            allNumbers = false;
        } else if (l.value < 0) {
            p << QStringLiteral("%1 must not be negative (%2)").arg(QLatin1String(l.name), inches(l.value));
        } else if (l.value > kLargestLength) {
            p << QStringLiteral("%1 of %2 inches is too large; lengths must stay below 100 inches")
                     .arg(QLatin1String(l.name), inches(l.value));
        }
    }
    if (d.lblHeight == 0 || d.lblWidth == 0)
        p << QStringLiteral("The label must have a width and a height above 0");
    if (d.sheetWidth == 0 || d.sheetDepth == 0)
        p << QStringLiteral("The paper must have a width and a height above 0");

    const bool countsOk = d.nbrAcross >= 1 && d.nbrDown >= 1;
    if (d.nbrAcross < 1)
        p << QStringLiteral("There must be at least 1 label across (not %1)").arg(d.nbrAcross);
    if (d.nbrDown < 1)
        p << QStringLiteral("There must be at least 1 label down (not %1)").arg(d.nbrDown);
    if (countsOk && qint64(d.nbrAcross) * d.nbrDown > kMaxPositions)
        p << QStringLiteral("A sheet may hold at most %1 labels; %2 across by %3 down make %4")
                 .arg(kMaxPositions)
                 .arg(d.nbrAcross)
                 .arg(d.nbrDown)
                 .arg(qint64(d.nbrAcross) * d.nbrDown);
    if (paperSizeIndex(d.paperSize) < 0)
        p << QStringLiteral("Unknown paper size code \"%1\"").arg(d.paperSize);
    if (labelShapeIndex(d.lblShape) < 0)
        p << QStringLiteral("Unknown label shape code \"%1\"").arg(d.lblShape);

    if (allNumbers && countsOk && qint64(d.nbrAcross) * d.nbrDown <= kMaxPositions) {
        const QRectF all = labelsExtent(d);
        if (all.right() > d.sheetWidth + kFitTolerance)
            p << QStringLiteral("The labels do not fit across the page: the last column ends at %1 inches on a page %2 inches wide")
                     .arg(inches(all.right()), inches(d.sheetWidth));
        if (all.bottom() > d.sheetDepth + kFitTolerance)
            p << QStringLiteral("The labels do not fit down the page: the last row ends at %1 inches on a page %2 inches high")
                     .arg(inches(all.bottom()), inches(d.sheetDepth));
    }
    return p;
}

QString checkEnteredDefinition(const LabelSheetDefinition& d)
{
    const QString rule = checkEnteredRules(d);
    if (!rule.isEmpty())
        return rule;
    const QStringList sound = checkSheetSoundness(d);
    return sound.isEmpty() ? QString() : sound.first();
}

QStringList checkTemplate(const LabelSheetDefinition& d)
{
    QStringList p;
    const QString rule = checkEnteredRules(d);
    if (!rule.isEmpty())
        p << rule;
    p << checkSheetSoundness(d);
    if (d.tplDescrip.trimmed().isEmpty())
        p << QStringLiteral("The description is empty");
    if (!isPrinterCode(d.printer))
        p << QStringLiteral("Unknown printer type \"%1\"").arg(d.printer);
    if (!isProductTypeCode(d.prodType))
        p << QStringLiteral("Unknown product type \"%1\"").arg(d.prodType);
    if (const PaperSize* paper = paperSizeByCode(d.paperSize)) {
        if (paper->fillsSize()
            && (std::fabs(d.sheetWidth - paper->widthInches) > 0.01 || std::fabs(d.sheetDepth - paper->heightInches) > 0.01))
            p << QStringLiteral("Paper %1 is %2 x %3 inches, not %4 x %5")
                     .arg(d.paperSize, inches(paper->widthInches), inches(paper->heightInches), inches(d.sheetWidth),
                          inches(d.sheetDepth));
        if (d.paperSize == QLatin1String("USERL") && d.sheetWidth < d.sheetDepth)
            p << QStringLiteral("Landscape paper needs the long side as its width, not %1 x %2")
                     .arg(inches(d.sheetWidth), inches(d.sheetDepth));
    }
    if (d.manufac.trimmed().isEmpty() || d.isUserDefined())
        p << QStringLiteral("A template needs its maker's name, not \"%1\"").arg(d.manufac);
    const QString name = QStringLiteral("Template \"%1\": ").arg(d.tplDescrip);
    for (QString& s : p)
        s.prepend(name);
    return p;
}

} // namespace postavo::labels
