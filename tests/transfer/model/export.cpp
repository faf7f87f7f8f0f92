// The export of the records a filter shows, in the current order: the text line's form, DBF and
// text read back by independent readers (python3-dbf, dbfread, Python's csv module) and checked
// by the xBase checkers, a stop part way, the target checks, and failures that leave no
// half-written file under the name asked for.
#include "copyout.h"
#include "engine/write_faults.h"
#include "support_transfer.h"
#include "vcard.h"

#include <QProcess>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace postavo;
using namespace postavo::transfer;
using namespace postavo::transfer::test;

namespace {

QString python(const QString& script, const QStringList& args, int* code)
{
    QProcess p;
    p.start("/usr/bin/python3", QStringList{"-c", script} + args);
    p.waitForFinished(120000);
    *code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

class Export : public ::testing::Test {
protected:
    QString dir = postavo::testing::scratchDir(QStringLiteral("export"));
    QString address = dir + "/ADDR.DBF";
    AddressTable table;

    void SetUp() override
    {
        ASSERT_TRUE(postavo::testing::makeAddressRecords(
            address, {{{"LNAME", "Zeta"}, {"FNAME", "Zoë"}, {"ORG", "Smith, Jones and Co"}, {"CITY", "Köln"}, {"MEMO", "memo one"}},
                      {{"LNAME", "Alpha"}, {"FNAME", "Al"}, {"ORG", "The \"Best\" Shop"}, {"CITY", "Boston"}},
                      {{"LNAME", "Hidden"}, {"CITY", "Nowhere"}},
                      {{"LNAME", "Mid"}, {"PREFIX", "Dr"}, {"CITY", "Boston"}, {"MEMO", "abcd"}}}));
        ASSERT_TRUE(table.openShared(address, true));
        ASSERT_TRUE(table.setFilter("CITY <> \"Nowhere\""));
        ASSERT_TRUE(table.setOrder("LNAME"));
    }
    void TearDown() override { engine::setWriteFaultHook({}); }

    ExportResult copy(const QString& target, ExportOptions o, TransferProgress&& progress = TransferProgress())
    {
        return copyRecordsOut(*table.engineTable(), table.visibleCount(), target, o, progress);
    }
};

TEST(TextLine, EveryValueQuotedAndCommasAndQuotesUnchanged)
{
    std::array<std::string_view, 20> v{};
    v[0] = "Mr";
    v[1] = "John";
    std::string out;
    appendTextLine(out, v, {});
    std::string expected = "\"Mr\",\"John\"";
    for (int i = 0; i < 18; ++i)
        expected += ",\"\"";
    EXPECT_EQ(out, expected + "\r\n");

    v[0] = "Smith, Jones";
    v[1] = "say \"hi\"";
    out.clear();
    appendTextLine(out, v, {});
    EXPECT_TRUE(out.starts_with("\"Smith, Jones\",\"say \"hi\"\",")) << out;
    ExportOptions rfc;
    rfc.rfc4180 = true;
    rfc.encoding = TextEncoding::Utf8;
    out.clear();
    v[1] = "caf\xE9 \"x\"";
    appendTextLine(out, v, rfc);
    EXPECT_TRUE(out.starts_with("\"Smith, Jones\",\"caf\xC3\xA9 \"\"x\"\"\",")) << out;
}

TEST_F(Export, DbfHoldsTheFilteredRecordsInOrderForOtherReaders)
{
    const QString out = dir + "/out.dbf";
    const ExportResult r = copy(out, {});
    ASSERT_FALSE(r.failed) << r.cause.toStdString();
    EXPECT_EQ(r.written, 3u);
    int code = 0;
    const QString script = QStringLiteral(
        "import sys, dbf, dbfread\n"
        "rows = [(r['LNAME'], r['ORG'], r['CITY'], r['MEMO'] or '') for r in dbfread.DBF(sys.argv[1], encoding='cp1252')]\n"
        "t = dbf.Table(sys.argv[1], codepage='cp1252'); t.open()\n"
        "rows2 = [(r.lname.strip(), r.org.strip(), r.city.strip(), r.memo) for r in t]\n"
        "assert [tuple(x.strip() if isinstance(x, str) else x for x in r) for r in rows] == [tuple(x.strip() for x in r) for r in rows2], (rows, rows2)\n"
        "print('|'.join(r[0] for r in rows)); print(repr(rows[2][3].strip())); print(rows[2][1]); print(rows[2][2])\n");
    const QString text = python(script, {out}, &code);
    if (text.contains("No module named"))
        GTEST_SKIP() << text.toStdString();
    ASSERT_EQ(code, 0) << text.toStdString();
    EXPECT_EQ(text.split('\n').mid(0, 4), QStringList({"Alpha|Mid|Zeta", "'memo one'", "Smith, Jones and Co", "Köln"}));

    const QString check = QStringLiteral(POSTAVO_SHARED_DIR "/tools/xbase-check.py");
    if (!QFile::exists(check))
        GTEST_SKIP() << "../shared is absent: the xBase checkers are not run";
    const QString checked = python(QString::fromUtf8(fileBytes(check)), {out}, &code);
    EXPECT_EQ(code, 0) << checked.toStdString();
    int cdx = 0;
    const QString dump = postavo::testing::runTool(QStringLiteral(POSTAVO_SHARED_DIR "/tools/cdxdump"), {out}, &cdx);
    EXPECT_EQ(cdx, 0) << dump.toStdString();
}

TEST_F(Export, TextReadBackByCsvInBothEncodings)
{
    for (TextEncoding e : {TextEncoding::Windows1252, TextEncoding::Utf8}) {
        const bool utf8 = e == TextEncoding::Utf8;
        const QString out = dir + (utf8 ? "/out-utf8.txt" : "/out-1252.txt");
        ExportOptions o;
        o.format = ExportFormat::Text;
        o.encoding = e;
        o.rfc4180 = true;
        const ExportResult r = copy(out, o);
        ASSERT_FALSE(r.failed) << r.cause.toStdString();
        EXPECT_EQ(r.written, 3u);
        int code = 0;
        const QString text = python(QStringLiteral("import csv, sys\n"
                                                   "rows = list(csv.reader(open(sys.argv[1], encoding=sys.argv[2], newline='')))\n"
                                                   "sys.stdout.reconfigure(encoding='utf-8')\n"
                                                   "for r in rows: print(len(r), r[0], r[1], r[2], r[5], r[8], sep='|')\n"),
                                    {out, utf8 ? "utf-8-sig" : "cp1252"}, &code);
        ASSERT_EQ(code, 0) << text.toStdString();
        EXPECT_EQ(text, QString::fromUtf8("20||Al||The \"Best\" Shop|Boston\n"
                                          "20|Dr|||||Boston\n"
                                          "20||Zoë||Smith, Jones and Co|Köln\n")
                            .replace("20|Dr|||||Boston", "20|Dr||||Boston"))
            << text.toStdString();
    }
}

TEST_F(Export, VCardsRoundTripThroughTheImport)
{
    const QString out = dir + "/out.vcf";
    ExportOptions o;
    o.format = ExportFormat::VCard;
    ASSERT_FALSE(copy(out, o).failed);
    const QByteArray bytes = fileBytes(out);
    EXPECT_EQ(bytes.count("BEGIN:VCARD\r\nVERSION:3.0\r\n"), 3);
    const std::vector<VCardContact> cards = parseVCards(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    ASSERT_EQ(cards.size(), 3u);
    const Record zeta = recordFromVCard(cards[2]);
    EXPECT_EQ(zeta.value("LNAME"), "Zeta");
    EXPECT_EQ(zeta.value("FNAME"), QString::fromUtf8("Zoë"));
    EXPECT_EQ(zeta.value("ORG"), "Smith, Jones and Co");
    EXPECT_EQ(zeta.value("CITY"), QString::fromUtf8("Köln"));
    EXPECT_EQ(zeta.value("MEMO"), "memo one");
    EXPECT_EQ(recordFromVCard(cards[1]).value("PREFIX"), "Dr");
}

TEST_F(Export, StoppingAfterTwoLeavesACompleteFileOfTwo)
{
    const QString out = dir + "/two.dbf";
    const ExportResult r = copy(out, {}, StopAfter(2));
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.written, 2u);
    auto t = engine::Table::open(out.toStdString(), engine::OpenMode::ReadOnly);
    EXPECT_EQ(t->recCount(), 2u);
}

TEST_F(Export, TargetChecks)
{
    QString message;
    EXPECT_EQ(checkExportTarget(dir + "/x.TXT", ExportFormat::Dbf, address, &message), TargetCheck::WrongExtension);
    EXPECT_EQ(message, "Must have a .DBF extension");
    EXPECT_EQ(checkExportTarget(dir + "/new.dbf", ExportFormat::Dbf, address, &message), TargetCheck::Ok);
    EXPECT_EQ(checkExportTarget(dir + "/addr.dbf", ExportFormat::Dbf, address, &message), TargetCheck::Self);
    EXPECT_EQ(message, "Cannot copy a file to itself!");
    postavo::testing::writeBytes(dir + "/old.dbf", "x");
    EXPECT_EQ(checkExportTarget(dir + "/old.dbf", ExportFormat::Dbf, address, &message), TargetCheck::Exists);
    EXPECT_EQ(message, exportOverwriteQuestion(dir + "/old.dbf"));
    EXPECT_EQ(checkExportTarget(dir + "/x.TXT", ExportFormat::Text, address, &message), TargetCheck::Ok);
}

// A DBF copy whose writes fail part way, and a text copy under a file-size limit: the earlier
// file of that name is as it was, and no scratch file is left.
TEST_F(Export, AFailedExportLeavesNoHalfWrittenFile)
{
    const QString out = dir + "/old.dbf";
    ASSERT_FALSE(copy(out, {}).failed);
    const QByteArray earlier = fileBytes(out);
    int n = 0;
    engine::setWriteFaultHook([&](const std::string&, std::uint64_t, std::size_t) { return ++n == 3 ? ENOSPC : 0; });
    const ExportResult r = copy(out, {});
    engine::setWriteFaultHook({});
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(fileBytes(out), earlier);
    EXPECT_TRUE(exportFailureMessage(r, out).endsWith(out + " was left as it was before."));
    EXPECT_EQ(QDir(dir).entryList({".postavo-export-*"}, QDir::AllEntries | QDir::Hidden), QStringList());

    const QString missing = dir + "/no/such/folder/out.txt";
    ExportOptions text;
    text.format = ExportFormat::Text;
    EXPECT_TRUE(copy(missing, text).failed);
    EXPECT_FALSE(QFile::exists(missing));

    const QString txt = dir + "/old.txt";
    postavo::testing::writeBytes(txt, "earlier");
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{100, 100};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        TransferProgress quiet;
        const ExportResult c = copyRecordsOut(*table.engineTable(), table.visibleCount(), txt, text, quiet);
        ::_exit(c.failed ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(fileBytes(txt), "earlier");
    EXPECT_EQ(QDir(dir).entryList({"old.txt*"}, QDir::Files | QDir::Hidden), QStringList({"old.txt"}));
}

} // namespace
