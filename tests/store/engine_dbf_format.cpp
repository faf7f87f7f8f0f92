// The bytes the engine writes: header, field descriptors, records and memo blocks, as the
// FoxPro 2.x format lays them out.
#include "engine_support.h"

#include <gtest/gtest.h>

using namespace postavo::engine;
using namespace enginetest;

namespace {

std::uint32_t le32(const std::vector<unsigned char>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}
std::uint32_t be32(const std::vector<unsigned char>& b, size_t at)
{
    return (std::uint32_t(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

} // namespace

TEST(EngineDbfFormat, HeaderOfTableWithMemo)
{
    const std::string dir = scratchDir("fmt1");
    const std::string path = dir + "/T.DBF";
    Table::create(path, addressLikeFields());
    auto b = readBytes(path);
    ASSERT_EQ(b.size(), 32u + 5 * 32 + 1 + 1);
    EXPECT_EQ(b[0], 0xF5);
    EXPECT_LT(b[1], 100);  // year % 100
    EXPECT_EQ(le32(b, 4), 0u);
    EXPECT_EQ(b[8] | (b[9] << 8), 32 + 5 * 32 + 1);
    EXPECT_EQ(b[10] | (b[11] << 8), 1 + 20 + 8 + 1 + 8 + 10);
    EXPECT_EQ(b[28], 0x00);  // no structural index yet
    EXPECT_EQ(b[29], 0x03);  // Windows-1252
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&b[32]), 4), "NAME");
    EXPECT_EQ(b[32 + 4], 0);
    EXPECT_EQ(b[32 + 11], 'C');
    EXPECT_EQ(b[32 + 16], 20);
    EXPECT_EQ(b[64 + 11], 'N');
    EXPECT_EQ(b[64 + 16], 8);
    EXPECT_EQ(b[64 + 17], 2);
    EXPECT_EQ(b[160 + 11], 'M');
    EXPECT_EQ(b[160 + 16], 10);
    EXPECT_EQ(b[192], 0x0D);
    EXPECT_EQ(b[193], 0x1A);

    auto m = readBytes(dir + "/T.FPT");
    ASSERT_EQ(m.size(), 512u);
    EXPECT_EQ(be32(m, 0), 8u);        // first free block with 64-byte blocks
    EXPECT_EQ(m[6] << 8 | m[7], 64);  // block size
}

TEST(EngineDbfFormat, TableWithoutMemoIsVersion03AndHasNoMemoFile)
{
    const std::string dir = scratchDir("fmt2");
    Table::create(dir + "/plain.dbf", {{"A", 'C', 3, 0}});
    auto b = readBytes(dir + "/plain.dbf");
    EXPECT_EQ(b[0], 0x03);
    EXPECT_FALSE(fs::exists(dir + "/plain.fpt"));
}

TEST(EngineDbfFormat, RecordAndMemoBytes)
{
    const std::string dir = scratchDir("fmt3");
    const std::string path = dir + "/t.dbf";
    Table::create(path, addressLikeFields());
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        t->appendBlank();
        t->replace("name", "Caf\xE9");
        t->replace("PRICE", "1.5");
        t->replaceLogical("ACTIVE", true);
        t->replace("SOLD", "20000229");
        t->replace("NOTES", "hello memo");
        t->appendBlank();  // never assigned: all blanks
        t->close();
    }
    auto b = readBytes(path);
    const size_t hl = 193, rl = 48;
    ASSERT_EQ(b.size(), hl + 2 * rl + 1);
    EXPECT_EQ(le32(b, 4), 2u);
    const std::string rec1(reinterpret_cast<char*>(&b[hl]), rl);
    EXPECT_EQ(rec1, std::string(" Caf\xE9                    1.50T20000229         8"));
    const std::string rec2(reinterpret_cast<char*>(&b[hl + rl]), rl);
    EXPECT_EQ(rec2, std::string(rl, ' '));
    EXPECT_EQ(b.back(), 0x1A);

    auto m = readBytes(dir + "/t.fpt");
    ASSERT_GE(m.size(), 512u + 8 + 10);
    EXPECT_EQ(be32(m, 512), 1u);    // text block
    EXPECT_EQ(be32(m, 516), 10u);   // length
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&m[520]), 10), "hello memo");
    EXPECT_EQ(be32(m, 0), 9u);      // 18 bytes take one 64-byte block
}

TEST(EngineDbfFormat, NumbersThatDoNotFitShowStars)
{
    const std::string dir = scratchDir("fmt4");
    Table::create(dir + "/n.dbf", {{"N", 'N', 4, 1}});
    auto t = Table::open(dir + "/n.dbf", OpenMode::Exclusive);
    t->appendBlank();
    t->replaceNumber("N", 12345);
    EXPECT_EQ(t->getString("N"), "****");
    t->replace("N", "-2.25");
    EXPECT_EQ(t->getString("N"), "-2.2");
    EXPECT_THROW(t->replace("N", "abc"), EngineError);
}

TEST(EngineDbfFormat, BadFieldListsAreRefused)
{
    const std::string dir = scratchDir("fmt5");
    EXPECT_THROW(Table::create(dir + "/x.dbf", {}), EngineError);
    EXPECT_THROW(Table::create(dir + "/x.dbf", {{"TOOLONGNAME1", 'C', 5, 0}}), EngineError);
    EXPECT_THROW(Table::create(dir + "/x.dbf", {{"A", 'C', 5, 0}, {"a", 'C', 5, 0}}), EngineError);
    EXPECT_THROW(Table::create(dir + "/x.dbf", {{"A", 'X', 5, 0}}), EngineError);
    EXPECT_THROW(Table::create(dir + "/x.dbf", {{"A", 'C', 0, 0}}), EngineError);
}
