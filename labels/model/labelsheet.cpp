#include "labelsheet.h"

#include "cp1252.h"
#include "engine/recordengine.h"
#include "labelcodes.h"
#include "shippedcatalogues.h"

#include <cmath>

namespace postavo::labels {

bool LabelSheetDefinition::isUserDefined() const
{
    return manufac.trimmed().compare(QLatin1String(kUserMaker), Qt::CaseInsensitive) == 0;
}

bool LabelSheetDefinition::isLandscape() const
{
    return isLandscapeCode(paperSize);
}

QString LabelSheetDefinition::sheetName() const
{
    return tplDescrip.isEmpty() ? QStringLiteral("[User Defined]") : tplDescrip;
}

LabelSheetDefinition newLayoutDefaults()
{
    LabelSheetDefinition d;
    d.tplDescrip = QStringLiteral("Avery 5160  Address");
    d.lblHeight = 1.0f;
    d.lblWidth = 2.625f;
    d.nbrAcross = 3;
    d.nbrDown = 10;
    d.topMarg = 0.5f;
    d.leftMarg = 0.188f;
    d.horizPitch = 2.765f;
    d.vertPitch = 1.01f;  // not 1.00: new layouts have always started with this pitch
    d.sheetWidth = 8.5f;
    d.sheetDepth = 11.0f;
    d.paperSize = QStringLiteral("LTR");
    d.lblShape = QStringLiteral("RR");
    d.printer = QStringLiteral("LJ");
    d.manufac = QStringLiteral("AVERY");
    d.prodType = QStringLiteral("ADDRESS/SHIPPING LABELS");
    return d;
}

LabelSheetDefinition asUserDefined(LabelSheetDefinition d)
{
    d.manufac = QLatin1String(kUserMaker);
    d.tplDescrip.clear();
    d.printer.clear();
    d.prodType.clear();
    d.midExtraX = 0;
    d.midExtraY = 0;
    d.art.clear();
    return d;
}

double roundToThousandths(double inches)
{
    if (!std::isfinite(inches))
        return inches;
    return QString::number(inches, 'f', 3).toDouble();
}

LabelSheetDefinition fromTemplate(const LabelTemplateRow& r)
{
    LabelSheetDefinition d;
    d.lblHeight = float(r.lblHeight);
    d.lblWidth = float(r.lblWidth);
    d.nbrAcross = r.nbrAcross;
    d.nbrDown = r.nbrDown;
    d.topMarg = float(r.topMarg);
    d.leftMarg = float(r.leftMarg);
    d.horizPitch = float(r.horizPitch);
    d.vertPitch = float(r.vertPitch);
    d.sheetWidth = float(r.sheetWidth);
    d.sheetDepth = float(r.sheetDepth);
    d.paperSize = r.paperSize;
    d.lblShape = r.lblShape;
    d.midExtraX = r.midExtraX;
    d.midExtraY = r.midExtraY;
    d.printer = r.printer;
    d.manufac = r.manufac;
    d.prodType = r.prodType;
    d.tplDescrip = r.descript;
    d.art = r.art;
    return d;
}

namespace {

QString text(const engine::Table& t, const char* field)
{
    return fromCp1252(t.getTrimString(field));
}

// Counts are whole numbers in the file; anything else (a fraction, a damaged field read as
// not-a-number, a value no int holds) becomes 0 so that validation rejects it by name.
int count(const engine::Table& t, const char* field)
{
    const double v = t.getNumber(field);
    if (!std::isfinite(v) || v != std::trunc(v) || std::fabs(v) > 1e6)
        return 0;
    return int(v);
}

LabelSheetDefinition readCommon(const engine::Table& t)
{
    LabelSheetDefinition d;
    d.lblHeight = float(t.getNumber("LBLHEIGHT"));
    d.lblWidth = float(t.getNumber("LBLWIDTH"));
    d.nbrAcross = count(t, "NBRACROSS");
    d.nbrDown = count(t, "NBRDOWN");
    d.topMarg = float(t.getNumber("TOPMARG"));
    d.leftMarg = float(t.getNumber("LEFTMARG"));
    d.horizPitch = float(t.getNumber("HORIZPITCH"));
    d.vertPitch = float(t.getNumber("VERTPITCH"));
    d.sheetWidth = float(t.getNumber("SHEETWIDTH"));
    d.sheetDepth = float(t.getNumber("SHEETDEPTH"));
    d.paperSize = text(t, "PAPERSIZE");
    d.lblShape = text(t, "LBLSHAPE");
    d.midExtraX = t.getNumber("MIDEXTRAX");
    d.midExtraY = t.getNumber("MIDEXTRAY");
    d.printer = text(t, "PRINTER");
    d.manufac = text(t, "MANUFAC");
    d.prodType = text(t, "PRODTYPE");
    d.art = text(t, "ART");
    return d;
}

} // namespace

LabelSheetDefinition readLayoutRow(const engine::Table& table)
{
    LabelSheetDefinition d = readCommon(table);
    d.tplDescrip = text(table, "TPLDESCRIP");
    return d;
}

LabelSheetDefinition readTemplateRow(const engine::Table& table)
{
    LabelSheetDefinition d = readCommon(table);
    d.tplDescrip = text(table, "DESCRIPT");
    return d;
}

void writeLayoutRow(engine::Table& t, const LabelSheetDefinition& d)
{
    auto put = [&t](const char* field, const QString& value) { t.replace(field, toCp1252(value)); };
    auto length = [&t](const char* field, double value) { t.replaceNumber(field, roundToThousandths(value)); };
    put("PRINTER", d.printer);
    length("LBLHEIGHT", d.lblHeight);
    length("LBLWIDTH", d.lblWidth);
    t.replaceNumber("NBRACROSS", d.nbrAcross);
    t.replaceNumber("NBRDOWN", d.nbrDown);
    length("TOPMARG", d.topMarg);
    length("LEFTMARG", d.leftMarg);
    length("HORIZPITCH", d.horizPitch);
    length("VERTPITCH", d.vertPitch);
    length("SHEETWIDTH", d.sheetWidth);
    length("SHEETDEPTH", d.sheetDepth);
    put("PAPERSIZE", d.paperSize);
    put("LBLSHAPE", d.lblShape);
    put("TPLDESCRIP", d.tplDescrip);
    put("MANUFAC", d.manufac);
    put("PRODTYPE", d.prodType);
    length("MIDEXTRAX", d.midExtraX);
    length("MIDEXTRAY", d.midExtraY);
    put("ART", d.art);
}

} // namespace postavo::labels
