#pragma once
// The sheet outline: every label of a sheet drawn as its outline (rounded, square or round as
// the sheet's shape says) with its position number, counted from 1 row by row, on a page of the
// sheet's paper. Held against the stock in front of a light it shows whether the definition
// matches the labels.

#include "labelsheet.h"

#include <QPageLayout>
#include <QRectF>
#include <QString>

namespace postavo::printing {
class TPrintCanvas;
}

namespace postavo::labels {

// The page a sheet prints on: the sheet's width and height as printed (a landscape sheet is a
// landscape page of the portrait paper).
QPageLayout sheetPageLayout(const LabelSheetDefinition& d);

// The corner of a rounded label outline, in inches: as the designer draws its outline (24
// screen pixels at 96 per inch), never more than the label's smaller side.
double outlineCornerInches(const LabelSheetDefinition& d);

// Draws the outlines and numbers on the canvas's current page.
void printSheetOutline(const LabelSheetDefinition& d, printing::TPrintCanvas& canvas);

// Writes the outline page to a PDF file. The definition is checked first: a sheet that is no
// sheet (sizes, counts, labels off the paper) is refused with the reason and nothing is written.
bool writeSheetOutlinePdf(const LabelSheetDefinition& d, const QString& pdfPath, QString* error);

} // namespace postavo::labels
