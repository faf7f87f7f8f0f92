#pragma once
// Shapes, lines and pictures: filled or outlined shapes (Trpshapes is the class report bands
// store them under), straight lines inside their rectangle, and pictures (bitmaps, metafiles,
// icons) stored whole in the layout.

#include "designobject.h"
#include "picturedecoder.h"

namespace postavo::design {

enum ShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
enum LineStyle { stHorizontal, stVertical, stAngleSlopingUp, stAngleSlopingDown };

// A stored pen or brush as Qt draws it on screen.
QPen screenPen(const LayoutPen& pen, int width);
QBrush screenBrush(const LayoutBrush& brush);

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

    // Clear brush when transparent, solid otherwise.
    void setTransparent(bool on);
    void setPenWidth(int w);
    void editBackgroundColor();
    void editLineColor();

    void printObject(printing::TPrintCanvas& report, double x, double y) override;
    void paint(QPainter& painter) override;

protected:
    void buildMenu(MenuEntries& menu) override;
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

    void setLineStyle(int style);
    void setPenWidth(int w);
    void editColor();
    // Horizontal lines take the surface's width, vertical ones its height; angled ones stay.
    void stretchToEdges();

    void printObject(printing::TPrintCanvas& report, double x, double y) override;
    void paint(QPainter& painter) override;

protected:
    void buildMenu(MenuEntries& menu) override;
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

    // AutoSize and Stretch exclude each other.
    void setAutoSize(bool on);
    void setStretch(bool on);
    // A new picture: an AutoSize object takes its size; repaint.
    void setPicture(const LayoutPicture& picture);
    // The picture's size in screen pixels (0 x 0 when empty).
    QSize pictureSize() const;
    // The picture drawn at `pixels` (its own size when empty); null when there is none.
    QImage pictureImage(QSize pixels = {}) const;
    // "Load Image From Disk".
    void loadFromDisk();

    void printObject(printing::TPrintCanvas& report, double x, double y) override;
    void paint(QPainter& painter) override;

protected:
    void buildMenu(MenuEntries& menu) override;

private:
    const pictures::Picture& decoded() const;
    mutable QByteArray decodedFrom_;
    mutable pictures::Picture decoded_;
    mutable QImage cache_;
    mutable QSize cacheSize_;
};

} // namespace postavo::design
