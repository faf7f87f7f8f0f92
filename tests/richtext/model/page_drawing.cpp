// Letter pages: they end only at page breaks, are drawn at the page layout's margins (measured
// in a real PDF), and at any zoom the drawing scales with it.

#include "support_richtext.h"

#include "pagedrawing.h"
#include "richdocument.h"

#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace postavo::richtext;
using namespace postavo::testing;

namespace {

// 8.5 x 11 inches; margins 1.25 inch left, 0.75 inch right, 1 inch top, 0.5 inch bottom.
const char* kLetter = R"({\rtf1\ansi\paperw12240\paperh15840\margl1800\margr1080\margt1440\margb720
{\fonttbl{\f0\fswiss Arial;}}\f0\fs24
\pard\ql Leftmost words on the first page\par
\pard\qr Rightmost\par
\pard\ql Body text of the letter that is long enough to wrap at the right margin of the page, which
it does more than once so that the wrapping width can be checked against the page's width too.\par
\page\pard Second page\par
\page\pard Third page\par})";

struct Box {
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
};

Box inkBox(const QImage& image)
{
    Box b;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                b.left = std::min<double>(b.left, x);
                b.right = std::max<double>(b.right, x);
                b.top = std::min<double>(b.top, y);
                b.bottom = std::max<double>(b.bottom, y);
            }
    return b;
}

} // namespace

TEST(PageDrawing, PagesEndOnlyAtPageBreaks)
{
    RichDocument doc;
    doc.loadRtf(kLetter);
    EXPECT_EQ(pageCount(doc), 3);
    const QList<int> starts = pageStarts(doc);
    ASSERT_EQ(starts.size(), 3);
    EXPECT_EQ(starts[0], 0);

    QImage image(100, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    EXPECT_EQ(drawPage(&painter, doc, QRectF(0, 0, 80, 80), 10, 0), starts[1]);
    EXPECT_EQ(drawPage(&painter, doc, QRectF(0, 0, 80, 80), 10, starts[1]), starts[2]);
    EXPECT_LE(drawPage(&painter, doc, QRectF(0, 0, 80, 80), 10, starts[2]), 0);
    // A position inside a page draws that page.
    EXPECT_EQ(drawPage(&painter, doc, QRectF(0, 0, 80, 80), 10, starts[1] + 3), starts[2]);
    EXPECT_EQ(pageOfPosition(doc, starts[2] + 1), 2);

    // However long, a letter without page breaks is one page; its text runs on past the
    // bottom margin.
    QByteArray longLetter = "{\\rtf1 ";
    for (int i = 0; i < 200; ++i)
        longLetter += "Line " + QByteArray::number(i) + "\\par ";
    longLetter += "}";
    RichDocument lengthy;
    lengthy.loadRtf(longLetter);
    EXPECT_EQ(pageCount(lengthy), 1);
    EXPECT_TRUE(pageOverflows(lengthy, 0));
    EXPECT_FALSE(pageOverflows(doc, 0));
}

TEST(PageDrawing, TextSitsAtTheMarginsOfARealPdf)
{
    const QString dir = scratchDir("pdf-margins");
    RichDocument doc;
    doc.loadRtf(kLetter);
    const QString pdf = dir + "/letter.pdf";
    QString error;
    ASSERT_TRUE(writePdf(doc, pdf, &error)) << error.toStdString();
    EXPECT_EQ(pdfPageCount(pdf), 3);
    const QList<PdfWord> words = pdfWords(pdf);
    ASSERT_FALSE(words.isEmpty()) << "pdftotext found no text";
    const double tolerance = 0.72;  // 0.01 inch in points
    auto find = [&](const QString& text) {
        for (const PdfWord& w : words)
            if (w.text == text)
                return w;
        ADD_FAILURE() << "no word " << text.toStdString();
        return PdfWord();
    };
    const PdfWord first = find("Leftmost");
    EXPECT_EQ(first.page, 1);
    EXPECT_NEAR(first.xMin, 90.0, tolerance) << "left margin 1.25 in";
    EXPECT_NEAR(first.yMin, 72.0, tolerance) << "top margin 1 in";
    const PdfWord right = find("Rightmost");
    EXPECT_NEAR(right.xMax, 612.0 - 54.0, tolerance) << "right margin 0.75 in";
    // Wrapped lines stay inside the margins.
    for (const PdfWord& w : words) {
        EXPECT_GE(w.xMin, 90.0 - tolerance) << w.text.toStdString();
        EXPECT_LE(w.xMax, 558.0 + tolerance) << w.text.toStdString();
    }
    const PdfWord second = find("Second");
    EXPECT_EQ(second.page, 2);
    EXPECT_NEAR(second.xMin, 90.0, tolerance);
    EXPECT_NEAR(second.yMin, 72.0, tolerance);
    EXPECT_EQ(find("Third").page, 3);
}

TEST(PageDrawing, DrawingScalesWithTheZoom)
{
    RichDocument doc;
    doc.loadRtf(R"({\rtf1\paperw12240\paperh15840\margl1440\margr1440\margt1440\margb1440
{\fonttbl{\f0 Arial;}}\f0\fs48 WWWW WWWW WWWW\par})");
    Box boxes[2];
    const double zooms[2] = {50, 100};
    for (int i = 0; i < 2; ++i) {
        QImage image(900, 300, QImage::Format_RGB32);
        image.setDotsPerMeterX(3780);  // 96 dpi
        image.setDotsPerMeterY(3780);
        image.fill(Qt::white);
        QPainter painter(&image);
        const double px = 96.0 / 1440 * zooms[i] / 100;
        drawPage(&painter, doc, QRectF(10, 10, 9360 * px, 12960 * px), zooms[i], 0);
        painter.end();
        boxes[i] = inkBox(image);
    }
    // The same text, half the size: its width and height halve (within a pixel or two of
    // anti-aliasing), and it starts at the rectangle.
    EXPECT_NEAR((boxes[0].right - boxes[0].left) * 2, boxes[1].right - boxes[1].left, 4);
    EXPECT_NEAR((boxes[0].bottom - boxes[0].top) * 2, boxes[1].bottom - boxes[1].top, 4);
    EXPECT_NEAR(boxes[0].left, 10, 2);
    EXPECT_NEAR(boxes[1].left, 10, 2);
}

TEST(PageDrawing, NarrowerRectangleWrapsTheText)
{
    RichDocument doc;
    doc.loadRtf(R"({\rtf1{\fonttbl{\f0 Arial;}}\f0\fs24 one two three four five six seven eight nine ten\par})");
    QImage wide(1000, 200, QImage::Format_RGB32), narrow(1000, 200, QImage::Format_RGB32);
    for (QImage* image : {&wide, &narrow}) {
        image->setDotsPerMeterX(3780);
        image->setDotsPerMeterY(3780);
        image->fill(Qt::white);
    }
    {
        QPainter p(&wide);
        drawPage(&p, doc, QRectF(0, 0, 900, 190), 100, 0);
    }
    {
        QPainter p(&narrow);
        drawPage(&p, doc, QRectF(0, 0, 150, 190), 100, 0);
    }
    const Box w = inkBox(wide), n = inkBox(narrow);
    EXPECT_LE(n.right, 150);
    EXPECT_GT(n.bottom - n.top, 2 * (w.bottom - w.top));
    // The document's own layout is untouched by drawing it narrower.
    EXPECT_EQ(doc.document()->textWidth(), doc.pageLayout().textWidth());
}
