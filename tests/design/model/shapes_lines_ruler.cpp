// Where shapes and lines are drawn on screen and on paper, and the ruler's ticks.
#include "rulerticks.h"
#include "shapegeometry.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace postavo::design;
using namespace postavo::design::geometry;

TEST(ShapeGeometry, CornersAtPenWidthsOneAndThree)
{
    auto c = shapeScreenCorners(40, 20, shapeScreenPen(3, 1.0f));
    EXPECT_EQ(c.x1, 1);
    EXPECT_EQ(c.y1, 1);
    EXPECT_EQ(c.x2, 39);
    EXPECT_EQ(c.y2, 19);
    c = shapeScreenCorners(40, 20, shapeScreenPen(1, 1.0f));
    EXPECT_EQ(c.x1, 0);
    EXPECT_EQ(c.x2, 40);
    EXPECT_EQ(c.y2, 20);
}

TEST(ShapeGeometry, ZoomedPens)
{
    EXPECT_EQ(shapeScreenPen(1, 0.25f), 1);  // a visible pen stays visible
    EXPECT_EQ(shapeScreenPen(0, 0.25f), 0);
    EXPECT_EQ(shapeScreenPen(3, 1.5f), 4);   // 4.5 to even
    EXPECT_EQ(shapeScreenPen(5, 1.5f), 8);   // 7.5 to even
    EXPECT_EQ(lineScreenPen(1, 0.25f), 0);   // lines have no minimum
    EXPECT_EQ(lineScreenPen(3, 1.5f), 4);
}

TEST(ShapeGeometry, RoundedCornerOnScreenAndPaper)
{
    EXPECT_EQ(screenCorner(50, 100, 40), 50);
    EXPECT_EQ(screenCorner(25, 25, 25), 6);
    const QRectF r = printRect(0, 0, 100, 40, 0, 0, 96);
    EXPECT_NEAR(printCorner(50, r, 100, 40), 0.5208, 1e-4);
    // Taller than wide: the corner follows the height.
    const QRectF t = printRect(0, 0, 40, 100, 0, 0, 96);
    EXPECT_NEAR(printCorner(50, t, 40, 100), 0.5208, 1e-4);
}

TEST(ShapeGeometry, PrintedPenWidths)
{
    EXPECT_EQ(shapePrintPen(1, 120), 0);   // under a hundredth: the thinnest line
    EXPECT_EQ(shapePrintPen(1, 96), -1);
    EXPECT_EQ(shapePrintPen(3, 96), -3);
    EXPECT_EQ(shapePrintPen(10, 120), -8);
    EXPECT_EQ(linePrintPen(1), -1);        // lines: N pixels are N hundredths, at any ppi
    const QRectF r = printRect(10, 20, 30, 40, 1.0, 2.0, 96);
    EXPECT_DOUBLE_EQ(r.left(), 1.0 + 10 / 96.0);
    EXPECT_DOUBLE_EQ(r.bottom(), 2.0 + 60 / 96.0);
}

TEST(LineGeometry, ScreenEnds)
{
    EXPECT_EQ(lineScreen(LineKind::Horizontal, 50, 10, 1), QLine(0, 0, 50, 0));
    EXPECT_EQ(lineScreen(LineKind::Horizontal, 50, 10, 3), QLine(1, 1, 49, 1));
    EXPECT_EQ(lineScreen(LineKind::Vertical, 10, 50, 2), QLine(1, 1, 1, 50));
    EXPECT_EQ(lineScreen(LineKind::SlopingUp, 30, 20, 5), QLine(30, 0, 0, 20));
    EXPECT_EQ(lineScreen(LineKind::SlopingDown, 30, 20, 5), QLine(0, 0, 30, 20));
}

TEST(LineGeometry, PrintedVerticalLine)
{
    const QLineF l = linePrint(LineKind::Vertical, 10, 20, 2, 50, 2, 0, 0, 96);
    EXPECT_NEAR(l.x1(), 0.1042, 1e-4);
    EXPECT_NEAR(l.x2(), 0.1042, 1e-4);
    EXPECT_DOUBLE_EQ(l.y1(), 0.21875);
    EXPECT_NEAR(l.y2(), 0.7396, 1e-4);
    const QLineF up = linePrint(LineKind::SlopingUp, 0, 0, 96, 48, 1, 1, 1, 96);
    EXPECT_EQ(up, QLineF(1, 1.5, 2, 1));
}

TEST(Ruler, TicksAt96And120)
{
    auto t = ruler::ticks(96, 200, 33, 0.0);
    ASSERT_GE(t.size(), 17u);
    EXPECT_EQ(t[1].x, 6);
    EXPECT_EQ(t[0].bottom, 33);
    EXPECT_EQ(t[0].number, -1);           // no 0
    EXPECT_EQ(t[1].bottom, 8);
    EXPECT_EQ(t[8].bottom, 16);
    EXPECT_EQ(t[16].x, 96);
    EXPECT_EQ(t[16].number, 1);
    EXPECT_EQ(t.size(), 34u);             // x = 0, 6, ..., 198
    t = ruler::ticks(120, 300, 17, 0.0);
    EXPECT_EQ(t[1].x, 7);
    EXPECT_EQ(t[16].x, 112);
    EXPECT_EQ(t[16].number, 1);
    EXPECT_EQ(t[16].bottom, 17);
    // Starting at 2.5 inches: the first tick is the half inch, the whole inch after it is 3.
    t = ruler::ticks(96, 100, 33, 2.5);
    EXPECT_EQ(t[0].bottom, 16);
    EXPECT_EQ(t[8].number, 3);
    EXPECT_EQ(t[8].x, 48);
}
