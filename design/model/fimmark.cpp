#include "fimmark.h"

#include <QByteArray>

namespace postavo::design::fim {

std::vector<int> positions(Type type)
{
    switch (type) {
    case Type::A: return {1, 3, 9, 15, 17};
    case Type::B: return {1, 5, 7, 11, 13, 17};
    case Type::C: return {1, 3, 7, 11, 15, 17};
    }
    return {};
}

QByteArray pattern(Type type)
{
    QByteArray out(9, '0');
    for (int n : positions(type))
        out[(n - 1) / 2] = '1';
    return out;
}

std::vector<QRectF> barRects(Type type, double x, double y)
{
    std::vector<QRectF> rects;
    for (int n : positions(type))
        rects.emplace_back(QPointF(x + kStep * (n - 1), y), QPointF(x + kStep * n, y + kHeight));
    return rects;
}

std::vector<QRect> screenBars(Type type, double ppi, float zoom)
{
    // Widths and heights are cut to whole pixels in single precision, as the zoom is kept.
    const int b = int(float(ppi) * float(kStep) * zoom);
    const int c = int(float(ppi) * float(kHeight) * zoom);
    std::vector<QRect> rects;
    for (int n : positions(type))
        rects.emplace_back(QPoint(b * (n - 1), 0), QPoint(b * n - 1, c - 1));
    return rects;
}

int screenSide(double ppi, float zoom) { return int(float(ppi) * 0.625f * zoom); }
int createWidth(double ppi) { return int(ppi * 0.625); }
int createHeight(double ppi) { return int(ppi * 0.5625); }

} // namespace postavo::design::fim
