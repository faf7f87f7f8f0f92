// The letter print run into a real PDF: the records chosen, copies and page breaks giving new
// sheets, the status count, cancelling, the table's query and record given back, and the merged
// text and its place on the page as pdftotext and pdfinfo read them.
#include "addressdata.h"
#include "addressfile.h"
#include "filesizelimit.h"
#include "letterrun.h"
#include "richdocument.h"
#include "pdfreading.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::letters;
using richtext::RichDocument;

namespace {

class PrintRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = postavo::testing::scratchDir(QString::fromStdString(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        data = dir + "/add0001.dbf";
        ASSERT_TRUE(postavo::testing::makeAddressRecords(data, {
            {{"FNAME", "Alice"}, {"LNAME", "Archer"}, {"CITY", "Boston"}, {"STATE", "MA"}, {"ZIP", "02134"}},
            {{"FNAME", "Bob"}, {"LNAME", "Baker"}, {"CITY", "Denver"}, {"STATE", "CO"}},
            {{"FNAME", "Carol"}, {"LNAME", "Cooper"}, {"CITY", "Boston"}, {"STATE", "MA"}},
        }));
        QString error;
        ASSERT_TRUE(table.open(data, &error)) << error.toStdString();
        QTextCursor c(letter.document());
        c.insertText("Dear [Full Name]");
        c.insertBlock();
        c.insertText("[City+State+Zip]");
    }

    QString pdf(const QString& name) const { return dir + "/" + name; }

    QString dir, data;
    AddressTable table;
    RichDocument letter;
};

} // namespace

TEST_F(PrintRun, AllRecordsWithCopiesAndPageBreaks)
{
    QTextCursor c(letter.document());
    c.movePosition(QTextCursor::End);
    richtext::insertPageBreak(c);
    c.insertText("Second page of [First]");

    table.goTo(2);
    const QString before = table.filter();
    std::vector<int> statuses;
    QString error;
    {
        TableStateKeeper keep(table, TableStateKeeper::Signals::Quiet);
        LetterRun run(letter, table, {LetterRecords::All, false, {}, 2});
        ASSERT_TRUE(run.position(keep.recno(), nullptr, &error)) << error.toStdString();
        EXPECT_EQ(table.recNo(), 1u);
        LetterRun::Hooks hooks;
        hooks.status = [&](int pages) { statuses.push_back(pages); };
        ASSERT_TRUE(printLettersToPdf(run, letter.pageLayout(), pdf("all.pdf"), &error, hooks)) << error.toStdString();
        EXPECT_EQ(run.pages(), 12);  // 3 records x 2 copies x 2 pages
        EXPECT_EQ(run.letters(), 6);
    }
    EXPECT_EQ(statuses.back(), 12);
    EXPECT_EQ(printingPageText(statuses.back()), "Printing page 12");
    EXPECT_EQ(table.recNo(), 2u);
    EXPECT_EQ(table.filter(), before);

    const QString info = postavo::testing::pdfInfo(pdf("all.pdf"));
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+12"))) << info.toStdString();
    EXPECT_TRUE(info.contains("612 x 792 pts")) << info.toStdString();
    const std::vector<postavo::testing::PdfWord> words = postavo::testing::pdfWords(pdf("all.pdf"));
    QStringList text;
    for (const auto& w : words)
        text << w.text;
    const QString all = text.join(' ');
    EXPECT_EQ(all.count("Alice"), 4);  // name and second page, twice
    EXPECT_EQ(all.count("Cooper"), 2);
    EXPECT_TRUE(all.contains("Boston MA 02134"));
    EXPECT_FALSE(all.contains("["));
    // The text starts at the 1-inch margins.
    const postavo::testing::PdfWord* dear = postavo::testing::findWord(words, "Dear");
    ASSERT_TRUE(dear);
    EXPECT_NEAR(dear->xMin, 72, 1.5);
    EXPECT_NEAR(dear->yMin, 72, 4);
}

TEST_F(PrintRun, OnlyCurrentRecordAndWiderMargins)
{
    letter.setPageLayout({15840, 12240, 2880, 1440, 720, 720});  // 11 x 8.5, 2-inch left margin
    table.goTo(3);
    LetterRun run(letter, table, {LetterRecords::CurrentOnly, false, {}, 3});
    QString error;
    ASSERT_TRUE(run.position(3, nullptr, &error));
    ASSERT_TRUE(printLettersToPdf(run, letter.pageLayout(), pdf("one.pdf"), &error)) << error.toStdString();
    EXPECT_EQ(run.pages(), 3);
    const QString info = postavo::testing::pdfInfo(pdf("one.pdf"));
    EXPECT_TRUE(info.contains("792 x 612 pts")) << info.toStdString();
    const std::vector<postavo::testing::PdfWord> words = postavo::testing::pdfWords(pdf("one.pdf"));
    const postavo::testing::PdfWord* carol = postavo::testing::findWord(words, "Carol");
    ASSERT_TRUE(carol);
    const postavo::testing::PdfWord* dear = postavo::testing::findWord(words, "Dear");
    EXPECT_NEAR(dear->xMin, 144, 1.5);
    EXPECT_NEAR(dear->yMin, 36, 4);
    EXPECT_FALSE(postavo::testing::findWord(words, "Alice"));
}

TEST_F(PrintRun, FilterStartFromCurrentAndCancel)
{
    QString notice, error;
    table.goTo(2);  // Denver: not among the Boston records
    {
        TableStateKeeper keep(table, TableStateKeeper::Signals::Quiet);
        LetterRun run(letter, table, {LetterRecords::All, true, "CITY = 'Boston'", 1});
        ASSERT_TRUE(run.position(keep.recno(), &notice, &error)) << error.toStdString();
        EXPECT_EQ(notice, kOutOfRangeNotice);
        EXPECT_EQ(table.recNo(), 1u);
        ASSERT_TRUE(printLettersToPdf(run, letter.pageLayout(), pdf("boston.pdf"), &error));
        EXPECT_EQ(run.pages(), 2);
    }
    EXPECT_EQ(table.recNo(), 2u);

    // "No" to the question goes on; "Yes" ends the run and leaves no file.
    int asked = 0;
    LetterRun::Hooks hooks;
    hooks.cancel = [&] { return ++asked == 2; };
    {
        TableStateKeeper keep(table, TableStateKeeper::Signals::Quiet);
        LetterRun run(letter, table, {LetterRecords::All, false, {}, 1});
        ASSERT_TRUE(run.position(keep.recno(), nullptr, &error));
        EXPECT_FALSE(printLettersToPdf(run, letter.pageLayout(), pdf("cancel.pdf"), &error, hooks));
        EXPECT_TRUE(run.cancelled());
        EXPECT_EQ(run.pages(), 2);
    }
    EXPECT_FALSE(QFile::exists(pdf("cancel.pdf")));
    EXPECT_EQ(table.recNo(), 2u);

    // A filter that does not compile is told.
    LetterRun bad(letter, table, {LetterRecords::All, false, "CITY = = 'x'", 1});
    EXPECT_FALSE(bad.position(2, nullptr, &error));
    EXPECT_FALSE(error.isEmpty());
}

// A disk that fills during the last bytes of the PDF: the run fails with the file named, and
// the PDF written before stays whole.
TEST_F(PrintRun, FullDiskAtTheEndKeepsTheOldPdf)
{
    QString error;
    auto print = [&] {
        LetterRun run(letter, table, {LetterRecords::All, false, {}, 1});
        return run.position(1, nullptr, &error) && printLettersToPdf(run, letter.pageLayout(), pdf("run.pdf"), &error);
    };
    ASSERT_TRUE(print()) << error.toStdString();
    QFile written(pdf("run.pdf"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray old = written.readAll();
    written.close();
    ASSERT_GT(old.size(), 200);

    bool ok = true;
    {
        postavo::testing::FileSizeLimit limit(rlim_t(old.size() - 100));
        ok = print();
    }
    EXPECT_FALSE(ok);
    EXPECT_TRUE(error.startsWith("The PDF file \"" + pdf("run.pdf") + "\" cannot be written")) << error.toStdString();
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), old);
    EXPECT_EQ(QDir(dir).entryList({"*.pdf*", "run*"}, QDir::Files | QDir::Hidden), QStringList({"run.pdf"}));
}

TEST(PrintTextRect, FromMarginsDotsAndOffsets)
{
    const richtext::PageLayout page;
    EXPECT_EQ(printTextRect(page, 600, 600), QRectF(600, 600, 3900, 5400));
    EXPECT_EQ(printTextRect(page, 300, 600, 25, 50), QRectF(275, 550, 1950, 5400));
}
