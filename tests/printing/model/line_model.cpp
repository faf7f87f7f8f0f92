// The line model of the print canvas: line height, Home, New line, Lines left, New page.
#include "devices.h"
#include "printcanvas.h"

#include <gtest/gtest.h>

using namespace postavo::printing;

namespace {

// Runs body on a canvas recording to a Letter page.
void run(const std::function<void(TPrintCanvas&)>& body, RecordingDevice* doc = nullptr)
{
    RecordingDevice local;
    TPrintCanvas canvas;
    canvas.setDevice(doc ? doc : &local);
    ASSERT_TRUE(canvas.execute(nullptr, body));
}

} // namespace

TEST(LineModel, TenPointLinesAreOneSixthInchAndSixFitInAnInch)
{
    LineModel m;
    m.setPageSize(8.5, 11);
    m.setFont(10, 0.0);
    EXPECT_DOUBLE_EQ(m.lineHeight(), 1.0 / 6.0);
    m.setSection({1, 1, 7, 2});
    m.home();
    EXPECT_DOUBLE_EQ(m.x(), 1.0);
    EXPECT_DOUBLE_EQ(m.y(), 1.0 + 1.0 / 6.0);
    EXPECT_EQ(m.linesLeft(), 6);
    int printed = 0;
    while (m.linesLeft() > 0) {
        ++printed;
        m.newLine();
    }
    EXPECT_EQ(printed, 6);
}

TEST(LineModel, DescentLiftsTheFirstBaselineAndCountsAgainstTheBottom)
{
    LineModel m;
    m.setPageSize(8.5, 11);
    m.setFont(12, 0.05);
    m.setSection({0.5, 1.0, 8.0, 2.0});
    m.home();
    EXPECT_DOUBLE_EQ(m.y(), 1.0 + 0.2 - 0.05);
    EXPECT_EQ(m.linesLeft(), 5); // bottoms at 1.2, 1.4, ..., 2.0
    m.setX(3);
    m.newLine();
    EXPECT_DOUBLE_EQ(m.x(), 0.5);
    EXPECT_DOUBLE_EQ(m.y(), 1.35);
    m.setY(1.96); // bottom of this line 2.01: below the section
    EXPECT_EQ(m.linesLeft(), 0);
}

TEST(LineModel, CanvasHomeUsesTheFontDescentAndMarginBox)
{
    run([](TPrintCanvas& c) {
        c.setMargins(1, 1, 1, 1);
        c.resetSection();
        c.setFont("Arial", 10);
        c.home();
        EXPECT_NEAR(c.descent(), 0.212 * 10 / 72, 0.002); // Liberation Sans stands in for Arial
        EXPECT_DOUBLE_EQ(c.y(), 1.0 + 1.0 / 6.0 - c.descent());
        EXPECT_DOUBLE_EQ(c.x(), 1.0);
        // 9 inches of section: 54 lines of 1/6 inch, the last one ending on the bottom.
        EXPECT_EQ(c.linesLeft(), 54);
    });
}

TEST(LineModel, NewPageResetsTheSectionAndCountsFromTheMarginBoxAgain)
{
    RecordingDevice doc;
    run([](TPrintCanvas& c) {
        c.setMargins(1, 1, 1, 1);
        c.setFont("Arial", 10);
        c.resetSection();
        c.setSection(2, 5, 6, 6);
        c.home();
        const int inSmallSection = c.linesLeft();
        EXPECT_LT(inSmallSection, 7);
        for (int i = 0; i < 3; ++i)
            c.newLine();
        EXPECT_EQ(c.linesLeft(), inSmallSection - 3);
        c.newPage();
        EXPECT_EQ(c.pageNumber(), 2);
        EXPECT_EQ(c.section(), (InchRect{1, 1, 7.5, 10}));
        EXPECT_DOUBLE_EQ(c.x(), 1.0);
        EXPECT_EQ(c.linesLeft(), 54);
    }, &doc);
    EXPECT_EQ(doc.pageCount(), 2);
}

TEST(LineModel, XOriginShiftsLaterPositions)
{
    RecordingDevice doc;
    run([](TPrintCanvas& c) {
        c.setFont("Arial", 10);
        c.setXOrigin(2.375);
        c.gotoXY(0.5, 3);
        c.print("A");
        c.moveTo(0, 4);
        c.lineTo(1, 4);
        EXPECT_NEAR(c.x(), 0.5 + c.textWidth("A"), 1e-9);
    }, &doc);
    const QStringList log = doc.log();
    ASSERT_EQ(log.size(), 3);
    EXPECT_TRUE(log[1].startsWith("text 2.875 3.000 \"Arial\" 10")) << log[1].toStdString();
    EXPECT_TRUE(log[2].startsWith("line 2.375 4.000 3.375 4.000")) << log[2].toStdString();
}
