#include "shapeobjects.h"

#include "objectdialogs.h"
#include "printcanvas.h"
#include "shapegeometry.h"
#include "textdialogs.h"

#include <QPainter>

namespace postavo::design {

namespace {

Qt::PenStyle qtPenStyle(int style)
{
    switch (style) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    case 5: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

printing::PenStyle canvasPenStyle(int style)
{
    return style >= 0 && style <= 6 ? printing::PenStyle(style) : printing::PenStyle::Solid;
}

printing::BrushStyle canvasBrushStyle(int style)
{
    return style >= 0 && style <= 7 ? printing::BrushStyle(style) : printing::BrushStyle::Solid;
}

MenuEntry thicknessMenu(std::function<int()> current, std::function<void(int)> set)
{
    MenuEntry m{QStringLiteral("Line Thickness")};
    for (int n = 1; n <= 10; ++n)
        m.sub.push_back({QString::number(n) + QStringLiteral(" Point"), [set, n] { set(n); },
                         [current, n] { return current() == n; }});
    return m;
}

} // namespace

QPen screenPen(const LayoutPen& pen, int width)
{
    QPen p(toQColor(pen.color));
    p.setStyle(qtPenStyle(pen.style));
    p.setWidth(std::max(0, width));
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::MiterJoin);
    return p;
}

QBrush screenBrush(const LayoutBrush& brush)
{
    static const Qt::BrushStyle styles[] = {Qt::SolidPattern, Qt::NoBrush, Qt::HorPattern, Qt::VerPattern,
                                            Qt::BDiagPattern, Qt::FDiagPattern, Qt::CrossPattern,
                                            Qt::DiagCrossPattern};
    const int s = brush.style >= 0 && brush.style <= 7 ? brush.style : 0;
    return QBrush(toQColor(brush.color), styles[s]);
}

// ---- TGLabelShapes ----

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

void TGLabelShapes::setTransparent(bool on)
{
    Transparent = on;
    Brush.style = on ? 1 : 0;
    repaint();
}

void TGLabelShapes::setPenWidth(int w)
{
    Pen.width = w;
    repaint();
    notifyChanged();
}

void TGLabelShapes::editBackgroundColor()
{
    TColor c = Brush.color;
    if (!dialogs().chooseColour(&c))
        return;
    Brush.color = c;
    setTransparent(false);
    notifyChanged();
}

void TGLabelShapes::editLineColor()
{
    TColor c = Pen.color;
    if (!dialogs().chooseColour(&c))
        return;
    Pen.color = c;
    repaint();
    notifyChanged();
}

void TGLabelShapes::paint(QPainter& p)
{
    using namespace geometry;
    const int w = shapeScreenPen(Pen.width, zoom());
    p.setPen(screenPen(Pen, w));
    p.setBrush(Transparent ? QBrush(Qt::NoBrush) : screenBrush(Brush));
    const Corners c = shapeScreenCorners(width(), height(), w);
    // The corners exclude the right and bottom edge; Qt strokes one pixel beyond a rectangle's
    // size, so the path is one pixel smaller than the area the outline covers.
    const QRect r(c.x1, c.y1, c.x2 - 1 - c.x1, c.y2 - 1 - c.y1);
    if (Shape == stEllipse || Shape == stCircle) {
        p.drawEllipse(r);
    } else if (Shape == stRoundRect || Shape == stRoundSquare) {
        const int corner = screenCorner(RoundPerc, width(), height());
        p.drawRoundedRect(r, corner / 2.0, corner / 2.0);
    } else {
        p.drawRect(r);
    }
}

void TGLabelShapes::printObject(printing::TPrintCanvas& report, double X, double Y)
{
    using namespace geometry;
    const double ppi = screenPpi();
    report.setPen(toQColor(Pen.color), canvasPenStyle(Pen.style), shapePrintPen(Pen.width, ppi));
    report.setBrush(toQColor(Brush.color),
                    Transparent ? printing::BrushStyle::Clear : canvasBrushStyle(Brush.style));
    const QRectF r = printRect(left(), top(), width(), height(), X, Y, ppi);
    if (Shape == stEllipse || Shape == stCircle) {
        report.ellipse(r.left(), r.top(), r.right(), r.bottom());
    } else if (Shape == stRoundRect || Shape == stRoundSquare) {
        const double l = printCorner(RoundPerc, r, width(), height());
        report.roundRect(r.left(), r.top(), r.right(), r.bottom(), l, l);
    } else {
        report.rectangle(r.left(), r.top(), r.right(), r.bottom());
    }
}

void TGLabelShapes::buildMenu(MenuEntries& menu)
{
    TGGraphicControl::buildMenu(menu);
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Background Color"), [this] { editBackgroundColor(); }});
    menu.push_back({QStringLiteral("Line Color"), [this] { editLineColor(); }});
    menu.push_back(thicknessMenu([this] { return Pen.width; }, [this](int n) { setPenWidth(n); }));
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Transparent"), [this] { setTransparent(!Transparent); },
                    [this] { return Transparent; }});
    // Only shapes that were rounded when the menu was built get the rounding entries.
    if (Shape == stRoundRect || Shape == stRoundSquare) {
        menu.push_back({QStringLiteral("-")});
        MenuEntry round{QStringLiteral("Degree of Rounding")};
        for (int perc = 20; perc <= 80; perc += 10)
            round.sub.push_back({QString::number(perc) + QStringLiteral(" %"), [this, perc] {
                                     RoundPerc = perc;
                                     repaint();
                                     notifyChanged();
                                 }});
        menu.push_back(round);
    }
}

// ---- TGLineShape ----

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

void TGLineShape::setLineStyle(int style)
{
    notifyChanged();
    LineStyle = style;
    repaint();
}

void TGLineShape::setPenWidth(int w)
{
    Pen.width = w;
    repaint();
    notifyChanged();
}

void TGLineShape::editColor()
{
    TColor c = Pen.color;
    if (!dialogs().chooseColour(&c))
        return;
    Pen.color = c;
    repaint();
    notifyChanged();
}

void TGLineShape::stretchToEdges()
{
    DesignHost* h = host();
    if (!h)
        return;
    if (LineStyle == stHorizontal)
        setBounds(0, top(), h->hostWidth(), height());
    else if (LineStyle == stVertical)
        setBounds(left(), 0, width(), h->hostHeight());
    repaint();
}

void TGLineShape::paint(QPainter& p)
{
    using namespace geometry;
    const int w = lineScreenPen(Pen.width, zoom());
    const QLine l = lineScreen(LineKind(std::clamp(LineStyle, 0, 3)), width(), height(), w);
    p.setPen(screenPen(Pen, w));
    // The end point itself is not drawn.
    QPoint end = l.p2();
    if (l.dy() == 0)
        end.rx() -= l.dx() > 0 ? 1 : -1;
    else if (l.dx() == 0)
        end.ry() -= l.dy() > 0 ? 1 : -1;
    p.drawLine(l.p1(), end);
}

void TGLineShape::printObject(printing::TPrintCanvas& report, double X, double Y)
{
    using namespace geometry;
    report.setPen(toQColor(Pen.color), canvasPenStyle(Pen.style), linePrintPen(Pen.width));
    const QLineF l = linePrint(LineKind(std::clamp(LineStyle, 0, 3)), left(), top(), width(), height(), Pen.width,
                               X, Y, screenPpi());
    report.moveTo(l.x1(), l.y1());
    report.lineTo(l.x2(), l.y2());
}

void TGLineShape::buildMenu(MenuEntries& menu)
{
    TGGraphicControl::buildMenu(menu);
    menu.push_back({QStringLiteral("-")});
    MenuEntry style{QStringLiteral("Style")};
    const std::pair<const char*, int> kinds[] = {{"Horizontal", stHorizontal},
                                                 {"Vertical", stVertical},
                                                 {"Angled Sloping Up", stAngleSlopingUp},
                                                 {"Angled Sloping Down", stAngleSlopingDown}};
    for (const auto& [caption, s] : kinds) {
        const int value = s;
        style.sub.push_back({QString::fromLatin1(caption), [this, value] { setLineStyle(value); },
                             [this, value] { return LineStyle == value; }});
    }
    menu.push_back(style);
    menu.push_back({QStringLiteral("Color"), [this] { editColor(); }});
    menu.push_back(thicknessMenu([this] { return Pen.width; }, [this](int n) { setPenWidth(n); }));
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Stretch To Edges"), [this] { stretchToEdges(); }});
}

// ---- TGImage ----

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

const pictures::Picture& TGImage::decoded() const
{
    if (decodedFrom_ != Picture.data || (decoded_.isEmpty() && !Picture.data.isEmpty())) {
        decodedFrom_ = Picture.data;
        decoded_ = pictures::fromPayload(Picture.data);
        cache_ = {};
        cacheSize_ = {};
    }
    return decoded_;
}

QSize TGImage::pictureSize() const
{
    const pictures::Picture& p = decoded();
    if (p.isEmpty())
        return {0, 0};
    return pictures::naturalSize(p, screenPpi());
}

QImage TGImage::pictureImage(QSize pixels) const
{
    const pictures::Picture& p = decoded();
    if (p.isEmpty())
        return {};
    if (p.kind != pictures::Kind::Metafile)
        pixels = {};
    if (cache_.isNull() || cacheSize_ != pixels) {
        cache_ = pictures::render(p, pixels, screenPpi());
        cacheSize_ = pixels;
    }
    return cache_;
}

void TGImage::setAutoSize(bool on)
{
    AutoSize = on;
    if (on)
        Stretch = false;
    repaint();
}

void TGImage::setStretch(bool on)
{
    Stretch = on;
    if (on)
        AutoSize = false;
    repaint();
}

void TGImage::setPicture(const LayoutPicture& picture)
{
    Picture = picture;
    const QSize s = pictureSize();
    if (AutoSize && s.width() > 0 && s.height() > 0)
        setBounds(left(), top(), s.width(), s.height());
    repaint();
}

void TGImage::paint(QPainter& p)
{
    const QSize s = pictureSize();
    if (zoom() == 1.0f && AutoSize && s.width() > 0 && s.height() > 0 && s != QSize(width(), height()))
        setBounds(left(), top(), s.width(), s.height());
    const bool whole = Stretch || zoom() != 1.0f;
    const QRect target = whole ? QRect(0, 0, width(), height()) : QRect(QPoint(0, 0), s);
    const QImage img = pictureImage(target.size());
    if (img.isNull()) {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(0, 0, width() - 1, height() - 1);
        return;
    }
    p.save();
    p.setClipRect(QRect(0, 0, width(), height()), Qt::IntersectClip);
    p.drawImage(target, img);
    p.restore();
}

void TGImage::printObject(printing::TPrintCanvas& report, double X, double Y)
{
    const pictures::Picture& pic = decoded();
    const double ppi = screenPpi();
    const QRectF r(QPointF(X + left() / ppi, Y + top() / ppi),
                   QPointF(X + (left() + width()) / ppi, Y + (top() + height()) / ppi));
    if (pic.kind == pictures::Kind::Bitmap) {
        const QImage img = pictureImage();
        if (!img.isNull())
            report.stretchDraw(r, img);
    } else if (pic.kind == pictures::Kind::Metafile) {
        // Played into a bitmap at the printer's resolution, then placed like one.
        const QRect device = report.inchToDeviceRect(r);
        const QImage img = pictures::render(pic, device.size(), ppi);
        if (!img.isNull())
            report.stretchDraw(r, img);
    }
}

void TGImage::loadFromDisk()
{
    ImageChoice choice;
    choice.stretch = Stretch;
    choice.autoSize = AutoSize;
    if (!objectDialogs().loadImage(&choice))
        return;
    if (choice.failed) {
        setPicture({});
        return;
    }
    Stretch = choice.stretch;
    AutoSize = choice.autoSize;
    setPicture(choice.picture);
    notifyChanged();
}

void TGImage::buildMenu(MenuEntries& menu)
{
    TGGraphicControl::buildMenu(menu);
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Load Image From Disk"), [this] { loadFromDisk(); }});
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Stretch to Fit"),
                    [this] {
                        const bool on = !Stretch;
                        setStretch(on);
                        if (on)
                            notifyChanged();
                    },
                    [this] { return Stretch; }});
    menu.push_back({QStringLiteral("AutoSize"),
                    [this] {
                        setAutoSize(!AutoSize);
                        notifyChanged();
                    },
                    [this] { return AutoSize; }});
}

} // namespace postavo::design
