#include "envelopefeed.h"

#include "settings.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>

namespace postavo::envelopes {

FeedMethod FeedMethod::sanitized() const
{
    FeedMethod f = *this;
    const FeedMethod d;
    if (f.orientation != feedPortrait && f.orientation != feedLandscape)
        f.orientation = d.orientation;
    if (f.facing != facingUp && f.facing != facingDown)
        f.facing = d.facing;
    if (f.position < positionLeft || f.position > positionCenter)
        f.position = d.position;
    return f;
}

FeedMethod readFeedMethod(const Settings& s)
{
    FeedMethod f;
    f.orientation = keys::FeedOrientation.read(s);
    f.facing = keys::FeedFacing.read(s);
    f.position = keys::FeedPosition.read(s);
    f.clockwise = keys::FeedClockWiseRotation.read(s);
    return f.sanitized();
}

bool writeFeedMethod(Settings& s, const FeedMethod& f)
{
    return keys::FeedOrientation.write(s, f.orientation) && keys::FeedFacing.write(s, f.facing)
        && keys::FeedPosition.write(s, f.position) && keys::FeedClockWiseRotation.write(s, f.clockwise);
}

bool parseFeedMethod(const QString& words, FeedMethod* feed, QString* error)
{
    FeedMethod f = *feed;
    f.clockwise = false;
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    for (const QString& w : words.toLower().split(separators, Qt::SkipEmptyParts)) {
        if (w == QLatin1String("portrait"))
            f.orientation = feedPortrait;
        else if (w == QLatin1String("landscape"))
            f.orientation = feedLandscape;
        else if (w == QLatin1String("up"))
            f.facing = facingUp;
        else if (w == QLatin1String("down"))
            f.facing = facingDown;
        else if (w == QLatin1String("left"))
            f.position = positionLeft;
        else if (w == QLatin1String("right"))
            f.position = positionRight;
        else if (w == QLatin1String("center") || w == QLatin1String("centre"))
            f.position = positionCenter;
        else if (w == QLatin1String("clockwise"))
            f.clockwise = true;
        else {
            if (error)
                *error = QStringLiteral("\"%1\" is not a feed word (portrait, landscape, up, down, left, right, "
                                        "center, clockwise).")
                             .arg(w);
            return false;
        }
    }
    *feed = f;
    return true;
}

QString feedWords(const FeedMethod& f)
{
    QStringList w;
    w << (f.landscape() ? QStringLiteral("landscape") : QStringLiteral("portrait"));
    w << (f.facing == facingUp ? QStringLiteral("up") : QStringLiteral("down"));
    w << (f.position == positionLeft ? QStringLiteral("left")
          : f.position == positionRight ? QStringLiteral("right")
                                        : QStringLiteral("center"));
    if (f.clockwise)
        w << QStringLiteral("clockwise");
    return w.join(QLatin1Char(','));
}

FeedOffsets feedOffsets(double pw, double ph, double ew, double eh, const FeedMethod& feed)
{
    FeedOffsets o;
    const auto tenths = [](double v) { return std::trunc(v * 10); };
    if (tenths(pw) == tenths(ew) && tenths(ph) == tenths(eh))
        return o; // the page is the envelope
    const double D = pw - ew;
    const double E = ph - eh;
    const bool up = feed.facing == facingUp;
    // Facing down mirrors left and right.
    int position = feed.position;
    if (!up && position != positionCenter)
        position = position == positionLeft ? positionRight : positionLeft;
    if (!feed.landscape()) {
        o.x = position == positionLeft ? 0 : position == positionRight ? D : D / 2;
    } else {
        const double y = position == positionLeft ? 0 : position == positionRight ? E : E / 2;
        o.y = y;
        if (!feed.clockwise)
            o.x = D;
    }
    o.x = std::max(o.x, 0.0);
    o.y = std::max(o.y, 0.0);
    return o;
}

bool envelopeFitsPage(double pw, double ph, double ew, double eh, const FeedOffsets& at)
{
    constexpr double tolerance = 0.01;
    return at.x + ew <= pw + tolerance && at.y + eh <= ph + tolerance;
}

QString feedDescription(const FeedMethod& feed)
{
    QString text;
    switch (feed.position) {
    case positionLeft: text += QStringLiteral("Position: Left\r\n"); break;
    case positionRight: text += QStringLiteral("Position: Right\r\n"); break;
    default: text += QStringLiteral("Position: Center\r\n"); break;
    }
    text += feed.landscape() ? QStringLiteral("Orientation : Landscape") : QStringLiteral("Orientation : Portrait");
    text += QStringLiteral("\r\n");
    if (feed.clockwise)
        text += QStringLiteral("Clockwise Rotation\r\n");
    text += feed.facing == facingUp ? QStringLiteral("Facing Up") : QStringLiteral("Facing Down");
    return text;
}

FeedPicture feedPicture(const FeedMethod& feed)
{
    FeedPicture p;
    p.side = feed.facing == facingUp ? EnvelopeSide::Front : EnvelopeSide::Back;
    p.turn = !feed.landscape() ? 0 : feed.clockwise ? -90 : 90;
    return p;
}

int feedPictureLeft(int pageWidth, int envelopeWidth, int position)
{
    switch (position) {
    case positionLeft: return 2;
    case positionRight: return pageWidth - envelopeWidth - 2;
    default: return pageWidth / 2 - envelopeWidth / 2;
    }
}

} // namespace postavo::envelopes
