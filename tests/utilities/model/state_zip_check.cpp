// The state and zip check: the rule, the shipped state table against real zips, blank values,
// the pass over a file with its subset index, and a missing or damaged CSZ.DBF.
#include "shippedcatalogues.h"
#include "resultgrid.h"
#include "statezipcheck.h"
#include "support_maintenance.h"

using namespace postavo;
using namespace postavo::testing;

namespace {

StateZipTable shippedStates()
{
    const ShippedRead<CszRow> rows = readCszCsv(QStringLiteral(POSTAVO_SOURCE_DIR "/data/csz.csv"));
    EXPECT_TRUE(rows.ok()) << rows.error.toStdString();
    return StateZipTable::fromRows(rows.rows);
}

StateZipTable newYorkOnly()
{
    StateZipTable t;
    t.addRow("NY", "10000", "14999");
    return t;
}

std::vector<quint32> recnos(const StateZipOutcome& o)
{
    std::vector<quint32> r;
    for (const auto& f : o.found)
        r.push_back(f.recno);
    return r;
}

TEST(StateZipRule, AZipInsideItsStatesRangePassesAndOutsideIsListed)
{
    const StateZipTable t = newYorkOnly();
    EXPECT_FALSE(t.questionable("NY", "10001"));
    EXPECT_FALSE(t.questionable("NY", "10000"));
    EXPECT_FALSE(t.questionable("NY", "14999"));
    EXPECT_TRUE(t.questionable("NY", "09999"));
    EXPECT_TRUE(t.questionable("NY", "15000"));
    EXPECT_TRUE(t.questionable("NJ", "10001")) << "a state missing from the table";
}

TEST(StateZipRule, AZipPlusFourBelongsToItsFiveDigitZipEvenAtTheTopOfTheRange)
{
    const StateZipTable t = newYorkOnly();
    EXPECT_FALSE(t.questionable("NY", "14999-1234"));
    EXPECT_FALSE(t.questionable("NY", "10000-0001"));
    EXPECT_TRUE(t.questionable("NY", "15000-0000"));
}

TEST(StateZipRule, OnlyTheWholeAbbreviationInCapitalsIsFound)
{
    const StateZipTable t = newYorkOnly();
    EXPECT_TRUE(t.questionable("ny", "10001")) << "lower case is not on the upper-case tag";
    EXPECT_TRUE(t.questionable("N", "10001")) << "a partial abbreviation is not a state";
    EXPECT_TRUE(t.questionable("", "10001")) << "no state is in no row";
    EXPECT_TRUE(t.questionable("NY", "")) << "an empty zip lies below every range";
}

TEST(StateZipRule, AStateWithSeveralRowsPassesAZipInAnyOfThem)
{
    StateZipTable t;
    t.addRow("NY", "10000", "14999");
    t.addRow("NY", "00500", "00599");
    EXPECT_FALSE(t.questionable("NY", "00501"));
    EXPECT_FALSE(t.questionable("NY", "12207"));
    EXPECT_TRUE(t.questionable("NY", "00600"));
}

TEST(ShippedStateTable, RealZipsOfEachStatePass)
{
    const StateZipTable t = shippedStates();
    const std::pair<const char*, const char*> real[] = {{"OK", "73102"}, {"HI", "96720"}, {"VT", "05602"},
                                                       {"VA", "20147"}, {"FL", "34102"}, {"DC", "20500"},
                                                       {"TX", "73301"}, {"NY", "00501"}, {"NY", "10001"},
                                                       {"CA", "94105-1804"}, {"ON", "M5V 2T6"}};
    for (const auto& [state, zip] : real)
        EXPECT_FALSE(t.questionable(state, zip)) << state << " " << zip;
    EXPECT_TRUE(t.questionable("TX", "73102")) << "an Oklahoma zip in Texas";
    EXPECT_TRUE(t.questionable("VT", "05500")) << "a Massachusetts zip in Vermont";
}

class StateZipPass : public ::testing::Test {
protected:
    Rows rows = {
        person("Adams", "Ann", "1 Elm", "NY", "10001"),   // 1 fine
        person("Baker", "Bob", "2 Elm", "NY", "16000"),   // 2 outside
        person("Clark", "Cy", "3 Elm", "", "10001"),      // 3 no state
        person("Drake", "Di", "4 Elm", "NY", ""),         // 4 no zip
        person("Evans", "Ed", "5 Elm", "ny", "10001"),    // 5 lower case
        person("Fox", "Fay", "6 Elm", "ZZ", "10001"),     // 6 unknown state (deleted below)
        person("Gray", "Gus", "7 Elm", "OK", "73102"),    // 7 fine
    };
};

TEST_F(StateZipPass, BlankStateOrZipIsPassedOverUnlessTheBoxIsTicked)
{
    const QString path = addressFile("blank", rows);
    AddressTable t;
    openAsWindowsDo(t, path);
    const StateZipTable states = shippedStates();
    EXPECT_EQ(recnos(findQuestionableStatesAndZips(*t.engineTable(), states, false)), (std::vector<quint32>{2, 5, 6}));
    EXPECT_EQ(recnos(findQuestionableStatesAndZips(*t.engineTable(), states, true)),
              (std::vector<quint32>{2, 3, 4, 5, 6}));
}

TEST_F(StateZipPass, DeletedRecordsAreNotChecked)
{
    const QString path = addressFile("deleted", rows);
    AddressTable t;
    openAsWindowsDo(t, path);
    deleteRecord(t, 6);
    const StateZipOutcome o = findQuestionableStatesAndZips(*t.engineTable(), shippedStates(), false);
    EXPECT_EQ(recnos(o), (std::vector<quint32>{2, 5}));
    EXPECT_EQ(o.checked, 6u);
}

TEST_F(StateZipPass, TheCheckShowsExactlyTheQuestionableRecordsInNameOrderAndRemovesItsIndex)
{
    const QString path = addressFile("window", rows);
    const QString sysdata = shippedSysdata("window");
    AddressTable t;
    openAsWindowsDo(t, path);
    t.setOrder(QStringLiteral("ZIP"));
    StateZipCheck check(t, sysdata);
    QString message;
    ASSERT_TRUE(check.run(true, {}, &message)) << message.toStdString();
    EXPECT_TRUE(check.resultsShown());
    const QString index = QFileInfo(path).absolutePath() + "/_chksz.idx";
    EXPECT_EQ(check.subsetIndexPath(), index);
    EXPECT_TRUE(QFile::exists(index));
    EXPECT_EQ(t.visibleRecords(), (std::vector<quint32>{2, 3, 4, 5, 6})) << "the subset in name order";
    // An edited record stays in the subset under its new key.
    ASSERT_TRUE(t.gridWrite(2, QStringLiteral("LNAME"), QStringLiteral("Zimmer")));
    EXPECT_EQ(t.visibleRecords(), (std::vector<quint32>{3, 4, 5, 6, 2}));
    check.close();
    EXPECT_FALSE(QFile::exists(index));
    EXPECT_EQ(t.visibleRecords().size(), 7u) << "record order again, every record";
}

TEST(StateZipCancel, CancellingHalfwayKeepsTheRecordsFoundSoFar)
{
    Rows many;
    for (int i = 0; i < 3000; ++i)
        many.push_back(person(QStringLiteral("P%1").arg(i), "X", "1 Elm", "NY", i % 2 ? "10001" : "99999"));
    const QString path = addressFile("cancel", many);
    const QString sysdata = shippedSysdata("cancel");
    {
        AddressTable t;
        openAsWindowsDo(t, path);
        StateZipCheck check(t, sysdata);
        QString message;
        int calls = 0;
        check.run(false, [&](const PassProgress&) { return ++calls < 2; }, &message);
        const auto& o = check.outcome();
        EXPECT_TRUE(o.cancelled);
        EXPECT_GT(o.found.size(), 0u);
        EXPECT_LT(o.found.size(), 1500u);
        EXPECT_EQ(t.visibleRecords().size(), o.found.size()) << "the records found so far are shown";
        check.close();
    }
    EXPECT_TRUE(engineProblems(path).empty());
}

TEST(StateTableFile, AMissingOrDamagedTableIsReportedAndTheFileStaysAsItWas)
{
    const QString path = addressFile("missing", {person("Adams", "Ann", "1 Elm", "NY", "10001")});
    const QString sysdata = scratchDir("missing-sysdata");
    AddressTable t;
    openAsWindowsDo(t, path);
    {
        StateZipCheck check(t, sysdata);
        QString message;
        EXPECT_FALSE(check.run(false, {}, &message));
        EXPECT_EQ(message, QString::fromLatin1(statezip::kMissingTable));
        EXPECT_FALSE(check.resultsShown());
    }
    writeBytes(sysdata + "/CSZ.DBF", QByteArray("this is no table at all", 23));
    {
        StateZipCheck check(t, sysdata);
        QString message;
        EXPECT_FALSE(check.run(false, {}, &message));
        EXPECT_EQ(message, QStringLiteral("Unable to Open or Create CSZ.DBF"));
        EXPECT_FALSE(QFile::exists(check.subsetIndexPath()));
    }
    EXPECT_EQ(readBytes(sysdata + "/CSZ.DBF"), QByteArray("this is no table at all", 23)) << "never overwritten";
    EXPECT_EQ(t.visibleRecords().size(), 1u);
}

TEST(StateTableFile, AStateTableAnotherProgramHoldsIsReported)
{
    const QString path = addressFile("held", {person("Adams", "Ann", "1 Elm", "NY", "10001")});
    const QString sysdata = shippedSysdata("held");
    auto holder = engine::Table::open(QFile::encodeName(sysdata + "/CSZ.DBF").toStdString(), engine::OpenMode::Exclusive);
    AddressTable t;
    openAsWindowsDo(t, path);
    StateZipCheck check(t, sysdata);
    QString message;
    EXPECT_FALSE(check.run(false, {}, &message));
    EXPECT_EQ(message, QStringLiteral("Unable to Open or Create CSZ.DBF"));
    EXPECT_FALSE(check.running()) << "the window goes back to its setup";
    QString editMessage;
    EXPECT_FALSE(StateTableGrid::open(sysdata, &editMessage));
    EXPECT_EQ(editMessage, QStringLiteral("Unable to open CSZ.DBF"));
}

TEST(StateTableEditing, RowsAreAddedChangedAndDeletedAndTextThatDoesNotFitIsRefused)
{
    const QString sysdata = shippedSysdata("edit");
    QString message;
    auto grid = StateTableGrid::open(sysdata, &message);
    ASSERT_TRUE(grid) << message.toStdString();
    const std::size_t before = grid->gridRows().size();
    const quint32 r = grid->addRow();
    ASSERT_GT(r, 0u);
    EXPECT_TRUE(grid->gridWrite(r, "STATE", "ZZ"));
    EXPECT_TRUE(grid->gridWrite(r, "LOW_ZIP", "99990"));
    EXPECT_TRUE(grid->gridWrite(r, "HIGH_ZIP", "99999"));
    EXPECT_FALSE(grid->gridWrite(r, "STATE", "ZZZZZ")) << "STATE holds four characters";
    EXPECT_FALSE(grid->gridWrite(r, "NAME", QStringLiteral("Łódź"))) << "not Windows-1252";
    EXPECT_EQ(grid->gridRows().size(), before + 1);
    EXPECT_FALSE(StateZipTable::fromTable(grid->table()).questionable("ZZ", "99995"));
    EXPECT_TRUE(grid->deleteRow(r));
    EXPECT_EQ(grid->gridRows().size(), before);
    EXPECT_TRUE(StateZipTable::fromTable(grid->table()).questionable("ZZ", "99995"));
    EXPECT_TRUE(grid->table().check().empty());
}

} // namespace
