// A PDF file fills runs of solid rectangles (barcode bars) together: the page shows exactly what
// drawing them one by one shows, outlines of another colour or style still appear, and what is
// drawn between or over the bars keeps its place in front or behind.
#include "devices.h"
#include "pdfreading.h"
#include "printcanvas.h"
#include "testsupport.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace postavo::printing;
using postavo::testing::PdfGray;
using postavo::testing::renderPdfGray;
using postavo::testing::scratchDir;

namespace {

constexpr int kDpi = 300;

// Draws the same page into a PDF file and onto an image, both at 300 dots per inch.
void drawBoth(const std::function<void(TPrintCanvas&)>& body, const QString& dir, PdfGray* pdf, QImage* image)
{
    const QString path = dir + "/fills.pdf";
    PdfFileDevice file(path, QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
    TPrintCanvas c;
    c.setDevice(&file);
    ASSERT_TRUE(c.execute(nullptr, body));
    *pdf = renderPdfGray(path, 0, 0, 3 * kDpi, 2 * kDpi, dir, kDpi);

    RecordingDevice doc(QSizeF(8.5, 11), kDpi);
    TPrintCanvas r;
    r.setDevice(&doc);
    ASSERT_TRUE(r.execute(nullptr, body));
    *image = QImage(3 * kDpi, 2 * kDpi, QImage::Format_Grayscale8);
    image->fill(Qt::white);
    QPainter p(image);
    doc.paintPage(0, p, kDpi);
}

int grey(const PdfGray& g, int x, int y) { return uchar(g.pixels[y * g.w + x]); }

} // namespace

TEST(PdfFills, BarsBoxesAndWhatLiesOverThemMatchTheOneByOneDrawing)
{
    const QString dir = scratchDir("pdf-fills");
    PdfGray pdf;
    QImage image;
    drawBoth(
        [](TPrintCanvas& c) {
            // Bars as the barcodes draw them: a thin pen of the brush's own colour.
            c.setPen(Qt::black, PenStyle::Solid, 1);
            c.setBrush(Qt::black, BrushStyle::Solid);
            for (int i = 0; i < 20; ++i)
                c.rectangle(0.2 + i * 0.05, 0.2, 0.22 + i * 0.05, 0.4 + (i % 2) * 0.1);
            // A white box drawn after the bars covers two of them.
            c.setPen(Qt::white, PenStyle::Clear, 1);
            c.setBrush(Qt::white, BrushStyle::Solid);
            c.rectangle(0.24, 0.25, 0.36, 0.35);
            // Then more black bars: they lie over the white box again.
            c.setPen(Qt::black, PenStyle::Solid, 1);
            c.setBrush(Qt::black, BrushStyle::Solid);
            c.rectangle(0.3, 0.28, 0.31, 0.32);
            // A grey box with a black outline (a hundredth of an inch, so that both targets draw
            // it alike), and one with a thick black pen: outlines stay.
            c.setPen(Qt::black, PenStyle::Solid, -1);
            c.setBrush(QColor(160, 160, 160), BrushStyle::Solid);
            c.rectangle(1.5, 0.2, 2.0, 0.6);
            c.setPen(Qt::black, PenStyle::Solid, -4);
            c.setBrush(Qt::black, BrushStyle::Solid);
            c.rectangle(1.5, 1.0, 2.0, 1.4);
        },
        dir, &pdf, &image);
    ASSERT_GT(pdf.w, 0);
    // Where the bars are, the PDF (1200 dots per inch, rasterised at 300) and the drawing at 300
    // dots per inch agree dot for dot but for the odd edge dot. (Outlines of another width are
    // placed by each device's own pixel grid, so they are not compared dot for dot.)
    int differ = 0;
    for (int y = 0; y < int(0.6 * kDpi); ++y)
        for (int x = 0; x < int(1.4 * kDpi); ++x)
            if (std::abs(grey(pdf, x, y) - qGray(image.pixel(x, y))) > 64)
                ++differ;
    EXPECT_LT(differ, 40) << "dots that differ between the PDF and the one-by-one drawing";
    // The white box hides the bar under it, the bar drawn later shows over it.
    EXPECT_GT(grey(pdf, int(0.255 * kDpi), int(0.27 * kDpi)), 200);
    EXPECT_LT(grey(pdf, int(0.305 * kDpi), int(0.30 * kDpi)), 60);
    // The grey box keeps its black outline.
    EXPECT_LT(grey(pdf, int(1.5 * kDpi), int(0.4 * kDpi)), 60);
    EXPECT_GT(grey(pdf, int(1.6 * kDpi), int(0.4 * kDpi)), 100);
}
