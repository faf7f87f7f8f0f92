// The editing control's dialogs: "Paragraph Properties", "Page Properties", find and replace,
// and "Spell Check" with its words, fields and buttons.

#include "support_widgets.h"

#include "findreplacedialog.h"
#include "layoutunits.h"
#include "pagedialog.h"
#include "paragraphdialog.h"
#include "richdocument.h"
#include "richtextedit.h"
#include "spellcheckdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTextBlock>
#include <gtest/gtest.h>

using namespace postavo::richtext;
using namespace postavo::testing;

namespace {

QStringList labelsOf(const QWidget* w)
{
    QStringList texts;
    for (const QLabel* l : w->findChildren<QLabel*>())
        texts << l->text();
    for (const QGroupBox* g : w->findChildren<QGroupBox*>())
        texts << g->title();
    return texts;
}

} // namespace

TEST(Dialogs, ParagraphPropertiesInInchesAndCentimetres)
{
    QTextBlockFormat f;
    f.setLeftMargin(1440);
    f.setTextIndent(-360);
    f.setRightMargin(720);
    f.setTopMargin(twipsToScaled(240));
    f.setBottomMargin(twipsToScaled(120));
    f.setLineHeight(1.5 * 100, QTextBlockFormat::ProportionalHeight);
    ParagraphDialog dialog(f);
    EXPECT_EQ(dialog.windowTitle(), "Paragraph Properties");
    const QStringList labels = labelsOf(&dialog);
    for (const char* caption : {"First Indent", "Left Indent", "Right Indent", "Units", "Space before (pts)",
                                "Line Height (pts)", "Space after (pts)"})
        EXPECT_TRUE(labels.contains(caption)) << caption;
    EXPECT_EQ(dialog.unitBox()->itemText(0), "Inch");
    EXPECT_EQ(dialog.unitBox()->itemText(1), "Cm");
    EXPECT_DOUBLE_EQ(dialog.leftIndentBox()->value(), 1.0);
    EXPECT_DOUBLE_EQ(dialog.firstIndentBox()->value(), -0.25);
    EXPECT_DOUBLE_EQ(dialog.rightIndentBox()->value(), 0.5);
    EXPECT_DOUBLE_EQ(dialog.spaceBeforeBox()->value(), 12);
    EXPECT_DOUBLE_EQ(dialog.spaceAfterBox()->value(), 6);

    dialog.unitBox()->setCurrentIndex(1);
    EXPECT_DOUBLE_EQ(dialog.leftIndentBox()->value(), 2.54);
    dialog.leftIndentBox()->setValue(5.08);
    dialog.spaceAfterBox()->setValue(3);
    const QTextBlockFormat out = dialog.blockFormat();
    EXPECT_DOUBLE_EQ(out.leftMargin(), 2880);
    EXPECT_DOUBLE_EQ(out.textIndent(), -360);
    EXPECT_EQ(scaledToTwips(out.bottomMargin()), 60);
    // The line height was not touched: the paragraph keeps its one-and-a-half spacing.
    EXPECT_EQ(out.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    dialog.lineHeightBox()->setValue(14);
    EXPECT_EQ(dialog.blockFormat().lineHeightType(), QTextBlockFormat::MinimumHeight);
    EXPECT_EQ(scaledToTwips(dialog.blockFormat().lineHeight()), 280);
}

TEST(Dialogs, PagePropertiesInEveryUnit)
{
    PageLayout page;  // 8.5 x 11, one inch margins
    page.marginLeft = 1800;
    PageDialog dialog(page);
    EXPECT_EQ(dialog.windowTitle(), "Page Properties");
    const QStringList labels = labelsOf(&dialog);
    for (const char* caption : {"Unit", " Paper Size ", "Width", "Height", " Margins ", "Top", "Bottom", "Left", "Right"})
        EXPECT_TRUE(labels.contains(caption)) << caption;
    EXPECT_EQ(dialog.unitBox()->itemText(2), "Twips");
    EXPECT_DOUBLE_EQ(dialog.widthBox()->value(), 8.5);
    EXPECT_DOUBLE_EQ(dialog.leftBox()->value(), 1.25);
    dialog.unitBox()->setCurrentIndex(2);
    EXPECT_DOUBLE_EQ(dialog.heightBox()->value(), 15840);
    dialog.unitBox()->setCurrentIndex(1);
    EXPECT_NEAR(dialog.widthBox()->value(), 21.59, 0.005);
    dialog.unitBox()->setCurrentIndex(0);
    dialog.widthBox()->setValue(11);
    dialog.heightBox()->setValue(8.5);
    dialog.topBox()->setValue(0.5);
    const PageLayout out = dialog.pageLayout();
    EXPECT_EQ(out.paperWidth, 15840);
    EXPECT_EQ(out.paperHeight, 12240);
    EXPECT_EQ(out.marginTop, 720);
    EXPECT_EQ(out.marginLeft, 1800);

    // Margins that leave no text area are refused and the dialog stays open.
    dialog.leftBox()->setValue(6);
    dialog.rightBox()->setValue(6);
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w))
                box->accept();
    });
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST(Dialogs, FindAndReplace)
{
    RichDocument doc;
    doc.loadRtf(R"({\rtf1 The cat sat. {\b Cat} food for the CAT.\par})");
    RichTextEdit edit(&doc);
    FindReplaceDialog dialog(&edit, true);
    dialog.findField()->setText("cat");
    ASSERT_TRUE(dialog.findNext());
    EXPECT_EQ(edit.textCursor().selectionStart(), 4);
    ASSERT_TRUE(dialog.findNext());
    EXPECT_EQ(edit.textCursor().selectedText(), "Cat");
    dialog.replaceField()->setText("dog");
    ASSERT_TRUE(dialog.replaceOne());  // replaces "Cat", goes on to "CAT"
    EXPECT_EQ(doc.plainText(), "The cat sat. dog food for the CAT.");
    QTextCursor c(doc.document());
    c.setPosition(14);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold) << "the replacement keeps the bold";
    EXPECT_EQ(dialog.replaceAll(), 2);
    EXPECT_EQ(doc.plainText(), "The dog sat. dog food for the dog.");
    EXPECT_EQ(dialog.messageLabel()->text(), "2 replacements made.");
    dialog.findField()->setText("zebra");
    EXPECT_FALSE(dialog.findNext());
    EXPECT_EQ(dialog.messageLabel()->text(), "The text was not found.");
    // Whole words and letter case.
    dialog.findField()->setText("do");
    EXPECT_TRUE(dialog.findNext());
    dialog.findChildren<QCheckBox*>().value(1)->setChecked(true);
    EXPECT_FALSE(dialog.findNext());
}

TEST(Dialogs, SpellCheckGoesWordByWord)
{
    if (!QFile::exists("/usr/share/hunspell/en_US.dic"))
        GTEST_SKIP() << "hunspell-en-us is not installed";
    const QString folder = scratchDir("spell-dialog");
    writeBytes(folder + "/postav.dct", "en_US\n");
    QString error;
    auto checker = SpellChecker::forProgramFolder(folder, &error);
    ASSERT_TRUE(checker) << error.toStdString();
    RichDocument doc;
    doc.loadRtf(R"({\rtf1 Dear [Frist], a {\i sampel} from Zorblax and Quuxly.\par})");
    RichTextEdit edit(&doc);
    SpellCheckDialog dialog(&edit, checker.get());
    EXPECT_EQ(dialog.windowTitle(), "Spell Check");
    const QStringList labels = labelsOf(&dialog);
    for (const char* caption : {"Possible spelling error", "Replace with", "Possible replacements"})
        EXPECT_TRUE(labels.contains(caption)) << caption;
    EXPECT_EQ(dialog.replaceButton()->text(), "Replace ");
    EXPECT_EQ(dialog.skipButton()->text(), "&Skip Word");
    EXPECT_EQ(dialog.addButton()->text(), "&Add Word");

    ASSERT_TRUE(dialog.start());
    EXPECT_EQ(dialog.wordField()->text(), "sampel") << "the token [Frist] is not checked";
    EXPECT_EQ(edit.textCursor().selectedText(), "sampel");
    EXPECT_EQ(dialog.replaceField()->text(), "sample");
    EXPECT_GE(dialog.suggestionList()->count(), 1);
    dialog.replaceButton()->click();
    EXPECT_EQ(dialog.wordField()->text(), "Zorblax");
    dialog.addButton()->click();
    EXPECT_EQ(dialog.wordField()->text(), "Quuxly");
    dialog.skipButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << "no more words: the check is complete";
    EXPECT_EQ(doc.plainText(), "Dear [Frist], a sample from Zorblax and Quuxly.");
    EXPECT_EQ(readBytes(folder + "/userwords.dct"), "Zorblax\n");
    QTextCursor c(doc.document());
    c.setPosition(QString("Dear [Frist], a s").size());
    EXPECT_TRUE(c.charFormat().fontItalic());
}
