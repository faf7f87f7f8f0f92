#pragma once
// Where shapes and lines are drawn: on screen in the object's pixels (pen widths scaled by the
// zoom, the outline kept inside the object), and on paper in inches (pen widths in hundredths of
// an inch). Plain arithmetic shared by the shape and line objects.

#include <QLine>
#include <QLineF>
#include <QRect>
#include <QRectF>

namespace postavo::design::geometry {

// ---- shapes ----
// The screen pen of a shape: the width at zoom 1.0, else Round(width x zoom) but at least 1 for
// a visible pen.
int shapeScreenPen(int penWidth, float zoom);
// The two corners the outline is drawn over, (h, h) and (W + h - w + 1, H + h - w + 1) with
// h = w div 2: the corners of a Windows-style rectangle that excludes its right and bottom edge.
struct Corners {
    int x1, y1, x2, y2;
};
Corners shapeScreenCorners(int width, int height, int screenPen);
// The side of a rounded shape's corner ellipse on screen.
int screenCorner(int roundPerc, int width, int height);

// The pen a shape hands the print canvas: -(hundredths of an inch), or 0 for the thinnest line.
int shapePrintPen(int penWidth, double ppi);
// The object's rectangle on paper.
QRectF printRect(int left, int top, int width, int height, double x, double y, double ppi);
// The side of a rounded shape's corner ellipse on paper, inches.
double printCorner(int roundPerc, const QRectF& rect, int width, int height);

// ---- lines ----
enum class LineKind { Horizontal = 0, Vertical = 1, SlopingUp = 2, SlopingDown = 3 };
// The screen pen of a line: Round(width x zoom) away from zoom 1.0, with no minimum.
int lineScreenPen(int penWidth, float zoom);
// From the first point to the second, which itself is not drawn.
QLine lineScreen(LineKind kind, int width, int height, int screenPen);
// The pen a line hands the print canvas: N pixels print N hundredths of an inch.
inline int linePrintPen(int penWidth) { return -penWidth; }
QLineF linePrint(LineKind kind, int left, int top, int width, int height, int penWidth, double x, double y,
                 double ppi);

} // namespace postavo::design::geometry
