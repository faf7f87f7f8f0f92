// The bytes we write, against the published layout: file and tag headers with FoxPro's
// documented values, leaf bit packing, record-number widths, interior entries.

#include "cdx.h"
#include "idx.h"
#include "index_test_util.h"

#include <gtest/gtest.h>

using namespace postavo::engine;
using namespace indextest;

namespace {

struct Bytes {
    std::string d;
    uint8_t u8(size_t o) const { return static_cast<uint8_t>(d.at(o)); }
    uint16_t le16(size_t o) const { return static_cast<uint16_t>(u8(o) | (u8(o + 1) << 8)); }
    uint32_t le32(size_t o) const { return le16(o) | (static_cast<uint32_t>(le16(o + 2)) << 16); }
    uint32_t be32(size_t o) const
    {
        return (static_cast<uint32_t>(u8(o)) << 24) | (u8(o + 1) << 16) | (u8(o + 2) << 8) | u8(o + 3);
    }
    uint32_t le24(size_t o) const { return u8(o) | (u8(o + 1) << 8) | (u8(o + 2) << 16); }
};

// A leaf decoder written from the layout description alone.
std::vector<std::pair<std::string, uint32_t>> decodeLeaf(const Bytes& b, size_t page, size_t keyLen, char pad)
{
    std::vector<std::pair<std::string, uint32_t>> out;
    unsigned n = b.le16(page + 2), recBits = b.u8(page + 20), dupBits = b.u8(page + 21), kb = b.u8(page + 23);
    uint32_t recMask = b.le32(page + 14);
    unsigned dupMask = b.u8(page + 18), trlMask = b.u8(page + 19);
    size_t end = page + 512;
    std::string prev;
    for (unsigned i = 0; i < n; ++i) {
        uint64_t v = 0;
        for (unsigned k = 0; k < kb; ++k)
            v |= static_cast<uint64_t>(b.u8(page + 24 + i * kb + k)) << (8 * k);
        uint32_t rec = static_cast<uint32_t>(v & recMask);
        size_t dup = (v >> recBits) & dupMask, trail = (v >> (recBits + dupBits)) & trlMask;
        size_t stored = keyLen - dup - trail;
        end -= stored;
        std::string key = prev.substr(0, dup) + b.d.substr(end, stored) + std::string(trail, pad);
        out.emplace_back(key, rec);
        prev = key;
    }
    return out;
}

TEST(IndexFormat, SmallCompoundIndexBytes)
{
    auto dir = scratchDir("format");
    auto path = dir / "small.cdx";
    {
        auto ix = CompoundIndex::create(path.string());
        ix->addTag({"NAME", "UPPER(NAME)", "", 10, KeyType::Character},
                   {{"BETA      ", 3}, {"ALPHABET  ", 2}, {"ALPHA     ", 1}});
        ix->flush();
    }
    Bytes b{readFile(path)};
    ASSERT_EQ(b.d.size(), 3072u);   // header pair, directory leaf, tag header pair, tag leaf
    // File header: free list -1, options compact + compound + structural (the bit other engines
    // use to tell the tag directory from a tag).
    EXPECT_EQ(b.le32(0), 1024u);
    EXPECT_EQ(b.le32(4), 0xFFFFFFFFu);
    EXPECT_EQ(b.le16(12), 10);
    EXPECT_EQ(b.u8(14), 0xE0);
    EXPECT_EQ(b.u8(15), 1);
    EXPECT_EQ(b.le16(502), 0);
    EXPECT_EQ(b.le16(506), 1);
    EXPECT_EQ(b.le16(510), 1);
    for (size_t o = 16; o < 502; ++o)
        ASSERT_EQ(b.u8(o), 0) << o;
    // Tag directory: one root leaf holding "NAME" -> header offset 1536.
    EXPECT_EQ(b.le16(1024), 3);
    EXPECT_EQ(b.le16(1026), 1);
    EXPECT_EQ(b.le32(1028), 0xFFFFFFFFu);
    EXPECT_EQ(b.le32(1032), 0xFFFFFFFFu);
    EXPECT_EQ(b.le32(1038), 0xFFFFu);   // record mask for 16 bits
    EXPECT_EQ(b.u8(1042), 0x0F);
    EXPECT_EQ(b.u8(1043), 0x0F);
    EXPECT_EQ(b.u8(1044), 16);
    EXPECT_EQ(b.u8(1045), 4);
    EXPECT_EQ(b.u8(1046), 4);
    EXPECT_EQ(b.u8(1047), 3);
    EXPECT_EQ(b.le24(1048), 1536u | (6u << 20));   // trailing 6 blanks, no duplicates
    EXPECT_EQ(b.d.substr(1532, 4), "NAME");
    EXPECT_EQ(b.le16(1036), 488 - 3 - 4);
    // Tag header.
    EXPECT_EQ(b.le32(1536), 2560u);
    EXPECT_EQ(b.le32(1540), 0xFFFFFFFFu);
    EXPECT_EQ(b.le16(1548), 10);
    EXPECT_EQ(b.u8(1550), 0x60);
    EXPECT_EQ(b.u8(1551), 1);
    EXPECT_EQ(b.le16(1536 + 502), 0);
    EXPECT_EQ(b.le16(1536 + 504), 12);
    EXPECT_EQ(b.le16(1536 + 506), 1);
    EXPECT_EQ(b.le16(1536 + 510), 12);
    EXPECT_EQ(b.d.substr(2048, 13), std::string("UPPER(NAME)\0\0", 13));
    // Tag leaf: record in the low bits, then duplicate count, then trailing count.
    const size_t leaf = 2560;
    EXPECT_EQ(b.le16(leaf), 3);
    EXPECT_EQ(b.le16(leaf + 2), 3);
    EXPECT_EQ(b.u8(leaf + 20), 16);
    EXPECT_EQ(b.u8(leaf + 23), 3);
    EXPECT_EQ(b.le24(leaf + 24), 1u | (0u << 16) | (5u << 20));   // ALPHA + 5 blanks
    EXPECT_EQ(b.le24(leaf + 27), 2u | (5u << 16) | (2u << 20));   // shares ALPHA, stores BET
    EXPECT_EQ(b.le24(leaf + 30), 3u | (0u << 16) | (6u << 20));   // BETA + 6 blanks
    EXPECT_EQ(b.d.substr(leaf + 507, 5), "ALPHA");
    EXPECT_EQ(b.d.substr(leaf + 504, 3), "BET");
    EXPECT_EQ(b.d.substr(leaf + 500, 4), "BETA");
    EXPECT_EQ(b.le16(leaf + 12), 488 - 9 - 12);
}

// Files written before the directory carried the structural bit, and tag headers that carry it
// by mistake, still open and read.
TEST(IndexFormat, DirectoryWithOrWithoutStructuralBitOpens)
{
    auto dir = scratchDir("format-structural");
    auto path = dir / "old.cdx";
    {
        auto ix = CompoundIndex::create(path.string());
        ix->addTag({"NAME", "UPPER(NAME)", "", 10, KeyType::Character}, {{"BETA      ", 2}, {"ALPHA     ", 1}});
        ix->addTag({"CODE", "CODE", "", 10, KeyType::Character}, {{"X         ", 1}});
        ix->flush();
    }
    std::string bytes = readFile(path);
    EXPECT_EQ(static_cast<uint8_t>(bytes[1536 + 14]), 0x60);   // tag headers keep 0x60
    bytes[14] = 0x60;
    bytes[1536 + 14] = char(0xE0);
    writeFile(path, bytes);
    auto ix = CompoundIndex::open(path.string(), true);
    ASSERT_EQ(ix->tagCount(), 2u);
    EXPECT_EQ(ix->keyCount(0), 2u);
    EXPECT_EQ(ix->tag(1).name, "CODE");
    EXPECT_TRUE(ix->check().empty());
}

TEST(IndexFormat, RecordNumberWidthGrowsPerPage)
{
    auto dir = scratchDir("format-width");
    auto path = dir / "wide.cdx";
    {
        auto ix = CompoundIndex::create(path.string());
        // 30-byte keys leave 14 record bits in three bytes; 20000 needs a fourth byte.
        ix->addTag({"K", "K", "", 30, KeyType::Character},
                   {{characterKey("A", 30), 20000}, {characterKey("B", 30), 5}});
        ix->addTag({"N", "N", "", 8, KeyType::Numeric}, {{numericKey(1.0), 7}, {numericKey(-2.5), 9}});
        ix->flush();
    }
    Bytes b{readFile(path)};
    uint32_t tagHeader = 1536;
    uint32_t root = b.le32(tagHeader);
    EXPECT_EQ(b.u8(root + 23), 4);
    EXPECT_EQ(b.u8(root + 20), 22);
    EXPECT_EQ(b.u8(root + 21), 5);
    EXPECT_EQ(b.u8(root + 22), 5);
    auto keys = decodeLeaf(b, root, 30, ' ');
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].second, 20000u);
    EXPECT_EQ(keys[1].first, characterKey("B", 30));
    // Numeric keys trail with zero bytes: 1.0 is BF F0 00 .. with six zero bytes cut.
    uint32_t nroot = b.le32(b.le32(0) == 1024 ? 1536 + 1024 + 512 : 0);
    auto nkeys = decodeLeaf(b, nroot, 8, '\0');
    ASSERT_EQ(nkeys.size(), 2u);
    EXPECT_EQ(nkeys[0], std::make_pair(numericKey(-2.5), 9u));
    EXPECT_EQ(nkeys[1], std::make_pair(numericKey(1.0), 7u));
    uint64_t v = b.le24(nroot + 24 + 3);
    EXPECT_EQ((v >> 20) & 0xF, 6u);
}

TEST(IndexFormat, InteriorEntriesNameTheLastKeyOfEachChild)
{
    auto dir = scratchDir("format-interior");
    auto path = dir / "big.cdx";
    {
        auto ix = CompoundIndex::create(path.string());
        std::vector<KeyEntry> e;
        for (uint32_t r = 1; r <= 400; ++r)
            e.push_back({characterKey("KEY" + std::to_string(r * 7919 % 1000), 12), r});
        ix->addTag({"K", "K", "", 12, KeyType::Character}, e);
        ix->flush();
    }
    Bytes b{readFile(path)};
    uint32_t root = b.le32(1536);
    ASSERT_EQ(b.le16(root), 1);   // interior root
    unsigned n = b.le16(root + 2);
    ASSERT_GE(n, 2u);
    EXPECT_EQ(b.le32(root + 4), 0xFFFFFFFFu);
    std::vector<std::pair<std::string, uint32_t>> all;
    uint32_t prevChild = 0xFFFFFFFFu;
    for (unsigned i = 0; i < n; ++i) {
        size_t e = root + 12 + i * 20;
        std::string key = b.d.substr(e, 12);
        uint32_t rec = b.be32(e + 12), child = b.be32(e + 16);
        ASSERT_EQ(b.le16(child), 2);
        EXPECT_EQ(b.le32(child + 4), prevChild);
        auto keys = decodeLeaf(b, child, 12, ' ');
        ASSERT_FALSE(keys.empty());
        EXPECT_EQ(keys.back(), std::make_pair(key, rec));
        all.insert(all.end(), keys.begin(), keys.end());
        prevChild = child;
    }
    EXPECT_EQ(all.size(), 400u);
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
}

TEST(IndexFormat, SingleIndexHeader)
{
    auto dir = scratchDir("format-idx");
    auto path = dir / "_chksz.idx";
    {
        TagInfo t{"", "UPPER(STATE+ZIP)", "", 30, KeyType::Character};
        auto ix = SingleIndex::create(path.string(), t);
        ix->insertKey(characterKey("NY10001", 30), 4);
        ix->flush();
    }
    Bytes b{readFile(path)};
    ASSERT_EQ(b.d.size(), 1536u);
    EXPECT_EQ(b.le32(0), 1024u);
    EXPECT_EQ(b.le32(4), 0xFFFFFFFFu);
    EXPECT_EQ(b.le16(12), 30);
    EXPECT_EQ(b.u8(14), 0x20);
    EXPECT_EQ(b.u8(15), 1);
    EXPECT_EQ(b.le16(510), 17);
    EXPECT_EQ(b.d.substr(512, 17), std::string("UPPER(STATE+ZIP)\0", 17));
    EXPECT_EQ(b.le16(1024), 3);
    auto keys = decodeLeaf(b, 1024, 30, ' ');
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0], std::make_pair(characterKey("NY10001", 30), 4u));
}

} // namespace
