// The editing control as a user drives it: typing and formatting from the keyboard and the
// tool bar, undo and redo, the status line, the ruler's indents and tab stops, copy and paste
// with formatting, and what it shows (a screenshot is kept for looking at).

#include "support_widgets.h"

#include "layoutunits.h"
#include "pagedrawing.h"
#include "richdocument.h"
#include "richtextedit.h"
#include "richtexteditor.h"
#include "richtextruler.h"
#include "richtexttoolbar.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

using namespace postavo::richtext;
using namespace postavo::testing;

namespace {

QTextCharFormat formatAt(QTextDocument* doc, int position)
{
    QTextCursor c(doc);
    c.setPosition(position + 1);
    return c.charFormat();
}

} // namespace

TEST(EditingControl, TypingFormattingAndUndo)
{
    RichDocument doc;
    RichTextEditor editor(&doc);
    editor.resize(900, 600);
    editor.show();
    RichTextEdit* edit = editor.edit();
    edit->setFocus();

    QTest::keyClicks(edit, "Hello ");
    QTest::keyClick(edit, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClicks(edit, "bold");
    QTest::keyClick(edit, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClicks(edit, " world");
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Tab);
    QTest::keyClicks(edit, "second");
    QTest::keyClick(edit, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(edit, "line");
    EXPECT_EQ(doc.plainText(), "Hello bold world\n\tsecond\nline");
    EXPECT_EQ(doc.document()->blockCount(), 2);
    EXPECT_EQ(formatAt(doc.document(), 6).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(doc.document(), 11).fontWeight(), QFont::Normal);
    EXPECT_TRUE(editor.toolBar()->boldAction()->isCheckable());

    // Select "world" with the keyboard and make it italic and red from the tool bar.
    QTextCursor c = edit->textCursor();
    c.setPosition(11);
    c.setPosition(16, QTextCursor::KeepAnchor);
    edit->setTextCursor(c);
    EXPECT_FALSE(editor.toolBar()->boldAction()->isChecked());
    editor.toolBar()->italicAction()->trigger();
    EXPECT_TRUE(formatAt(doc.document(), 12).fontItalic());
    QComboBox* colors = editor.toolBar()->colorBox();
    const int red = colors->findText("Red");
    colors->setCurrentIndex(red);
    emit colors->activated(red);
    EXPECT_EQ(formatAt(doc.document(), 12).foreground().color(), QColor(255, 0, 0));
    colors->setCurrentIndex(0);
    emit colors->activated(0);
    EXPECT_FALSE(formatAt(doc.document(), 12).hasProperty(QTextFormat::ForegroundBrush)) << "automatic colour";
    editor.toolBar()->centerAction()->trigger();
    EXPECT_EQ(doc.document()->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    edit->setFontPointSize(18);
    EXPECT_DOUBLE_EQ(formatAt(doc.document(), 12).fontPointSize(), 18);
    editor.toolBar()->normalAction()->trigger();
    EXPECT_FALSE(formatAt(doc.document(), 12).fontItalic());

    // Undo the last six changes (italic, red, automatic, centred, 18 points, normal), redo one.
    for (int i = 0; i < 6; ++i)
        edit->undo();
    EXPECT_FALSE(formatAt(doc.document(), 12).fontItalic());
    EXPECT_EQ(doc.document()->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    edit->redo();
    EXPECT_TRUE(formatAt(doc.document(), 12).fontItalic());
    // The keyboard's undo takes back typing.
    c.movePosition(QTextCursor::End);
    edit->setTextCursor(c);
    QTest::keyClicks(edit, "xyz");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(doc.plainText().endsWith("xyz"));
}

TEST(EditingControl, StatusShowsLineColumnAndPage)
{
    RichDocument doc;
    doc.loadRtf(R"({\rtf1 First line\par Second line\page Third on page two\par})");
    RichTextEditor editor(&doc);
    editor.resize(800, 600);
    editor.show();
    RichTextEdit* edit = editor.edit();
    QTextCursor c(doc.document());
    c.setPosition(QString("First line\nSecond").size());
    edit->setTextCursor(c);
    EXPECT_EQ(edit->cursorLine(), 2);
    EXPECT_EQ(edit->cursorColumn(), 7);
    EXPECT_EQ(edit->cursorPage(), 1);
    EXPECT_EQ(editor.statusBar()->lineText(), "Line 2");
    EXPECT_EQ(editor.statusBar()->columnText(), "Col 7");
    EXPECT_EQ(editor.statusBar()->pageText(), "Page 1 of 2");
    QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(edit->cursorPage(), 2);
    EXPECT_EQ(edit->cursorLine(), 1) << "lines count from the top of the page";
    EXPECT_EQ(editor.statusBar()->pageText(), "Page 2 of 2");
    // A page break typed in makes a third page.
    edit->insertPageBreak();
    EXPECT_EQ(edit->pageCount(), 3);
    EXPECT_EQ(editor.statusBar()->pageText(), "Page 3 of 3");
}

TEST(EditingControl, RulerSetsIndentsAndTabStops)
{
    RichDocument doc;
    doc.loadRtf(R"({\rtf1\margl1440\margr1440 Text with a tab\tab here\par})");
    RichTextEditor editor(&doc);
    editor.resize(1000, 500);
    editor.show();
    QApplication::processEvents();
    RichTextRuler* ruler = editor.ruler();
    RichTextEdit* edit = editor.edit();

    // A click at two inches from the left margin sets a left tab stop there.
    const int twoInches = int(ruler->xAt(2880));
    QTest::mouseClick(ruler, Qt::LeftButton, {}, QPoint(twoInches, ruler->height() - 6));
    QList<QTextOption::Tab> tabs = doc.document()->begin().blockFormat().tabPositions();
    ASSERT_EQ(tabs.size(), 1);
    EXPECT_NEAR(scaledToTwips(tabs[0].position), 2880, 90);
    EXPECT_EQ(tabs[0].type, QTextOption::LeftTab);

    // Another kind: click the kind box twice (centre, then right), then the ruler.
    QTest::mouseClick(ruler, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseClick(ruler, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(ruler->tabType(), QTextOption::RightTab);
    QTest::mouseClick(ruler, Qt::LeftButton, {}, QPoint(int(ruler->xAt(5760)), ruler->height() - 6));
    tabs = doc.document()->begin().blockFormat().tabPositions();
    ASSERT_EQ(tabs.size(), 2);
    EXPECT_EQ(tabs[1].type, QTextOption::RightTab);

    // Dragging a tab stop off the ruler removes it.
    QTest::mousePress(ruler, Qt::LeftButton, {}, QPoint(twoInches, ruler->height() - 6));
    QMouseEvent move(QEvent::MouseMove, QPointF(twoInches, ruler->height() + 40), ruler->mapToGlobal(QPointF(twoInches, ruler->height() + 40)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(ruler, &move);
    QTest::mouseRelease(ruler, Qt::LeftButton, {}, QPoint(twoInches, ruler->height() + 40));
    EXPECT_EQ(doc.document()->begin().blockFormat().tabPositions().size(), 1);

    // Dragging the left indent marker half an inch in.
    const QPoint left(int(ruler->xAt(0)), ruler->height() - 3);
    QTest::mousePress(ruler, Qt::LeftButton, {}, left);
    const QPointF to(ruler->xAt(720), ruler->height() - 3);
    QMouseEvent drag(QEvent::MouseMove, to, ruler->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(ruler, &drag);
    QTest::mouseRelease(ruler, Qt::LeftButton, {}, to.toPoint());
    EXPECT_NEAR(doc.document()->begin().blockFormat().leftMargin(), 720, 90);
    EXPECT_NEAR(edit->textCursor().blockFormat().leftMargin(), 720, 90);
}

TEST(EditingControl, CopyAndPasteKeepFormatting)
{
    RichDocument doc;
    doc.loadRtf(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}\f0 Plain {\f1\b\fs32 Special} end\par})");
    RichTextEditor editor(&doc);
    editor.show();
    RichTextEdit* edit = editor.edit();
    QTextCursor c(doc.document());
    c.setPosition(6);
    c.setPosition(13, QTextCursor::KeepAnchor);
    edit->setTextCursor(c);
    edit->copy();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(mime);
    EXPECT_EQ(mime->text(), "Special");
    EXPECT_TRUE(mime->data("text/rtf").startsWith("{\\rtf1"));
    c.movePosition(QTextCursor::End);
    edit->setTextCursor(c);
    edit->paste();
    EXPECT_EQ(doc.plainText(), "Plain Special endSpecial");
    const QTextCharFormat pasted = formatAt(doc.document(), 18);
    EXPECT_EQ(pasted.fontFamilies().toStringList(), QStringList{"Courier New"});
    EXPECT_EQ(pasted.fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(pasted.fontPointSize(), 16);

    // Plain text from elsewhere: its lines become paragraphs.
    auto* text = new QMimeData;
    text->setText("one\r\ntwo");
    QApplication::clipboard()->setMimeData(text);
    edit->paste();
    EXPECT_TRUE(doc.plainText().endsWith("Specialone\ntwo"));
}

TEST(EditingControl, ShowsTheLetterOnItsPages)
{
    RichDocument doc;
    RichTextEditor editor(&doc);
    RichTextEdit* edit = editor.edit();
    editor.resize(1000, 760);
    editor.show();
    QApplication::processEvents();
    // Loaded while shown: the control follows the document's new content and layout.
    QString error;
    ASSERT_TRUE(doc.loadFile(dataPath("letter.rtf"), &error)) << error.toStdString();
    QApplication::processEvents();
    EXPECT_EQ(edit->textCursor().position(), 0) << "a document read in is shown from its start";
    EXPECT_EQ(editor.statusBar()->pageText(), "Page 1 of 2");
    EXPECT_EQ(edit->pageCount(), 2);
    const QImage shot = editor.grab().toImage();
    const QString path = scratchDir("screenshot") + "/editor.png";
    shot.save(path);
    std::printf("screenshot: %s\n", qPrintable(path));
    // On a real X server (xvfb-run) the whole screen too, as the window manager shows it.
    if (QGuiApplication::platformName() == "xcb" && !QStandardPaths::findExecutable("import").isEmpty()) {
        editor.raise();
        QTest::qWait(300);
        QProcess::execute("import", {"-window", "root", scratchDir("screen") + "/screen.png"});
    }

    // The sheet is white, the surround grey, and there is dark text on the sheet where the
    // first line of the letter sits.
    const QRect viewport(edit->viewport()->mapTo(&editor, QPoint(0, 0)), edit->viewport()->size());
    EXPECT_EQ(shot.pixelColor(viewport.left() + 2, viewport.top() + 200), QColor(128, 128, 128));
    const QRectF first = edit->cursorRectFor(0);
    const QPoint inText = edit->viewport()->mapTo(&editor, first.topLeft().toPoint());
    int dark = 0;
    for (int y = inText.y(); y < inText.y() + 120; ++y)
        for (int x = inText.x(); x < inText.x() + 600; ++x)
            if (qGray(shot.pixel(x, y)) < 100)
                ++dark;
    EXPECT_GT(dark, 200) << "no text drawn on the sheet";
    // A click in the text puts the cursor there.
    const QPointF dear = edit->cursorRectFor(doc.document()->find("Dear").selectionStart()).center();
    QTest::mouseClick(edit->viewport(), Qt::LeftButton, {}, (dear + QPointF(2, 0)).toPoint());
    EXPECT_EQ(edit->textCursor().block().text(), "Dear [Full Name],");
    // Word wrap off: the long paragraph is one line.
    edit->setWordWrap(false);
    EXPECT_EQ(doc.document()->findBlock(doc.document()->find("Thank you").selectionStart()).layout()->lineCount(), 1);
    edit->setWordWrap(true);
    EXPECT_GT(doc.document()->findBlock(doc.document()->find("Thank you").selectionStart()).layout()->lineCount(), 1);
}
