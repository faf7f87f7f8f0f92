// The paper feed without a page: the offsets of every feed method on a Letter page in both
// orientations, the page that is the envelope, the feed's words, description and picture, and
// its settings (with values the settings file should never hold).
#include "envelopefeed.h"
#include "envelopeprinter.h"
#include "settings.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::envelopes;

namespace {
FeedMethod feed(int orientation, int facing, int position, bool clockwise = false)
{
    return {orientation, facing, position, clockwise};
}
} // namespace

TEST(FeedOffsets, NumberTenOnLetterAsTheExamplesSay)
{
    // Portrait, up, centred on a portrait Letter page: D/2 = -0.5 becomes 0.
    EXPECT_EQ(feedOffsets(8.5, 11, 9.5, 4.125, feed(feedPortrait, facingUp, positionCenter)), (FeedOffsets{0, 0}));
    // Landscape, not clockwise, centred on a landscape Letter page.
    EXPECT_EQ(feedOffsets(11, 8.5, 9.5, 4.125, feed(feedLandscape, facingUp, positionCenter)), (FeedOffsets{1.5, 2.1875}));
    // Facing down mirrors left and right; clockwise keeps x at 0.
    EXPECT_EQ(feedOffsets(11, 8.5, 9.5, 4.125, feed(feedLandscape, facingDown, positionLeft)), (FeedOffsets{1.5, 4.375}));
    EXPECT_EQ(feedOffsets(11, 8.5, 9.5, 4.125, feed(feedLandscape, facingDown, positionLeft, true)), (FeedOffsets{0, 4.375}));
    EXPECT_EQ(feedOffsets(11, 8.5, 9.5, 4.125, feed(feedLandscape, facingUp, positionRight, true)), (FeedOffsets{0, 4.375}));
    // Portrait ignores clockwise rotation.
    EXPECT_EQ(feedOffsets(8.5, 11, 7.5, 3.875, feed(feedPortrait, facingDown, positionLeft, true)), (FeedOffsets{1, 0}));
}

TEST(FeedOffsets, ThePageThatIsTheEnvelopePutsItAtTheCorner)
{
    for (int o : {feedPortrait, feedLandscape})
        for (int f : {facingUp, facingDown})
            for (int p : {positionLeft, positionRight, positionCenter})
                for (bool cw : {false, true})
                    EXPECT_EQ(feedOffsets(9.52, 4.13, 9.5, 4.125, feed(o, f, p, cw)), (FeedOffsets{0, 0}));
    // A page that differs in the first decimal is not the envelope.
    EXPECT_NE(feedOffsets(9.6, 4.125, 9.5, 4.125, feed(feedLandscape, facingUp, positionLeft)), (FeedOffsets{0, 0}));
}

TEST(FeedOffsets, PlacementProblemWhenTheEnvelopeDoesNotFit)
{
    const FeedMethod up = feed(feedLandscape, facingUp, positionCenter);
    EXPECT_TRUE(placementProblem(9.5, 4.125, 11, 8.5, up).isEmpty());
    EXPECT_TRUE(placementProblem(9.5, 4.125, 9.5, 4.125, up).isEmpty()) << "its own paper";
    EXPECT_TRUE(placementProblem(8.8, 4.4, 8.66, 4.33, up).isEmpty()) << "DL's 0.04-inch millimetres on real DL paper";
    EXPECT_TRUE(placementProblem(9.5, 4.125, 4.125, 9.5, feed(feedPortrait, facingUp, positionLeft))
                    .contains("does not fit"));
    EXPECT_FALSE(placementProblem(14.12, 10, 11, 8.5, up).isEmpty()) << "B4 on Letter";
    EXPECT_FALSE(envelopeFitsPage(11, 8.5, 9.5, 4.125, {2, 0}));
    EXPECT_TRUE(envelopeFitsPage(11, 8.5, 9.5, 4.125, {1.5, 4.375}));
}

TEST(FeedMismatch, WarningWhenPageAndEnvelopeDifferByMoreThanAnInch)
{
    EXPECT_TRUE(pageMismatchWarning(9.5, 4.125, 9.5, 4.125).isEmpty());
    EXPECT_TRUE(pageMismatchWarning(9.5, 4.125, 10.5, 5.125).isEmpty()) << "exactly one inch";
    EXPECT_EQ(pageMismatchWarning(9.5, 4.125, 11, 8.5),
              "WARNING: Printer PAPER SIZE and ORIENTATION do not match selected Envelope.\r\n"
              "Use Printer Setup to correct this.");
    EXPECT_FALSE(pageMismatchWarning(9.5, 4.125, 4.125, 9.5).isEmpty()) << "turned the wrong way";
}

TEST(FeedWords, DescriptionWordsAndPicture)
{
    EXPECT_EQ(feedDescription(FeedMethod{}), "Position: Center\r\nOrientation : Landscape\r\nFacing Down");
    EXPECT_EQ(feedDescription(feed(feedPortrait, facingUp, positionLeft, true)),
              "Position: Left\r\nOrientation : Portrait\r\nClockwise Rotation\r\nFacing Up");
    FeedMethod f;
    QString error;
    ASSERT_TRUE(parseFeedMethod("Portrait, up left", &f, &error));
    EXPECT_EQ(f, feed(feedPortrait, facingUp, positionLeft));
    ASSERT_TRUE(parseFeedMethod("landscape,clockwise,centre", &f, &error));
    EXPECT_EQ(f, feed(feedLandscape, facingUp, positionCenter, true));
    EXPECT_EQ(feedWords(f), "landscape,up,center,clockwise");
    EXPECT_FALSE(parseFeedMethod("landscape,sideways", &f, &error));
    EXPECT_TRUE(error.contains("\"sideways\""));
    EXPECT_EQ(f, feed(feedLandscape, facingUp, positionCenter, true)) << "unchanged after a bad word";

    EXPECT_EQ(feedPicture(feed(feedPortrait, facingUp, positionLeft)).turn, 0);
    EXPECT_EQ(feedPicture(feed(feedLandscape, facingUp, positionLeft)).turn, 90);
    EXPECT_EQ(feedPicture(feed(feedLandscape, facingDown, positionLeft, true)).turn, -90);
    EXPECT_EQ(feedPicture(feed(feedLandscape, facingDown, positionLeft)).side, EnvelopeSide::Back);
    EXPECT_EQ(feedPictureLeft(84, 34, positionLeft), 2);
    EXPECT_EQ(feedPictureLeft(84, 34, positionRight), 48);
    EXPECT_EQ(feedPictureLeft(84, 35, positionCenter), 42 - 17);
}

TEST(FeedSettings, WrittenAndReadBackAndNonsenseBecomesTheDefault)
{
    const QString dir = postavo::testing::scratchDir("feed-settings");
    Settings s(dir + "/postav.ini");
    EXPECT_EQ(readFeedMethod(s), (FeedMethod{feedLandscape, facingDown, positionCenter, false})) << "the defaults";
    ASSERT_TRUE(writeFeedMethod(s, feed(feedPortrait, facingUp, positionRight, true)));
    EXPECT_EQ(readFeedMethod(s), feed(feedPortrait, facingUp, positionRight, true));
    EXPECT_EQ(s.readString("Envelope Feed", "Position"), "1");
    s.writeString("Envelope Feed", "Orientation", "7");
    s.writeString("Envelope Feed", "Position", "-3");
    s.writeString("Envelope Feed", "Facing", "down");
    EXPECT_EQ(readFeedMethod(s), feed(feedLandscape, facingDown, positionCenter, true));
}
