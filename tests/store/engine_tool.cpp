// postavo-db from the outside: its commands, their output and exit statuses.
#include "addressschema.h"
#include "engine_support.h"
#include "support_validators.h"

#include <gtest/gtest.h>

using namespace postavo::engine;
using namespace enginetest;

namespace {

const std::string kTool = std::string(POSTAVO_BIN_DIR) + "/postavo-db";

struct Tool : ::testing::Test {
    std::string dir, path;
    void SetUp() override
    {
        dir = scratchDir(std::string("tool-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        path = dir + "/people.dbf";
        Table::create(path, {{"NAME", 'C', 10, 0}, {"CITY", 'C', 10, 0}, {"NOTES", 'M', 10, 0}});
        auto t = Table::open(path, OpenMode::Exclusive);
        const char* rows[][2] = {{"Smith", "Boston"}, {"adams", "Austin"}, {"Baker, J", "Boston"}, {"Gone", "Nowhere"}};
        for (auto& r : rows) {
            t->appendBlank();
            t->replace("NAME", r[0]);
            t->replace("CITY", r[1]);
        }
        t->replace("NOTES", "line1\r\nline \"2\"");
        t->deleteRecord();
        t->indexTags({{"NAME", "UPPER(NAME)"}, {"CITY", "UPPER(CITY)", "!DELETED()"}});
        t->close();
    }
    int tool(const std::string& args, std::string* out = nullptr)
    {
        return run(kTool + " " + args + " 2>" + dir + "/stderr.txt", out);
    }
    std::string stderrText() { auto b = readBytes(dir + "/stderr.txt"); return std::string(b.begin(), b.end()); }
};

} // namespace

TEST_F(Tool, InfoListsFieldsAndTags)
{
    std::string out;
    ASSERT_EQ(tool("info " + path, &out), 0);
    EXPECT_NE(out.find("records     4"), std::string::npos) << out;
    EXPECT_NE(out.find("deleted     1"), std::string::npos);
    EXPECT_NE(out.find("NAME       key UPPER(NAME)"), std::string::npos);
    EXPECT_NE(out.find("for !DELETED()"), std::string::npos);
}

TEST_F(Tool, DumpInOrderWithOptions)
{
    std::string out;
    ASSERT_EQ(tool("dump " + path + " --order name --recno", &out), 0);
    EXPECT_EQ(out, "RECNO,NAME,CITY,NOTES\n2,adams,Austin,\n3,\"Baker, J\",Boston,\n1,Smith,Boston,\n");
    ASSERT_EQ(tool("dump " + path + " --deleted --filter 'CITY = \"No\"'", &out), 0);
    EXPECT_EQ(out, "NAME,CITY,NOTES\nGone,Nowhere,\"line1\r\nline \"\"2\"\"\"\n");
    ASSERT_EQ(tool("count " + path + " --filter 'UPPER(CITY)=\"BOSTON\"'", &out), 0);
    EXPECT_EQ(out, "2\n");
}

TEST_F(Tool, SeekReportsEachKey)
{
    std::string out;
    EXPECT_EQ(tool("seek " + path + " --order NAME BAK SMITH", &out), 0);
    EXPECT_EQ(out, "found BAK: 3,\"Baker, J\",Boston,\nfound SMITH: 1,Smith,Boston,\n");
    EXPECT_EQ(tool("seek " + path + " --order NAME ZED", &out), 1);
    EXPECT_EQ(out, "not found ZED\n");
}

TEST_F(Tool, CheckFindsAnIndexThatDisagrees)
{
    std::string out;
    EXPECT_EQ(tool("check " + path, &out), 0) << out;
    // Change a record behind the index's back.
    auto b = readBytes(path);
    const size_t first = b[8] | (b[9] << 8);
    b[first + 1] = 'Z';
    writeBytes(path, b);
    EXPECT_EQ(tool("check " + path, &out), 1);
    EXPECT_NE(out.find("PROBLEM"), std::string::npos);
    EXPECT_NE(out.find("tag NAME"), std::string::npos) << out;
    ASSERT_EQ(tool("reindex " + path, &out), 0) << stderrText();
    EXPECT_EQ(out, "rebuilt 2 tags\n");
    EXPECT_EQ(tool("check " + path, &out), 0) << out;
}

TEST_F(Tool, PackRemovesDeletedRecords)
{
    std::string out;
    ASSERT_EQ(tool("pack " + path, &out), 0) << stderrText();
    EXPECT_EQ(out, "removed 1 deleted records, 3 remain\n");
    EXPECT_EQ(tool("check " + path, &out), 0) << out;
}

TEST_F(Tool, ErrorsGoToStderr)
{
    std::string out;
    EXPECT_NE(tool("info " + dir + "/missing.dbf", &out), 0);
    EXPECT_TRUE(out.empty());
    EXPECT_NE(stderrText().find("missing.dbf"), std::string::npos);
    EXPECT_NE(tool("dump " + path + " --order NOPE", &out), 0);
    EXPECT_NE(stderrText().find("NOPE"), std::string::npos);
    EXPECT_NE(tool("count " + path + " --filter 'NAME +'", &out), 0);
    EXPECT_NE(stderrText().find("NAME +"), std::string::npos);
    EXPECT_EQ(tool("frobnicate " + path, &out), 2);
    EXPECT_EQ(tool("", &out), 2);
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        EXPECT_NE(tool("pack " + path, &out), 0);  // someone else has it
        EXPECT_NE(stderrText().find("in use"), std::string::npos);
    }
}

// reindex repairs an address file's index from the address-file definition whatever state it
// is in; another table's tags live only in its index, so a damaged one is reported, not hidden.
TEST_F(Tool, ReindexRebuildsAnAddressFilesTagsEvenFromADamagedIndex)
{
    const std::string address = dir + "/ADD0001.DBF";
    Table::create(address, postavo::addressFieldSpecs());
    {
        auto t = Table::open(address, OpenMode::Exclusive);
        t->indexTags(postavo::addressTagSpecs());
        for (const char* name : {"Jones", "Adams", "Smith"}) {
            t->appendBlank();
            t->replace("LNAME", name);
        }
    }
    const std::string cdx = dir + "/ADD0001.cdx";
    std::string out;
    for (const bool remove : {false, true}) {
        SCOPED_TRACE(remove ? "missing index" : "damaged index");
        auto bytes = readBytes(cdx);
        std::fill(bytes.begin(), bytes.begin() + 1024, 0xFF);
        writeBytes(cdx, bytes);
        if (remove)
            fs::remove(cdx);
        ASSERT_EQ(tool("reindex " + address, &out), 0) << stderrText();
        EXPECT_NE(out.find("rebuilt 26 address tags"), std::string::npos) << out;
        ASSERT_EQ(tool("check " + address, &out), 0) << out;
        EXPECT_NE(out.find("3 records, 26 tags"), std::string::npos) << out;
        EXPECT_TABLE_VALID(address);
    }

    const std::string other = dir + "/people.cdx";
    auto bytes = readBytes(other);
    std::fill(bytes.begin(), bytes.begin() + 1024, 0xFF);
    writeBytes(other, bytes);
    EXPECT_EQ(tool("reindex " + path, &out), 1);
    EXPECT_NE(stderrText().find("cannot be rebuilt"), std::string::npos) << stderrText();
    EXPECT_NE(stderrText().find(other), std::string::npos) << stderrText();
    EXPECT_EQ(readBytes(other), bytes);   // left for another tool to look at
}

TEST_F(Tool, ReindexOfAnIndexWithoutTagsRemovesIt)
{
    const std::string cdx = dir + "/people.cdx";
    fs::remove(cdx);
    postavo::engine::CompoundIndex::create(cdx)->flush();
    std::string out;
    ASSERT_EQ(tool("reindex " + path, &out), 0) << stderrText();
    EXPECT_FALSE(fs::exists(cdx));
    EXPECT_FALSE(fs::exists(cdx + ".tmp"));
    EXPECT_EQ(tool("check " + path, &out), 0) << out;
}

TEST_F(Tool, CheckReportsRecordsPastTheCountAndRecoverAdoptsThem)
{
    auto b = readBytes(path);
    const std::size_t len = b[10] | (b[11] << 8);
    b.pop_back();
    std::vector<unsigned char> rec(len, ' ');
    rec[1] = 'L';
    rec[2] = 'a';
    rec[3] = 't';
    rec[4] = 'e';
    b.insert(b.end(), rec.begin(), rec.end());
    b.insert(b.end(), 5, 'x');
    writeBytes(path, b);
    std::string out;
    EXPECT_EQ(tool("check " + path, &out), 1);
    EXPECT_NE(out.find("1 whole records lie past the record count"), std::string::npos) << out;
    EXPECT_NE(out.find("5 bytes of a partial record"), std::string::npos) << out;
    EXPECT_EQ(readBytes(path), b);
    ASSERT_EQ(tool("recover " + path, &out), 0) << stderrText();
    EXPECT_EQ(out, "adopted 1 records, dropped 5 bytes of a partial record\n");
    ASSERT_EQ(tool("check " + path, &out), 0) << out;
    ASSERT_EQ(tool("seek " + path + " --order NAME LATE", &out), 0) << out;
    EXPECT_TABLE_VALID(path);
}
