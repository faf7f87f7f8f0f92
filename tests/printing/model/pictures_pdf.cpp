// Pictures in a PDF keep their colours: they are stored losslessly, not as JPEG.
#include "devices.h"
#include "printcanvas.h"
#include "testsupport.h"

#include <QFile>
#include <QImage>
#include <QPageSize>
#include <gtest/gtest.h>

using namespace postavo::printing;
using postavo::testing::readBytes;
using postavo::testing::runTool;
using postavo::testing::scratchDir;

namespace {

QImage checker(int cells)
{
    QImage img(cells, cells, QImage::Format_RGB32);
    for (int y = 0; y < cells; ++y)
        for (int x = 0; x < cells; ++x)
            img.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 255) : qRgb(255, 0, 0));
    return img;
}

} // namespace

TEST(PicturesInPdf, RedAndBlueCheckerStaysRedAndBlue)
{
    const QString dir = scratchDir("pictures-pdf");
    const QString pdf = dir + "/checker.pdf";
    const int cells = 16;
    {
        PdfFileDevice device(pdf, QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()), 300);
        TPrintCanvas canvas;
        canvas.setDevice(&device);
        ASSERT_TRUE(canvas.execute([](TPrintCanvas&) {},
                                   [&](TPrintCanvas& c) { c.stretchDraw(QRectF(1, 1, 1, 1), checker(cells)); }));
    }
    // The image is stored with a lossless filter.
    const QByteArray bytes = readBytes(pdf);
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_FALSE(bytes.contains("/DCTDecode"));
    EXPECT_TRUE(bytes.contains("/Subtype /Image"));

    // And drawn back, each cell's middle is pure red or pure blue.
    const int dpi = 144, cell = dpi / cells;  // 9 dots a cell
    int rc = -1;
    const QString out = runTool("pdftoppm", {"-r", QString::number(dpi), "-x", QString::number(dpi), "-y",
                                             QString::number(dpi), "-W", QString::number(dpi), "-H",
                                             QString::number(dpi), "-png", "-singlefile", pdf, dir + "/page"},
                                &rc);
    if (rc < 0)
        GTEST_SKIP() << "pdftoppm is not installed";
    ASSERT_EQ(rc, 0) << out.toStdString();
    const QImage page(dir + "/page.png");
    ASSERT_EQ(page.size(), QSize(dpi, dpi));
    int wrong = 0;
    for (int y = 0; y < cells; ++y)
        for (int x = 0; x < cells; ++x) {
            const QRgb seen = page.pixel(x * cell + cell / 2, y * cell + cell / 2);
            const QRgb want = (x + y) % 2 ? qRgb(0, 0, 255) : qRgb(255, 0, 0);
            if (std::abs(qRed(seen) - qRed(want)) > 40 || std::abs(qGreen(seen)) > 40
                || std::abs(qBlue(seen) - qBlue(want)) > 40)
                ++wrong;
        }
    EXPECT_EQ(wrong, 0);
}
