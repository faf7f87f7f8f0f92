// The "Letter Designer" and "Preview Letters" driven without a screen: inserting fields and page
// breaks, the word-wrap and default-font commands with the settings they write, and the preview's
// pages, zoom and record buttons.
#include "addressfile.h"
#include "letterdesignwindow.h"
#include "letterpreviewwindow.h"
#include "pagedrawing.h"
#include "richdocument.h"
#include "richtextedit.h"
#include "richtexteditor.h"
#include "settings.h"
#include "support_letterfolder.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::letters;
namespace ptest = postavo::testing;

namespace {

class LetterWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = ptest::makeLetterFolder(QString::fromStdString(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        ASSERT_TRUE(table.open(folder.data));
        table.setFilter("!ISDEL");
        table.first();
    }
    ptest::LetterFolder folder;
    AddressTable table;
};

} // namespace

TEST_F(LetterWindows, NewLetterStartsWithItsPageFontAndWrapOff)
{
    richtext::RichDocument doc;
    TLetterDesign d(&doc, "{untitled}", true, &table);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EXPECT_EQ(d.windowTitle(), "Letter Designer");
    EXPECT_EQ(doc.pageLayout(), richtext::PageLayout{});
    EXPECT_FALSE(d.editor()->edit()->wordWrap());
    EXPECT_EQ(d.action("WordWrap")->text(), "&Word Wrap is OFF");
    EXPECT_EQ(d.action("DefaultFont")->text(), "&Default Font: Arial, 10 pt ");
    EXPECT_EQ(d.editor()->edit()->currentCharFormat().fontPointSize(), 10);
    EXPECT_FALSE(d.action("SpellCheck")->isEnabled());  // no postav.dct
    EXPECT_EQ(d.insertField()->currentText(), "Full Name");
    EXPECT_EQ(d.insertField()->count(), 25);

    d.toggleWordWrap();
    EXPECT_EQ(d.action("WordWrap")->text(), "&Word Wrap is ON");
    EXPECT_TRUE(d.editor()->edit()->wordWrap());
}

TEST_F(LetterWindows, InsertFieldsAndPageBreaks)
{
    richtext::RichDocument doc;
    TLetterDesign d(&doc, "x", false, &table);
    QStringList asked;
    bool answer = false;
    d.hooks.ask = [&](const QString& text, const QString& caption) {
        asked << caption + ": " + text;
        return answer;
    };
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    d.insertField()->setCurrentIndex(d.insertField()->findText("City+State+Zip"));
    emit d.insertField()->activated(d.insertField()->currentIndex());
    emit d.insertField()->activated(d.insertField()->currentIndex());  // the same name again
    EXPECT_EQ(doc.plainText(), "[City+State+Zip][City+State+Zip]");
    d.insertPageBreak();
    EXPECT_EQ(richtext::pageCount(doc), 1);
    answer = true;
    d.insertPageBreak();
    d.insertFieldNamed("Last");
    EXPECT_EQ(richtext::pageCount(doc), 2);
    EXPECT_EQ(asked, QStringList({"PAGE BREAK: Insert a page break?", "PAGE BREAK: Insert a page break?"}));
    // Closing the window keeps the letter, as Ok does.
    d.close();
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST_F(LetterWindows, DefaultFontIsRememberedInTheSettings)
{
    richtext::RichDocument doc;
    TLetterDesign d(&doc, "x", true, &table);
    d.hooks.chooseFont = [](DefaultFont& f) {
        f = {"Times New Roman", 12, true, true};
        return true;
    };
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    d.chooseDefaultFont();
    EXPECT_EQ(d.action("DefaultFont")->text(), "&Default Font: Times New Roman, 12 pt , bold, italic");
    Settings settings;
    const DefaultFont f = readDefaultFont(settings, FontSection::Letter);
    EXPECT_EQ(f.name, "Times New Roman");
    EXPECT_EQ(f.size, 12);
    EXPECT_TRUE(f.bold);
    EXPECT_TRUE(f.italic);
    d.editor()->edit()->insertText("Typed");
    QTextCursor c(doc.document());
    c.setPosition(2);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
    EXPECT_TRUE(c.charFormat().fontItalic());

    // A later editor starts with it; cancelling the dialog keeps it.
    richtext::RichDocument doc2;
    TLetterDesign again(&doc2, "y", true, &table);
    again.hooks.chooseFont = [](DefaultFont&) { return false; };
    EXPECT_EQ(again.action("DefaultFont")->text(), "&Default Font: Times New Roman, 12 pt , bold, italic");
    again.chooseDefaultFont();
    EXPECT_EQ(readDefaultFont(settings, FontSection::Letter).name, "Times New Roman");
}

TEST_F(LetterWindows, PreviewPagesZoomAndRecords)
{
    richtext::RichDocument letter;
    QTextCursor c(letter.document());
    c.insertText("Dear [First]");
    richtext::insertPageBreak(c);
    c.insertText("Page two");
    richtext::insertPageBreak(c);
    c.insertText("Page three for [Last]");
    TRTFPreviewForm f(letter, table);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    EXPECT_EQ(f.windowTitle(), "Preview Letters");
    EXPECT_TRUE(f.workingDocument().plainText().startsWith("Dear Ada"));
    EXPECT_EQ(letter.plainText().left(12), "Dear [First]");  // the letter itself is not merged

    f.previousPage();
    EXPECT_EQ(f.state().page(), 1);
    f.nextPage();
    f.nextPage();
    EXPECT_EQ(f.state().page(), 3);
    EXPECT_EQ(f.windowTitle(), "Preview Letters Page 3");
    f.nextPage();
    EXPECT_EQ(f.state().page(), 3);
    f.previousPage();
    EXPECT_EQ(f.windowTitle(), "Preview Letters Page 2");

    f.button("RecordNext")->click();
    EXPECT_EQ(table.recNo(), 2u);
    EXPECT_EQ(f.state().page(), 1);
    EXPECT_EQ(f.windowTitle(), "Preview Letters Page 1");
    EXPECT_TRUE(f.workingDocument().plainText().startsWith("Dear Bob"));
    f.button("RecordLast")->click();
    EXPECT_TRUE(f.workingDocument().plainText().contains("Page three for Cooper"));

    f.button("PageWidth")->click();
    const int width = f.state().zoom();
    EXPECT_GT(width, 0);
    EXPECT_LE(f.geometry().sheet.width(), f.scrollArea()->viewport()->width());
    f.button("WholePage")->click();
    EXPECT_LE(f.geometry().sheet.height(), f.scrollArea()->viewport()->height());
    const int before = f.state().zoom();
    QTest::mouseClick(f.sheet(), Qt::LeftButton, {}, f.sheet()->rect().center());
    EXPECT_EQ(f.state().zoom(), before < 150 ? int(before * 1.25) : before);
    QTest::mouseClick(f.sheet(), Qt::RightButton, {}, f.sheet()->rect().center());
    EXPECT_LE(f.state().zoom(), std::max(before, 50));

    // The sheet shows the page: white paper and dark text where the margins say.
    const QImage shot = f.sheet()->grab().toImage();
    int dark = 0;
    for (int y = 0; y < shot.height(); y += 2)
        for (int x = 0; x < shot.width(); x += 2)
            dark += qGray(shot.pixel(x, y)) < 80;
    EXPECT_GT(dark, 5);
}

TEST_F(LetterWindows, LoadedLetterKeepsItsPageAndPageSettingsApply)
{
    richtext::RichDocument doc;
    QTextCursor(doc.document()).insertText("Text");
    doc.setPageLayout({15840, 12240, 720, 720, 720, 720});
    TLetterDesign d(&doc, "x", false, &table);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EXPECT_EQ(d.editor()->edit()->pageLayout(), doc.pageLayout());
    EXPECT_EQ(doc.pageLayout().paperWidth, 15840);
    d.hooks.editPage = [&] {
        d.editor()->edit()->setPageLayout({12240, 15840, 2880, 1440, 1440, 1440});
        return true;
    };
    d.pageSettings();
    EXPECT_EQ(doc.pageLayout().marginLeft, 2880);
    EXPECT_EQ(doc.plainText(), "Text");
    // Cancel (Escape) ends without keeping.
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_EQ(d.result(), QDialog::Rejected);
}
