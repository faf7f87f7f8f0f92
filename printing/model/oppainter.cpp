#include "canvasdevice.h"
#include "printunits.h"

#include <QPainter>
#include <QPainterPath>
#include <QPaintDevice>
#include <QFontMetricsF>

#include <cmath>

namespace postavo::printing {

namespace {

Qt::PenStyle qtPenStyle(PenStyle s)
{
    switch (s) {
    case PenStyle::Dash: return Qt::DashLine;
    case PenStyle::Dot: return Qt::DotLine;
    case PenStyle::DashDot: return Qt::DashDotLine;
    case PenStyle::DashDotDot: return Qt::DashDotDotLine;
    case PenStyle::Clear: return Qt::NoPen;
    case PenStyle::Solid:
    case PenStyle::InsideFrame: break;
    }
    return Qt::SolidLine;
}

Qt::BrushStyle qtBrushStyle(BrushStyle s)
{
    switch (s) {
    case BrushStyle::Clear: return Qt::NoBrush;
    case BrushStyle::Horizontal: return Qt::HorPattern;
    case BrushStyle::Vertical: return Qt::VerPattern;
    case BrushStyle::FDiagonal: return Qt::FDiagPattern;
    case BrushStyle::BDiagonal: return Qt::BDiagPattern;
    case BrushStyle::Cross: return Qt::CrossPattern;
    case BrushStyle::DiagCross: return Qt::DiagCrossPattern;
    case BrushStyle::Solid: break;
    }
    return Qt::SolidPattern;
}

double pixelCentre(double width)
{
    return std::fmod(width, 2.0) == 1.0 ? 0.5 : 0.0;
}

} // namespace

OpPainter::OpPainter(QPainter& painter, double dpiX, double dpiY, QPointF offset)
    : p_(painter), dpiX_(dpiX), dpiY_(dpiY), offset_(offset)
{
    // Pictures keep their colours: a PDF (and a printer, which is sent one) would otherwise
    // hold them as JPEG, which turns a red and blue checker purple.
    p_.setRenderHint(QPainter::LosslessImageRendering);
}

double OpPainter::px(double inches) const { return inchToDevice(inches, dpiX_) + offset_.x(); }
double OpPainter::py(double inches) const { return inchToDevice(inches, dpiY_) + offset_.y(); }

QRectF OpPainter::deviceRect(const QRectF& r) const
{
    const double x1 = px(r.left()), y1 = py(r.top()), x2 = px(r.right()), y2 = py(r.bottom());
    return QRectF(QPointF(std::min(x1, x2), std::min(y1, y2)), QPointF(std::max(x1, x2), std::max(y1, y2)));
}

double OpPainter::penPixels(const CanvasPen& pen) const
{
    if (pen.devicePixels <= 0)
        return 0; // the device's thinnest line
    const double w = roundHalfEven(pen.widthInches * std::max(dpiX_, dpiY_));
    return w < 1 ? 1 : w;
}

void OpPainter::applyPen(const CanvasPen& pen)
{
    QPen qp(pen.color);
    qp.setStyle(qtPenStyle(pen.style));
    qp.setWidthF(penPixels(pen));
    qp.setCosmetic(pen.devicePixels <= 0);
    qp.setCapStyle(Qt::FlatCap);
    qp.setJoinStyle(Qt::MiterJoin);
    p_.setPen(qp);
}

void OpPainter::paint(const CanvasOp& op)
{
    // Shapes and lines set everything they draw with (pen, brush, antialiasing) and leave the
    // painter's transform and clip alone, so they need no save and restore: a PDF writes the
    // whole graphics state again at every restore, which made a page of barcode bars slow.
    if (const auto* shape = std::get_if<ShapeOp>(&op)) {
        paintShape(*shape);
        return;
    }
    if (const auto* line = std::get_if<LineOp>(&op)) {
        paintLine(*line);
        return;
    }
    // Plain text (no clip, no rotation, no background) is by far the most frequent operation of
    // list reports: drawn without saving and restoring the painter's state, a printer or PDF
    // file receives only the font and colour changes instead of a whole state per text.
    if (const auto* text = std::get_if<TextOp>(&op);
        text && !text->clipped && !text->opaque && text->font.rotation % 360 == 0) {
        paintPlainText(*text);
        return;
    }
    p_.save();
    std::visit([this](const auto& o) {
        using T = std::decay_t<decltype(o)>;
        if constexpr (std::is_same_v<T, TextOp>) {
            paintText(o);
        } else if constexpr (std::is_same_v<T, ShapeOp>) {
            paintShape(o);
        } else if constexpr (std::is_same_v<T, LineOp>) {
            paintLine(o);
        } else if constexpr (std::is_same_v<T, ImageOp>) {
            p_.setRenderHint(QPainter::SmoothPixmapTransform);
            p_.drawImage(deviceRect(o.rect), o.image);
        } else {
            const QRectF target = deviceRect(o.rect);
            const QRect bounds = o.picture.boundingRect();
            if (bounds.width() > 0 && bounds.height() > 0 && !target.isEmpty()) {
                p_.translate(target.topLeft());
                p_.scale(target.width() / bounds.width(), target.height() / bounds.height());
                p_.drawPicture(-bounds.topLeft(), o.picture);
            }
        }
    }, op);
    p_.restore();
}

QFont OpPainter::deviceFont(const CanvasFont& font) const
{
    QFont f = font.toQFont();
    // The font is given in points at this target's pixels per inch, whatever the painter's
    // device believes its resolution to be.
    const double logical = p_.device() ? p_.device()->logicalDpiY() : 72.0;
    f.setPointSizeF(std::max(0.01, font.points * dpiY_ / (logical > 0 ? logical : 72.0)));
    return f;
}

void OpPainter::paintPlainText(const TextOp& op)
{
    if (!(cachedFont_ && *cachedFont_ == op.font)) {
        cachedFont_ = op.font;
        cachedQFont_ = deviceFont(op.font);
    }
    if (p_.font() != cachedQFont_)
        p_.setFont(cachedQFont_);
    if (p_.pen().color() != op.font.color || p_.pen().style() != Qt::SolidLine)
        p_.setPen(op.font.color);
    p_.drawText(QPointF(px(op.origin.x()), py(op.origin.y())), op.text);
}

void OpPainter::paintText(const TextOp& op)
{
    QFont f = op.font.toQFont();
    // The font is given in points at this target's pixels per inch, whatever the painter's
    // device believes its resolution to be.
    const double logical = p_.device() ? p_.device()->logicalDpiY() : 72.0;
    f.setPointSizeF(std::max(0.01, op.font.points * dpiY_ / (logical > 0 ? logical : 72.0)));
    p_.setFont(f);
    if (op.clipped)
        p_.setClipRect(deviceRect(op.clip));
    p_.translate(px(op.origin.x()), py(op.origin.y()));
    if (op.font.rotation % 360 != 0)
        p_.rotate(-op.font.rotation);
    if (op.opaque) {
        const QFontMetricsF fm(f, p_.device());
        p_.fillRect(QRectF(0, -fm.ascent(), fm.horizontalAdvance(op.text), fm.ascent() + fm.descent()),
                    op.background);
    }
    p_.setPen(op.font.color);
    p_.drawText(QPointF(0, 0), op.text);
}

bool OpPainter::fillOnly(const ShapeOp& op) const
{
    if (op.kind != ShapeKind::Rectangle || op.brush.style != BrushStyle::Solid)
        return false;
    if (op.pen.style == PenStyle::Clear)
        return true;
    const bool solidPen = op.pen.style == PenStyle::Solid || op.pen.style == PenStyle::InsideFrame;
    const bool inside = std::max(1.0, penPixels(op.pen)) == 1 || op.pen.style == PenStyle::InsideFrame;
    return solidPen && inside && op.pen.color == op.brush.color;
}

void OpPainter::fillRects(const std::vector<QRectF>& pixels, const QColor& colour)
{
    if (pixels.empty())
        return;
    p_.setRenderHint(QPainter::Antialiasing, false);
    p_.setPen(Qt::NoPen);
    p_.setBrush(QBrush(colour));
    p_.drawRects(pixels.data(), int(pixels.size()));
}

void OpPainter::paintShape(const ShapeOp& op)
{
    const QRectF r = deviceRect(op.rect);
    if (r.isEmpty())
        return;
    p_.setRenderHint(QPainter::Antialiasing, op.kind != ShapeKind::Rectangle);
    if (op.brush.style != BrushStyle::Clear) {
        p_.setPen(Qt::NoPen);
        p_.setBrush(QBrush(op.brush.color, qtBrushStyle(op.brush.style)));
        switch (op.kind) {
        case ShapeKind::Rectangle: p_.drawRect(r); break;
        case ShapeKind::RoundRect:
            p_.drawRoundedRect(r, op.corner.width() * dpiX_ / 2, op.corner.height() * dpiY_ / 2);
            break;
        case ShapeKind::Ellipse: p_.drawEllipse(r); break;
        }
    }
    if (op.pen.style == PenStyle::Clear)
        return;
    // A solid rectangle whose outline is the fill's own colour and lies within it is already
    // whole: stroking it again changes no pixel, and costs a PDF as much as the fill (every
    // barcode bar is drawn this way).
    if (fillOnly(op))
        return;
    applyPen(op.pen);
    p_.setBrush(Qt::NoBrush);
    // The outline lies inside [x1, x2): a one-pixel pen covers the first and the last pixel
    // column, an inside-frame pen of any width stays within the rectangle.
    const double w = std::max(1.0, penPixels(op.pen));
    const double inset = op.pen.style == PenStyle::InsideFrame ? w / 2 : pixelCentre(w);
    const QRectF s = r.adjusted(inset, inset, -inset, -inset);
    switch (op.kind) {
    case ShapeKind::Rectangle: p_.drawRect(s); break;
    case ShapeKind::RoundRect:
        p_.drawRoundedRect(s, op.corner.width() * dpiX_ / 2, op.corner.height() * dpiY_ / 2);
        break;
    case ShapeKind::Ellipse: p_.drawEllipse(s); break;
    }
}

void OpPainter::paintLine(const LineOp& op)
{
    if (op.pen.style == PenStyle::Clear)
        return;
    applyPen(op.pen);
    // Covers the pixels from the start up to, not including, the end point: a line to the
    // right covers [x1, x2), a line to the left (x2, x1].
    // A pen of odd width is centred on the middle of a pixel row, an even one on its edge, so
    // that the stroke covers whole pixels.
    const double c = pixelCentre(std::max(1.0, penPixels(op.pen)));
    const double x1 = px(op.from.x()), y1 = py(op.from.y()), x2 = px(op.to.x()), y2 = py(op.to.y());
    p_.setRenderHint(QPainter::Antialiasing, y1 != y2 && x1 != x2);
    if (y1 == y2) {
        const double shift = x2 < x1 ? 1 : 0;
        p_.drawLine(QPointF(x1 + shift, y1 + c), QPointF(x2 + shift, y2 + c));
    } else if (x1 == x2) {
        const double shift = y2 < y1 ? 1 : 0;
        p_.drawLine(QPointF(x1 + c, y1 + shift), QPointF(x2 + c, y2 + shift));
    } else {
        p_.drawLine(QPointF(x1 + c, y1 + c), QPointF(x2 + c, y2 + c));
    }
}

} // namespace postavo::printing
