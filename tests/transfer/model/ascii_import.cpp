// The comma-delimited text import from the file to the stored records: which columns there are,
// values cut to their fields, a stop part way, header names, spreadsheet-written files in both
// encodings, and every failure (a write refused at any point, a file-size limit) leaving the
// address file exactly as it was.
#include "asciiimport.h"
#include "engine/write_faults.h"
#include "support_transfer.h"

#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace postavo;
using namespace postavo::transfer;
using namespace postavo::transfer::test;

namespace {

class AsciiImport : public ::testing::Test {
protected:
    QString dir = postavo::testing::scratchDir(QStringLiteral("ascii_import"));
    QString address = dir + "/ADDR.DBF";

    void SetUp() override
    {
        ASSERT_TRUE(postavo::testing::makeAddressRecords(address, {{{"LNAME", "Existing"}, {"FNAME", "Erin"}, {"MEMO", "kept"}}}));
    }
    void TearDown() override { engine::setWriteFaultHook({}); }

    QString text(const QByteArray& bytes, const QString& name = QStringLiteral("in.txt"))
    {
        const QString p = dir + "/" + name;
        postavo::testing::writeBytes(p, bytes);
        return p;
    }
    AsciiImportPlan plan(const QString& path, const QString& map, TextReadOptions o = {})
    {
        AsciiImportPlan s;
        s.scan = scanAsciiFile(path, o);
        EXPECT_TRUE(s.scan.importable()) << s.scan.refusal.toStdString();
        QString error;
        EXPECT_TRUE(parseColumnMap(map, s.scan.columns, &s.columnFields, &error)) << error.toStdString();
        return s;
    }
    ImportResult run(const AsciiImportPlan& s, TransferProgress&& progress = TransferProgress())
    {
        AddressTable t;
        QString error;
        EXPECT_TRUE(t.open(address, &error)) << error.toStdString();
        return runAsciiImport(t, s, progress);
    }
};

TEST_F(AsciiImport, TheFirstLineDecidesTheColumnsAndShortLinesLeaveFieldsBlank)
{
    const QString p = text("Doe,Jane,Boston\r\nRoe,Rick,Austin,extra4,extra5\r\nPoe,Paula\r\n");
    const AsciiImportPlan s = plan(p, "1=LNAME,2=FNAME,3=CITY");
    EXPECT_EQ(s.scan.columns, 3);
    EXPECT_EQ(s.scan.columnNames, QStringList({"Field 1", "Field 2", "Field 3"}));
    const ImportResult r = run(s);
    EXPECT_EQ(r.outcome, ImportResult::Outcome::Complete);
    EXPECT_EQ(r.imported, 3u);
    EXPECT_EQ(readBack(address, {"LNAME", "FNAME", "CITY", "MEMO"}),
              QStringList({"Existing|Erin||kept", "Doe|Jane|Boston|", "Roe|Rick|Austin|", "Poe|Paula||"}));
    EXPECT_TRUE(noScratchLeft(dir));
    EXPECT_NE(postavo::testing::runTool(QStringLiteral(POSTAVO_BIN_DIR "/postavo-db"), {"check", address}, nullptr).indexOf("OK"), -1);
}

TEST_F(AsciiImport, ValuesLongerThanTheFieldAreCutAndCounted)
{
    const QByteArray longName(45, 'L');
    const AsciiImportPlan s = plan(text(longName + ",x\n" + "Short,y\n"), "1=LNAME,2=FNAME");
    const ImportResult r = run(s);
    EXPECT_EQ(r.cutValues, 1u);
    EXPECT_EQ(readBack(address, {"LNAME"}).value(1), QString(30, 'L'));
    EXPECT_NE(importClosingMessage(r, ImportKind::Text).indexOf("1 values were longer"), -1);
}

TEST_F(AsciiImport, StoppingAfter100Of1000KeepsThe100WithTheirIndexes)
{
    QByteArray bytes;
    for (int i = 0; i < 1000; ++i)
        bytes += "Name" + QByteArray::number(1000 + i) + ",F\r\n";
    const ImportResult r = run(plan(text(bytes), "1=LNAME,2=FNAME"), StopAfter(100));
    EXPECT_EQ(r.outcome, ImportResult::Outcome::Cancelled);
    EXPECT_EQ(r.imported, 100u);
    EXPECT_TRUE(importClosingMessage(r, ImportKind::Text).startsWith("Import cancelled after importing 100 records."));
    AddressTable t;
    ASSERT_TRUE(t.openShared(address, true));
    EXPECT_EQ(t.recordCount(), 101u);
    ASSERT_TRUE(t.setOrder("LNAME"));
    ASSERT_TRUE(t.last());
    EXPECT_EQ(t.value("LNAME"), "Name1099");
}

TEST_F(AsciiImport, AHeaderLineNamesTheColumnsOrIsAnOrdinaryRecord)
{
    const QString p = text("Last Name,City,Whatever,City\nDoe,Boston,w,c2\n");
    TextReadOptions o;
    o.headerLine = true;
    AsciiScan s = scanAsciiFile(p, o);
    ASSERT_TRUE(s.importable());
    // A repeated name keeps its default.
    EXPECT_EQ(s.columnNames, QStringList({"Last Name", "City", "Whatever", "Field 4"}));
    FieldMatchGrid grid(importableAddressFields(), false);
    grid.preMatch(s.columnNames);
    AsciiImportPlan with{s, columnFieldsFrom(grid, s.columnNames)};
    EXPECT_EQ(with.columnFields, QStringList({"LNAME", "CITY", "", ""}));
    EXPECT_EQ(run(with).imported, 1u);

    // Without the option the header is a record like any other.
    const ImportResult plain = run(plan(p, "1=LNAME"));
    EXPECT_EQ(plain.imported, 2u);
    EXPECT_EQ(readBack(address, {"LNAME"}), QStringList({"Existing", "Doe", "Last Name", "Doe"}));
}

TEST_F(AsciiImport, FilesItCannotReadAreRefusedBeforeAnythingIsWritten)
{
    EXPECT_FALSE(scanAsciiFile(text("only one line\n"), {}).importable());
    EXPECT_FALSE(scanAsciiFile(text(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)), {}).importable());
    EXPECT_FALSE(scanAsciiFile(dir + "/missing.txt", {}).importable());
    QString error;
    QStringList fields;
    EXPECT_FALSE(parseColumnMap("4=LNAME", 3, &fields, &error));
    EXPECT_FALSE(parseColumnMap("1=NOSUCH", 3, &fields, &error));
    EXPECT_FALSE(parseColumnMap("1=ISDEL", 3, &fields, &error));
    // A later pair takes a field over from an earlier one.
    ASSERT_TRUE(parseColumnMap("1=LNAME,2=Last Name", 3, &fields, &error));
    EXPECT_EQ(fields, QStringList({"", "LNAME", ""}));
}

TEST_F(AsciiImport, MoreColumnsThanTheLimitAreCutToTheLimit)
{
    QByteArray line;
    for (int i = 0; i < 300; ++i)
        line += (i ? "," : "") + QByteArray::number(i);
    const AsciiImportPlan s = plan(text(line + "\n" + line + "\n"), "1=LNAME,255=CITY");
    EXPECT_EQ(s.scan.columns, kMaxColumns);
    EXPECT_EQ(s.scan.firstLineFields, 300);
    const ImportResult r = run(s);
    EXPECT_EQ(readBack(address, {"LNAME", "CITY"}).value(1), "0|254");
    EXPECT_TRUE(r.notes.join(' ').contains("255 of the file's 300"));
}

// Every write the import makes is made to fail in turn (the records, the memo, the tags): each
// time the import reports the failure and the address file is unchanged.
TEST_F(AsciiImport, AWriteFailingAnywhereLeavesTheAddressFileAsItWas)
{
    QByteArray bytes;
    for (int i = 0; i < 300; ++i)
        bytes += "Person" + QByteArray::number(i) + ",First,City" + QByteArray::number(i % 7) + "\n";
    const AsciiImportPlan s = plan(text(bytes), "1=LNAME,2=FNAME,3=CITY");
    const AddressFiles before(address);

    int writes = 0;
    {
        // A dry run on a copy counts the writes.
        const QString copy = dir + "/COPY.DBF";
        ASSERT_TRUE(postavo::testing::makeAddressRecords(copy, {{{"LNAME", "Existing"}, {"MEMO", "kept"}}}));
        engine::setWriteFaultHook([&](const std::string&, std::uint64_t, std::size_t) {
            ++writes;
            return 0;
        });
        AddressTable t;
        ASSERT_TRUE(t.open(copy));
        ASSERT_EQ(runAsciiImport(t, s, *std::make_unique<TransferProgress>()).imported, 300u);
    }
    ASSERT_GT(writes, 3);
    for (int at = 1; at <= writes; ++at) {
        int n = 0;
        engine::setWriteFaultHook([&](const std::string&, std::uint64_t, std::size_t) { return ++n == at ? ENOSPC : 0; });
        const ImportResult r = run(s);
        engine::setWriteFaultHook({});
        EXPECT_TRUE(r.failed()) << "write " << at << " of " << writes;
        EXPECT_EQ(r.outcome, ImportResult::Outcome::WriteError);
        EXPECT_TRUE(AddressFiles(address) == before) << "write " << at << " of " << writes;
        EXPECT_TRUE(noScratchLeft(dir));
        EXPECT_NE(importClosingMessage(r, ImportKind::Text).indexOf("as it was before"), -1);
    }
    EXPECT_EQ(readBack(address, {"LNAME"}), QStringList({"Existing"}));
}

// A real file-size limit, as `ulimit -f` sets, in a child process: the copy cannot grow, the
// import fails, and the address file is as it was.
TEST_F(AsciiImport, AFileSizeLimitStopsTheImportAndChangesNothing)
{
    QByteArray bytes;
    for (int i = 0; i < 2000; ++i)
        bytes += "Person" + QByteArray::number(i) + ",First,Somewhere\n";
    const AsciiImportPlan s = plan(text(bytes), "1=LNAME,2=FNAME,3=CITY");
    const AddressFiles before(address);
    const rlim_t limit = rlim_t(QFileInfo(address).size() + 20000);  // far less than 2000 records
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        AddressTable t;
        if (!t.open(address))
            ::_exit(10);
        TransferProgress quiet;
        const ImportResult r = runAsciiImport(t, s, quiet);
        if (r.outcome != ImportResult::Outcome::WriteError)
            ::_exit(11);
        if (!r.cause.contains("size", Qt::CaseInsensitive) && !r.cause.contains("large", Qt::CaseInsensitive))
            ::_exit(12);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(AddressFiles(address) == before);
    EXPECT_TRUE(noScratchLeft(dir));
}

// Files as a spreadsheet writes them: LibreOffice turns a flat ODS kept with the tests into CSV,
// once as UTF-8 and once as Windows-1252; both import to the same records.
TEST_F(AsciiImport, SpreadsheetCsvInBothEncodings)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    const QString fods = QStringLiteral(POSTAVO_SOURCE_DIR "/tests/transfer/data/contacts.fods");
    QStringList results;
    for (const auto& [filter, name] : {std::pair{"44,34,76,1", "utf8"}, std::pair{"44,34,ANSI,1", "cp1252"}}) {
        const QString out = dir + "/" + name;
        QDir().mkpath(out);
        QProcess p;
        p.start(soffice, {"-env:UserInstallation=file://" + dir + "/lo-profile", "--headless", "--convert-to",
                          QStringLiteral("csv:Text - txt - csv (StarCalc):") + filter, "--outdir", out, fods});
        ASSERT_TRUE(p.waitForFinished(120000));
        const QString csv = out + "/contacts.csv";
        ASSERT_TRUE(QFile::exists(csv)) << p.readAllStandardError().toStdString();
        TextReadOptions o;
        o.rfc4180 = true;
        o.headerLine = true;
        AsciiScan scan = scanAsciiFile(csv, o);
        ASSERT_TRUE(scan.importable()) << scan.refusal.toStdString();
        EXPECT_EQ(scan.options.encoding, QString(name) == "utf8" ? TextEncoding::Utf8 : TextEncoding::Windows1252);
        FieldMatchGrid grid(importableAddressFields(), false);
        grid.preMatch(scan.columnNames);
        QFile::remove(address);
        QFile::remove(dir + "/ADDR.fpt");
        QFile::remove(dir + "/ADDR.cdx");
        ASSERT_TRUE(postavo::testing::makeAddressRecords(address, {}));
        const ImportResult r = run(AsciiImportPlan{scan, columnFieldsFrom(grid, scan.columnNames)});
        EXPECT_EQ(r.imported, 3u);
        results << readBack(address, {"LNAME", "FNAME", "ORG", "CITY"}).join('\n');
    }
    ASSERT_EQ(results.size(), 2);
    EXPECT_EQ(results[0], results[1]);
    EXPECT_EQ(results[0], QString::fromUtf8("Müller|Jörg|Smith, Jones and Co|Köln\n"
                                            "O'Brien|Seán|The \"Best\" Shop|Dublin\n"
                                            "Dupont|Zoë|€uro Ltd|Paris"));
}

} // namespace
