// Importing other xBase tables: pre-matching by name, the text each field type gives, values cut
// to their fields, the older versions' fixed mappings (dates, deleted records, refused tables),
// tables written by another program (dBASE III with a DBT memo), and damaged tables refused.
#include "dbfimport.h"
#include "engine/recordengine.h"
#include "engine/write_faults.h"
#include "support_transfer.h"

#include <QProcess>

#include <cerrno>

using namespace postavo;
using namespace postavo::transfer;
using namespace postavo::transfer::test;
using engine::FieldSpec;

namespace {

using Values = std::vector<std::vector<std::pair<std::string, std::string>>>;

class TableImport : public ::testing::Test {
protected:
    QString dir = postavo::testing::scratchDir(QStringLiteral("table_import"));
    QString address = dir + "/ADDR.DBF";

    void SetUp() override { ASSERT_TRUE(postavo::testing::makeAddressRecords(address, {{{"LNAME", "Existing"}}})); }
    void TearDown() override { engine::setWriteFaultHook({}); }

    // A table with the given fields and records (values as the engine's replace takes them; a
    // field "*DELETED" set to anything deletes the record).
    QString table(const QString& name, const std::vector<FieldSpec>& fields, const Values& records)
    {
        const QString p = dir + "/" + name;
        engine::Table::create(p.toStdString(), fields);
        auto t = engine::Table::open(p.toStdString(), engine::OpenMode::Exclusive);
        for (const auto& r : records) {
            t->appendBlank();
            for (const auto& [f, v] : r)
                if (f == "*DELETED")
                    t->deleteRecord();
                else
                    t->replace(f, v);
        }
        t->close();
        return p;
    }
    std::unique_ptr<SourceTable> source(const QString& p)
    {
        QString message;
        auto s = SourceTable::open(p, address, &message);
        EXPECT_TRUE(s) << message.toStdString();
        return s;
    }
    ImportResult run(ImportSource& records)
    {
        AddressTable t;
        QString error;
        EXPECT_TRUE(t.open(address, &error)) << error.toStdString();
        TransferProgress quiet;
        return runStagedImport(t, records, quiet);
    }

    static std::vector<FieldSpec> olderFields(OlderVersion v, bool dateIsCharacter = false)
    {
        std::vector<FieldSpec> f;
        for (const QString& name : requiredOlderFields(v)) {
            const std::string n = name.toStdString();
            if (n == "MEMO")
                f.push_back({n, 'M', 10});
            else if (n == "ISDEL")
                f.push_back({n, 'L', 1});
            else if (n == "DATE")
                f.push_back(dateIsCharacter ? FieldSpec{n, 'C', 8} : FieldSpec{n, 'D', 8});
            else
                f.push_back({n, 'C', 20});
        }
        return f;
    }
};

TEST_F(TableImport, FieldsPreMatchByLabelOrNameAndOkImportsThem)
{
    const QString p = table("SRC.DBF",
                            {{"LNAME", 'C', 45}, {"FNAME", 'C', 10}, {"CITY", 'C', 20}, {"ZIP", 'C', 10}, {"EMAIL", 'C', 40},
                             {"PHONE", 'C', 20}, {"AMOUNT", 'N', 8, 2}, {"NOTES", 'M', 10}},
                            {{{"LNAME", std::string(45, 'X')}, {"FNAME", "Ann"}, {"CITY", "Boston"}, {"ZIP", "02110"},
                              {"EMAIL", "ann@example.com"}, {"PHONE", "555-1234"}, {"AMOUNT", "12.5"}, {"NOTES", "a note"}},
                             {{"LNAME", "Gone"}, {"*DELETED", "y"}},
                             {{"LNAME", "Bee"}, {"FNAME", ""}}});
    auto s = source(p);
    ASSERT_TRUE(s);
    FieldMatchGrid grid = preMatchedGrid(*s, nullptr);
    EXPECT_EQ(grid.source(grid.rowOfField("LNAME")), "LNAME");
    EXPECT_EQ(grid.source(grid.rowOfField("EMAIL")), "EMAIL");
    EXPECT_EQ(grid.source(grid.rowOfField("PHONE")), "PHONE");
    EXPECT_EQ(grid.rowOfSource("AMOUNT"), -1);
    EXPECT_EQ(grid.menuFor(grid.rowOfField("CITY")).contains("NOTES"), false);
    // The memo row offers memo fields, and a source moved to another row leaves the first.
    grid.choose(grid.rowOfField("CODES"), "AMOUNT");
    grid.choose(grid.rowOfField("USER1"), "AMOUNT");
    EXPECT_EQ(grid.source(grid.rowOfField("CODES")), "");
    grid.choose(grid.rowCount() - 1, "NOTES");

    DbfImportSource records(*s, dbfImportPlanFrom(grid, *s));
    const ImportResult r = run(records);
    EXPECT_EQ(r.outcome, ImportResult::Outcome::Complete);
    EXPECT_EQ(r.imported, 2u);  // the deleted record is never read
    EXPECT_EQ(r.cutValues, 1u);
    EXPECT_EQ(readBack(address, {"LNAME", "FNAME", "CITY", "ZIP", "EMAIL", "PHONE", "USER1", "MEMO"}),
              QStringList({"Existing|||||||", QString(30, 'X') + "|Ann|Boston|02110|ann@example.com|555-1234|12.5|a note",
                           "Bee|||||||"}));
}

TEST_F(TableImport, AFieldMapOnTheCommandLine)
{
    const QString p = table("SRC.DBF", {{"SURNAME", 'C', 20}, {"TOWN", 'C', 20}, {"OK", 'L', 1}},
                            {{{"SURNAME", "Doe"}, {"TOWN", "Rome"}, {"OK", "T"}}});
    auto s = source(p);
    DbfImportPlan plan;
    QString error;
    ASSERT_TRUE(parseFieldMap("SURNAME=LNAME,town=City,OK=CODES", *s, &plan, &error)) << error.toStdString();
    EXPECT_FALSE(parseFieldMap("NOPE=LNAME", *s, &plan, &error));
    EXPECT_FALSE(parseFieldMap("TOWN=NOPE", *s, &plan, &error));
    ASSERT_TRUE(parseFieldMap("SURNAME=LNAME,town=City,OK=CODES", *s, &plan, &error));
    DbfImportSource records(*s, plan);
    run(records);
    EXPECT_EQ(readBack(address, {"LNAME", "CITY", "CODES"}).value(1), "Doe|Rome|True");
}

TEST_F(TableImport, Version1DatesNotesAndTheRequiredFields)
{
    const QString dated = table("V1.DBF", olderFields(OlderVersion::V1),
                                {{{"LNAME", "Date"}, {"DATE", "19970315"}, {"NOTES", "vip"}, {"CARRIER", "C001"},
                                  {"MEMO", "abcd"}},
                                 {{"LNAME", "Nodate"}}});
    auto s = source(dated);
    ASSERT_TRUE(s);
    EXPECT_EQ(missingOlderField(*s, OlderVersion::V1), "");
    EXPECT_EQ(missingOlderField(*s, OlderVersion::V2), "STREET2");
    OlderImportSource v1(*s, OlderVersion::V1);
    EXPECT_EQ(run(v1).imported, 2u);
    // NOTES become the codes; a four-character memo gets its trailing blank.
    EXPECT_EQ(readBack(address, {"LNAME", "DATE", "CODES", "MEMO"}),
              QStringList({"Existing|||", "Date|19970315|vip|abcd ", "Nodate|||"}));

    // A character DATE: eight digits stay, a value that is no date becomes blank.
    const QString chars = table("V1C.DBF", olderFields(OlderVersion::V1, true),
                                {{{"LNAME", "Digits"}, {"DATE", "19970315"}}, {{"LNAME", "Junk"}, {"DATE", "soon"}}});
    auto c = source(chars);
    OlderImportSource v1c(*c, OlderVersion::V1);
    run(v1c);
    EXPECT_EQ(readBack(address, {"LNAME", "DATE"}).mid(3), QStringList({"Digits|19970315", "Junk|"}));
    EXPECT_EQ(convertOlderDate("19970230", "MM/dd/yyyy"), "");
    EXPECT_EQ(convertOlderDate("03/15/1997", "MM/dd/yyyy"), "19970315");

    // Every 1.x field but CARRIER: not a 1.x table.
    std::vector<FieldSpec> noCarrier = olderFields(OlderVersion::V1);
    std::erase_if(noCarrier, [](const FieldSpec& f) { return f.name == "CARRIER"; });
    auto n = source(table("NOCARR.DBF", noCarrier, {{{"LNAME", "x"}}}));
    EXPECT_EQ(missingOlderField(*n, OlderVersion::V1), "CARRIER");
    EXPECT_EQ(notOlderTableMessage("/x/NOCARR.DBF", OlderVersion::V1), "/x/NOCARR.DBF does not appear to be a Postavo 1.x DBF");
}

TEST_F(TableImport, Version2KeepsItsFieldsAndDeletedRecordsArriveDeleted)
{
    const QString p = table("V2.DBF", olderFields(OlderVersion::V2, true),
                            {{{"LNAME", "Kept"}, {"STREET2", "Suite 5"}, {"PHONE2", "555"}, {"USER1", "u1"}, {"CODES", "A"},
                              {"DATE", "20010102"}, {"MEMO", "m"}},
                             {{"LNAME", "Binned"}, {"ISDEL", "T"}}});
    auto s = source(p);
    OlderImportSource v2(*s, OlderVersion::V2);
    EXPECT_EQ(run(v2).imported, 2u);
    EXPECT_EQ(readBack(address, {"LNAME", "STREET2", "PHONE2", "USER1", "CODES", "DATE", "MEMO"}),
              QStringList({"Existing||||||", "Kept|Suite 5|555|u1|A|20010102|m", "Binned||||||"}));
    AddressTable t;
    ASSERT_TRUE(t.openShared(address, true));
    EXPECT_EQ(t.recordCount(), 3u);
    ASSERT_TRUE(t.goTo(3));
    EXPECT_TRUE(t.logical("ISDEL"));  // hidden wherever deleted records are
    ASSERT_TRUE(t.goTo(2));
    EXPECT_FALSE(t.logical("ISDEL"));
}

TEST_F(TableImport, TheAddressFileItselfEmptyAndDamagedTablesAreRefused)
{
    QString message;
    EXPECT_FALSE(SourceTable::open(dir + "/addr.dbf", address, &message));
    EXPECT_EQ(message, "Cannot import a file to itself");
    EXPECT_FALSE(SourceTable::open(table("EMPTY.DBF", {{"LNAME", 'C', 10}}, {}), address, &message));
    EXPECT_TRUE(message.startsWith("There are no records in "));

    const QString damaged = table("BAD.DBF", {{"LNAME", 'C', 10}}, {{{"LNAME", "a"}}});
    QByteArray bytes = fileBytes(damaged);
    bytes[8] = char(0xFF);  // header length past the end of the file
    bytes[9] = char(0x7F);
    postavo::testing::writeBytes(damaged, bytes);
    EXPECT_FALSE(SourceTable::open(damaged, address, &message));
    EXPECT_TRUE(message.startsWith("Unable to open the file ")) << message.toStdString();

    postavo::testing::writeBytes(dir + "/TEXT.DBF", "not a table at all\r\n");
    EXPECT_FALSE(SourceTable::open(dir + "/TEXT.DBF", address, &message));
}

TEST_F(TableImport, AWriteFailureTakesTheWholeImportBack)
{
    Values many;
    for (int i = 0; i < 200; ++i)
        many.push_back({{"LNAME", "N" + std::to_string(i)}, {"MEMO", "memo " + std::to_string(i)}});
    auto s = source(table("MANY.DBF", olderFields(OlderVersion::V2, true), many));
    const AddressFiles before(address);
    int n = 0;
    engine::setWriteFaultHook([&](const std::string& path, std::uint64_t, std::size_t) {
        // The fiftieth write to a memo file.
        return QString::fromStdString(path).endsWith(".FPT", Qt::CaseInsensitive) && ++n == 50 ? ENOSPC : 0;
    });
    OlderImportSource v2(*s, OlderVersion::V2);
    const ImportResult r = run(v2);
    engine::setWriteFaultHook({});
    EXPECT_EQ(r.outcome, ImportResult::Outcome::WriteError);
    EXPECT_TRUE(r.cause.contains("full", Qt::CaseInsensitive) || r.cause.contains("space", Qt::CaseInsensitive))
        << r.cause.toStdString();
    EXPECT_TRUE(AddressFiles(address) == before);
    EXPECT_TRUE(noScratchLeft(dir));
}

// A dBASE III table with a DBT memo as another program writes it (python3-dbf).
TEST_F(TableImport, DBaseIIIWithDbtMemo)
{
    const QString script = QStringLiteral(
        "import dbf, sys\n"
        "t = dbf.Table(sys.argv[1], 'LNAME C(25); CITY C(15); BORN D; NOTE M', dbf_type='db3')\n"
        "t.open(dbf.READ_WRITE)\n"
        "import datetime\n"
        "t.append(('Weber', 'Bonn', datetime.date(1970, 3, 15), 'first line\\r\\nsecond'))\n"
        "t.append(('Vogel', 'Ulm', None, ''))\n"
        "t.close()\n");
    const QString p = dir + "/dbase3.dbf";
    QProcess py;
    py.start("/usr/bin/python3", {"-c", script, p});
    ASSERT_TRUE(py.waitForFinished(60000));
    if (py.exitCode() != 0)
        GTEST_SKIP() << "python3-dbf cannot write the table: " << py.readAllStandardError().toStdString();
    auto s = source(p);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->memoFieldNames(), QStringList({"NOTE"}));
    DbfImportPlan plan;
    QString error;
    ASSERT_TRUE(parseFieldMap("LNAME=LNAME,CITY=CITY,BORN=USER2,NOTE=MEMO", *s, &plan, &error)) << error.toStdString();
    DbfImportSource records(*s, plan);
    EXPECT_EQ(run(records).imported, 2u);
    const QStringList rows = readBack(address, {"LNAME", "CITY", "MEMO"});
    EXPECT_EQ(rows.mid(1), QStringList({"Weber|Bonn|first line\r\nsecond", "Vogel|Ulm|"}));
}

} // namespace
