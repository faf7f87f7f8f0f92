#include "shapegeometry.h"

#include <algorithm>
#include <cmath>

namespace postavo::design::geometry {

namespace {
int roundEven(double v) { return int(std::nearbyint(v)); }
} // namespace

int shapeScreenPen(int penWidth, float zoom)
{
    if (zoom == 1.0f)
        return penWidth;
    int w = roundEven(float(penWidth) * zoom);
    if (w <= 0 && penWidth > 0)
        w = 1;
    return w;
}

Corners shapeScreenCorners(int width, int height, int w)
{
    const int h = w / 2;
    return {h, h, width + h - w + 1, height + h - w + 1};
}

int screenCorner(int roundPerc, int width, int height)
{
    return int(roundPerc * 0.01 * std::max(width, height));
}

int shapePrintPen(int penWidth, double ppi)
{
    const int hundredths = ppi > 0 ? int(penWidth / ppi * 100.0) : 0;
    return hundredths == 0 ? 0 : -hundredths;
}

QRectF printRect(int left, int top, int width, int height, double x, double y, double ppi)
{
    return QRectF(QPointF(x + left / ppi, y + top / ppi), QPointF(x + (left + width) / ppi, y + (top + height) / ppi));
}

double printCorner(int roundPerc, const QRectF& rect, int width, int height)
{
    return roundPerc * 0.01 * (height < width ? rect.width() : rect.height());
}

int lineScreenPen(int penWidth, float zoom)
{
    return zoom == 1.0f ? penWidth : roundEven(float(penWidth) * zoom);
}

QLine lineScreen(LineKind kind, int width, int height, int w)
{
    const int h = w / 2;
    switch (kind) {
    case LineKind::Horizontal: return QLine(h, h, width + h - w + 1, h);
    case LineKind::Vertical: return QLine(h, h, h, height + h - w + 1);
    case LineKind::SlopingUp: return QLine(width, 0, 0, height);
    case LineKind::SlopingDown: return QLine(0, 0, width, height);
    }
    return {};
}

QLineF linePrint(LineKind kind, int left, int top, int width, int height, int penWidth, double x, double y,
                 double ppi)
{
    const int h = penWidth / 2;
    const double x1 = x + left / ppi, x2 = x + (left + width) / ppi;
    const double y1 = y + (top + h) / ppi, y2 = y + (top + height + h) / ppi;
    switch (kind) {
    case LineKind::Horizontal: return QLineF(x1, y1, x2, y1);
    case LineKind::Vertical: return QLineF(x1, y1, x1, y2);
    case LineKind::SlopingUp: return QLineF(x1, y2, x2, y1);
    case LineKind::SlopingDown: return QLineF(x1, y1, x2, y2);
    }
    return {};
}

} // namespace postavo::design::geometry
