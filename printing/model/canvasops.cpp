#include "canvasops.h"

#include <QFontMetricsF>

namespace postavo::printing {

namespace {

constexpr double kMeasureDpi = 1200.0;

const QImage& measureDevice()
{
    static const QImage image = [] {
        QImage img(1, 1, QImage::Format_ARGB32);
        const int dpm = qRound(kMeasureDpi / 0.0254);
        img.setDotsPerMeterX(dpm);
        img.setDotsPerMeterY(dpm);
        return img;
    }();
    return image;
}

QString num(double v) { return QString::number(v, 'f', 3); }

const char* penStyleName(PenStyle s)
{
    switch (s) {
    case PenStyle::Solid: return "solid";
    case PenStyle::Dash: return "dash";
    case PenStyle::Dot: return "dot";
    case PenStyle::DashDot: return "dashdot";
    case PenStyle::DashDotDot: return "dashdotdot";
    case PenStyle::Clear: return "clear";
    case PenStyle::InsideFrame: return "insideframe";
    }
    return "?";
}

const char* brushStyleName(BrushStyle s)
{
    switch (s) {
    case BrushStyle::Solid: return "solid";
    case BrushStyle::Clear: return "clear";
    case BrushStyle::Horizontal: return "horizontal";
    case BrushStyle::Vertical: return "vertical";
    case BrushStyle::FDiagonal: return "fdiagonal";
    case BrushStyle::BDiagonal: return "bdiagonal";
    case BrushStyle::Cross: return "cross";
    case BrushStyle::DiagCross: return "diagcross";
    }
    return "?";
}

QString penText(const CanvasPen& p)
{
    return QStringLiteral("pen %1 %2 %3px").arg(p.color.name(), penStyleName(p.style)).arg(p.devicePixels);
}

QString brushText(const CanvasBrush& b)
{
    return QStringLiteral("brush %1 %2").arg(b.color.name(), brushStyleName(b.style));
}

QString rectText(const QRectF& r)
{
    return num(r.left()) + u' ' + num(r.top()) + u' ' + num(r.right()) + u' ' + num(r.bottom());
}

} // namespace

QFont CanvasFont::toQFont() const
{
    QFont f(face);
    f.setPointSizeF(points > 0 ? points : 10);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStrikeOut(strikeOut);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

FontMeasure::FontMeasure(const CanvasFont& font) : metrics_(font.toQFont(), &measureDevice())
{
    ascent_ = metrics_.ascent() / kMeasureDpi;
    descent_ = metrics_.descent() / kMeasureDpi;
}

double FontMeasure::width(const QString& text) const
{
    return metrics_.horizontalAdvance(text) / kMeasureDpi;
}

QString describe(const CanvasOp& op)
{
    return std::visit([](const auto& o) -> QString {
        using T = std::decay_t<decltype(o)>;
        if constexpr (std::is_same_v<T, TextOp>) {
            const CanvasFont& f = o.font;
            QString s = QStringLiteral("text %1 %2 \"%3\" %4 %5%6%7%8 %9 r%10")
                            .arg(num(o.origin.x()), num(o.origin.y()), f.face)
                            .arg(f.points)
                            .arg(f.bold ? QChar(u'B') : QChar(u'b'))
                            .arg(f.italic ? QChar(u'I') : QChar(u'i'))
                            .arg(f.underline ? QChar(u'U') : QChar(u'u'))
                            .arg(f.strikeOut ? QChar(u'S') : QChar(u's'))
                            .arg(f.color.name())
                            .arg(f.rotation);
            if (o.opaque)
                s += QStringLiteral(" opaque ") + o.background.name();
            if (o.clipped)
                s += QStringLiteral(" clip ") + rectText(o.clip);
            return s + QStringLiteral(" \"") + o.text + u'"';
        } else if constexpr (std::is_same_v<T, ShapeOp>) {
            const char* kind = o.kind == ShapeKind::Rectangle ? "rect"
                               : o.kind == ShapeKind::RoundRect ? "roundrect" : "ellipse";
            QString s = QString::fromLatin1(kind) + u' ' + rectText(o.rect);
            if (o.kind == ShapeKind::RoundRect)
                s += u' ' + num(o.corner.width()) + u' ' + num(o.corner.height());
            return s + u' ' + penText(o.pen) + u' ' + brushText(o.brush);
        } else if constexpr (std::is_same_v<T, LineOp>) {
            return QStringLiteral("line %1 %2 %3 %4 ").arg(num(o.from.x()), num(o.from.y()),
                                                          num(o.to.x()), num(o.to.y()))
                   + penText(o.pen);
        } else if constexpr (std::is_same_v<T, ImageOp>) {
            return QStringLiteral("image %1 %2x%3").arg(rectText(o.rect)).arg(o.image.width()).arg(o.image.height());
        } else {
            return QStringLiteral("picture ") + rectText(o.rect);
        }
    }, op);
}

} // namespace postavo::printing
