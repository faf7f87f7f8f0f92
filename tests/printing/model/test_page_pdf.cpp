// The printer test page as a real PDF: text where it says it is, bars of exactly the POSTNET size,
// the paper the job asked for.
#include "canvasops.h"
#include "devices.h"
#include "pdfreading.h"
#include "printers.h"
#include "testpage.h"
#include "testsupport.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace postavo::printing;
using postavo::testing::findWord;
using postavo::testing::PdfGray;
using postavo::testing::PdfWord;
using postavo::testing::pdfInfo;
using postavo::testing::pdfWords;
using postavo::testing::renderPdfGray;
using postavo::testing::runTool;
using postavo::testing::scratchDir;

class TestPagePdf : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = scratchDir("test-page");
        pdf = dir + "/test-page.pdf";
        int rc = -1;
        output = runTool(QStringLiteral(POSTAVO_BIN_DIR) + "/postavo-batch", {"test-page", "--pdf", pdf}, &rc);
        exitCode = rc;
    }
    static inline QString dir, pdf, output;
    static inline int exitCode = -1;
};

TEST_F(TestPagePdf, BatchToolWritesOneLetterPage)
{
    ASSERT_EQ(exitCode, 0) << output.toStdString();
    const QString info = pdfInfo(pdf);
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains("612 x 792 pts")) << info.toStdString();
}

TEST_F(TestPagePdf, TextSamplesSitAtTheirStatedPositions)
{
    ASSERT_EQ(exitCode, 0);
    const auto ws = pdfWords(pdf);
    struct Sample { QString word, face; double points, x, baseline; };
    for (const Sample& s : {Sample{"Arial", "Arial", 10, TestPageLayout::arialX, TestPageLayout::arialBaseline},
                            Sample{"Times", "Times New Roman", 14, TestPageLayout::timesX,
                                   TestPageLayout::timesBaseline}}) {
        const PdfWord* w = findWord(ws, s.word);
        ASSERT_TRUE(w) << s.word.toStdString();
        CanvasFont font;
        font.face = s.face;
        font.points = s.points;
        const double descent = FontMeasure(font).descent();
        EXPECT_NEAR(w->xMin / 72.0, s.x, 0.01) << s.word.toStdString();
        EXPECT_NEAR(w->yMax / 72.0 - descent, s.baseline, 0.01) << s.word.toStdString();
        EXPECT_NEAR((w->yMax - w->yMin) / 72.0, FontMeasure(font).height(), 0.01) << s.word.toStdString();
    }
    const PdfWord* title = findWord(ws, "Postavo");
    ASSERT_TRUE(title);
    EXPECT_NEAR(title->xMin / 72.0, 1.5, 0.01);
}

TEST_F(TestPagePdf, BarsAreExactlyPostnetSizeAt1200Dpi)
{
    ASSERT_EQ(exitCode, 0);
    using L = TestPageLayout;
    const int x0 = int(L::barsX * 1200), bottom = int(L::barsBottom * 1200);
    // From a little before the first bar to past the third; from above a full bar to below it.
    const PdfGray g = renderPdfGray(pdf, x0 - 20, bottom - 170, 200, 190, dir);
    ASSERT_EQ(g.w, 200);
    ASSERT_EQ(g.h, 190);
    auto column = [&](int x) {
        int top = -1, last = -1;
        for (int y = 0; y < g.h; ++y)
            if (g.darkInArea(x, y)) {
                if (top < 0)
                    top = y;
                last = y;
            }
        return std::pair(top, last);
    };
    // The frame bar: 18 columns (0.015 in) from x0, each dark over 150 rows (0.125 in).
    for (int x = 0; x < 18; ++x) {
        const auto [top, last] = column(20 + x);
        EXPECT_EQ(top, 20) << x;
        EXPECT_EQ(last, 169) << x;
    }
    EXPECT_EQ(column(19).first, -1);
    EXPECT_EQ(column(38).first, -1);
    // The next bar starts one pitch (0.046 in = 55.2 pixels) later: a half bar for the digit 1.
    const int next = int(std::nearbyint((L::barsX + L::barPitch) * 1200)) - (x0 - 20);
    EXPECT_EQ(column(next - 1).first, -1);
    const auto [top, last] = column(next);
    EXPECT_EQ(last - top + 1, int(L::halfBar * 1200));
    EXPECT_EQ(last, 169);
}

TEST(TestPageBars, PostnetPatternOfAZipWithCheckDigit)
{
    // 12345: digits sum to 15, check digit 5; frame bars at both ends.
    const auto bars = postnetBars("12345");
    ASSERT_EQ(bars.size(), 32u);
    EXPECT_TRUE(bars.front());
    EXPECT_TRUE(bars.back());
    const std::vector<bool> one = {false, false, false, true, true};
    EXPECT_EQ(std::vector<bool>(bars.begin() + 1, bars.begin() + 6), one);
    const std::vector<bool> five = {false, true, false, true, false};
    EXPECT_EQ(std::vector<bool>(bars.end() - 6, bars.end() - 1), five);
}

TEST(TestPageTool, RejectsBadArgumentsWithoutWritingAnything)
{
    const QString dir = scratchDir("test-page-args");
    const QString tool = QStringLiteral(POSTAVO_BIN_DIR) + "/postavo-batch";
    int rc = 0;
    runTool(tool, {"test-page"}, &rc);
    EXPECT_EQ(rc, 2);
    runTool(tool, {"test-page", "--pdf", dir + "/x.pdf", "--paper", "777"}, &rc);
    EXPECT_EQ(rc, 2);
    runTool(tool, {"test-page", "--printer", "No Such Printer 42"}, &rc);
    EXPECT_EQ(rc, 1);
    runTool(tool, {"no-such-command"}, &rc);
    EXPECT_EQ(rc, 2);
    EXPECT_FALSE(QFile::exists(dir + "/x.pdf"));
    runTool(tool, {"test-page", "--pdf", dir + "/a4.pdf", "--paper", "9", "--landscape"}, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(pdfInfo(dir + "/a4.pdf").contains("842 x 595 pts")) << pdfInfo(dir + "/a4.pdf").toStdString();
}
