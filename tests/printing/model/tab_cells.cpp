// Tab stops: where each justification puts its text, shading, box lines, stops after stops.
#include "devices.h"
#include "printcanvas.h"

#include <gtest/gtest.h>

using namespace postavo::printing;

namespace {

TabStop stop(double pos, double width, TabJustify j, int margin = 0, int shade = 0, bool boxes = false)
{
    TabStop s;
    s.position = pos;
    s.width = width;
    s.justify = j;
    s.margin = margin;
    s.shade = shade;
    s.boxLeft = s.boxRight = s.boxTop = s.boxBottom = boxes;
    return s;
}

TabStop after(double width, TabJustify j, int margin = 0)
{
    TabStop s = stop(0, width, j, margin);
    s.afterPrevious = true;
    return s;
}

const TextOp* textOp(const RecordingDevice& doc, const QString& text)
{
    for (const CanvasOp& op : doc.page(0))
        if (auto t = std::get_if<TextOp>(&op); t && t->text == text)
            return t;
    return nullptr;
}

} // namespace

TEST(TabCells, EachJustificationPlacesTheText)
{
    RecordingDevice doc;
    TPrintCanvas c;
    c.setDevice(&doc);
    double wWide = 0;
    ASSERT_TRUE(c.execute(nullptr, [&](TPrintCanvas& c) {
        c.setFont("Arial", 9);
        c.clearTabs();
        c.addTab(stop(1.0, 1.25, TabJustify::Left, 5));
        c.addTab(after(0.625, TabJustify::Right, 5));
        c.addTab(after(2.0, TabJustify::Center));
        c.home();
        wWide = c.textWidth("Wide");
        c.tab();
        c.print("Left");
        c.tab();
        c.print("Wide");
        c.tab();
        c.print("Mid");
        EXPECT_EQ(c.currentTab(), 2);
    }));
    const TextOp* left = textOp(doc, "Left");
    const TextOp* right = textOp(doc, "Wide");
    const TextOp* mid = textOp(doc, "Mid");
    ASSERT_TRUE(left && right && mid);
    EXPECT_DOUBLE_EQ(left->origin.x(), 1.05);
    EXPECT_NEAR(right->origin.x() + wWide, 1.0 + 1.25 + 0.625 - 0.05, 1e-9);
    const double midWidth = FontMeasure(mid->font).width("Mid");
    EXPECT_NEAR(mid->origin.x() + midWidth / 2, 2.875 + 1.0, 1e-9);
}

TEST(TabCells, ShadeFillsTheLineBoxAndBoxLinesUseThePen)
{
    RecordingDevice doc(QSizeF(8.5, 11), 300);
    TPrintCanvas c;
    c.setDevice(&doc);
    double top = 0, bottom = 0;
    ASSERT_TRUE(c.execute(nullptr, [&](TPrintCanvas& c) {
        c.setFont("Arial", 12);
        c.setPen(Qt::black, PenStyle::Solid, -1);
        c.clearTabs();
        c.addTab(stop(0.5, 7.0, TabJustify::Left, 2, 10, true));
        c.home();
        top = c.lineTop();
        bottom = c.lineBottom();
        c.tab();
        c.tab(5); // wraps to a new line with its own shade
    }));
    EXPECT_NEAR(bottom - top, 0.2, 1e-12);
    const auto& ops = doc.page(0);
    ASSERT_EQ(ops.size(), 10u);
    const auto* fill = std::get_if<ShapeOp>(&ops[0]);
    ASSERT_TRUE(fill);
    EXPECT_EQ(fill->brush.color, QColor(230, 230, 230)); // 10 % grey
    EXPECT_EQ(fill->pen.style, PenStyle::Clear);
    EXPECT_DOUBLE_EQ(fill->rect.left(), 0.5);
    EXPECT_DOUBLE_EQ(fill->rect.right(), 7.5);
    EXPECT_DOUBLE_EQ(fill->rect.top(), top);
    EXPECT_DOUBLE_EQ(fill->rect.bottom(), bottom);
    // Left, right, top and bottom edges, three device pixels wide at 300 dots per inch.
    const auto* l = std::get_if<LineOp>(&ops[1]);
    const auto* b = std::get_if<LineOp>(&ops[4]);
    ASSERT_TRUE(l && b);
    EXPECT_EQ(l->from, QPointF(0.5, top));
    EXPECT_EQ(l->to, QPointF(0.5, bottom));
    EXPECT_EQ(b->from, QPointF(0.5, bottom));
    EXPECT_EQ(l->pen.devicePixels, 3);
    const auto* second = std::get_if<ShapeOp>(&ops[5]);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->brush.color, QColor(242, 242, 242)); // 5 % grey
    EXPECT_NEAR(second->rect.top(), bottom, 1e-12);
}

TEST(TabCells, DefaultShadeAndSavedStops)
{
    TabStops tabs;
    tabs.add(stop(1.0, 1.0, TabJustify::Left));
    tabs.add(after(0.5, TabJustify::Left));
    tabs.add(after(0.25, TabJustify::Left));
    EXPECT_DOUBLE_EQ(tabs.left(2), 2.5);
    tabs.save();
    tabs.clear();
    tabs.add(stop(0.5, 7.5, TabJustify::Left, 0, 5));
    EXPECT_EQ(tabs.count(), 1);
    EXPECT_TRUE(tabs.restore());
    EXPECT_EQ(tabs.count(), 3);
    EXPECT_FALSE(tabs.restore()); // nothing saved: the list stays

    RecordingDevice doc;
    TPrintCanvas c;
    c.setDevice(&doc);
    c.tabShade = 20;
    ASSERT_TRUE(c.execute(nullptr, [](TPrintCanvas& c) {
        c.addTab(stop(1.0, 1.0, TabJustify::Left));
        c.home();
        c.tab();
    }));
    ASSERT_EQ(doc.page(0).size(), 1u);
    EXPECT_EQ(std::get<ShapeOp>(doc.page(0)[0]).brush.color, QColor(204, 204, 204));
}
