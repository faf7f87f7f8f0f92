#pragma once
// The drawing operations a print canvas hands to its target, in inches from the page's top-left
// corner. A printer and a PDF file paint them at once; a preview document keeps them per page and
// paints them later at any zoom; tests read them as a log.

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPicture>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>
#include <memory>
#include <variant>

namespace postavo::printing {

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear, InsideFrame };
enum class BrushStyle { Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };

struct CanvasPen {
    QColor color = Qt::black;
    PenStyle style = PenStyle::Solid;
    int devicePixels = 1;  // width resolved for the canvas's device; 0 = thinnest line
    double widthInches = 0; // the same width in inches (device pixels / dpi)
    bool operator==(const CanvasPen&) const = default;
};

struct CanvasBrush {
    QColor color = Qt::white;
    BrushStyle style = BrushStyle::Solid;
    bool operator==(const CanvasBrush&) const = default;
};

struct CanvasFont {
    QString face = QStringLiteral("Arial");
    double points = 10;
    bool bold = false, italic = false, underline = false, strikeOut = false;
    QColor color = Qt::black;
    int rotation = 0; // degrees counter-clockwise
    bool operator==(const CanvasFont&) const = default;

    QFont toQFont() const; // at its point size, hinting off so sizes scale evenly
};

// Font measures in inches, taken from the platform's fonts at a high resolution so that every
// target lays text out alike.
struct FontMeasure {
    explicit FontMeasure(const CanvasFont& font);
    double ascent() const { return ascent_; }
    double descent() const { return descent_; }
    double height() const { return ascent_ + descent_; }
    double width(const QString& text) const;

private:
    QFontMetricsF metrics_;
    double ascent_ = 0, descent_ = 0;
    std::shared_ptr<std::array<double, 256>> advances_; // of the first 256 characters, device dots
};

struct TextOp {
    QPointF origin;        // x and the baseline y
    QString text;
    CanvasFont font;
    bool opaque = false;   // fill the text's box with `background` first
    QColor background = Qt::white;
    bool clipped = false;
    QRectF clip;           // inches, when clipped
};

enum class ShapeKind { Rectangle, RoundRect, Ellipse };

struct ShapeOp {
    ShapeKind kind = ShapeKind::Rectangle;
    QRectF rect;           // x1, y1 to x2, y2 in inches; the right and bottom edges are outside
    QSizeF corner;         // corner ellipse of a rounded rectangle, inches
    CanvasPen pen;
    CanvasBrush brush;
};

struct LineOp {
    QPointF from, to;      // the end point itself is not drawn
    CanvasPen pen;
};

struct ImageOp {
    QRectF rect;
    QImage image;
};

struct PictureOp {
    QRectF rect;
    QPicture picture;
};

using CanvasOp = std::variant<TextOp, ShapeOp, LineOp, ImageOp, PictureOp>;

// One line per operation, inches with three decimals (upper-case B, I, U, S: bold, italic,
// underline, strike-out on; r: rotation in degrees):
//   text 1.000 2.500 "Arial" 10 Bius #000000 r0 "Hello"
//   rect 1.000 1.000 2.000 2.000 pen #000000 solid 1px brush #ffffff clear
//   line 0.500 3.000 8.000 3.000 pen #c0c0c0 solid 1px
QString describe(const CanvasOp& op);

} // namespace postavo::printing
