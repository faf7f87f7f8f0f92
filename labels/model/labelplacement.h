#pragma once
// Where each label of a sheet lies. Positions are numbered row by row from the top left:
// row r, column k (both from 0) is position r x NBRACROSS + k.

#include "labelsheet.h"

#include <QPointF>
#include <QRectF>

namespace postavo::labels {

// The most positions a sheet may have, and so the length of every list of positions (which
// to print, their rectangles in the picker): the edit window's counters reach 10 across by
// 30 down, and every position of such a sheet must be selectable. Validation rejects sheets
// with more.
inline constexpr int kMaxPositions = 300;

struct LabelPosition {
    int row = 0;
    int column = 0;
};

int positionIndex(const LabelSheetDefinition& d, int row, int column);
// The row and column of an index; index must lie in 0 .. positionCount() - 1.
LabelPosition positionAt(const LabelSheetDefinition& d, int index);

// The top left corner of the label at row, column, in inches from the page's top left as
// printed: margin plus pitches, plus the middle gap for the right half of the columns
// (column >= NBRACROSS div 2) and the lower half of the rows (row >= NBRDOWN div 2) when
// the gap is above 0. A single column or row counts as the right or lower half.
QPointF labelOrigin(const LabelSheetDefinition& d, int row, int column);
// The label's rectangle: its origin and the label's width and height.
QRectF labelRect(const LabelSheetDefinition& d, int row, int column);
QRectF labelRect(const LabelSheetDefinition& d, int index);

// The rectangle the labels of a sheet cover together, from the first label's top left to
// the last column's right and the last row's bottom.
QRectF labelsExtent(const LabelSheetDefinition& d);

} // namespace postavo::labels
