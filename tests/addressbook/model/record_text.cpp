// A record as clipboard text: the lines of each group, what is left out, the limits, and the
// same text from postavo-db record-text.
#include "addressdata.h"
#include "addressfile.h"
#include "recordtext.h"
#include "testsupport.h"

#include <QMap>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::testing;

namespace {

QString text(const QMap<QString, QString>& r, const RecordTextGroups& g = {})
{
    return recordAsString([&](const char* f) { return r.value(QString::fromLatin1(f)); }, g);
}

TEST(RecordText, LinesOfEachGroup)
{
    const QMap<QString, QString> full{
        {"PREFIX", "Dr."}, {"FNAME", "Ann"}, {"MIDDLE", "B"}, {"LNAME", "Cole"}, {"TITLE", "Chair"},
        {"ORG", "Acme"}, {"STREET", "1 Main St"}, {"STREET2", "Suite 2"}, {"CITY", "Dover"}, {"STATE", "NH"},
        {"ZIP", "03820"}, {"COUNTRY", "USA"}, {"PHONE", "(555) 123-4567"}, {"PHONE2", "555-9999"},
        {"CODES", "ABC"}, {"USER1", "one"}, {"USER2", "two"}};
    EXPECT_EQ(text(full),
              "Dr. Ann B. Cole \r\nChair\r\nAcme\r\n1 Main St\r\nSuite 2\r\nDover  NH 03820\r\nUSA \r\n"
              "Phone  :(555) 123-4567\r\nPhone 2:555-9999\r\nCodes :ABC\r\nComment 1 :one\r\nComment 2 :two\r\n");
    RecordTextGroups phonesOnly = RecordTextGroups::none();
    phonesOnly.phones = true;
    EXPECT_EQ(text(full, phonesOnly), "Phone  :(555) 123-4567\r\nPhone 2:555-9999\r\n");
    EXPECT_EQ(text(full, RecordTextGroups::none()), "");
}

TEST(RecordText, MissingValuesLeaveNoLinesNorBlanks)
{
    EXPECT_EQ(text({{"LNAME", "Cole"}}), "Cole \r\n");
    EXPECT_EQ(text({{"CITY", "Dover"}, {"ZIP", "03820"}}), "Dover  03820\r\n");
    EXPECT_EQ(text({{"STATE", "NH"}}), " NH \r\n") << "the state alone keeps the blank that separates it";
    EXPECT_EQ(text({{"PHONE", "     "}, {"CODES", "  "}, {"MIDDLE", " "}}), "");
    EXPECT_EQ(text({{"FNAME", "Ann  "}, {"MIDDLE", "B"}}), "Ann B. \r\n");
}

TEST(RecordText, LongLinesAndTextsAreCutAtTheLimits)
{
    QMap<QString, QString> r;
    for (const char* f : {"STREET", "STREET2", "TITLE", "ORG", "USER1", "USER2", "CODES"})
        r.insert(f, QString(250, QLatin1Char('x')));
    const QString t = text(r);
    EXPECT_EQ(t.size(), kRecordTextMaxLength);
    EXPECT_TRUE(t.endsWith("\r\n"));
    for (const QString& line : t.split("\r\n", Qt::SkipEmptyParts))
        EXPECT_LE(line.size(), kRecordTextMaxLine);
}

TEST(RecordText, GroupNamesOfTheCommandLine)
{
    QString error;
    const auto g = parseRecordTextGroups(" Name,phones ", &error);
    ASSERT_TRUE(g);
    EXPECT_TRUE(g->name && g->phones && !g->address && !g->codes && !g->comments);
    EXPECT_FALSE(parseRecordTextGroups("name,fax", &error));
    EXPECT_TRUE(error.contains("fax"));
}

TEST(RecordText, TheTableAndTheToolGiveTheSameText)
{
    const QString dir = scratchDir("record_text");
    const QString path = dir + "/TXT.DBF";
    ASSERT_TRUE(makeAddressRecords(path, {{{"LNAME", "Zoë"}, {"CITY", "Montréal"}, {"PHONE", "555"}},
                                          {{"LNAME", "Two"}, {"CODES", "X"}}}));
    AddressTable t;
    ASSERT_TRUE(t.open(path));
    ASSERT_TRUE(t.goTo(1));
    EXPECT_EQ(GetRecordAsString(t, true, true, true, true, true), "Zoë \r\nMontréal  \r\nPhone  :555\r\n");
    t.close();

    int code = 0;
    const QString tool = POSTAVO_BIN_DIR "/postavo-db";
    EXPECT_EQ(runTool(tool, {"record-text", path, "--record", "1"}, &code), "Zoë \r\nMontréal  \r\nPhone  :555\r\n");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(runTool(tool, {"record-text", path, "--record", "2", "--groups", "codes"}, &code), "Codes :X\r\n");
    runTool(tool, {"record-text", path, "--record", "3"}, &code);
    EXPECT_EQ(code, 1);
    runTool(tool, {"record-text", path, "--record", "1", "--groups", "bogus"}, &code);
    EXPECT_EQ(code, 2);
}

} // namespace
