// The import and export commands of postavo-db, as a script would use them: the options, the
// exit codes, the messages, and files that pass the checkers afterwards.
#include "support_transfer.h"

using namespace postavo;
using namespace postavo::transfer::test;
using postavo::testing::runTool;

namespace {

const QString kDb = QStringLiteral(POSTAVO_BIN_DIR "/postavo-db");

class CommandLine : public ::testing::Test {
protected:
    QString dir = postavo::testing::scratchDir(QStringLiteral("command_line"));
    QString address = dir + "/ADDR.DBF";
    void SetUp() override { ASSERT_TRUE(postavo::testing::makeAddressRecords(address, {})); }
    QString run(const QStringList& args, int* code) { return runTool(kDb, args, code); }
};

TEST_F(CommandLine, ImportAsciiWithMapHeaderAndEncoding)
{
    postavo::testing::writeBytes(dir + "/a.csv", "Last Name,City\r\n\"M\xC3\xBCller, Sr.\",K\xC3\xB6ln\r\nDoe,Rome\r\n");
    int code = 0;
    QString out = run({"import-ascii", dir + "/a.csv", address, "--rfc4180", "--skip-header"}, &code);
    EXPECT_EQ(code, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("reading " + dir + "/a.csv as UTF-8")) << out.toStdString();
    EXPECT_TRUE(out.contains("imported 2 records")) << out.toStdString();
    EXPECT_EQ(readBack(address, {"LNAME", "CITY"}), QStringList({QString::fromUtf8("Müller, Sr.|Köln"), "Doe|Rome"}));

    // Told it is Windows-1252, the UTF-8 bytes are taken as they stand.
    out = run({"import-ascii", dir + "/a.csv", address, "--map", "2=CITY,1=LNAME", "--encoding", "windows-1252"}, &code);
    EXPECT_EQ(code, 0) << out.toStdString();
    EXPECT_EQ(readBack(address, {"CITY"}).value(3), QString::fromUtf8("KÃ¶ln"));

    for (const QStringList& bad : {QStringList{"import-ascii", dir + "/a.csv", address},
                                   QStringList{"import-ascii", dir + "/a.csv", address, "--map", "9=LNAME"},
                                   QStringList{"import-ascii", dir + "/a.csv", address, "--map", "1=LNAME", "--encoding", "latin9"},
                                   QStringList{"import-ascii", dir + "/none.csv", address, "--map", "1=LNAME"}}) {
        out = run(bad, &code);
        EXPECT_EQ(code, 2) << bad.join(' ').toStdString() << ": " << out.toStdString();
    }
    EXPECT_EQ(readBack(address, {"LNAME"}).size(), 5);
    out = run({"check", address}, &code);
    EXPECT_EQ(code, 0) << out.toStdString();
}

TEST_F(CommandLine, ImportDbfOlderAndVCardThenExportWithFilterAndOrder)
{
    const QString v2 = dir + "/V2.DBF";
    ASSERT_TRUE(postavo::testing::makeAddressRecords(v2, {{{"LNAME", "Beta"}, {"CITY", "Oslo"}, {"MEMO", "b"}},
                                                          {{"LNAME", "Alpha"}, {"CITY", "Rome"}}}));
    int code = 0;
    QString out = run({"import-dbf", v2, address, "--older", "2"}, &code);
    EXPECT_EQ(code, 0) << out.toStdString();
    out = run({"import-dbf", v2, address, "--older", "1"}, &code);
    EXPECT_EQ(code, 2);
    EXPECT_TRUE(out.contains("does not appear to be a Postavo 1.x DBF")) << out.toStdString();
    out = run({"import-dbf", v2, address, "--map", "LNAME=LNAME,CITY=STATE"}, &code);
    EXPECT_EQ(code, 0) << out.toStdString();
    out = run({"import-dbf", address, address}, &code);
    EXPECT_EQ(code, 2);
    EXPECT_TRUE(out.contains("Cannot import a file to itself")) << out.toStdString();

    postavo::testing::writeBytes(dir + "/c.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Gamma;G\r\nADR:;;;Rome;;;\r\nEND:VCARD\r\n");
    out = run({"import-vcard", dir + "/c.vcf", address}, &code);
    EXPECT_EQ(code, 0) << out.toStdString();
    EXPECT_EQ(readBack(address, {"LNAME", "CITY", "STATE"}),
              QStringList({"Beta|Oslo|", "Alpha|Rome|", "Beta||Oslo", "Alpha||Rome", "Gamma|Rome|"}));

    out = run({"export", address, dir + "/rome.txt", "--filter", "CITY = \"Rome\"", "--order", "LNAME", "--encoding", "utf-8"}, &code);
    EXPECT_EQ(code, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("exported 2 records")) << out.toStdString();
    const QByteArray text = fileBytes(dir + "/rome.txt");
    EXPECT_TRUE(text.startsWith("\xEF\xBB\xBF\"\",\"\",\"\",\"Alpha\"")) << text.left(40).toStdString();
    out = run({"export", address, dir + "/rome.txt"}, &code);
    EXPECT_EQ(code, 2);
    EXPECT_TRUE(out.contains("--overwrite")) << out.toStdString();
    out = run({"export", address, dir + "/all.dbf"}, &code);
    EXPECT_EQ(code, 0) << out.toStdString();
    out = run({"check", dir + "/all.dbf"}, &code);
    EXPECT_EQ(code, 0) << out.toStdString();
    out = run({"export", address, dir + "/all.xls"}, &code);
    EXPECT_EQ(code, 2);
    out = run({"export", address, dir + "/x.txt", "--order", "NOSUCH"}, &code);
    EXPECT_EQ(code, 2);
    EXPECT_FALSE(QFile::exists(dir + "/x.txt"));
}

} // namespace
