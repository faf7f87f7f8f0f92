// Every paper feed method, printed by "postavo-batch envelopes" into a real PDF: the page turns
// with the feed, and a known box and word land where the feed puts the envelope, measured on a
// 200 dpi raster (pdftoppm) and in the words' boxes (pdftotext -bbox).
#include "envelopefixtures.h"
#include "pdfreading.h"
#include "testsupport.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace postavo::testing;

namespace {

constexpr double kDpi = 200;
constexpr double kTolerance = 0.02; // inches

struct FeedCase {
    const char* words;
    bool landscape;
    double x, y; // where the envelope's corner lands, inches
};

// A Monarch envelope (7.5 x 3.875 inches) on Letter paper: portrait leaves D = 1 inch across,
// landscape (11 x 8.5) leaves D = 3.5 across and E = 4.625 down.
const FeedCase kCases[] = {
    {"portrait,up,left", false, 0, 0},
    {"portrait,up,right", false, 1.0, 0},
    {"portrait,up,center", false, 0.5, 0},
    {"portrait,down,left", false, 1.0, 0},
    {"portrait,down,right", false, 0, 0},
    {"portrait,down,center", false, 0.5, 0},
    {"landscape,up,left", true, 3.5, 0},
    {"landscape,up,right", true, 3.5, 4.625},
    {"landscape,up,center", true, 3.5, 2.3125},
    {"landscape,down,left", true, 3.5, 4.625},
    {"landscape,down,right", true, 3.5, 0},
    {"landscape,down,center", true, 3.5, 2.3125},
    {"landscape,up,left,clockwise", true, 0, 0},
    {"landscape,up,right,clockwise", true, 0, 4.625},
    {"landscape,up,center,clockwise", true, 0, 2.3125},
    {"landscape,down,left,clockwise", true, 0, 4.625},
    {"landscape,down,right,clockwise", true, 0, 0},
    {"landscape,down,center,clockwise", true, 0, 2.3125},
};

struct Box {
    double left = -1, top = -1, width = 0, height = 0;
};

// The black box: the first row holding a dark run about one inch long.
Box findBox(const PdfGray& g)
{
    for (int y = g.y0; y < g.y0 + g.h; ++y)
        for (const DarkRun& r : runsOnRow(g, y))
            if (std::abs((r.right - r.left) / kDpi - kBoxWidth) < 0.05) {
                Box b;
                b.left = r.left / kDpi;
                b.top = y / kDpi;
                b.width = (r.right - r.left) / kDpi;
                b.height = columnHeight(g, (r.left + r.right) / 2, y) / kDpi;
                return b;
            }
    return {};
}

QString pageSize(const QString& pdf)
{
    static const QRegularExpression re(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts"));
    const auto m = re.match(pdfInfo(pdf));
    return m.hasMatch() ? m.captured(1) + QLatin1Char('x') + m.captured(2) : QString();
}

class FeedPlacement : public ::testing::TestWithParam<FeedCase> {};

} // namespace

TEST_P(FeedPlacement, BoxAndWordLandWhereTheFeedPutsTheEnvelope)
{
    const FeedCase c = GetParam();
    const EnvelopeFolder f = makeEnvelopeFolder(QStringLiteral("feed-%1").arg(QString::fromLatin1(c.words).replace(',', '-')),
                                                samplePeople());
    ASSERT_FALSE(f.folder.isEmpty());
    ASSERT_GT(addEnvelopeLayout(f, "Monarch markers", 37, addMarkers).recno, 0u);
    const QString pdf = f.folder + "/out.pdf";
    int rc = 0;
    const QString out = runTool(POSTAVO_BIN_DIR "/postavo-batch",
                                {"envelopes", "--folder", f.folder, "--layout", "monarch MARKERS", "--data", f.data,
                                 "--record", "1", "--feed", c.words, "--paper", "1", "--pdf", pdf},
                                &rc);
    ASSERT_EQ(rc, 0) << out.toStdString();

    // The page is Letter turned as the feed goes.
    EXPECT_EQ(pageSize(pdf), c.landscape ? "792x612" : "612x792");
    const PdfGray g = renderPdfGray(pdf, 0, 0, c.landscape ? 2200 : 1700, c.landscape ? 1700 : 2200, f.folder, int(kDpi));
    ASSERT_GT(g.w, 0);
    const Box box = findBox(g);
    EXPECT_NEAR(box.left, c.x + kBoxLeft, kTolerance) << c.words;
    EXPECT_NEAR(box.top, c.y + kBoxTop, kTolerance) << c.words;
    EXPECT_NEAR(box.width, kBoxWidth, kTolerance);
    EXPECT_NEAR(box.height, kBoxHeight, kTolerance);

    // The word reads across the page, three inches right of the box and 1.5 below it.
    const auto words = pdfWords(pdf);
    const PdfWord* w = findWord(words, "MARKER");
    ASSERT_NE(w, nullptr) << c.words;
    EXPECT_GT(w->xMax - w->xMin, 2 * (w->yMax - w->yMin)) << "the text runs across the page";
    EXPECT_NEAR(w->xMin / 72, c.x + kWordLeft, 0.1) << c.words;
    EXPECT_NEAR(w->yMin / 72, c.y + kWordTop, 0.15) << c.words;
}

INSTANTIATE_TEST_SUITE_P(EveryFeedMethod, FeedPlacement, ::testing::ValuesIn(kCases));

TEST(FeedPlacementOwnPaper, TheEnvelopesOwnPaperPutsItAtTheCornerWhateverTheFeed)
{
    const EnvelopeFolder f = makeEnvelopeFolder("own-paper", samplePeople());
    ASSERT_FALSE(f.folder.isEmpty());
    ASSERT_GT(addEnvelopeLayout(f, "Ten", 20, addMarkers).recno, 0u);
    for (const char* feed : {"landscape,up,right", "landscape,down,center,clockwise"}) {
        const QString pdf = f.folder + "/own.pdf";
        int rc = 0;
        const QString out = runTool(POSTAVO_BIN_DIR "/postavo-batch",
                                    {"envelopes", "--folder", f.folder, "--layout", "Ten", "--data", f.data, "--feed",
                                     feed, "--pdf", pdf},
                                    &rc);
        ASSERT_EQ(rc, 0) << out.toStdString();
        EXPECT_EQ(pageSize(pdf), "684x297") << "a #10 envelope, 9.5 x 4.125 inches";
        // One page per record with an address: records 1, 2 and 4.
        EXPECT_TRUE(pdfInfo(pdf).contains(QRegularExpression("Pages:\\s+3\\b")));
        const PdfGray g = renderPdfGray(pdf, 0, 0, 1900, 825, f.folder, int(kDpi));
        const Box box = findBox(g);
        EXPECT_NEAR(box.left, kBoxLeft, kTolerance) << feed;
        EXPECT_NEAR(box.top, kBoxTop, kTolerance) << feed;
        EXPECT_TRUE(out.contains("Record 3 has no address")) << out.toStdString();
    }
}

TEST(FeedPlacementOwnPaper, APortraitFeedCannotPlaceAWideEnvelopeOnItsOwnPaper)
{
    const EnvelopeFolder f = makeEnvelopeFolder("no-room", samplePeople());
    ASSERT_FALSE(f.folder.isEmpty());
    ASSERT_GT(addEnvelopeLayout(f, "Ten", 20, addMarkers).recno, 0u);
    const QString pdf = f.folder + "/none.pdf";
    int rc = 0;
    const QString out = runTool(POSTAVO_BIN_DIR "/postavo-batch",
                                {"envelopes", "--folder", f.folder, "--layout", "Ten", "--data", f.data, "--feed",
                                 "portrait", "--pdf", pdf},
                                &rc);
    EXPECT_EQ(rc, 1);
    EXPECT_TRUE(out.contains("does not fit on the printer's page (4.125 x 9.5 inches)")) << out.toStdString();
    EXPECT_TRUE(out.contains("Nothing was printed."));
    EXPECT_FALSE(QFile::exists(pdf));
}
