// The bytes the engine writes: header, field descriptors, records and memo blocks, as the
// FoxPro 2.x format lays them out.
#include "engine_support.h"

#include <gtest/gtest.h>

#include <tuple>

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
    EXPECT_EQ(le32(b, 32 + 12), 1u);   // displacement of the first field
    EXPECT_EQ(le32(b, 64 + 12), 21u);
    EXPECT_EQ(b[64 + 11], 'N');
    EXPECT_EQ(b[64 + 16], 8);
    EXPECT_EQ(b[64 + 17], 2);
    EXPECT_EQ(b[160 + 11], 'M');
    EXPECT_EQ(b[160 + 16], 10);
    EXPECT_EQ(b[192], 0x0D);
    EXPECT_EQ(b[193], 0x1A);

    auto m = readBytes(dir + "/T.fpt");
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

namespace {

// A table header built by hand, for the foreign kinds we read but never write.
std::vector<unsigned char> foreignTable(unsigned char version, const std::vector<std::tuple<std::string, char, int, int>>& fields,
                                        const std::vector<std::string>& records, int extraHeader = 0)
{
    const size_t n = fields.size();
    const size_t hl = 32 + 32 * n + 1 + size_t(extraHeader);
    size_t rl = 1;
    for (auto& f : fields)
        rl += size_t(std::get<2>(f));
    std::vector<unsigned char> b(32, 0);
    b[0] = version;
    b[1] = 99; b[2] = 12; b[3] = 31;
    b[4] = static_cast<unsigned char>(records.size());
    b[8] = hl & 0xFF; b[9] = static_cast<unsigned char>(hl >> 8);
    b[10] = rl & 0xFF; b[11] = static_cast<unsigned char>(rl >> 8);
    for (auto& [name, type, len, dec] : fields) {
        std::vector<unsigned char> d(32, 0);
        std::copy(name.begin(), name.end(), d.begin());
        d[11] = static_cast<unsigned char>(type);
        d[16] = static_cast<unsigned char>(len);
        d[17] = static_cast<unsigned char>(dec);
        b.insert(b.end(), d.begin(), d.end());
    }
    b.push_back(0x0D);
    b.insert(b.end(), size_t(extraHeader), 0);
    for (auto& r : records)
        b.insert(b.end(), r.begin(), r.end());
    b.push_back(0x1A);
    return b;
}

template <typename T>
std::string bytesOf(T v)
{
    return std::string(reinterpret_cast<const char*>(&v), sizeof v);
}

} // namespace

TEST(EngineDbfFormat, ReadsDbaseTablesWithDbtMemos)
{
    const std::string dir = scratchDir("fmt-dbase");
    // dBASE III: text up to the end-of-file mark in 512-byte blocks.
    writeBytes(dir + "/three.dbf", foreignTable(0x83, {{"NAME", 'C', 4, 0}, {"NOTES", 'M', 10, 0}},
                                               {" abcd         1", " efgh          "}));
    std::vector<unsigned char> dbt(512, 0);
    dbt[0] = 2;
    const std::string text = "third memo\r\n";
    dbt.insert(dbt.end(), text.begin(), text.end());
    dbt.push_back(0x1A);
    dbt.push_back(0x1A);
    writeBytes(dir + "/three.dbt", dbt);
    auto t = Table::open(dir + "/three.dbf", OpenMode::ReadOnly);
    EXPECT_EQ(t->getMemo("NOTES"), text);
    t->skip();
    EXPECT_EQ(t->getMemo("NOTES"), "");
    EXPECT_THROW(Table::open(dir + "/three.dbf", OpenMode::Exclusive)->replace("NOTES", "x"), EngineError);

    // dBASE IV: block header FF FF 08 00 and a length that counts the header.
    writeBytes(dir + "/four.dbf", foreignTable(0x8B, {{"NOTES", 'M', 10, 0}}, {"          1"}));
    std::vector<unsigned char> dbt4(512, 0);
    dbt4[20] = 0x00; dbt4[21] = 0x02;  // 512-byte blocks
    const std::string four = "four";
    std::vector<unsigned char> block = {0xFF, 0xFF, 0x08, 0x00, 12, 0, 0, 0};
    block.insert(block.end(), four.begin(), four.end());
    dbt4.insert(dbt4.end(), block.begin(), block.end());
    dbt4.resize(1024, 0);
    writeBytes(dir + "/four.dbt", dbt4);
    EXPECT_EQ(Table::open(dir + "/four.dbf", OpenMode::ReadOnly)->getMemo("NOTES"), "four");
}

TEST(EngineDbfFormat, ReadsVisualFoxProBinaryTypes)
{
    const std::string dir = scratchDir("fmt-vfp");
    const std::string rec = " " + bytesOf<int32_t>(-7) + bytesOf<int64_t>(123456) + bytesOf<int32_t>(2451604)
        + bytesOf<int32_t>(0) + bytesOf<double>(3.25);
    writeBytes(dir + "/v.dbf", foreignTable(0x30, {{"I", 'I', 4, 0}, {"Y", 'Y', 8, 4}, {"T", 'T', 8, 0}, {"B", 'B', 8, 2}},
                                           {rec}, 263));
    auto t = Table::open(dir + "/v.dbf", OpenMode::ReadOnly);
    EXPECT_EQ(t->getNumber("I"), -7);
    EXPECT_DOUBLE_EQ(t->getNumber("Y"), 12.3456);
    EXPECT_EQ(t->getDateString("T"), "02/29/2000");
    EXPECT_DOUBLE_EQ(t->getNumber("B"), 3.25);
    EXPECT_FALSE(t->isEmpty("I"));
}
