// Envelope sizes, the size chooser's answers, the surface a size gives, and the designer's
// drawing aids: the USPS zones in inches and in surface pixels for #10, #14 and Monarch
// envelopes, and the printer's printable area.
#include "envelopesizes.h"
#include "envelopezones.h"

#include <gtest/gtest.h>

using namespace postavo::envelopes;

TEST(EnvelopeSizes, SixteenSizesWithMetricOnesAtFourHundredthsOfAnInchPerMillimetre)
{
    ASSERT_EQ(envelopeSizes().size(), 16u);
    const EnvelopeSize* ten = findEnvelopeSize(20);
    ASSERT_NE(ten, nullptr);
    EXPECT_STREQ(ten->caption, "Envelope #10 4 1/8 x 9 1/2 inches");
    EXPECT_EQ(envelopeDimensions(20).width, 9.5);
    EXPECT_EQ(envelopeDimensions(20).height, 4.125);
    EXPECT_EQ(envelopeDimensions(27).width, 8.8) << "DL 220 mm at 0.04 inch, not 8.66";
    EXPECT_STREQ(findEnvelopeSize(28)->caption, "Envelope C5 162 x 229 mm ") << "ends in a blank";
    EXPECT_FALSE(envelopeDimensions(24).known());
    EXPECT_EQ(envelopeDimensions(24).width, -1);
    EXPECT_EQ(envelopeDimensions(0).height, -1);
    EXPECT_EQ(defaultEnvelopeDescription(), "Envelope #10");
    EXPECT_EQ(kDefaultEnvelopeCode, 20);
}

TEST(EnvelopeSizes, ChooserSelectsTheCodeOrTheFirstEntry)
{
    EXPECT_EQ(chooserIndexForCode(20), 1);
    EXPECT_EQ(chooserIndexForCode(38), 15);
    EXPECT_EQ(chooserIndexForCode(99), 0);
    EXPECT_EQ(chooserResult(4, 20), 23);
    EXPECT_EQ(chooserResult(-1, 37), 37) << "nothing selected: the given code";
}

TEST(EnvelopeSizes, SurfacePixelsRoundEachSide)
{
    EXPECT_EQ(surfacePixels(20, 96), QSize(912, 396));
    EXPECT_EQ(surfacePixels(30, 96), QSize(1244, 879)) << "C4: 12.96 x 9.16 inches";
    EXPECT_EQ(surfacePixels(37, 120), QSize(900, 465)) << "Monarch at 120 ppi: 465 from 465.0";
    EXPECT_EQ(surfacePixels(31, 96), QSize(622, 438)) << "C6 622.08 x 437.76";
    EXPECT_FALSE(surfacePixels(99, 96).isValid());
}

TEST(EnvelopeZones, NumberTenInPixelsAt96PpiAndFullZoom)
{
    const auto z = uspsZonesPixels(912, 396, 96, 1.0f);
    EXPECT_EQ(z[0].rect, (EdgeRect{1, 1, 456, 132}));
    EXPECT_EQ(z[0].caption, "[Return Address Area]");
    EXPECT_EQ(z[0].captionAt, QPoint(3, 3));
    EXPECT_EQ(z[1].rect, (EdgeRect{48, 132, 864, 336}));
    EXPECT_EQ(z[1].captionAt, QPoint(50, 134));
    EXPECT_EQ(z[2].rect, (EdgeRect{528, 336, 864, 395}));
    EXPECT_EQ(z[2].caption, "[Barcode Clear Zone]");
    EXPECT_EQ(z[3].rect, (EdgeRect{624, 1, 720, 60}));
    EXPECT_EQ(z[3].captionAt, QPoint(626, 3));
}

TEST(EnvelopeZones, WideEnvelopesMeasureTheAddressZoneFromTheRightAndZoomScalesIt)
{
    // #14, 11.5 x 5 inches: the address zone starts 9.75 inches left of the right edge.
    const auto z = uspsZonesPixels(1104, 480, 96, 1.0f);
    EXPECT_EQ(z[1].rect.left, 1104 - 936);
    EXPECT_EQ(z[1].rect.right, 1104 - 48);
    // At 150 % every length is cut to whole pixels at the zoom.
    const auto big = uspsZonesPixels(1656, 720, 96, 1.5f);
    EXPECT_EQ(big[1].rect, (EdgeRect{1656 - 1404, 720 - 396, 1656 - 72, 720 - 90}));
    EXPECT_EQ(big[3].rect, (EdgeRect{1656 - 432, 1, 1656 - 288, 90}));
    // Monarch, 372 pixels high: the return zone ends at H - p(2.75) = 108, not H div 3 = 124.
    EXPECT_EQ(uspsZonesPixels(720, 372, 96, 1.0f)[0].rect.bottom, 108);
}

TEST(EnvelopeZones, InInchesForTwoSizes)
{
    const auto ten = uspsZonesInches(9.5, 4.125);
    EXPECT_EQ(ten[0].rect, QRectF(0, 0, 4.75, 1.375));
    EXPECT_EQ(ten[1].rect, QRectF(0.5, 1.375, 8.5, 2.125));
    EXPECT_EQ(ten[2].rect, QRectF(5.5, 3.5, 3.5, 0.625));
    EXPECT_EQ(ten[3].rect, QRectF(6.5, 0, 1, 0.625));
    const auto fourteen = uspsZonesInches(11.5, 5);
    EXPECT_EQ(fourteen[1].rect, QRectF(1.75, 2.25, 9.25, 2.125));
    EXPECT_EQ(fourteen[2].rect, QRectF(7.5, 4.375, 3.5, 0.625));
    EXPECT_EQ(fourteen[0].rect.bottom(), 5.0 / 3);
    // The pixels at 96 ppi agree with the inches to a pixel.
    const auto px = uspsZonesPixels(1104, 480, 96, 1.0f);
    for (int i = 1; i < 4; ++i) {
        EXPECT_NEAR(px[i].rect.left, fourteen[i].rect.left() * 96, 1) << i;
        EXPECT_NEAR(px[i].rect.right, fourteen[i].rect.right() * 96, 1) << i;
    }
}

TEST(EnvelopeZones, PrintableAreaFromThePrintersMarginsAtTheZoom)
{
    const PrinterArea a = printerAreaPixels(0.25, 0.1667, 0.25, 0.5, 9.5, 4.125, 96);
    EXPECT_EQ(a.left, 24);
    EXPECT_EQ(a.top, 16);
    EXPECT_EQ(a.pageWidth, 912);
    EXPECT_EQ(printableRect(a, 1.0f), (EdgeRect{24, 16, 888, 348}));
    EXPECT_EQ(printableRect(a, 0.5f), (EdgeRect{12, 8, 444, 174}));
}
