#pragma once
// Where the next line of text goes: the section (the box lines are laid out in), the current
// position (x and the baseline y) and the line height of the current font. Plain arithmetic in
// inches, so report layouts can be checked without a printer.

namespace postavo::printing {

struct InchRect {
    double left = 0, top = 0, right = 0, bottom = 0;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
    bool operator==(const InchRect&) const = default;
};

class LineModel {
public:
    void setPageSize(double width, double height);
    double pageWidth() const { return pageWidth_; }
    double pageHeight() const { return pageHeight_; }

    // Distances from the four page edges.
    void setMargins(double left, double top, double right, double bottom);
    InchRect margins() const { return margins_; }
    InchRect marginBox() const;

    void setSection(const InchRect& section) { section_ = section; }
    void resetSection() { section_ = marginBox(); }
    const InchRect& section() const { return section_; }

    // The font decides the line height (points / 60 inch) and the descent below the baseline.
    void setFont(double points, double descentInches);
    double lineHeight() const { return points_ / 60.0; }
    double descent() const { return descent_; }

    // x at the section's left; baseline one line height below its top, less the descent.
    void home();
    void newLine();
    void setX(double x) { x_ = x; }
    void setY(double y) { y_ = y; }
    double x() const { return x_; }
    double y() const { return y_; }

    // 0 when the bottom of the current line (baseline + descent) is below the section's bottom;
    // otherwise 1 plus the further whole lines that fit above it.
    int linesLeft() const;

private:
    double pageWidth_ = 8.5, pageHeight_ = 11.0;
    InchRect margins_{0.5, 0, 0, 0};
    InchRect section_{0.5, 0, 8.5, 11.0};
    double points_ = 10, descent_ = 0;
    double x_ = 0, y_ = 0;
};

} // namespace postavo::printing
