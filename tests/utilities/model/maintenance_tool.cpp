// postavo-db's maintenance commands: the same passes as the windows, from the command line, and
// the independent checkers on the files they leave.
#include "support_maintenance.h"

using namespace postavo;
using namespace postavo::testing;

namespace {

const QString kTool = QStringLiteral(POSTAVO_BIN_DIR "/postavo-db");

QString tool(const QStringList& args, int* code)
{
    return runTool(kTool, args, code);
}

Rows sample()
{
    return {person("Jones", "Mary", "12 Main Street", "NY", "10001"), person("JONES", "MARY", "12 Main St", "NY", "16000"),
            person("Smith", "John", "12 Main Street", "OK", "73102"), person("Smith", "Jon", "12 Main St", "OK", "73102"),
            person("Lee", "Ann", "9 Oak Ave", "ny", "10001")};
}

TEST(MaintenanceTool, CheckStatesListsRecordNumbersAndValues)
{
    const QString path = addressFile("states", sample());
    const QString sysdata = shippedSysdata("states");
    int code = -1;
    const QString out = tool({"check-states", path, "--csz", sysdata + "/CSZ.DBF"}, &code);
    EXPECT_EQ(code, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("2,NY,16000,JONES,MARY")) << out.toStdString();
    EXPECT_TRUE(out.contains("5,ny,10001,Lee,Ann")) << out.toStdString();
    EXPECT_TRUE(out.contains("Found 2 records with questionable state or zipcodes")) << out.toStdString();
    const QString missing = tool({"check-states", path, "--csz", sysdata + "/NONE.DBF"}, &code);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(missing.contains("The file CSZ.DBF has been removed")) << missing.toStdString();
}

TEST(MaintenanceTool, DuplicatesByEachKind)
{
    const QString path = addressFile("dups", sample());
    int code = -1;
    QString out = tool({"duplicates", path, "--by", "name"}, &code);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(out.contains("1 \"Jones Mary\" = 2 \"JONES MARY\"")) << out.toStdString();
    EXPECT_TRUE(out.contains("Found 1 possible duplicates")) << out.toStdString();
    out = tool({"duplicates", path, "--by", "street", "--chars", "10"}, &code);
    EXPECT_TRUE(out.contains("Found 3 possible duplicates")) << out.toStdString();
    out = tool({"duplicates", path, "--by", "similar"}, &code);
    EXPECT_TRUE(out.contains("3 \"Smith, John | 12 Main Street | 73102\"  ~  4 \"Smith, Jon | 12 Main St | 73102\""))
        << out.toStdString();
    out = tool({"duplicates", path, "--by", "shoe"}, &code);
    EXPECT_EQ(code, 2);
}

TEST(MaintenanceTool, BulkEditsWorkOnTheFilterOnlyAndLeaveSoundFiles)
{
    const QString path = addressFile("bulk", sample());
    int code = -1;
    QString out = tool({"convert-case", path, "--fields", "LNAME,FNAME", "--upper", "--filter", "UPPER(STATE)=\"OK\""},
                       &code);
    EXPECT_EQ(code, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("Converted 2 of 2 records")) << out.toStdString();
    out = tool({"replace", path, "--field", "STREET", "--find", "Street", "--with", "St"}, &code);
    EXPECT_EQ(code, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("Replaced 2 records")) << out.toStdString();
    out = tool({"replace", path, "--field", "STATE", "--find", QString(21, 'x'), "--with", "y"}, &code);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(out.contains("longer than the field")) << out.toStdString();
    out = tool({"replace", path, "--field", "STATE", "--find", "N", "--with", QString(20, 'n'), "--whole"}, &code);
    EXPECT_EQ(code, 0) << "a whole field of 20 fits";
    out = tool({"replace", path, "--field", "STATE", "--find", "n", "--with", "nn"}, &code);
    EXPECT_EQ(code, 1) << out.toStdString();
    EXPECT_TRUE(out.contains("nothing was replaced")) << out.toStdString();
    out = tool({"delete-records", path, "--not-filter", "UPPER(STATE)=\"OK\""}, &code);
    EXPECT_EQ(code, 0) << out.toStdString();
    EXPECT_TRUE(out.contains("Deleted 3 records")) << out.toStdString();
    out = tool({"dump", path, "--filter", "!ISDEL"}, &code);
    EXPECT_TRUE(out.contains("SMITH,JOHN,,,,,12 Main St,")) << out.toStdString();
    EXPECT_EQ(out.count('\n'), 3) << out.toStdString();
    EXPECT_TRUE(engineProblems(path).empty());
}

TEST(MaintenanceTool, AFileAnotherProgramHoldsIsReportedAndLeftAlone)
{
    const QString path = addressFile("held", sample());
    const QByteArray before = readBytes(path);
    AddressTable holder;
    ASSERT_TRUE(holder.open(path));  // exclusive, as the main window holds it
    int code = -1;
    const QString out = tool({"delete-records", path, "--all"}, &code);
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(out.isEmpty());
    holder.close();
    EXPECT_EQ(readBytes(path), before);
}

} // namespace
