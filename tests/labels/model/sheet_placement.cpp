// Where the labels of real sheets land, against their makers' figures, and the middle-gap
// rule at the edges where a wrong division or comparison would show.
#include "labelplacement.h"
#include "support_labels.h"

#include <gtest/gtest.h>

using namespace postavo::labels;
using namespace postavo::labels::test;

namespace {

constexpr double kEps = 1e-5;  // single-precision geometry

struct Expected {
    const char* sheet;
    int index;
    double left, top, right, bottom;
};

class RealSheets : public ::testing::TestWithParam<Expected> {};

LabelSheetDefinition sheetNamed(const std::string& name)
{
    if (name == "5160")
        return avery5160();
    if (name == "L7163")
        return averyL7163();
    // A single-column roll of address labels for a label printer: 1-1/8" x 3-1/2", each
    // label a page of its own.
    LabelSheetDefinition d = avery5160();
    d.tplDescrip = "DYMO 30252  Address";
    d.lblHeight = 1.125f;
    d.lblWidth = 3.5f;
    d.nbrAcross = 1;
    d.nbrDown = 1;
    d.topMarg = 0;
    d.leftMarg = 0;
    d.horizPitch = 3.5f;
    d.vertPitch = 1.125f;
    d.sheetWidth = 3.5f;
    d.sheetDepth = 1.125f;
    d.paperSize = "USERL";
    d.printer = "LP";
    d.manufac = "DYMO";
    return d;
}

TEST_P(RealSheets, LabelLiesWhereTheMakerPutsIt)
{
    const Expected e = GetParam();
    const LabelSheetDefinition d = sheetNamed(e.sheet);
    const QRectF r = labelRect(d, e.index);
    EXPECT_NEAR(r.left(), e.left, kEps);
    EXPECT_NEAR(r.top(), e.top, kEps);
    EXPECT_NEAR(r.right(), e.right, kEps);
    EXPECT_NEAR(r.bottom(), e.bottom, kEps);
    const LabelPosition p = positionAt(d, e.index);
    EXPECT_EQ(positionIndex(d, p.row, p.column), e.index);
}

INSTANTIATE_TEST_SUITE_P(
    Makers, RealSheets,
    ::testing::Values(
        // 5160: first label, third column of row 0, first of row 1, the last of the sheet.
        Expected{"5160", 0, 0.188, 0.5, 2.813, 1.5}, Expected{"5160", 2, 5.688, 0.5, 8.313, 1.5},
        Expected{"5160", 3, 0.188, 1.5, 2.813, 2.5}, Expected{"5160", 29, 5.688, 9.5, 8.313, 10.5},
        // L7163: 15.1 mm top, 4.7 mm side, 101.6 x 38.1 mm pitch; the last label ends 15.1 mm
        // above the A4 page's foot.
        Expected{"L7163", 0, 0.184, 0.596, 4.084, 2.096}, Expected{"L7163", 1, 4.184, 0.596, 8.084, 2.096},
        Expected{"L7163", 13, 4.184, 9.596, 8.084, 11.096},
        Expected{"roll", 0, 0, 0, 3.5, 1.125}));

TEST(Placement, EveryLabelOfARealSheetStaysOnThePaperAndApart)
{
    for (const LabelSheetDefinition& d : {avery5160(), averyL7163()}) {
        for (int i = 0; i < d.positionCount(); ++i) {
            const QRectF r = labelRect(d, i);
            EXPECT_GE(r.left(), 0);
            EXPECT_LE(r.right(), d.sheetWidth + 1e-4) << d.tplDescrip.toStdString() << " " << i;
            EXPECT_LE(r.bottom(), d.sheetDepth + 1e-4);
            if (i > 0) {
                EXPECT_FALSE(r.intersects(labelRect(d, i - 1).adjusted(0, 0, -1e-6, -1e-6)));
            }
        }
    }
}

TEST(Placement, MiddleGapAcrossGoesToTheRightHalfOfTheColumns)
{
    LabelSheetDefinition d = avery5160();
    d.midExtraX = 0.25;
    // Three columns: 3 div 2 = 1, so columns 1 and 2 move, column 0 stays.
    EXPECT_NEAR(labelOrigin(d, 0, 0).x(), 0.188, kEps);
    EXPECT_NEAR(labelOrigin(d, 0, 1).x(), 0.188 + 2.75 + 0.25, kEps);
    EXPECT_NEAR(labelOrigin(d, 0, 2).x(), 0.188 + 5.5 + 0.25, kEps);
    // Two columns: only column 1.
    d.nbrAcross = 2;
    EXPECT_NEAR(labelOrigin(d, 0, 0).x(), 0.188, kEps);
    EXPECT_NEAR(labelOrigin(d, 0, 1).x(), 0.188 + 2.75 + 0.25, kEps);
    // A single column is its own right half: it lies 0.25 inch right of the margin.
    d.nbrAcross = 1;
    EXPECT_NEAR(labelOrigin(d, 0, 0).x(), 0.188 + 0.25, kEps);
    // The gap never moves labels vertically.
    EXPECT_NEAR(labelOrigin(d, 4, 0).y(), 0.5 + 4.0, kEps);
}

TEST(Placement, MiddleGapDownAndGapsThatAreNotAboveZero)
{
    LabelSheetDefinition d = averyL7163();
    d.nbrDown = 2;
    d.midExtraY = 0;
    // Two rows and no gap: row 1 is exactly one pitch below row 0.
    EXPECT_NEAR(labelOrigin(d, 1, 0).y() - labelOrigin(d, 0, 0).y(), 1.5, kEps);
    d.midExtraY = 0.5;
    EXPECT_NEAR(labelOrigin(d, 0, 0).y(), 0.596, kEps);
    EXPECT_NEAR(labelOrigin(d, 1, 0).y(), 0.596 + 1.5 + 0.5, kEps);
    // Seven rows: 7 div 2 = 3, so rows 3 to 6 move.
    d.nbrDown = 7;
    EXPECT_NEAR(labelOrigin(d, 2, 0).y(), 0.596 + 3.0, kEps);
    EXPECT_NEAR(labelOrigin(d, 3, 0).y(), 0.596 + 4.5 + 0.5, kEps);
    // A negative gap is no gap.
    d.midExtraY = -0.5;
    d.midExtraX = -0.5;
    EXPECT_NEAR(labelOrigin(d, 6, 1).y(), 0.596 + 9.0, kEps);
    EXPECT_NEAR(labelOrigin(d, 6, 1).x(), 0.184 + 4.0, kEps);
}

TEST(Placement, PositionsNumberRowByRowUpToTheLargestSheet)
{
    LabelSheetDefinition d = avery5160();
    d.nbrAcross = 10;
    d.nbrDown = 30;
    EXPECT_EQ(d.positionCount(), kMaxPositions);
    for (int i = 0; i < d.positionCount(); ++i) {
        const LabelPosition p = positionAt(d, i);
        ASSERT_EQ(p.row * 10 + p.column, i);
        ASSERT_LT(p.column, 10);
        ASSERT_LT(p.row, 30);
    }
    EXPECT_EQ(positionIndex(d, 29, 9), 299);
}

} // namespace
