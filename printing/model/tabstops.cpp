#include "tabstops.h"

#include <algorithm>

namespace postavo::printing {

double TabCell::anchorX() const
{
    switch (justify) {
    case TabJustify::Right: return right - margin;
    case TabJustify::Center: return (left + right) / 2.0;
    case TabJustify::Left:
    case TabJustify::Block: break;
    }
    return left + margin;
}

double TabCell::textX(double textWidth) const
{
    switch (justify) {
    case TabJustify::Right: return right - margin - textWidth;
    case TabJustify::Center: return (left + right) / 2.0 - textWidth / 2.0;
    case TabJustify::Left:
    case TabJustify::Block: break;
    }
    return left + margin;
}

bool TabStops::restore()
{
    if (stack_.empty())
        return false;
    stops_ = std::move(stack_.back());
    stack_.pop_back();
    return true;
}

double TabStops::left(int i) const
{
    // Walk back to the nearest stop with an absolute position.
    double x = 0;
    int first = i;
    while (first > 0 && stops_[first].afterPrevious)
        --first;
    x = stops_[first].afterPrevious ? 0.0 : stops_[first].position;
    for (int k = first; k < i; ++k)
        x += stops_[k].width;
    return x;
}

TabCell TabStops::cell(int i, double top, double bottom, int shade) const
{
    const TabStop& s = stops_.at(i);
    TabCell c;
    c.left = left(i);
    c.right = c.left + s.width;
    c.top = top;
    c.bottom = bottom;
    c.justify = s.justify;
    c.margin = s.margin / 100.0;
    c.shade = shade >= 0 ? shade : s.shade;
    c.boxLeft = s.boxLeft;
    c.boxRight = s.boxRight;
    c.boxTop = s.boxTop;
    c.boxBottom = s.boxBottom;
    return c;
}

int shadeToGrey(int percent)
{
    percent = std::clamp(percent, 0, 100);
    return (255 * (100 - percent) + 50) / 100;
}

} // namespace postavo::printing
