#pragma once
// Shapes, lines and pictures: their published properties, creation values and a plain drawing,
// so that every layout reads, writes and shows whole.

#include "GGraphc.h"

namespace postavo::design {

enum ShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
enum LineStyle { stHorizontal, stVertical, stAngleSlopingUp, stAngleSlopingDown };

class TGLabelShapes : public TGGraphicControl {
    Q_OBJECT
public:
    TGLabelShapes();
    QByteArray className() const override { return "TGLabelShapes"; }
    const PropertyTable& properties() const override;
    bool Transparent = false;
    LayoutBrush Brush;
    LayoutPen Pen;
    int RoundPerc = 25;
    int Shape = stRectangle;
    void paint(QPainter& painter) override;
};

// The class under which report bands store their shapes.
class Trpshapes : public TGLabelShapes {
    Q_OBJECT
public:
    QByteArray className() const override { return "Trpshapes"; }
};

class TGLineShape : public TGGraphicControl {
    Q_OBJECT
public:
    TGLineShape();
    QByteArray className() const override { return "TGLineShape"; }
    const PropertyTable& properties() const override;
    int LineStyle = stHorizontal;
    LayoutPen Pen;
    void paint(QPainter& painter) override;
};

class TGImage : public TGGraphicControl {
    Q_OBJECT
public:
    TGImage();
    QByteArray className() const override { return "TGImage"; }
    const PropertyTable& properties() const override;
    bool AutoSize = false;
    LayoutPicture Picture;
    bool Stretch = true;
    void paint(QPainter& painter) override;
};

} // namespace postavo::design
