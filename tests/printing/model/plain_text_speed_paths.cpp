// The quick paths of text on the canvas: widths added up from character advances must equal the
// shaped widths, and plain texts drawn without the painter's save and restore must keep their
// font and colour across pages and other drawings.
#include "canvasops.h"
#include "devices.h"
#include "printcanvas.h"
#include "testsupport.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <gtest/gtest.h>

using namespace postavo::printing;
using postavo::testing::runTool;
using postavo::testing::scratchDir;

namespace {

double shapedWidth(const CanvasFont& font, const QString& text)
{
    QImage device(1, 1, QImage::Format_ARGB32);
    const int dpm = qRound(1200 / 0.0254);
    device.setDotsPerMeterX(dpm);
    device.setDotsPerMeterY(dpm);
    return QFontMetricsF(font.toQFont(), &device).horizontalAdvance(text) / 1200.0;
}

// Counts the pixels of page `page` whose red channel is high and green and blue low.
int redPixels(const QString& pdf, int page, const QString& dir)
{
    int rc = -1;
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-f"),
                                         QString::number(page), QStringLiteral("-l"), QString::number(page),
                                         QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, dir + "/page"},
            &rc);
    QImage img(dir + "/page.png");
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            n += c.red() > 180 && c.green() < 90 && c.blue() < 90;
        }
    return n;
}

} // namespace

TEST(PlainTextPaths, AddedAdvancesEqualShapedWidths)
{
    for (const QString& face : {QStringLiteral("Arial"), QStringLiteral("Times New Roman")}) {
        for (bool bold : {false, true}) {
            CanvasFont font;
            font.face = face;
            font.points = 9;
            font.bold = bold;
            const FontMeasure m(font);
            for (const QString& text : {QStringLiteral("Smith, John Q."), QStringLiteral("office fluffy ffi"),
                                       QStringLiteral("AVATAR WAVE Tomorrow"), QString::fromUtf8("Müller–Ølsen € “x”"),
                                       QString::fromUtf8("e\u0301 combining"), QString()}) {
                EXPECT_NEAR(m.width(text), shapedWidth(font, text), 1e-9) << text.toStdString();
            }
        }
    }
}

TEST(PlainTextPaths, ColourAndFontHoldAcrossPagesAndDrawings)
{
    const QString dir = scratchDir("plain-text-paths");
    const QString pdf = dir + "/colours.pdf";
    PdfFileDevice device(pdf, QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
    TPrintCanvas c;
    c.setDevice(&device);
    ASSERT_TRUE(c.execute({}, [](TPrintCanvas& c) {
        c.setFont(QStringLiteral("Arial"), 36);
        c.setFontColor(Qt::red);
        c.gotoXY(1, 2);
        c.print(QStringLiteral("RED ONE"));
        c.newPage();
        c.setFont(QStringLiteral("Arial"), 36);
        c.setFontColor(Qt::red);
        c.gotoXY(1, 2);
        c.print(QStringLiteral("RED TWO"));
        // A black line in between; the next text keeps its own colour.
        c.setPen(Qt::black);
        c.moveTo(1, 3);
        c.lineTo(7, 3);
        c.gotoXY(1, 4);
        c.print(QStringLiteral("RED THREE"));
        c.setFontColor(Qt::black);
        c.gotoXY(1, 5);
        c.print(QStringLiteral("BLACK"));
    }));
    ASSERT_TRUE(QFile::exists(pdf));
    const int page1 = redPixels(pdf, 1, dir);
    const int page2 = redPixels(pdf, 2, dir);
    EXPECT_GT(page1, 200);
    // Two red texts on page 2, about twice page 1's red.
    EXPECT_GT(page2, page1 * 3 / 2);
}
