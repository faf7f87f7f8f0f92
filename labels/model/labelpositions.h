#pragma once
// Which positions of a sheet a print run fills, and the walk from one position to the next as
// labels are printed: along the row, then down, then onto a new sheet. The same selection
// applies to every sheet of the run.

#include "labelplacement.h"

#include <QRect>
#include <QString>
#include <bitset>

namespace postavo::labels {

class PositionSelection {
public:
    // Every position selected, as the label window starts.
    PositionSelection() { flags_.set(); }

    bool isSelected(int index) const { return index >= 0 && index < kMaxPositions && flags_.test(size_t(index)); }
    void set(int index, bool on)
    {
        if (index >= 0 && index < kMaxPositions)
            flags_.set(size_t(index), on);
    }
    void toggle(int index) { set(index, !isSelected(index)); }
    void selectAll() { flags_.set(); }
    void clearAll() { flags_.reset(); }
    // How many of the sheet's own positions are selected (flags beyond the sheet do not count).
    int countOn(const LabelSheetDefinition& d) const;

    friend bool operator==(const PositionSelection&, const PositionSelection&) = default;

private:
    std::bitset<kMaxPositions> flags_;
};

// A list of position numbers as the sheet outline shows them, from 1, row by row: "1,4,8-30"
// (blanks allowed). Every number must lie on the sheet. False with a message otherwise.
bool parsePositionList(const QString& text, const LabelSheetDefinition& d, PositionSelection* out, QString* error);
// The sheet's selected positions written that way ("1-3,7").
QString positionListText(const PositionSelection& p, const LabelSheetDefinition& d);

// The position picker's drawing of a sheet at `scale` screen pixels per inch (a fifth of the
// screen's): the page from (10, 10), and each position with every term truncated on its own, so
// that the drawing matches what the user saw elsewhere at that size.
QRect pickerPageRect(const LabelSheetDefinition& d, double scale);
QRect pickerPositionRect(const LabelSheetDefinition& d, int row, int column, double scale);
// The position under a point of the picker's drawing; -1 for none.
int pickerPositionAt(const LabelSheetDefinition& d, QPoint p, double scale);

// The position the next label goes to. Starts before the first position of the first sheet;
// each advance moves one position along the row, then to the next row, and past the last row
// onto a new sheet, passing over positions that are not selected.
class SheetWalker {
public:
    // `positions` must select at least one of the sheet's positions (countOn() > 0).
    SheetWalker(LabelSheetDefinition d, PositionSelection positions)
        : d_(std::move(d)), positions_(positions)
    {
    }

    struct Step {
        int row = 0;
        int column = 0;
        bool newSheet = false;  // the sheet was full: a new page starts before this label
    };
    Step advance();

    int row() const { return row_; }
    int column() const { return column_; }
    int sheet() const { return sheet_; }

private:
    LabelSheetDefinition d_;
    PositionSelection positions_;
    int row_ = 0;
    int column_ = -1;
    int sheet_ = 1;
};

} // namespace postavo::labels
