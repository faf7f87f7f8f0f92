#pragma once
// Facing Identification Marks: the bar positions of types A, B and C and their geometry on
// paper (inches) and on screen (pixels).

#include <QRect>
#include <QRectF>
#include <vector>

namespace postavo::design::fim {

// The object's FIMType, in the same order.
enum class Type { A = 0, B = 1, C = 2 };

inline constexpr double kStep = 0.03125;   // one position: a bar or the gap beside it, inches
inline constexpr double kHeight = 0.5625;
inline constexpr int kPositions = 17;

// The positions (1 to 17) that carry a bar.
std::vector<int> positions(Type type);
// The nine possible bars (odd positions) as 1 and 0, "110010011" for type A.
QByteArray pattern(Type type);

// The bars in inches with the mark's top-left corner at (x, y).
std::vector<QRectF> barRects(Type type, double x, double y);
// The bars on screen, in the object's pixels, at `ppi` and `zoom`.
std::vector<QRect> screenBars(Type type, double ppi, float zoom);
// The object's side on screen (it is kept square) and its size at creation.
int screenSide(double ppi, float zoom);
int createWidth(double ppi);
int createHeight(double ppi);

} // namespace postavo::design::fim
