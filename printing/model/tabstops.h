#pragma once
// Tab stops of the print canvas: the columns of report lines. A stop sits at an absolute x or
// right after the previous stop; a tab step makes its cell on the current line the place of the
// next text, shaded and boxed as the stop says.

#include <QString>
#include <vector>

namespace postavo::printing {

enum class TabJustify { Left, Center, Right, Block };

struct TabStop {
    double position = 0;       // inches; ignored when afterPrevious
    bool afterPrevious = false; // starts where the previous stop ends
    double width = 1;
    TabJustify justify = TabJustify::Left;
    int margin = 0;            // inner margin, hundredths of an inch
    bool boxLeft = false, boxRight = false, boxTop = false, boxBottom = false;
    int shade = 0;             // percent of grey, 0 = none
};

// A stop's cell on one line.
struct TabCell {
    double left = 0, right = 0, top = 0, bottom = 0;
    TabJustify justify = TabJustify::Left;
    double margin = 0; // inches
    int shade = 0;
    bool boxLeft = false, boxRight = false, boxTop = false, boxBottom = false;

    // Where a text of this width starts in the cell.
    double textX(double textWidth) const;
    // The x the justification anchors to: the left edge plus margin, the middle, or the right
    // edge less margin.
    double anchorX() const;
};

class TabStops {
public:
    void clear() { stops_.clear(); }
    void add(const TabStop& stop) { stops_.push_back(stop); }
    int count() const { return static_cast<int>(stops_.size()); }
    const TabStop& at(int i) const { return stops_.at(i); }

    // Keeps the list on a stack and gives it back; restoring an empty stack changes nothing.
    void save() { stack_.push_back(stops_); }
    bool restore();
    int savedDepth() const { return static_cast<int>(stack_.size()); }

    // The absolute left edge of stop i.
    double left(int i) const;
    // Stop i's cell on the line whose box runs from top to bottom; shade < 0 takes the stop's.
    TabCell cell(int i, double top, double bottom, int shade = -1) const;

private:
    std::vector<TabStop> stops_;
    std::vector<std::vector<TabStop>> stack_;
};

// The grey of a shade in percent: 0 white, 100 black.
int shadeToGrey(int percent);

} // namespace postavo::printing
