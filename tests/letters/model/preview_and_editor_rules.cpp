// The preview's zoom steps, page stack and sheet geometry, and the editor's command captions.
#include "letterdesign.h"
#include "letterpreview.h"
#include "lettermerge.h"

#include <gtest/gtest.h>

using namespace postavo::letters;

TEST(PreviewRules, ZoomSteps)
{
    LetterPreviewState s;
    EXPECT_TRUE(s.zoomIn());
    EXPECT_EQ(s.zoom(), 125);
    EXPECT_TRUE(s.zoomIn());
    EXPECT_EQ(s.zoom(), 156);
    EXPECT_FALSE(s.zoomIn());
    EXPECT_EQ(s.zoom(), 156);
    s.setZoom(100);
    EXPECT_TRUE(s.zoomOut());
    EXPECT_EQ(s.zoom(), 75);
    EXPECT_TRUE(s.zoomOut());
    EXPECT_EQ(s.zoom(), 56);
    EXPECT_TRUE(s.zoomOut());
    EXPECT_EQ(s.zoom(), 42);
    EXPECT_FALSE(s.zoomOut());
    EXPECT_EQ(LetterPreviewState::fitZoom(600, 816), 73);
    EXPECT_EQ(LetterPreviewState::fitZoom(600, 0), 100);
}

TEST(PreviewRules, PagesAndTheirStack)
{
    LetterPreviewState s;
    EXPECT_EQ(s.caption(), "Preview Letters Page 1");
    EXPECT_FALSE(s.previousPage());
    EXPECT_FALSE(s.nextPage());  // nothing drawn yet
    s.setNextStart(40);
    ASSERT_TRUE(s.nextPage());
    EXPECT_EQ(s.page(), 2);
    EXPECT_EQ(s.pageStart(), 40);
    EXPECT_EQ(s.caption(), "Preview Letters Page 2");
    s.setNextStart(-1);  // the last page
    EXPECT_FALSE(s.nextPage());
    EXPECT_EQ(s.page(), 2);
    ASSERT_TRUE(s.previousPage());
    EXPECT_EQ(s.page(), 1);
    EXPECT_EQ(s.pageStart(), 0);
    s.setNextStart(40);
    s.nextPage();
    s.reset();
    EXPECT_EQ(s.page(), 1);
    EXPECT_EQ(s.pageStart(), 0);
    EXPECT_FALSE(s.hasPreviousPage());
}

TEST(PreviewRules, SheetGeometry)
{
    const postavo::richtext::PageLayout page;  // 8.5 x 11, 1-inch margins
    SheetGeometry g = sheetGeometry(page, 96, 100);
    EXPECT_EQ(g.sheet, QRect(0, 0, 816, 1056));
    EXPECT_EQ(g.text, QRect(96, 96, 624, 864));
    g = sheetGeometry(page, 96, 75);
    EXPECT_EQ(g.sheet, QRect(0, 0, 612, 792));
    EXPECT_EQ(g.text, QRect(72, 72, 468, 648));
    EXPECT_EQ(twipsToPixels(12240, 96), 816);
}

TEST(EditorRules, Captions)
{
    EXPECT_EQ(defaultFontCaption(postavo::DefaultFont{}), "&Default Font: Arial, 10 pt ");
    EXPECT_EQ(defaultFontCaption({"Times New Roman", 12, true, true}),
              "&Default Font: Times New Roman, 12 pt , bold, italic");
    EXPECT_EQ(wordWrapCaption(true), "&Word Wrap is ON");
    EXPECT_EQ(wordWrapCaption(false), "&Word Wrap is OFF");
    EXPECT_EQ(insertFieldNames().first(), "Full Name");
    EXPECT_EQ(insertFieldNames()[1], "Name and Address");
}
