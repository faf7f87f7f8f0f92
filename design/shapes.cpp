#include "shapes.h"

#include <QPainter>

namespace postavo::design {

TGLabelShapes::TGLabelShapes() { setBounds(0, 0, 25, 25); }

const PropertyTable& TGLabelShapes::properties() const
{
    using P = Props<TGLabelShapes>;
    static const PropertyTable t = [] {
        PropertyTable t = commonProperties();
        t.push_back(P::boolean("Transparent", &TGLabelShapes::Transparent, std::nullopt));
        t.push_back(P::object("Brush", &TGLabelShapes::Brush, &brushProperties));
        t.push_back(P::object("Pen", &TGLabelShapes::Pen, &penProperties));
        t.push_back(P::integer("RoundPerc", &TGLabelShapes::RoundPerc, 25));
        t.push_back(P::enumeration("Shape", &TGLabelShapes::Shape, names::shapeType, stRectangle));
        return t;
    }();
    return t;
}

void TGLabelShapes::paint(QPainter& p)
{
    const int w = std::max(1, Pen.width);
    p.setPen(QPen(toQColor(Pen.color), w));
    p.setBrush(Transparent || Brush.style == 1 ? QBrush(Qt::NoBrush) : QBrush(toQColor(Brush.color)));
    const QRect r(w / 2, w / 2, width() - w, height() - w);
    if (Shape == stEllipse || Shape == stCircle)
        p.drawEllipse(r);
    else if (Shape == stRoundRect || Shape == stRoundSquare) {
        const int c = int(RoundPerc * 0.01 * std::max(width(), height()));
        p.drawRoundedRect(r, c / 2.0, c / 2.0);
    } else
        p.drawRect(r);
}

TGLineShape::TGLineShape() { setBounds(0, 0, 10, 10); }

const PropertyTable& TGLineShape::properties() const
{
    using P = Props<TGLineShape>;
    static const PropertyTable t = [] {
        PropertyTable t = commonProperties();
        t.push_back(P::enumeration("LineStyle", &TGLineShape::LineStyle, names::lineStyle, stHorizontal));
        t.push_back(P::object("Pen", &TGLineShape::Pen, &penProperties));
        return t;
    }();
    return t;
}

void TGLineShape::paint(QPainter& p)
{
    p.setPen(QPen(toQColor(Pen.color), std::max(1, Pen.width)));
    switch (LineStyle) {
    case stVertical: p.drawLine(0, 0, 0, height()); break;
    case stAngleSlopingUp: p.drawLine(width(), 0, 0, height()); break;
    case stAngleSlopingDown: p.drawLine(0, 0, width(), height()); break;
    default: p.drawLine(0, 0, width(), 0); break;
    }
}

TGImage::TGImage() { setBounds(0, 0, 105, 105); }

const PropertyTable& TGImage::properties() const
{
    using P = Props<TGImage>;
    static const PropertyTable t = [] {
        PropertyTable t = commonProperties();
        t.push_back(P::boolean("AutoSize", &TGImage::AutoSize, 0));
        t.push_back(P::picture("Picture", &TGImage::Picture));
        t.push_back(P::boolean("Stretch", &TGImage::Stretch, 1));
        return t;
    }();
    return t;
}

void TGImage::paint(QPainter& p)
{
    const QImage img = Picture.image();
    if (img.isNull()) {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(0, 0, width() - 1, height() - 1);
        return;
    }
    p.drawImage(QRect(0, 0, width(), height()), img);
}

} // namespace postavo::design
