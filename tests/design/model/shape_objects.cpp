// Shapes, lines, pictures and the ruler as objects: screen pixels, the pens and corners handed
// to the print canvas, menus, picture options, metafile pictures through a layout file, and the
// ruler's painted ticks.
#include "devices.h"
#include "fimbarcode.h"
#include "layoutdocument.h"
#include "objectdialogs.h"
#include "printcanvas.h"
#include "shapeobjects.h"
#include "testsupport.h"
#include "textdialogs.h"

#include <QFile>
#include <QPainter>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace postavo::design;
using postavo::printing::ImageOp;
using postavo::printing::LineOp;
using postavo::printing::RecordingDevice;
using postavo::printing::ShapeKind;
using postavo::printing::ShapeOp;
using postavo::printing::TPrintCanvas;

namespace {

std::vector<postavo::printing::CanvasOp> printOps(TGGraphicControl& o, double dpi = 300)
{
    RecordingDevice device(QSizeF(8.5, 11), dpi);
    TPrintCanvas canvas;
    canvas.setDevice(&device);
    canvas.execute([](TPrintCanvas&) {}, [&](TPrintCanvas& c) { o.printObject(c, 0, 0); });
    return device.page(0);
}

template <class T>
std::vector<T> opsOf(const std::vector<postavo::printing::CanvasOp>& ops)
{
    std::vector<T> out;
    for (const auto& op : ops)
        if (auto* t = std::get_if<T>(&op))
            out.push_back(*t);
    return out;
}

QImage paintOf(TGGraphicControl& o)
{
    QImage img(o.width() + 4, o.height() + 4, QImage::Format_RGB32);
    img.fill(qRgb(200, 200, 200));
    QPainter p(&img);
    p.setClipRect(QRect(0, 0, o.width(), o.height()));
    o.paint(p);
    return img;
}

bool black(const QImage& img, int x, int y) { return img.pixel(x, y) == qRgb(0, 0, 0); }

struct PpiGuard {
    explicit PpiGuard(double ppi) { setScreenPpi(ppi); }
    ~PpiGuard() { setScreenPpi(96); }
};

struct ColourDialogs : DesignDialogs {
    TColor colour = 255;
    bool chooseColour(TColor* c) override
    {
        *c = colour;
        return true;
    }
};

// A placeable metafile one inch square that fills itself red.
QByteArray redMetafile()
{
    QByteArray recs;
    auto put16 = [](QByteArray& b, int v) { char c[2]; qToLittleEndian<quint16>(quint16(v), c); b.append(c, 2); };
    auto put32 = [](QByteArray& b, qint64 v) { char c[4]; qToLittleEndian<quint32>(quint32(v), c); b.append(c, 4); };
    auto rec = [&](int func, std::initializer_list<int> words) {
        put32(recs, 3 + qint64(words.size()));
        put16(recs, func);
        for (int w : words)
            put16(recs, w);
    };
    rec(0x020B, {0, 0});
    rec(0x020C, {100, 100});
    rec(0x02FA, {5, 0, 0, 0, 0});
    rec(0x012D, {0});
    rec(0x02FC, {0, 0x00FF, 0, 0});
    rec(0x012D, {1});
    rec(0x041B, {100, 100, 0, 0});
    rec(0x0000, {});
    QByteArray header;
    put16(header, 1); put16(header, 9); put16(header, 0x300);
    put32(header, (18 + recs.size()) / 2); put16(header, 2); put32(header, 7); put16(header, 0);
    QByteArray place;
    put32(place, 0x9AC6CDD7); put16(place, 0);
    put16(place, 0); put16(place, 0); put16(place, 100); put16(place, 100); put16(place, 100); put32(place, 0);
    quint16 sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= qFromLittleEndian<quint16>(place.constData() + i);
    put16(place, sum);
    return place + header + recs;
}

} // namespace

TEST(ShapeObject, ScreenOutlineAtPenWidthsOneAndThree)
{
    TGLabelShapes s;
    s.setBounds(0, 0, 40, 20);
    s.Pen.width = 1;
    QImage img = paintOf(s);
    EXPECT_TRUE(black(img, 0, 0));
    EXPECT_TRUE(black(img, 39, 19));
    EXPECT_FALSE(black(img, 40, 20));
    EXPECT_EQ(img.pixel(20, 10), qRgb(255, 255, 255)); // white interior
    s.Pen.width = 3;
    img = paintOf(s);
    // Over (1, 1)-(39, 19) with a 3-pixel pen: pixels 0..2 on the left, up to 39 on the right.
    EXPECT_TRUE(black(img, 0, 0));
    EXPECT_TRUE(black(img, 2, 10));
    EXPECT_FALSE(black(img, 3, 10));
    EXPECT_TRUE(black(img, 39, 10));
    s.setTransparent(true);
    img = paintOf(s);
    EXPECT_EQ(img.pixel(20, 10), qRgb(200, 200, 200)); // the background shows through
}

TEST(ShapeObject, PrintedPensCornersAndTransparency)
{
    PpiGuard ppi(120);
    TGLabelShapes s;
    s.setBounds(0, 0, 120, 60);
    s.Pen.width = 1;
    auto shapes = opsOf<ShapeOp>(printOps(s));
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].pen.devicePixels, 0); // under a hundredth of an inch: the thinnest line
    EXPECT_EQ(shapes[0].kind, ShapeKind::Rectangle);
    EXPECT_DOUBLE_EQ(shapes[0].rect.right(), 1.0);
    s.Pen.width = 3; // 2.5 hundredths cut to 2: 6 dots at 300 dpi
    EXPECT_EQ(opsOf<ShapeOp>(printOps(s))[0].pen.devicePixels, 6);
    s.setTransparent(true);
    EXPECT_EQ(opsOf<ShapeOp>(printOps(s))[0].brush.style, postavo::printing::BrushStyle::Clear);

    TGLineShape line;
    line.setBounds(0, 0, 120, 10);
    line.Pen.width = 1;
    auto lines = opsOf<LineOp>(printOps(line));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].pen.devicePixels, 3); // a line's pixel is a hundredth of an inch
}

TEST(ShapeObject, RoundedCornerPrintedInInches)
{
    TGLabelShapes s;
    s.Shape = stRoundRect;
    s.RoundPerc = 50;
    s.setBounds(0, 0, 100, 40);
    auto shapes = opsOf<ShapeOp>(printOps(s));
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].kind, ShapeKind::RoundRect);
    EXPECT_NEAR(shapes[0].corner.width(), 0.5208, 1e-4);
    s.Shape = stCircle;
    EXPECT_EQ(opsOf<ShapeOp>(printOps(s))[0].kind, ShapeKind::Ellipse);
}

TEST(ShapeObject, MenusColoursAndRounding)
{
    ObjectList host;
    auto* s = new TGLabelShapes;
    host.insertObject(s);
    s->loaded();
    EXPECT_EQ(s->findMenuEntry("Degree of Rounding"), nullptr); // not rounded when built
    s->findMenuEntry("7 Point")->run();
    EXPECT_EQ(s->Pen.width, 7);
    EXPECT_TRUE(s->findMenuEntry("7 Point")->checked());
    s->setTransparent(true);
    ColourDialogs d;
    setDialogs(&d);
    s->findMenuEntry("Background Color")->run();
    EXPECT_EQ(s->Brush.color, 255);
    EXPECT_FALSE(s->Transparent);
    EXPECT_EQ(s->Brush.style, 0);
    setDialogs(nullptr);
    auto* r = new Trpshapes;
    r->Shape = stRoundSquare;
    host.insertObject(r);
    r->loaded();
    ASSERT_NE(r->findMenuEntry("60 %"), nullptr);
    r->findMenuEntry("60 %")->run();
    EXPECT_EQ(r->RoundPerc, 60);
    EXPECT_EQ(r->className(), "Trpshapes");
    host.freeAllObjects();
}

TEST(LineObject, PrintedVerticalLineAndStretchToEdges)
{
    TGLineShape l;
    l.LineStyle = stVertical;
    l.Pen.width = 2;
    l.setBounds(10, 20, 2, 50);
    auto lines = opsOf<LineOp>(printOps(l));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(lines[0].from.x(), 0.1042, 1e-4);
    EXPECT_DOUBLE_EQ(lines[0].from.y(), 0.21875);
    EXPECT_NEAR(lines[0].to.y(), 0.7396, 1e-4);
    EXPECT_NEAR(lines[0].pen.widthInches, 0.02, 1e-9);

    ObjectList host(nullptr, 300, 200);
    auto* h = new TGLineShape;
    host.insertObject(h);
    h->setBounds(50, 40, 30, 10);
    h->stretchToEdges();
    EXPECT_EQ(h->boundsRect(), QRect(0, 40, 300, 10));
    h->LineStyle = stVertical;
    h->stretchToEdges();
    EXPECT_EQ(h->boundsRect(), QRect(0, 0, 300, 200));
    h->setBounds(5, 5, 30, 30);
    h->LineStyle = stAngleSlopingUp;
    h->stretchToEdges();
    EXPECT_EQ(h->boundsRect(), QRect(5, 5, 30, 30));
    host.freeAllObjects();
}

TEST(ImageObject, StretchAndAutoSizeExcludeEachOther)
{
    TGImage img;
    EXPECT_TRUE(img.Stretch);
    img.setAutoSize(true);
    EXPECT_FALSE(img.Stretch);
    img.setStretch(true);
    EXPECT_FALSE(img.AutoSize);
    // An empty picture: an outlined white rectangle on screen, nothing on paper.
    const QImage shown = paintOf(img);
    EXPECT_TRUE(black(shown, 0, 0));
    EXPECT_EQ(shown.pixel(50, 50), qRgb(255, 255, 255));
    EXPECT_TRUE(printOps(img).empty());
}

TEST(ImageObject, UnstretchedShowsCroppedButPrintsStretched)
{
    TGImage img;
    QImage red(200, 10, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    img.setStretch(false);
    img.setPicture(LayoutPicture::fromImage(red));
    img.setBounds(0, 0, 50, 50);
    const QImage shown = paintOf(img);
    EXPECT_EQ(shown.pixel(10, 5), qRgb(255, 0, 0));
    EXPECT_NE(shown.pixel(10, 30), qRgb(255, 0, 0)); // below the picture's own 10 rows
    const auto images = opsOf<ImageOp>(printOps(img));
    ASSERT_EQ(images.size(), 1u);
    EXPECT_NEAR(images[0].rect.width(), 50 / 96.0, 1e-9);
    EXPECT_NEAR(images[0].rect.height(), 50 / 96.0, 1e-9);
    // AutoSize takes the picture's size.
    img.setAutoSize(true);
    img.setPicture(img.Picture);
    EXPECT_EQ(img.boundsRect().size(), QSize(200, 10));
}

TEST(ImageObject, MetafilePictureSurvivesTheLayoutFileAndPrints)
{
    const QString dir = postavo::testing::scratchDir("objects-metafile");
    LayoutDocument doc;
    auto* img = new TGImage;
    img->setObjectName("Special1");
    pictures::Picture meta{pictures::Kind::Metafile, redMetafile()};
    img->Picture.data = pictures::toPayload(meta);
    img->setBounds(0, 0, 96, 96);
    doc.bands[0]->insertObject(img);
    QString error;
    ASSERT_TRUE(writeLayoutDocument(doc, dir + "/BIN00002.L", &error)) << error.toStdString();

    LayoutDocument back;
    ASSERT_TRUE(readLayoutDocument(dir + "/BIN00002.L", &back, &error)) << error.toStdString();
    ASSERT_EQ(back.objectCount(), 1);
    auto* read = dynamic_cast<TGImage*>(back.bands[0]->designObjects().front());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Picture.data, img->Picture.data);
    EXPECT_EQ(read->Picture.kind(), "TMetafile");
    EXPECT_EQ(read->pictureSize(), QSize(96, 96));
    const auto images = opsOf<ImageOp>(printOps(*read, 300));
    ASSERT_EQ(images.size(), 1u);
    // Played at the printer's resolution.
    EXPECT_EQ(images[0].image.size(), QSize(300, 300));
    EXPECT_EQ(images[0].image.pixel(150, 150), qRgb(255, 0, 0));

    // An icon picture prints nothing.
    read->Picture.data = pictures::toPayload({pictures::Kind::Icon, QByteArray::fromHex("000001000000")});
    EXPECT_TRUE(printOps(*read).empty());
}

TEST(FimObject, ScreenSizeAndMenu)
{
    ObjectList host;
    auto* f = new TGFIMBarCode;
    host.insertObject(f);
    EXPECT_EQ(f->boundsRect().size(), QSize(60, 54));
    f->loaded();
    f->findMenuEntry("Set FIM to Type C")->run();
    EXPECT_EQ(f->FIMType, fimTypeC);
    EXPECT_TRUE(f->findMenuEntry("Set FIM to Type C")->checked());
    const QImage img = paintOf(*f);
    EXPECT_EQ(f->boundsRect().size(), QSize(60, 60)); // made square by painting
    EXPECT_TRUE(black(img, 0, 0));
    EXPECT_TRUE(black(img, 2, 53));
    EXPECT_FALSE(black(img, 3, 10));
    EXPECT_TRUE(black(img, 6, 10));
    host.freeAllObjects();
}
