// The address table object over a real address file.
#include "addressfile.h"
#include "engine/recordengine.h"
#include "filterops.h"
#include "settings.h"
#include "support_addressfile.h"
#include "support_validators.h"

#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::test;

namespace {

const char* kNames[] = {"Smith", "Jones", "JONESBY", "Adams", "Brown", "Young", "Zed", "Clark"};

void fillPeople(AddressTable& t, int i)
{
    t.setValue("LNAME", QString::fromLatin1(kNames[i % 8]));
    t.setValue("FNAME", QStringLiteral("F%1").arg(i, 3, 10, QLatin1Char('0')));
    t.setValue("STATE", i % 3 == 0 ? "NY" : "NJ");
    t.setValue("ZIP", QStringLiteral("%1").arg(10000 + i * 7));
    t.setValue("CODES", i % 4 == 0 ? "AC" : "B");
}

class AddressTableTest : public ::testing::Test {
protected:
    ScratchDir dir;
    QString path = dir.path("ADD0001.DBF");
};

TEST_F(AddressTableTest, CreatedFileHasTheFieldsAtTheGivenWidthsAndAllTags)
{
    ScriptedUi ui;
    Settings s(dir.path("postav.ini"));
    s.writeInteger("NewFileFieldLengths", "FieldZIP", 3);
    s.writeInteger("NewFileFieldLengths", "FieldCITY", 55);
    ASSERT_TRUE(CreateAddressFile(path, readNewFileFieldLengths(s), ui)) << ui.messages.join('|').toStdString();
    EXPECT_TRUE(ui.messages.isEmpty());

    AddressTable t;
    ASSERT_TRUE(t.open(path));
    EXPECT_EQ(t.fieldWidth("ZIP"), 10);
    EXPECT_EQ(t.fieldWidth("CITY"), 55);
    EXPECT_EQ(t.fieldWidth("MIDDLE"), 1);
    EXPECT_TRUE(CheckValidIndex(t));
    EXPECT_EQ(t.tagNames().size(), 26);
    EXPECT_EQ(t.orderNumber("NAME"), 1);
    EXPECT_EQ(t.orderNumber("NOTISDEL"), 26);
    EXPECT_FALSE(t.hasRecord());
    EXPECT_EQ(t.visibleCount(), 0u);
    t.close();
    EXPECT_TABLE_VALID(path.toStdString());   // other programs open a new, empty file
}

TEST_F(AddressTableTest, InsertEditPostAndCancel)
{
    ASSERT_TRUE(makeAddressFile(path, 0));
    AddressTable t;
    ASSERT_TRUE(t.open(path));
    QSignalSpy data(&t, &AddressTable::dataChanged);

    ASSERT_TRUE(t.insert());
    EXPECT_EQ(t.state(), TableState::Insert);
    t.setValue("LNAME", QStringLiteral("Müller"));
    t.setMemo("first memo");
    t.cancel();  // an added record disappears
    EXPECT_EQ(t.recordCount(), 0u);
    EXPECT_FALSE(t.hasRecord());

    ASSERT_TRUE(t.insert());
    t.setValue("LNAME", QStringLiteral("Müller"));
    t.setValue("CITY", QString(80, 'x'));  // cut to the file's width
    t.setMemo("memo text");
    ASSERT_TRUE(t.post()) << t.lastError().toStdString();
    EXPECT_EQ(t.recordCount(), 1u);
    EXPECT_EQ(t.value("LNAME"), QStringLiteral("Müller"));
    EXPECT_EQ(t.value("CITY").size(), 30);
    EXPECT_EQ(t.memo(), "memo text");
    EXPECT_GE(data.count(), 1);

    ASSERT_TRUE(t.edit());
    t.setValue("LNAME", "Changed");
    EXPECT_EQ(t.value("LNAME"), "Changed");
    t.cancel();  // cancel restores the record
    EXPECT_EQ(t.value("LNAME"), QStringLiteral("Müller"));

    t.close();
    // The bytes on disk are Windows-1252.
    auto raw = engine::Table::open(QFile::encodeName(path).toStdString(), engine::OpenMode::ReadOnly);
    raw->goTop();
    EXPECT_EQ(raw->getTrimString("LNAME"), "M\xFCller");
}

TEST_F(AddressTableTest, NavigationStaysPutAtTheEnds)
{
    ASSERT_TRUE(makeAddressFile(path, 8, fillPeople));
    AddressTable t;
    ASSERT_TRUE(t.open(path));
    ASSERT_TRUE(t.setOrder("LNAME"));
    ASSERT_TRUE(t.first());
    EXPECT_EQ(t.value("LNAME"), "Adams");
    EXPECT_FALSE(t.previous());
    EXPECT_EQ(t.value("LNAME"), "Adams");
    ASSERT_TRUE(t.last());
    EXPECT_EQ(t.value("LNAME"), "Zed");
    EXPECT_FALSE(t.next());
    EXPECT_EQ(t.value("LNAME"), "Zed");
    EXPECT_TRUE(t.hasRecord());
    // NAME order joins the names without blanks: JONES+F001 sorts after JONESBY+F002.
    ASSERT_TRUE(t.setOrder("NAME"));
    t.first();
    QStringList order;
    do order << t.value("LNAME"); while (t.next());
    EXPECT_EQ(order, (QStringList{"Adams", "Brown", "Clark", "JONESBY", "Jones", "Smith", "Young", "Zed"}));
}

TEST_F(AddressTableTest, FiltersCountAndDropSilently)
{
    ASSERT_TRUE(makeAddressFile(path, 40, fillPeople));
    AddressTable t;
    ASSERT_TRUE(t.open(path));
    QueryValues q;
    q.values[15] = "$C";  // codes contain C: every fourth record
    QStringList told;
    auto inform = [&](const QString& m) { told << m; };
    EXPECT_EQ(ApplyFilter(t, q, "X", inform), 10u);
    EXPECT_EQ(t.filter(), "\"C\"$UPPER(CODES).and. !ISDEL");
    EXPECT_EQ(t.visibleCount(), 10u);

    q.values[8] = "NY";  // and state NY: every twelfth
    EXPECT_EQ(ApplyFilter(t, q, "X", inform), 4u);

    QueryValues none;
    none.values[0] = "NOBODY";
    EXPECT_EQ(ApplyFilter(t, none, "X", inform), 0u);
    EXPECT_EQ(none, QueryValues{});  // dropped silently
    EXPECT_EQ(t.filter(), "!ISDEL");
    EXPECT_TRUE(told.isEmpty());

    QueryValues big;
    big.values[0] = QString(229, 'A');
    EXPECT_EQ(ApplyFilter(t, big, "X", inform), 0u);
    EXPECT_EQ(told, QStringList{"Sorry - filter is too complex.Please simplify it."});
    EXPECT_EQ(big, QueryValues{});
}

TEST_F(AddressTableTest, DeletedRecordsHideAndRebuildRemovesThem)
{
    ASSERT_TRUE(makeAddressFile(path, 5, fillPeople));
    AddressTable t;
    ASSERT_TRUE(t.open(path));
    t.setFilter(appliedFilterExpression({}));
    ASSERT_TRUE(t.goTo(2));
    ASSERT_TRUE(t.deleteCurrent());
    EXPECT_EQ(t.visibleCount(), 4u);
    EXPECT_EQ(t.recordCount(), 5u);

    ASSERT_TRUE(RebuildAddressFile(t, {}));
    EXPECT_EQ(t.recordCount(), 4u);
    ASSERT_TRUE(t.goTo(2));
    EXPECT_EQ(t.value("FNAME"), "F002");  // later records shifted down
    EXPECT_TRUE(CheckValidIndex(t));
    t.close();
    EXPECT_TABLE_VALID(path.toStdString());
}

TEST_F(AddressTableTest, TagAllClearTagsAndTagAgainInTagOrder)
{
    ASSERT_TRUE(makeAddressFile(path, 12, fillPeople));
    Settings s(dir.path("postav.ini"));
    AddressTable t;
    ASSERT_TRUE(t.open(path));
    t.setTagId(loadGlobalTagId(s));
    ASSERT_TRUE(t.setOrder("TAG"));
    QueryValues q;
    q.values[8] = "NY";
    ASSERT_EQ(ApplyFilter(t, q, t.tagId(), {}), 4u);
    TagAllResult r = tagAllMatches(t);
    EXPECT_EQ(r.tagged, 4u);

    QueryValues tagged;
    tagged.taggedOnly = true;
    EXPECT_EQ(ApplyFilter(t, tagged, t.tagId(), {}), 4u);

    t.setTagId(clearTags(s));
    QueryValues again = tagged;
    EXPECT_EQ(ApplyFilter(t, again, t.tagId(), {}), 0u);  // nothing tagged: dropped

    q.values[8] = "NJ";
    ASSERT_EQ(ApplyFilter(t, q, t.tagId(), {}), 8u);
    r = tagAllMatches(t, [](quint32 n) { return n < 3; });  // cancelled after the third
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(r.tagged, 3u);
    QueryValues now = tagged;
    EXPECT_EQ(ApplyFilter(t, now, t.tagId(), {}), 3u);
}

TEST_F(AddressTableTest, OpeningReportsMissingFilesForeignTablesAndMissingIndexes)
{
    Settings s(dir.path("postav.ini"));
    AddressTable t;
    ScriptedUi ui;
    EXPECT_FALSE(OpenPVWDBF(t, dir.path("NOPE.DBF"), ui, s));
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages[0], "File " + dir.path("NOPE.DBF") + " not found");
    EXPECT_TRUE(ui.messages[1].startsWith("Unable to open " + dir.path("NOPE.DBF") + "\r\n\r\n * May not be a Postavo file."));
    EXPECT_FALSE(t.isOpen());

    // A table without TAG is not an address file.
    engine::Table::create(QFile::encodeName(dir.path("OTHER.DBF")).toStdString(),
                          {{"LNAME", 'C', 30, 0}, {"FNAME", 'C', 30, 0}});
    ui.messages.clear();
    EXPECT_FALSE(OpenPVWDBF(t, dir.path("OTHER.DBF"), ui, s));
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_FALSE(t.isOpen());
    EXPECT_TRUE(getMRUList(s).isEmpty());

    // Index deleted: asks; No leaves nothing open, Yes rebuilds.
    ASSERT_TRUE(makeAddressFile(path, 3, fillPeople));
    QFile::remove(dir.path("ADD0001.cdx"));
    ui.answer = false;
    EXPECT_FALSE(OpenPVWDBF(t, path, ui, s));
    ASSERT_EQ(ui.questions.size(), 1);
    EXPECT_EQ(ui.questions[0], "Warning: The index file for " + path + "\r\nis missing or invalid. Rebuild now?");
    EXPECT_FALSE(t.isOpen());
    ui.answer = true;
    EXPECT_TRUE(OpenPVWDBF(t, path, ui, s));
    EXPECT_EQ(ui.rebuilds, 1);
    EXPECT_TRUE(CheckValidIndex(t));
    EXPECT_EQ(t.visibleCount(), 3u);
    EXPECT_EQ(getMRUFile(s), path);
}

// Opening judges the file before touching it: records another program left past the count, and
// a table whose memos are in a dBASE memo file, give a clear message and leave every file as it was.
TEST_F(AddressTableTest, OpeningLeavesFilesItCannotTakeAsTheyWere)
{
    ASSERT_TRUE(makeAddressFile(path, 2, fillPeople));
    const auto read = [](const QString& p) {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    QByteArray dbf = read(path);
    const int recordLength = uchar(dbf[10]) | (uchar(dbf[11]) << 8);
    dbf.chop(1);
    dbf.append(QByteArray(recordLength, ' '));   // a whole record past the count
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(dbf);
    }
    AddressTable t;
    QString error;
    EXPECT_FALSE(t.open(path, &error));
    EXPECT_NE(error.indexOf("1 whole records"), -1) << error.toStdString();
    EXPECT_NE(error.indexOf("postavo-db recover"), -1) << error.toStdString();
    EXPECT_EQ(read(path), dbf);
    EXPECT_FALSE(t.isOpen());

    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(makeAddressFile(path, 2, fillPeople));
    QByteArray dbt = read(path);
    dbt[0] = char(0x83);   // dBASE III with its memos in ADD0001.DBT
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(dbt);
        QFile memo(dir.path("ADD0001.DBT"));
        ASSERT_TRUE(memo.open(QIODevice::WriteOnly));
        memo.write(QByteArray(512, '\0'));
    }
    EXPECT_FALSE(t.open(path, &error));
    EXPECT_NE(error.indexOf(".DBT"), -1) << error.toStdString();
    EXPECT_EQ(read(path), dbt);
    EXPECT_EQ(read(dir.path("ADD0001.DBT")), QByteArray(512, '\0'));
}

// A query value may hold any quote character: the filter is built with a delimiter the value
// does not contain, and matches exactly the records holding it.
TEST_F(AddressTableTest, QueryValuesHoldingQuotesMatchTheirRecords)
{
    const QStringList names = {"O\"Brien", "O'Neil", "Say [hi]", "All \"'] three", "Plain"};
    ASSERT_TRUE(makeAddressFile(path, int(names.size()), [&](AddressTable& a, int i) {
        a.setValue("LNAME", names[i]);
        a.setValue("CODES", names[i]);
    }));
    AddressTable t;
    ASSERT_TRUE(t.open(path));
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        for (const QString& value : {name, QStringLiteral("$") + name.mid(2)}) {
            QueryValues q;
            q.values[size_t(queryIndexForField("CODES"))] = value;
            ASSERT_EQ(ApplyFilter(t, q, QString(), {}), 1u) << BuildQueryString(q, {}).toStdString();
            ASSERT_TRUE(t.first());
            EXPECT_EQ(t.value("LNAME"), name);
        }
    }
    EXPECT_EQ(quoteLiteral("a\"b'c]d"), R"("a"+'"'+"b'c]d")");
}

// An empty tag id (none in the settings yet) tags no record at all.
TEST_F(AddressTableTest, AnEmptyTagIdMatchesNothing)
{
    ASSERT_TRUE(makeAddressFile(path, 3, fillPeople));
    QueryValues q;
    q.taggedOnly = true;
    EXPECT_EQ(BuildQueryString(q, QString()), "(.F.)");
    {
        AddressTable t;
        ASSERT_TRUE(t.open(path));
        t.setTagId(QString());
        EXPECT_EQ(ApplyFilter(t, q, QString(), {}), 0u);
        EXPECT_FALSE(t.tagged());
    }
    const auto out = validators::runTool(std::string(POSTAVO_BIN_DIR) + "/postavo-db filter '" + path.toStdString()
                                         + "' --tagged --settings '" + dir.path("none.ini").toStdString() + "'");
    EXPECT_EQ(out.output, "(.F.)\n0\n");
}

TEST_F(AddressTableTest, RunningTotalOfTagProgress)
{
    RunningTotalProgress p(kRebuildProgressDivisor);
    EXPECT_EQ(p.report(50), 2);    // 50/2100 -> 2.38
    EXPECT_EQ(p.report(100), 5);   // 100 -> 4.76
    EXPECT_EQ(p.report(10), 5);    // a new tag: only the new reference
    EXPECT_EQ(p.report(100), 9);   // +90 = 190 -> 9.05
    for (int i = 0; i < 30; ++i) {
        p.report(0);
        p.report(100);
    }
    EXPECT_EQ(p.position(), 100);  // capped
    RunningTotalProgress imp(kImportProgressDivisor);
    EXPECT_EQ(imp.report(9), 0);   // 0.5 rounds to even
    EXPECT_EQ(imp.report(27), 2);  // 1.5 rounds to even
}

} // namespace
