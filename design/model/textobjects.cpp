#include "textobjects.h"

#include "printcanvas.h"
#include "symbolfonts.h"
#include "textdialogs.h"

#include <QPainter>
#include <algorithm>

namespace postavo::design {

namespace {

QPoint shadowDelta(int direction, int d)
{
    switch (direction) {
    case sdRight: return {d, 0};
    case sdLeft: return {-d, 0};
    case sdDownRight: return {d, d};
    case sdDownLeft: return {-d, d};
    case sdDown: return {0, d};
    default: return {0, 0};
    }
}

QPoint highlightDelta(int direction, int d)
{
    switch (direction) {
    case hdright: return {d, 0};
    case hdLeft: return {-d, 0};
    case hdUpRight: return {d, -d};
    case hdUpLeft: return {-d, -d};
    case hdUp: return {0, -d};
    default: return {0, 0};
    }
}

// An offset turned with the text.
QPoint turned(QPoint o, int angle)
{
    switch (angle) {
    case 90: return {o.y(), -o.x()};
    case 180: return {-o.x(), -o.y()};
    case 270: return {-o.y(), o.x()};
    default: return o;
    }
}

// Where a copy of the text starts: the rectangle's corner that is the text's top-left.
QPoint startCorner(const WRect& r, int angle)
{
    switch (angle) {
    case 90: return {r.left, r.bottom};
    case 180: return {r.right, r.bottom};
    case 270: return {r.right, r.top};
    default: return {r.left, r.top};
    }
}

} // namespace

TGBaseLabel::TGBaseLabel()
{
    Font = LayoutFont::fromPoints(QStringLiteral("Arial"), 10);
    setBounds(0, 0, 142, 33);
}

const PropertyTable& TGBaseLabel::textProperties()
{
    using P = Props<TGBaseLabel>;
    static const PropertyTable t = [] {
        PropertyTable t = commonProperties();
        const PropertyTable own = {
            P::enumeration("Alignment", &TGBaseLabel::Alignment, names::alignment, taLeftJustify),
            P::integer("DepthHighlight", &TGBaseLabel::DepthHighlight, 0),
            P::integer("DepthShadow", &TGBaseLabel::DepthShadow, 0),
            P::enumeration("DirectionHighlight", &TGBaseLabel::DirectionHighlight, names::highlightDirection, hdUpLeft),
            P::enumeration("DirectionShadow", &TGBaseLabel::DirectionShadow, names::shadowDirection, sdDownRight),
            P::colour("colorHighlight", &TGBaseLabel::colorHighlight, clAqua),
            P::colour("colorShadow", &TGBaseLabel::colorShadow, clGray),
            P::integer("Angle", &TGBaseLabel::Angle, 0),
            P::text("Caption", &TGBaseLabel::Caption),
            P::object("Font", &TGBaseLabel::Font, &fontProperties),
            P::boolean("Transparent", &TGBaseLabel::Transparent, std::nullopt),
            P::colour("BackColor", &TGBaseLabel::BackColor, std::nullopt),
        };
        t.insert(t.end(), own.begin(), own.end());
        return t;
    }();
    return t;
}

void TGBaseLabel::changed(bool notify)
{
    recalc_ = true;
    repaint();
    if (notify)
        notifyChanged();
}

void TGBaseLabel::setCaption(const QString& text)
{
    if (text == Caption)
        return;
    Caption = text;
    changed(true);
}

void TGBaseLabel::setFont(const LayoutFont& font)
{
    Font = font;
    changed();
}

void TGBaseLabel::setAlignment(int a)
{
    Alignment = a;
    changed();
}

void TGBaseLabel::setAngle(int degrees)
{
    if ((degrees != 0 && degrees != 90 && degrees != 180 && degrees != 270) || degrees == Angle)
        return;
    Angle = degrees;
    if (Angle != 0)
        Alignment = taLeftJustify;
    const bool upright = Angle == 90 || Angle == 270;
    if ((!upright && width() < height()) || (upright && height() < width()))
        setBounds(left(), top(), height(), width());
    changed();
}

void TGBaseLabel::setTransparent(bool on)
{
    Transparent = on;
    changed(true);
}

void TGBaseLabel::setBackColor(TColor c)
{
    BackColor = c;
    changed(true);
}

void TGBaseLabel::setShadow(int direction, int depth, TColor colour)
{
    DirectionShadow = direction;
    DepthShadow = depth;
    colorShadow = colour;
    changed();
}

void TGBaseLabel::setHighlight(int direction, int depth, TColor colour)
{
    DirectionHighlight = direction;
    DepthHighlight = depth;
    colorHighlight = colour;
    changed();
}

void TGBaseLabel::recalculate()
{
    const QFont font = screenFont(Font, zoom());
    const TextMetrics m(font);
    // The line height of the layout rules: the cell height plus both leadings (the internal one
    // is inside the cell height already and counts again).
    const int L = m.cellHeight + m.internalLeading + m.externalLeading;
    layoutText_ = displayText();
    const int w = m.width(glyphs(layoutText_) + QLatin1Char(' '));
    textWidth_ = w;

    shadow_ = shadowDelta(DirectionShadow, DepthShadow);
    highlight_ = highlightDelta(DirectionHighlight, DepthHighlight);
    int ox = shadow_.x() < 0 ? -shadow_.x() : 0;
    if (highlight_.x() < 0)
        ox = std::max(ox, -highlight_.x());
    int oy = shadow_.y() < 0 ? -shadow_.y() : 0;
    if (highlight_.y() < 0)
        oy = std::max(oy, -highlight_.y());
    shift_ = QPoint(ox, oy);

    const int f = L + shadow_.y() - highlight_.y();
    const double g = f * 1.2;
    int W = width(), H = height();
    if (Angle == 0 || Angle == 180) {
        if (Angle == 180 && W > 2 * w)
            W = 2 * w;
        if (W <= 5)
            W = w;
        if (H > g)
            H = int(g);
        if (H < f)
            H = f;
    } else {
        if (H > w * 1.2)
            H = int(w * 1.2);
        if (H < 5)
            H = w;
        if (W > g)
            W = int(g);
        if (W < f)
            W = f;
    }
    if (W != width() || H != height())
        setBounds(left(), top(), W, H);

    WRect t;
    if (Angle == 0 || Angle == 180)
        t = {ox, oy, W, L + oy};
    else
        t = {oy, ox, L + oy, H - oy};
    if (Angle == 90)
        t = t.moved(0, H + t.top + highlight_.x() - t.bottom - 1);
    else if (Angle == 180)
        t = t.moved(W + t.left - t.right - shadow_.y() - 1, 0);
    textRect_ = t;
    const QPoint s = turned(shadow_, Angle), h = turned(highlight_, Angle);
    shadowRect_ = t.moved(s.x(), s.y());
    highlightRect_ = t.moved(h.x(), h.y());
    textOrigin_ = startCorner(textRect_, Angle);
    shadowOrigin_ = startCorner(shadowRect_, Angle);
    highlightOrigin_ = startCorner(highlightRect_, Angle);
    if (Angle == 0) {
        int x = t.left;
        if (Alignment == taRightJustify)
            x = t.right - w;
        else if (Alignment == taCenter)
            x = (t.right - t.left) / 2 - w / 2;
        textOrigin_.setX(x);
        shadowOrigin_.setX(x + shadow_.x());
        highlightOrigin_.setX(x + highlight_.x());
    }
    recalc_ = false;
}

QString TGBaseLabel::glyphs(const QString& text) const { return symbolFontText(Font.name, text); }

void TGBaseLabel::boundsChanged()
{
    recalc_ = true;
    TGGraphicControl::boundsChanged();
}

void TGBaseLabel::applyFont(const LayoutFont& font) { setFont(font); }

void TGBaseLabel::growToFit()
{
    if (Angle != 0)
        return;
    if (recalc_)
        recalculate();
    const QFont font = screenFont(Font, zoom());
    const TextMetrics m(font);
    const int x0 = std::max({textRect_.left, shadowRect_.left, highlightRect_.left});
    const int y0 = std::max({textRect_.top, shadowRect_.top, highlightRect_.top});
    const int w = std::max(width(), x0 + m.width(glyphs(displayText()) + QStringLiteral("     ")));
    const int h = std::max(height(), y0 + m.cellHeight);
    if (w != width() || h != height())
        setBounds(left(), top(), w, h);
}

void TGBaseLabel::drawCopy(QPainter& p, const QFont& font, const QString& text, QPoint origin, const WRect& clip,
                           TColor colour) const
{
    p.save();
    p.setClipRect(clip.toQRect(), Qt::IntersectClip);
    p.setFont(font);
    p.setPen(toQColor(colour));
    p.translate(origin);
    if (Angle)
        p.rotate(-Angle);
    p.drawText(QPoint(0, QFontMetrics(font).ascent()), text);
    p.restore();
}

void TGBaseLabel::paint(QPainter& p)
{
    if (width() < 5 || height() < 5 || displayText() != layoutText_)
        recalc_ = true;
    if (recalc_)
        recalculate();
    if (!Transparent)
        p.fillRect(QRect(0, 0, width(), height()), toQColor(BackColor));
    const QFont font = screenFont(Font, zoom());
    const QString text = glyphs(displayText());
    drawCopy(p, font, text, shadowOrigin_, shadowRect_, colorShadow);
    drawCopy(p, font, text, highlightOrigin_, highlightRect_, colorHighlight);
    drawCopy(p, font, text, textOrigin_, textRect_, Font.color);
}

void TGBaseLabel::printObject(printing::TPrintCanvas& report, double X, double Y)
{
    using printing::BrushStyle;
    using printing::PenStyle;
    recalc_ = true;
    recalculate();
    const double ppi = screenPpi();
    if (!Transparent) {
        report.setPen(toQColor(BackColor), PenStyle::Clear);
        report.setBrush(toQColor(BackColor), BrushStyle::Solid);
        report.rectangle(X + left() / ppi, Y + top() / ppi, X + (left() + width() - 1) / ppi,
                         Y + (top() + height() - 1) / ppi);
    }
    report.setFont(resolveFontFamily(Font.name), Font.points());
    report.setBold(Font.style & fsBold);
    report.setItalic(Font.style & fsItalic);
    report.setUnderline(Font.style & fsUnderline);
    report.setFontRotation(Angle);
    report.setBrush(Qt::white, BrushStyle::Clear);
    const QString text = glyphs(printText());
    auto copy = [&](const WRect& r, QPoint origin, const QColor& colour) {
        report.setFontColor(colour);
        const QRectF clip(QPointF(X + (left() + r.left) / ppi - 0.03, Y + (top() + r.top) / ppi - 0.03),
                          QPointF(X + (left() + r.right) / ppi, Y + (top() + r.bottom) / ppi));
        // The start is the text's top-left corner; the canvas wants the baseline, which lies
        // one ascent into the text's downward direction.
        const double a = report.ascent();
        double x = X + (left() + origin.x()) / ppi, y = Y + (top() + origin.y()) / ppi;
        switch (Angle) {
        case 90: x += a; break;
        case 180: y -= a; break;
        case 270: x -= a; break;
        default: y += a; break;
        }
        report.printClippedBaseline(report.inchToDeviceRect(clip), x, y, text);
    };
    if (DepthShadow > 0 && DirectionShadow != sdNone)
        copy(shadowRect_, shadowOrigin_, toQColor(colorShadow));
    if (DepthHighlight > 0 && DirectionHighlight != hdNone)
        copy(highlightRect_, highlightOrigin_, toQColor(colorHighlight));
    copy(textRect_, textOrigin_, toQColor(Font.color));
    report.setFontRotation(0);
}

void TGBaseLabel::loaded()
{
    recalc_ = true;
    TGGraphicControl::loaded();
}

void TGBaseLabel::editFont()
{
    LayoutFont f = Font;
    if (dialogs().chooseFont(&f)) {
        setFont(f);
        notifyChanged();
    }
}

void TGBaseLabel::buildMenu(MenuEntries& menu)
{
    TGGraphicControl::buildMenu(menu);
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Font"), [this] { editFont(); }});
    menu.push_back({QStringLiteral("3D Effects"), [this] {
                        if (dialogs().text3DEffects(*this))
                            notifyChanged();
                    }});
    MenuEntry align{QStringLiteral("Alignment")};
    const char* captions[] = {"Left", "Center", "Right"};
    const int values[] = {taLeftJustify, taCenter, taRightJustify};
    for (int i = 0; i < 3; ++i) {
        const int v = values[i];
        align.sub.push_back({QString::fromLatin1(captions[i]),
                             [this, v] {
                                 setAlignment(v);
                                 notifyChanged();
                             },
                             [this, v] { return Alignment == v; }});
    }
    menu.push_back(align);
    menu.push_back({QStringLiteral("Background Color"), [this] {
                        TColor c = BackColor;
                        if (dialogs().chooseColour(&c)) {
                            BackColor = c;
                            setTransparent(false);
                        }
                    }});
    menu.push_back({QStringLiteral("Transparent"), [this] { setTransparent(!Transparent); },
                    [this] { return Transparent; }});
}

void TGBaseLabel::addRotationMenu(MenuEntries& menu)
{
    menu.push_back({QStringLiteral("-")});
    MenuEntry rot{QStringLiteral("Rotation")};
    const char* captions[] = {"No Rotation", "90 Degrees", "180 Degrees", "270 Degrees"};
    for (int i = 0; i < 4; ++i)
        rot.sub.push_back({QString::fromLatin1(captions[i]), [this, i] {
                               setAngle(i * 90);
                               notifyChanged();
                           }});
    menu.push_back(rot);
}

// ---- TGPLabel ----

void TGPLabel::editFont()
{
    TGBaseLabel::editFont();
    growToFit();
}

void TGPLabel::editText()
{
    QString text = Caption;
    if (dialogs().editText(&text)) {
        setCaption(text);
        growToFit();
        repaint();
    }
}

void TGPLabel::buildMenu(MenuEntries& menu)
{
    TGBaseLabel::buildMenu(menu);
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Text"), [this] { editText(); }});
    addRotationMenu(menu);
}

} // namespace postavo::design
