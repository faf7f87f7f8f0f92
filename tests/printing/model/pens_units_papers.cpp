// Pen widths, device-pixel geometry of the drawn shapes, paper codes.
#include "devices.h"
#include "papercodes.h"
#include "printcanvas.h"
#include "printunits.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace postavo::printing;

namespace {

// The dark pixels' bounding box on an image.
QRect inkBox(const QImage& img)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

QImage render(const CanvasOp& op, double dpi, QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    OpPainter(p, dpi, dpi).paint(op);
    p.end();
    return img;
}

} // namespace

TEST(Pens, NegativeWidthsAreHundredthsOfAnInch)
{
    EXPECT_EQ(penWidthToDevice(-2, 300), 6);
    EXPECT_EQ(penWidthToDevice(-1, 72), 1);  // 0.72 rounds to 1
    EXPECT_EQ(penWidthToDevice(-1, 40), 1);  // 0.4 would round to 0: at least one pixel
    EXPECT_EQ(penWidthToDevice(-1, 1200), 12);
    EXPECT_EQ(penWidthToDevice(0, 300), 0);
    EXPECT_EQ(penWidthToDevice(3, 300), 3);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
}

TEST(Units, FontHeightsAndPoints)
{
    EXPECT_EQ(fontHeightToPoints(-13, 96), 10);  // 9.75
    EXPECT_EQ(fontHeightToPoints(-16, 120), 10); // 9.6
    EXPECT_EQ(fontHeightToPoints(-11, 96), 8);   // 8.25
    EXPECT_EQ(fontHeightToPoints(-3, 96), 2);    // 2.25
    EXPECT_EQ(fontHeightToPoints(-14, 96), 10);  // 10.5 to even
    EXPECT_EQ(pointsToFontHeight(10, 96), -13);  // 13.33
    EXPECT_EQ(pointsToFontHeight(10, 120), -17); // 16.67
    EXPECT_EQ(fontHeightToPoints(-13, 0), 0);
}

TEST(Pens, SetBeforeTheJobTheyTakeTheJobsDevicePixels)
{
    RecordingDevice doc(QSizeF(8.5, 11), 600);
    TPrintCanvas c;
    c.setPen(Qt::black, PenStyle::Solid, -1); // no device yet
    c.setDevice(&doc);
    c.addTab(TabStop{1, false, 1, TabJustify::Left, 0, true, false, false, false, 0});
    ASSERT_TRUE(c.execute(nullptr, [](TPrintCanvas& c) {
        EXPECT_EQ(c.pen().devicePixels, 6);
        c.home();
        c.tab();
    }));
    EXPECT_EQ(std::get<LineOp>(doc.page(0).at(0)).pen.devicePixels, 6);
}

TEST(Pens, SixPixelLineAt300AndOnePixelAt72)
{
    struct Case { double dpi; int width; int pixels; };
    for (const Case& k : {Case{300, -2, 6}, Case{72, -1, 1}}) {
        RecordingDevice doc(QSizeF(8.5, 11), k.dpi);
        TPrintCanvas c;
        c.setDevice(&doc);
        ASSERT_TRUE(c.execute(nullptr, [&](TPrintCanvas& c) {
            c.setPen(Qt::black, PenStyle::Solid, k.width);
            c.moveTo(0.1, 0.2);
            c.lineTo(0.5, 0.2);
        }));
        const auto& line = std::get<LineOp>(doc.page(0).at(0));
        EXPECT_EQ(line.pen.devicePixels, k.pixels) << k.dpi;
        // Drawn on the device itself: exactly that many rows, from the start up to the end.
        const QRect ink = inkBox(render(line, k.dpi, QSize(int(k.dpi), int(k.dpi))));
        EXPECT_EQ(ink.height(), k.pixels) << k.dpi;
        EXPECT_EQ(ink.left(), int(roundHalfEven(0.1 * k.dpi)));
        EXPECT_EQ(ink.right(), int(roundHalfEven(0.5 * k.dpi)) - 1);
    }
}

TEST(Shapes, RectanglesLeaveOutTheirRightAndBottomEdges)
{
    ShapeOp outline{ShapeKind::Rectangle, QRectF(QPointF(0.1, 0.1), QPointF(0.2, 0.25)), {}, {}, {}};
    outline.pen.devicePixels = 1;
    outline.pen.widthInches = 0.01;
    outline.brush.style = BrushStyle::Clear;
    EXPECT_EQ(inkBox(render(outline, 100, QSize(40, 40))), QRect(QPoint(10, 10), QPoint(19, 24)));

    ShapeOp bar{ShapeKind::Rectangle, QRectF(QPointF(0.5, 0.25), QPointF(0.515, 0.375)), {}, {}, {}};
    bar.pen.style = PenStyle::Clear;
    bar.brush = {Qt::black, BrushStyle::Solid};
    EXPECT_EQ(inkBox(render(bar, 1200, QSize(700, 500))).size(), QSize(18, 150));

    // An inside-frame pen stays within the rectangle whatever its width.
    ShapeOp framed = outline;
    framed.pen.style = PenStyle::InsideFrame;
    framed.pen.devicePixels = 4;
    framed.pen.widthInches = 0.04;
    EXPECT_EQ(inkBox(render(framed, 100, QSize(40, 40))), QRect(QPoint(10, 10), QPoint(19, 24)));
}

TEST(Papers, CodesGiveTheirStandardSizes)
{
    auto inches = [](int code) { return pageSizeForCode(code)->size(QPageSize::Inch); };
    EXPECT_EQ(inches(1), QSizeF(8.5, 11));
    EXPECT_EQ(pageSizeForCode(9)->id(), QPageSize::A4);
    EXPECT_EQ(pageSizeForCode(11)->id(), QPageSize::A5);
    EXPECT_EQ(inches(20), QSizeF(4.12, 9.5)); // Qt keeps inch sizes to two decimals
    EXPECT_EQ(pageSizeForCode(37)->id(), QPageSize::EnvelopeMonarch);
    EXPECT_EQ(pageSizeForCode(27)->id(), QPageSize::EnvelopeDL);
    for (int code = 19; code <= 38; ++code) {
        if (code < 24 || code > 26) {
            EXPECT_TRUE(pageSizeForCode(code).has_value()) << code;
        }
    }
    EXPECT_FALSE(pageSizeForCode(0).has_value());
    EXPECT_FALSE(pageSizeForCode(999).has_value());
    EXPECT_EQ(codeForPageSize(QPageSize(QPageSize::Letter)), 1);
    EXPECT_EQ(codeForPageSize(QPageSize(QPageSize::Envelope10)), 20);
    EXPECT_EQ(codeForPageSize(QPageSize(QSizeF(101.6, 152.4), QPageSize::Millimeter, "x", QPageSize::ExactMatch)), 0);
}

TEST(Papers, CustomSizesInTenthsOfAMillimetre)
{
    // A 4 x 6 inch sheet: 1016 x 1524 tenths of a millimetre, not snapped to a standard size.
    const auto size = customPageSize(1016, 1524);
    ASSERT_TRUE(size.has_value());
    const QSizeF mm = size->size(QPageSize::Millimeter);
    EXPECT_NEAR(mm.width(), 101.6, 0.05);
    EXPECT_NEAR(mm.height(), 152.4, 0.05);
    EXPECT_FALSE(customPageSize(0, 1524).has_value());
    EXPECT_FALSE(customPageSize(1016, -1).has_value());
}
