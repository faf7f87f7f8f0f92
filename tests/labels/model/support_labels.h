#pragma once
// Sheets the label tests share, with their makers' published figures, and a scratch folder.
#include "labelsheet.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace postavo::labels::test {

// Avery 5160: 1" x 2-5/8", 3 across, 10 down on letter; 1/2" top, 3/16" side, 1/8" between columns.
inline LabelSheetDefinition avery5160()
{
    LabelSheetDefinition d;
    d.tplDescrip = "Avery 5160  Address";
    d.lblHeight = 1.0f;
    d.lblWidth = 2.625f;
    d.nbrAcross = 3;
    d.nbrDown = 10;
    d.topMarg = 0.5f;
    d.leftMarg = 0.188f;
    d.horizPitch = 2.75f;
    d.vertPitch = 1.0f;
    d.sheetWidth = 8.5f;
    d.sheetDepth = 11.0f;
    d.paperSize = "LTR";
    d.lblShape = "RR";
    d.printer = "LJ";
    d.manufac = "AVERY";
    d.prodType = "ADDRESS/SHIPPING LABELS";
    return d;
}

// Avery L7163: 99.1 x 38.1 mm, 2 across, 7 down on A4; 15.1 mm top, 4.7 mm side, 101.6 mm pitch.
inline LabelSheetDefinition averyL7163()
{
    LabelSheetDefinition d = avery5160();
    d.tplDescrip = "Avery L7163  Address";
    d.lblHeight = 1.5f;
    d.lblWidth = 3.9f;
    d.nbrAcross = 2;
    d.nbrDown = 7;
    d.topMarg = 0.596f;
    d.leftMarg = 0.184f;
    d.horizPitch = 4.0f;
    d.vertPitch = 1.5f;
    d.sheetWidth = 8.27f;
    d.sheetDepth = 11.69f;
    d.paperSize = "A4";
    return d;
}

struct ScratchDir {
    QTemporaryDir dir{qEnvironmentVariable("POSTAVO_TEST_TMP", QDir::tempPath()) + QStringLiteral("/labels-XXXXXX")};
    QString path(const QString& name = {}) const { return name.isEmpty() ? dir.path() : dir.filePath(name); }
};

} // namespace postavo::labels::test
