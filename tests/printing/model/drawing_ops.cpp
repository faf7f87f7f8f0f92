// What the canvas hands its target: text placement and styles, rotation, clipping, pictures,
// device-pixel conversions and the page range.
#include "devices.h"
#include "printcanvas.h"

#include <QPainter>
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace postavo::printing;

namespace {

RecordingDevice record(const std::function<void(TPrintCanvas&)>& body, double dpi = 300,
                       const std::function<void(TPrintCanvas&)>& setup = nullptr)
{
    RecordingDevice doc(QSizeF(8.5, 11), dpi);
    TPrintCanvas c;
    c.setDevice(&doc);
    if (setup)
        setup(c);
    EXPECT_TRUE(c.execute(nullptr, body));
    return doc;
}

} // namespace

TEST(DrawingOps, TextPositionsAndFontSettings)
{
    double w = 0;
    const RecordingDevice doc = record([&](TPrintCanvas& c) {
        c.setFont("Arial", 12);
        c.setBold(true);
        c.setFontColor(Qt::red);
        c.gotoXY(1, 2);
        c.print("AB");
        w = c.textWidth("AB");
        EXPECT_DOUBLE_EQ(c.x(), 1 + w);
        c.print("C"); // continues where AB ended
        c.setFont("Times New Roman", 0); // keeps 12 pt, resets styles and colour
        EXPECT_EQ(c.font().points, 12);
        EXPECT_FALSE(c.font().bold);
        EXPECT_EQ(c.font().color, QColor(Qt::black));
        c.printRight("R", 7.5);
        c.printCenter("M", 4.25);
        c.setFontRotation(90);
        c.gotoXY(0.5, 9);
        c.print("Up");
        c.setFontRotation(-90);
        EXPECT_EQ(c.font().rotation, 270);
    });
    const QStringList log = doc.log();
    ASSERT_EQ(log.size(), 6);
    EXPECT_EQ(log[1], "text 1.000 2.000 \"Arial\" 12 Bius #ff0000 r0 \"AB\"");
    EXPECT_TRUE(log[2].startsWith(QStringLiteral("text %1 2.000").arg(1 + w, 0, 'f', 3)));
    CanvasFont times;
    times.face = "Times New Roman";
    times.points = 12;
    const auto& r = std::get<TextOp>(doc.page(0)[2]);
    EXPECT_NEAR(r.origin.x() + FontMeasure(times).width("R"), 7.5, 1e-12);
    const auto& m = std::get<TextOp>(doc.page(0)[3]);
    EXPECT_NEAR(m.origin.x() + FontMeasure(times).width("M") / 2, 4.25, 1e-12);
    EXPECT_TRUE(log[5].contains(" r90 \"Up\"")) << log[5].toStdString();
}

TEST(DrawingOps, ClippedTextAndOpaqueBackground)
{
    const RecordingDevice doc = record([](TPrintCanvas& c) {
        c.setFont("Arial", 10);
        c.setBrush(Qt::white, BrushStyle::Clear);
        c.printClipped(QRect(300, 600, 150, 60), 1.0, 2.0, "clear brush");
        c.setBrush(Qt::yellow);
        c.printClippedBaseline(QRect(300, 600, 150, 60), 1.0, 2.1, "filled");
        c.textBkMode = TextBkMode::Opaque;
        c.gotoXY(1, 3);
        c.print("opaque");
    });
    const auto& ops = doc.page(0);
    ASSERT_EQ(ops.size(), 4u);
    const auto& first = std::get<TextOp>(ops[0]);
    EXPECT_TRUE(first.clipped);
    EXPECT_EQ(first.clip, QRectF(1.0, 2.0, 0.5, 0.2));
    CanvasFont arial;
    EXPECT_NEAR(first.origin.y(), 2.0 + FontMeasure(arial).ascent(), 1e-12); // top-left at (1, 2)
    const auto& fill = std::get<ShapeOp>(ops[1]);
    EXPECT_EQ(fill.brush.color, QColor(Qt::yellow));
    EXPECT_EQ(fill.rect, QRectF(1.0, 2.0, 0.5, 0.2));
    EXPECT_DOUBLE_EQ(std::get<TextOp>(ops[2]).origin.y(), 2.1);
    const auto& opaque = std::get<TextOp>(ops[3]);
    EXPECT_TRUE(opaque.opaque);
    EXPECT_EQ(opaque.background, QColor(Qt::yellow));
}

TEST(DrawingOps, ClippedTextIsCutAtTheRectangle)
{
    const RecordingDevice doc = record([](TPrintCanvas& c) {
        c.setFont("Arial", 20);
        c.setBrush(Qt::white, BrushStyle::Clear);
        c.printClipped(QRect(10, 10, 20, 40), 0.1, 0.1, "WWWWWW");
    }, 100);
    QImage img(200, 100, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    doc.paintPage(0, p, 100);
    p.end();
    int darkInside = 0, darkOutside = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128)
                (x >= 10 && x < 30 && y >= 10 && y < 50 ? darkInside : darkOutside)++;
    EXPECT_GT(darkInside, 20);
    EXPECT_EQ(darkOutside, 0);
}

TEST(DrawingOps, PicturesAndDeviceConversions)
{
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPicture picture;
    {
        QPainter p(&picture);
        p.fillRect(QRect(0, 0, 10, 10), Qt::green);
    }
    const RecordingDevice doc = record([&](TPrintCanvas& c) {
        EXPECT_EQ(c.pixelsPerInchX(), 300);
        EXPECT_EQ(c.inchToDeviceRect(QRectF(1, 1, 0.5, 0.25)), QRect(300, 300, 150, 75));
        EXPECT_EQ(c.deviceToInchRect(QRect(300, 300, 150, 75)), QRectF(1, 1, 0.5, 0.25));
        c.stretchDraw(QRectF(1, 1, 2, 1), image);
        c.stretchDrawPicture(QRect(600, 600, 300, 300), picture);
    });
    const QStringList log = doc.log();
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log[1], "image 1.000 1.000 3.000 2.000 4x2");
    EXPECT_EQ(log[2], "picture 2.000 2.000 3.000 3.000");
    QImage out(400, 400, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    doc.paintPage(0, p, 100);
    p.end();
    EXPECT_EQ(out.pixelColor(150, 150), QColor(Qt::blue));
    EXPECT_EQ(out.pixelColor(250, 250), QColor(Qt::green));
    EXPECT_EQ(out.pixelColor(305, 305), QColor(Qt::white));
}

TEST(DrawingOps, PagesOutsideTheRangeAreNotOutput)
{
    const RecordingDevice doc = record(
        [](TPrintCanvas& c) {
            for (int page = 1; page <= 4; ++page) {
                if (page > 1)
                    c.newPage();
                c.print(QStringLiteral("p%1").arg(page));
            }
            EXPECT_EQ(c.pageNumber(), 4);
        },
        300, [](TPrintCanvas& c) { c.firstPage = 2; c.lastPage = 3; });
    const QStringList log = doc.log();
    ASSERT_EQ(doc.pageCount(), 2);
    EXPECT_TRUE(log[1].endsWith("\"p2\""));
    EXPECT_TRUE(log[3].endsWith("\"p3\""));
}
