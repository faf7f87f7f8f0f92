// The "Print Status Screen" driven without a screen: the status while it runs, "Cancel" asking
// before it stops, and the button that closes the window afterwards.
#include "addressfile.h"
#include "letterprintwindow.h"
#include "pdfreading.h"
#include "printers.h"
#include "richdocument.h"
#include "support_letterfolder.h"
#include "testsupport.h"

#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::letters;
namespace ptest = postavo::testing;

namespace {

class PrintWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = ptest::makeLetterFolder(QString::fromStdString(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        ASSERT_TRUE(table.open(folder.data));
        table.setFilter("!ISDEL");
        table.first();
        QTextCursor(letter.document()).insertText("Dear [First]");
        printers.selectPrinter(printing::TPrinters::pdfPrinterName());
        pdf = folder.folder + "/out.pdf";
        printers.setPdfFileName(pdf);
    }
    ptest::LetterFolder folder;
    AddressTable table;
    richtext::RichDocument letter;
    printing::TPrinters printers;
    QString pdf;
};

} // namespace

TEST_F(PrintWindow, ThreeRecordsTwoCopiesEach)
{
    LetterRun run(letter, table, {LetterRecords::All, false, {}, 2});
    ASSERT_TRUE(run.position(1, nullptr, nullptr));
    TLetterPrint w(run, printers, letter.pageLayout());
    QStringList statuses;
    w.hooks.afterRecord = [&](int) { statuses << w.statusText(); };
    w.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.finished(); }));
    EXPECT_EQ(w.windowTitle(), "Print Status Screen");
    EXPECT_EQ(statuses, QStringList({"Printing page 2", "Printing page 4", "Printing page 6"}));
    EXPECT_EQ(w.statusText(), "Letter Print Completed!");
    EXPECT_TRUE(ptest::pdfInfo(pdf).contains(QRegularExpression("Pages:\\s+6")));
    EXPECT_TRUE(w.isVisible());  // it waits for its button
    w.button()->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST_F(PrintWindow, CancelAsksAndNoGoesOn)
{
    LetterRun run(letter, table, {LetterRecords::All, false, {}, 1});
    ASSERT_TRUE(run.position(1, nullptr, nullptr));
    TLetterPrint w(run, printers, letter.pageLayout());
    QStringList asked;
    int answers = 0;
    w.hooks.ask = [&](const QString& text, const QString&) {
        asked << text;
        return ++answers == 2;  // No the first time, Yes the second
    };
    w.hooks.afterRecord = [&](int) { w.button()->click(); };
    w.runJob();
    EXPECT_EQ(asked, QStringList({"Cancel print job?", "Cancel print job?"}));
    EXPECT_TRUE(w.cancelled());
    EXPECT_EQ(w.statusText(), "Letter Print Canceled!");
    EXPECT_EQ(run.pages(), 2);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(PrintWindow, OnlyTheCurrentRecord)
{
    table.goTo(3);
    LetterRun run(letter, table, {LetterRecords::CurrentOnly, false, {}, 3});
    ASSERT_TRUE(run.position(3, nullptr, nullptr));
    TLetterPrint w(run, printers, letter.pageLayout());
    w.runJob();
    EXPECT_EQ(w.statusText(), "Letter Print Completed!");
    EXPECT_TRUE(ptest::pdfInfo(pdf).contains(QRegularExpression("Pages:\\s+3")));
    int rc = 0;
    const QString text = ptest::runTool("pdftotext", {pdf, "-"}, &rc);
    EXPECT_EQ(text.count("Dear Carol"), 3);
}
