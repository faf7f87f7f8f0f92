// "Print Letters" driven without a screen: the letters listed, New, Modify, Delete and Clone with
// their questions and the editor's Ok or Cancel, the buttons without letters, the record choice,
// and Print through the print window into a PDF file with the table given back afterwards.
#include "addressfile.h"
#include "letterdesignwindow.h"
#include "letterprintwindow.h"
#include "letterpreviewwindow.h"
#include "letterswindow.h"
#include "pdfreading.h"
#include "printers.h"
#include "richdocument.h"
#include "richtextedit.h"
#include "richtexteditor.h"
#include "support_letterfolder.h"

#include <QCheckBox>
#include <QFile>
#include <QRegularExpression>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::letters;
namespace ptest = postavo::testing;

namespace {

class LettersWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = ptest::makeLetterFolder(QString::fromStdString(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        ASSERT_TRUE(table.open(folder.data));
        table.setFilter("!ISDEL");
        table.goTo(2);
    }
    void open(bool filterSet = false)
    {
        window = std::make_unique<TPVLetters>(table, filterSet);
        window->hooks.ask = [this](const QString& text, const QString& caption) {
            questions << caption + ": " + text;
            return answer;
        };
        window->hooks.inform = [this](const QString& text) { messages << text; };
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    QStringList listed() const
    {
        QStringList out;
        for (int r = 0; r < window->grid()->rowCount(); ++r)
            out << window->grid()->item(r, 0)->text();
        return out;
    }

    ptest::LetterFolder folder;
    AddressTable table;
    std::unique_ptr<TPVLetters> window;
    QStringList questions, messages;
    bool answer = true;
};

} // namespace

TEST_F(LettersWindow, NoLettersLeavesOnlyNew)
{
    open();
    EXPECT_EQ(window->windowTitle(), "Print Letters");
    EXPECT_TRUE(listed().isEmpty());
    for (const char* name : {"Modify", "Clone", "Print", "Preview", "Delete"})
        EXPECT_FALSE(window->button(name)->isEnabled()) << name;
    EXPECT_TRUE(window->button("New")->isEnabled());
    EXPECT_TRUE(window->recordChoice(LetterRecords::CurrentOnly)->isChecked());
    EXPECT_FALSE(window->recordChoice(LetterRecords::MatchingFilter)->isEnabled());
    EXPECT_TRUE(window->printerText().startsWith("Printer: "));
    EXPECT_EQ(window->copies()->minimum(), 1);
    EXPECT_EQ(window->copies()->maximum(), 999);
}

TEST_F(LettersWindow, NewModifyCloneDelete)
{
    open(true);
    EXPECT_TRUE(window->recordChoice(LetterRecords::MatchingFilter)->isEnabled());
    // New: the editor starts "{untitled}", empty, with a letter page; Ok stores it.
    window->hooks.design = [](TLetterDesign& d) {
        EXPECT_EQ(d.description(), "{untitled}");
        EXPECT_TRUE(d.document()->plainText().isEmpty());
        d.findChild<QLineEdit*>("Description")->setText("Welcome");
        d.insertFieldNamed("Full Name");
        return true;
    };
    window->newLetter();
    ASSERT_EQ(listed(), QStringList({"Welcome"}));
    EXPECT_TRUE(window->button("Modify")->isEnabled());

    // Modify with Cancel changes nothing; with Ok the text and description are stored.
    window->hooks.design = [](TLetterDesign& d) {
        EXPECT_EQ(d.description(), "Welcome");
        EXPECT_EQ(d.document()->plainText(), "[Full Name]");
        d.findChild<QLineEdit*>("Description")->setText("Changed");
        return false;
    };
    window->modifyLetter();
    EXPECT_EQ(listed(), QStringList({"Welcome"}));
    window->hooks.design = [](TLetterDesign& d) {
        QTextCursor end = d.editor()->edit()->textCursor();
        end.movePosition(QTextCursor::End);
        d.editor()->edit()->setTextCursor(end);
        d.editor()->edit()->insertText(" hello");
        d.findChild<QLineEdit*>("Description")->setText("Welcome letter");
        return true;
    };
    window->modifyLetter();
    EXPECT_EQ(listed(), QStringList({"Welcome letter"}));
    richtext::RichDocument stored;
    ASSERT_TRUE(window->catalogue().loadRichText(window->currentLetter()->recno, stored));
    EXPECT_EQ(stored.plainText(), "[Full Name] hello");

    // Clone and Delete ask first; No changes nothing.
    answer = false;
    window->cloneLetter();
    window->deleteLetter();
    EXPECT_EQ(listed(), QStringList({"Welcome letter"}));
    EXPECT_EQ(questions, QStringList({"CLONE: Clone \"Welcome letter\"?", "DELETE: Delete \"Welcome letter\"?"}));
    answer = true;
    window->cloneLetter();
    EXPECT_EQ(listed(), QStringList({"Clone of Welcome letter", "Welcome letter"}));
    window->selectLetter(1);
    window->deleteLetter();
    EXPECT_EQ(listed(), QStringList({"Clone of Welcome letter"}));
    EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
}

TEST_F(LettersWindow, PrintAllRecordsWithCopiesToPdf)
{
    ptest::addLetter("Two pages", {"Dear [First],", "Page two for [Last]"});
    open();
    ASSERT_EQ(listed(), QStringList({"Two pages"}));
    const QString pdf = folder.folder + "/letters.pdf";
    window->printers().selectPrinter(printing::TPrinters::pdfPrinterName());
    window->printers().setPdfFileName(pdf);
    bool dialogShown = false;
    window->hooks.printDialog = [&] {
        dialogShown = true;
        return true;
    };
    QString lastStatus;
    window->hooks.print = [&](TLetterPrint& p) {
        p.runJob();
        lastStatus = p.statusText();
        EXPECT_EQ(p.button()->text(), "OK");
    };
    window->recordChoice(LetterRecords::All)->setChecked(true);
    window->copies()->setValue(2);
    window->printNow();
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(lastStatus, "Letter Print Completed!");
    EXPECT_TRUE(ptest::pdfInfo(pdf).contains(QRegularExpression("Pages:\\s+12")));
    EXPECT_EQ(table.recNo(), 2u);  // back where it was

    // Start from the current record: Bob and Carol only.
    window->startFromCurrent()->setChecked(true);
    window->copies()->setValue(1);
    window->printNow();
    EXPECT_TRUE(ptest::pdfInfo(pdf).contains(QRegularExpression("Pages:\\s+4")));
    EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();

    // A cancelled print dialog prints nothing.
    QFile::remove(pdf);
    window->hooks.printDialog = [] { return false; };
    window->printNow();
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(LettersWindow, PreviewShowsTheCurrentRecordsLetter)
{
    ptest::addLetter("Greeting", {"Dear [First] [Last]"});
    open();
    bool shown = false;
    window->hooks.preview = [&](TRTFPreviewForm& f) {
        f.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        EXPECT_EQ(f.workingDocument().plainText(), "Dear Bob Baker");
        shown = true;
    };
    window->preview();
    EXPECT_TRUE(shown);
}
