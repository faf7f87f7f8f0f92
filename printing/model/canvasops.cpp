#include "canvasops.h"

#include <QFontMetricsF>

#include <vector>

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
    // Runs switch between a few fonts page after page: each font's advances are found once.
    thread_local std::vector<std::pair<CanvasFont, std::shared_ptr<std::array<double, 256>>>> known;
    for (const auto& [f, table] : known)
        if (f == font) {
            advances_ = table;
            break;
        }
    if (!advances_) {
        advances_ = std::make_shared<std::array<double, 256>>();
        advances_->fill(-1);
        if (known.size() >= 32)
            known.erase(known.begin());
        known.emplace_back(font, advances_);
    }
}

namespace {
// Characters whose glyphs are placed one after the other without shaping: Latin letters and
// their accents as precomposed characters, and the punctuation, currency and letter-like signs
// of Windows-1252. Text made of them alone (the canvas prints without kerning) is as wide as the
// sum of its characters' advances, which is far quicker to find than shaping the text.
bool placedOneByOne(char16_t c)
{
    return (c >= 0x20 && c < 0x0300) || (c >= 0x2000 && c < 0x20D0) || (c >= 0x2100 && c < 0x2150);
}
} // namespace

double FontMeasure::width(const QString& text) const
{
    double w = 0;
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (!placedOneByOne(c))
            return metrics_.horizontalAdvance(text) / kMeasureDpi;
        if (c >= 256) {
            w += metrics_.horizontalAdvance(ch);
            continue;
        }
        double& a = (*advances_)[c];
        if (a < 0)
            a = metrics_.horizontalAdvance(ch);
        w += a;
    }
    return w / kMeasureDpi;
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
