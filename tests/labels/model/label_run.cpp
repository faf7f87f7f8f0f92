// The steps of Print and Preview without the window: which records a run takes and where it
// starts, the presort run once per choice of records, the address table's filter, order and
// record put back after every run, the messages of a run that cannot go on, the catalogue's Clone
// and Delete, and the printer's paper for a sheet.
#include "bulkmailpresort.h"
#include "printers.h"
#include "support_runs.h"

#include <QFile>

using namespace postavo;
using namespace postavo::labels;
using namespace postavo::labels::test;

namespace {

class LabelRun : public LabelRunFixture {
protected:
    QStringList printedNames()
    {
        printing::RecordingDevice device;
        if (!runToDevice(device))
            return {};
        QStringList out;
        for (const PrintedText& t : names(device))
            out << t.text;
        return out;
    }
};

TEST_F(LabelRun, recordChoiceClearsThePresortAndOnlyCurrentExcludesIt)
{
    makeFolder(avery5160(), namedRecords(3));
    setup->setFilterInForce(false);
    EXPECT_FALSE(setup->filterAvailable());
    EXPECT_EQ(setup->records(), RecordChoice::All);
    setup->chooseRecords(RecordChoice::MatchingFilter);  // disabled without a filter
    EXPECT_EQ(setup->records(), RecordChoice::All);
    setup->setFilterInForce(true);
    EXPECT_EQ(setup->records(), RecordChoice::MatchingFilter);

    setup->setPresort(true);
    ASSERT_FALSE(printedNames().isEmpty());
    EXPECT_TRUE(setup->presortDone());
    ASSERT_FALSE(printedNames().isEmpty());  // a preview, then the print: sorted once
    EXPECT_EQ(ui.presorts, 1);
    setup->setStartFromCurrent(true);
    EXPECT_FALSE(setup->presortDone());
    ASSERT_FALSE(printedNames().isEmpty());
    EXPECT_EQ(ui.presorts, 2);
    setup->chooseRecords(RecordChoice::All);
    EXPECT_FALSE(setup->presortDone());
    EXPECT_TRUE(setup->presort());

    setup->chooseRecords(RecordChoice::CurrentOnly);
    EXPECT_FALSE(setup->presort());
    EXPECT_FALSE(setup->presortEnabled());
    setup->setPresort(true);
    EXPECT_FALSE(setup->presort());
    setup->chooseRecords(RecordChoice::All);
    EXPECT_TRUE(setup->presortEnabled());
}

TEST_F(LabelRun, onlyCurrentRecordAndStartFromCurrent)
{
    makeFolder(avery5160(), namedRecords(6));
    ASSERT_TRUE(table.goTo(3));
    setup->chooseRecords(RecordChoice::CurrentOnly);
    setup->copies = 4;
    EXPECT_EQ(printedNames(), QStringList({"Rec003", "Rec003", "Rec003", "Rec003"}));
    EXPECT_EQ(table.recNo(), 3u);

    setup->copies = 1;
    setup->chooseRecords(RecordChoice::All);
    setup->setStartFromCurrent(true);
    ASSERT_TRUE(table.goTo(5));
    EXPECT_EQ(printedNames(), QStringList({"Rec005", "Rec006"}));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(LabelRun, startFromARecordOutsideTheRunStartsAtTheFirst)
{
    makeFolder(avery5160(), namedRecords(4));
    ASSERT_TRUE(table.goTo(2));
    ASSERT_TRUE(table.deleteCurrent());  // "All records" leaves deleted records out
    ASSERT_TRUE(table.goTo(2));
    setup->setStartFromCurrent(true);
    EXPECT_EQ(printedNames(), QStringList({"Rec001", "Rec003", "Rec004"}));
    EXPECT_EQ(ui.messages, QStringList({QLatin1String(kOutOfRange)}));
}

TEST_F(LabelRun, theTablesFilterOrderAndRecordComeBackAfterEveryRun)
{
    std::vector<QMap<QString, QString>> records = namedRecords(5);
    records[0][QStringLiteral("ZIP")] = QStringLiteral("99999");
    records[3][QStringLiteral("ZIP")] = QStringLiteral("00501");
    makeFolder(avery5160(), records);
    ASSERT_TRUE(table.setFilter(QStringLiteral("RECNO()>1")));
    ASSERT_TRUE(table.setOrder(QStringLiteral("LNAME")));
    ASSERT_TRUE(table.goTo(4));
    const QString filter = table.filter(), order = table.order();
    setup->setFilterInForce(true);

    auto same = [&] {
        EXPECT_EQ(table.filter(), filter);
        EXPECT_EQ(table.order(), order);
        EXPECT_EQ(table.recNo(), 4u);
    };
    setup->setPresort(true);
    EXPECT_EQ(printedNames(), QStringList({"Rec002", "Rec003", "Rec005", "Rec004"}));
    same();
    // A presort that is cancelled prints nothing and writes no file.
    setup->chooseRecords(RecordChoice::All);
    ui.cancelPresort = true;
    QFile::remove(setup->presortPath());
    EXPECT_TRUE(printedNames().isEmpty());
    EXPECT_FALSE(QFile::exists(setup->presortPath()));
    EXPECT_FALSE(setup->presortDone());
    same();
    // A filter that matches nothing.
    ui.cancelPresort = false;
    setup->setPresort(false);
    ASSERT_TRUE(table.setFilter(QStringLiteral("RECNO()>100")));
    setup->chooseRecords(RecordChoice::MatchingFilter);
    ui.messages.clear();
    EXPECT_TRUE(printedNames().isEmpty());
    EXPECT_EQ(ui.messages, QStringList({QLatin1String(kNoRecords)}));
    EXPECT_EQ(table.filter(), QStringLiteral("RECNO()>100"));
}

TEST_F(LabelRun, aRunThatCannotStartSaysWhyAndPrintsNothing)
{
    makeFolder(avery5160(), namedRecords(2));
    setup->positions.clearAll();
    EXPECT_TRUE(printedNames().isEmpty());
    EXPECT_EQ(ui.messages.value(0), QLatin1String(kNoPositions));
    // Positions beyond the sheet do not count.
    setup->positions.set(40, true);
    EXPECT_TRUE(printedNames().isEmpty());
    setup->positions.selectAll();

    const QString file = catalogue->layoutPath(layout.binary);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("not a layout at all");
    f.close();
    ui.messages.clear();
    EXPECT_TRUE(printedNames().isEmpty());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_FALSE(ui.messages[0].isEmpty());

    QFile::remove(file);
    ui.messages.clear();
    EXPECT_TRUE(printedNames().isEmpty());
    EXPECT_EQ(ui.messages, QStringList({QLatin1String(kLayoutFileRemoved)}));
}

TEST_F(LabelRun, activationRemovesAnEarlierPresortFile)
{
    makeFolder(avery5160(), namedRecords(1));
    ASSERT_TRUE(writePresortFile(setup->presortPath(), {"12345"}, nullptr));
    setup->activate();
    EXPECT_FALSE(QFile::exists(setup->presortPath()));
}

TEST_F(LabelRun, cloneCopiesTheLayoutAndDeleteRemovesRowAndFile)
{
    makeFolder(avery5160(), namedRecords(1));
    QString error;
    const auto clone = setup->cloneLayout(layout, &error);
    ASSERT_TRUE(clone) << error.toStdString();
    EXPECT_EQ(clone->description, QStringLiteral("Clone of :Test labels"));
    EXPECT_NE(clone->binary.toUpper(), layout.binary.toUpper());
    const QString cloneFile = catalogue->layoutPath(clone->binary);
    EXPECT_TRUE(QFile::exists(cloneFile));
    EXPECT_EQ(catalogue->rows().size(), 2u);
    EXPECT_EQ(LabelSetup::cloneDescription(QString(48, QLatin1Char('x'))).size(), 50);

    ASSERT_TRUE(setup->deleteLayout(*clone, &error)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(cloneFile));
    EXPECT_TRUE(QFile::exists(catalogue->layoutPath(layout.binary)));
    ASSERT_EQ(catalogue->rows().size(), 1u);
    EXPECT_EQ(catalogue->rows()[0].description, QStringLiteral("Test labels"));

    QFile::remove(catalogue->layoutPath(layout.binary));
    EXPECT_FALSE(setup->cloneLayout(layout, &error));
    EXPECT_EQ(error, QLatin1String(kLayoutFileRemoved));
    EXPECT_EQ(catalogue->rows().size(), 1u);
}

TEST(LabelPaper, sheetsSetThePaperAndAskWhenItCannotBeConfirmed)
{
    LabelSheetDefinition d = avery5160();
    d.paperSize = QStringLiteral("LTRL");
    d.sheetWidth = 11.0f;
    d.sheetDepth = 8.5f;
    const SheetPaper landscape = sheetPaper(d);
    EXPECT_TRUE(landscape.landscape);
    EXPECT_DOUBLE_EQ(landscape.width, 8.5);
    EXPECT_DOUBLE_EQ(landscape.height, 11.0);
    EXPECT_EQ(paperQuestion(landscape),
              QStringLiteral("Unable to confirm that the paper size was set to\r\n\r\n8.50\" by 11.00\"\r\n\r\n"
                             "(you may have the wrong printer selected)\r\n\r\nWould you like to try printing anyways?"));

    printing::TPrinters printers{QStringList(), QString()};
    EXPECT_TRUE(setPrinterPaper(printers, d).isEmpty());
    EXPECT_EQ(printers.orientation(), QPageLayout::Landscape);
    LabelSheetDefinition card = avery5160();
    card.paperSize = QStringLiteral("USER");
    card.sheetWidth = 4.0f;
    card.sheetDepth = 6.0f;
    EXPECT_TRUE(setPrinterPaper(printers, card).isEmpty());
    EXPECT_NEAR(printers.pageWidth(), 4.0, 0.01);
    EXPECT_NEAR(printers.pageHeight(), 6.0, 0.01);
    EXPECT_EQ(printers.orientation(), QPageLayout::Portrait);
}

} // namespace
