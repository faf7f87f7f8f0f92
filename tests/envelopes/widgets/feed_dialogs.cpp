// The printer and feed windows: "Paper Feed Method" shows "Clockwise Rotation" only for
// landscape and draws the envelope where the feed puts it; "Envelope Print" shows the printer,
// the red warnings, the printer's missing envelope paper, the feed described, and asks before
// printing an envelope that would not fit.
#include "envelopeprinter.h"
#include "feeddialogs.h"
#include "printers.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::envelopes;
using postavo::printing::TPrinters;

TEST(FeedWindow, ClockwiseRotationBelongsToLandscapeAndThePictureFollows)
{
    TEnvelopeFeed w(FeedMethod{feedLandscape, facingUp, positionLeft, true});
    w.show();
    EXPECT_EQ(w.windowTitle(), "Paper Feed Method");
    EXPECT_TRUE(w.clockwiseBox()->isVisible());
    w.button("Portrait")->click();
    EXPECT_FALSE(w.clockwiseBox()->isVisible());
    w.button("Landscape")->click();
    EXPECT_TRUE(w.clockwiseBox()->isVisible());
    w.button("Down")->click();
    w.button("Right")->click();
    EXPECT_EQ(w.feed(), (FeedMethod{feedLandscape, facingDown, positionRight, true}));
    auto* picture = w.findChild<TFeedPicture*>();
    ASSERT_NE(picture, nullptr);
    const QRect right = picture->envelopeRect();
    w.button("Left")->click();
    const QRect left = picture->envelopeRect();
    EXPECT_LT(left.left(), right.left());
    EXPECT_GT(left.height(), left.width()) << "landscape: the envelope goes in short edge first";
    w.button("Portrait")->click();
    EXPECT_GT(picture->envelopeRect().width(), picture->envelopeRect().height());
}

TEST(PrePrintWindow, WarningsNoteAndFeed)
{
    TPrinters printers(QStringList{}, QString());
    FeedMethod feed{feedPortrait, facingUp, positionCenter, false};
    chooseEnvelopePaper(printers, 20, feed); // Envelope #10 paper, portrait: 4.125 x 9.5
    TEnvelopePrePrint w(printers, 20, feed, "The printer has no envelopes.");
    w.show();
    EXPECT_EQ(w.windowTitle(), "Envelope Print");
    EXPECT_TRUE(w.printerText().startsWith("PDF file | "));
    EXPECT_TRUE(w.printerText().endsWith("| Portrait"));
    EXPECT_TRUE(w.warningText().startsWith("WARNING: Printer PAPER SIZE and ORIENTATION do not match selected Envelope."));
    EXPECT_TRUE(w.placementText().contains("does not fit"));
    EXPECT_EQ(w.findChild<QLabel*>("PaperNote")->text(), "The printer has no envelopes.");
    EXPECT_EQ(w.feedText(), "Position: Center\nOrientation : Portrait\nFacing Up");

    // The feed window's answer turns the page: now the envelope is the page.
    w.chooseFeed = [](const FeedMethod& f) -> std::optional<FeedMethod> {
        FeedMethod g = f;
        g.orientation = feedLandscape;
        return g;
    };
    w.feedButton()->click();
    EXPECT_TRUE(w.printerText().endsWith("| Landscape"));
    EXPECT_TRUE(w.warningText().isEmpty());
    EXPECT_TRUE(w.placementText().isEmpty());
    EXPECT_EQ(w.feed().orientation, feedLandscape);

    // Back to portrait: Ok asks first, and No keeps the window open.
    w.chooseFeed = [](const FeedMethod& f) -> std::optional<FeedMethod> {
        FeedMethod g = f;
        g.orientation = feedPortrait;
        return g;
    };
    w.feedButton()->click();
    QStringList asked;
    w.confirmPlacement = [&](const QString& q) {
        asked << q;
        return false;
    };
    w.findChild<QPushButton*>("Ok")->click();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked.first().endsWith("Print anyway?"));
    EXPECT_TRUE(w.isVisible());
    w.confirmPlacement = [](const QString&) { return true; };
    w.findChild<QPushButton*>("Ok")->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
}
