#pragma once
// How envelopes go into the printer, and where the layout lands on the printer's page for each
// way: the four feed values, their settings, the offsets of the envelope on the page, the text
// and the picture that describe a feed method.

#include <QPageLayout>
#include <QString>

namespace postavo {
class Settings;
}

namespace postavo::envelopes {

enum FeedOrientation { feedPortrait = 0, feedLandscape = 1 };
enum FeedFacing { facingUp = 0, facingDown = 1 };
enum FeedPosition { positionLeft = 0, positionRight = 1, positionCenter = 2 };

struct FeedMethod {
    int orientation = feedLandscape;
    int facing = facingDown;
    int position = positionCenter;
    bool clockwise = false; // meaningful in landscape only
    bool operator==(const FeedMethod&) const = default;

    bool landscape() const { return orientation == feedLandscape; }
    QPageLayout::Orientation pageOrientation() const
    {
        return landscape() ? QPageLayout::Landscape : QPageLayout::Portrait;
    }
    // Values outside their range become the defaults.
    FeedMethod sanitized() const;
};

// "Envelope Feed" in the settings file.
FeedMethod readFeedMethod(const Settings& settings);
bool writeFeedMethod(Settings& settings, const FeedMethod& feed);

// A feed method in words, as the batch tool takes it: any of "portrait" or "landscape", "up" or
// "down", "left", "right" or "center", and "clockwise", separated by commas or blanks; what is not
// named stays as in `feed`, but clockwise rotation is on only when named. False with the word it
// did not know.
bool parseFeedMethod(const QString& words, FeedMethod* feed, QString* error);
// The same words for a feed method ("landscape,down,center").
QString feedWords(const FeedMethod& feed);

// Where the envelope's top-left corner goes on the printer's page, in inches, for a page of
// pw x ph and an envelope of ew x eh (both in the page's orientation). A page that is the
// envelope itself (equal to a tenth of an inch) puts it at the corner whatever the feed; a
// negative offset becomes 0.
struct FeedOffsets {
    double x = 0, y = 0;
    bool operator==(const FeedOffsets&) const = default;
};
FeedOffsets feedOffsets(double pw, double ph, double ew, double eh, const FeedMethod& feed);

// Whether the whole envelope lies on the page at those offsets (to a hundredth of an inch).
bool envelopeFitsPage(double pw, double ph, double ew, double eh, const FeedOffsets& at);

// "Position: Center\r\nOrientation : Landscape\r\nFacing Down", with "Clockwise Rotation" on a
// line of its own before the facing when it is on.
QString feedDescription(const FeedMethod& feed);

// The feed picture: a page with an envelope drawn over it, 2 pixels from the top.
enum class EnvelopeSide { Front, Back };
struct FeedPicture {
    EnvelopeSide side = EnvelopeSide::Back;
    // How the envelope is turned on the page: 0 upright (portrait), 90 a quarter turn counter-
    // clockwise, -90 a quarter turn clockwise (landscape with clockwise rotation).
    int turn = 0;
};
FeedPicture feedPicture(const FeedMethod& feed);
// Left edge of the envelope picture on a page picture `pageWidth` wide.
int feedPictureLeft(int pageWidth, int envelopeWidth, int position);

} // namespace postavo::envelopes
