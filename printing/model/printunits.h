#pragma once
// Inch and device-pixel arithmetic shared by every print target. Positions are snapped to the
// nearest device pixel (half to even), as the printed geometry of every output expects.

#include <cmath>

namespace postavo::printing {

// Round half to even, the rounding every printed length uses.
inline double roundHalfEven(double v) { return std::nearbyint(v); }

// An inch position as a whole number of device pixels.
inline double inchToDevice(double inches, double dpi) { return roundHalfEven(inches * dpi); }
inline double deviceToInch(double pixels, double dpi) { return dpi > 0 ? pixels / dpi : 0.0; }

// A pen width as given to the canvas: negative means hundredths of an inch (at least one device
// pixel), zero or more means device pixels. 0 stays 0: the thinnest line the device draws.
inline int penWidthToDevice(int width, double dpi)
{
    if (width >= 0)
        return width;
    const int px = static_cast<int>(roundHalfEven(std::abs(width) * dpi / 100.0));
    return px < 1 ? 1 : px;
}

// A font height as layouts store it (negative: the character height in pixels at the screen's
// `ppi`) in points, rounded. A positive height is taken the same way.
inline int fontHeightToPoints(int height, double ppi)
{
    return ppi > 0 ? static_cast<int>(roundHalfEven(std::abs(height) * 72.0 / ppi)) : 0;
}

// Points as a layout's negative font height at `ppi`.
inline int pointsToFontHeight(double points, double ppi)
{
    return -static_cast<int>(roundHalfEven(points * ppi / 72.0));
}

} // namespace postavo::printing
