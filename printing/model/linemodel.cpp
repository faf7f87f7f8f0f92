#include "linemodel.h"

#include <cmath>

namespace postavo::printing {

void LineModel::setPageSize(double width, double height)
{
    pageWidth_ = width;
    pageHeight_ = height;
}

void LineModel::setMargins(double left, double top, double right, double bottom)
{
    margins_ = {left, top, right, bottom};
}

InchRect LineModel::marginBox() const
{
    return {margins_.left, margins_.top, pageWidth_ - margins_.right, pageHeight_ - margins_.bottom};
}

void LineModel::setFont(double points, double descentInches)
{
    points_ = points;
    descent_ = descentInches;
}

void LineModel::home()
{
    x_ = section_.left;
    y_ = section_.top + lineHeight() - descent_;
}

void LineModel::newLine()
{
    y_ += lineHeight();
    x_ = section_.left;
}

int LineModel::linesLeft() const
{
    // A hair of tolerance: six 10-point lines must fit in exactly one inch.
    constexpr double eps = 1e-9;
    const double bottom = y_ + descent_;
    if (bottom > section_.bottom + eps)
        return 0;
    const double h = lineHeight();
    if (h <= 0)
        return 1;
    return 1 + static_cast<int>(std::floor((section_.bottom - bottom) / h + eps));
}

} // namespace postavo::printing
