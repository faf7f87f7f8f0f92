// Damaged index files: every kind of lie a page can tell gives EngineError (Corrupt, naming the
// file) when opened or walked; never a crash, a hang or a read outside the file.

#include "cdx.h"
#include "engine_error.h"
#include "idx.h"
#include "index_test_util.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace postavo::engine;
using namespace indextest;

namespace {

struct Image {
    std::string d;
    uint32_t le32(size_t o) const
    {
        return static_cast<uint8_t>(d[o]) | (static_cast<uint8_t>(d[o + 1]) << 8)
               | (static_cast<uint8_t>(d[o + 2]) << 16) | (static_cast<uint32_t>(static_cast<uint8_t>(d[o + 3])) << 24);
    }
    uint16_t le16(size_t o) const { return static_cast<uint16_t>(static_cast<uint8_t>(d[o]) | (static_cast<uint8_t>(d[o + 1]) << 8)); }
    uint32_t be32(size_t o) const
    {
        return (static_cast<uint32_t>(static_cast<uint8_t>(d[o])) << 24) | (static_cast<uint8_t>(d[o + 1]) << 16)
               | (static_cast<uint8_t>(d[o + 2]) << 8) | static_cast<uint8_t>(d[o + 3]);
    }
    void put32(size_t o, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            d[o + i] = static_cast<char>(v >> (8 * i));
    }
    void put16(size_t o, uint16_t v)
    {
        d[o] = static_cast<char>(v);
        d[o + 1] = static_cast<char>(v >> 8);
    }
    void putBE32(size_t o, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            d[o + i] = static_cast<char>(v >> (24 - 8 * i));
    }
};

// A compound index with two tags, the first three levels deep.
std::string buildSample(const std::filesystem::path& dir)
{
    auto path = dir / "base.cdx";
    auto ix = CompoundIndex::create(path.string());
    std::vector<KeyEntry> a, b;
    for (uint32_t r = 1; r <= 3000; ++r) {
        a.push_back({characterKey("NAME" + std::to_string(r * 7919 % 3001), 40), r});
        b.push_back({numericKey(r * 1.5 - 100), r});
    }
    ix->addTag({"NAME", "UPPER(NAME)", "", 40, KeyType::Character}, a);
    ix->addTag({"AMOUNT", "AMOUNT", "", 8, KeyType::Numeric}, b);
    ix->flush();
    ix.reset();
    return readFile(path);
}

// Opens and uses every part of the file; returns the error kind, or nothing when it all works.
std::optional<EngineError::Kind> exercise(const std::string& path, bool single = false)
{
    try {
        auto walkAll = [](IndexCursor& c, size_t limit) {
            size_t n = 0;
            for (bool ok = c.first(); ok && n < limit; ok = c.next())
                ++n;
            EXPECT_LT(n, limit) << "walk did not end";
            n = 0;
            for (bool ok = c.last(); ok && n < limit; ok = c.prev())
                ++n;
            EXPECT_LT(n, limit) << "walk did not end";
            c.seek("NAME1");
            c.seek(std::string(1, '\x80'));
        };
        if (single) {
            auto ix = SingleIndex::open(path, false);
            auto c = ix->cursor();
            walkAll(*c, 1000000);
            ix->keyCount();
            ix->check();
            ix->insertKey(std::string(ix->tag().keyLength, 'M'), 77);
            ix->deleteKey(std::string(ix->tag().keyLength, 'M'), 77);
            ix->flush();
            return std::nullopt;
        }
        auto ix = CompoundIndex::open(path, false);
        for (size_t t = 0; t < ix->tagCount(); ++t) {
            auto c = ix->cursor(t);
            walkAll(*c, 1000000);
            ix->keyCount(t);
            ix->insertKey(t, std::string(ix->tag(t).keyLength, 'M'), 77);
            ix->deleteKey(t, std::string(ix->tag(t).keyLength, 'M'), 77);
        }
        ix->check();
        ix->flush();
        return std::nullopt;
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        return e.kind();
    }
}

class DamagedIndex : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = scratchDir("damaged");
        base.d = buildSample(dir);
        dirLeaf = base.le32(0);
        // Tag headers from the directory leaf: 4-byte entries (offsets need 16 bits here).
        tagHeader = 1536;
        tagRoot = base.le32(tagHeader);
        firstChild = base.be32(tagRoot + 12 + 40 + 4);
        firstLeaf = firstChild;
        while (base.le16(firstLeaf) == 0)
            firstLeaf = base.be32(firstLeaf + 12 + 40 + 4);
    }
    std::optional<EngineError::Kind> run(const Image& img)
    {
        std::string path = (dir / "bad.cdx").string();
        writeFile(path, img.d);
        return exercise(path);
    }
    std::filesystem::path dir;
    Image base;
    uint32_t dirLeaf = 0, tagHeader = 0, tagRoot = 0, firstChild = 0, firstLeaf = 0;
};

TEST_F(DamagedIndex, TheUndamagedSampleWorks)
{
    EXPECT_EQ(base.le16(tagRoot), 1);
    EXPECT_EQ(base.le16(firstChild), 0) << "three levels expected";
    EXPECT_EQ(run(base), std::nullopt);
}

TEST_F(DamagedIndex, TruncatedFiles)
{
    for (size_t size : {size_t(0), size_t(100), size_t(1000), base.d.size() - 512, base.d.size() - 1}) {
        Image img = base;
        img.d.resize(size);
        EXPECT_EQ(run(img), EngineError::Kind::Corrupt) << size;
    }
    Image longer = base;
    longer.d += std::string(100, '\0');
    EXPECT_EQ(run(longer), EngineError::Kind::Corrupt);
}

TEST_F(DamagedIndex, PointersOutOfRangeOrLooping)
{
    std::vector<std::function<void(Image&)>> damages = {
        [&](Image& i) { i.put32(tagHeader, 0xFFFFFE00u); },                     // root outside
        [&](Image& i) { i.put32(tagHeader, 1537); },                            // root not on a page
        [&](Image& i) { i.put32(0, 0x7FFFFE00u); },                             // directory root outside
        [&](Image& i) { i.putBE32(tagRoot + 12 + 40 + 4, tagRoot); },           // child is its parent
        [&](Image& i) { i.putBE32(firstChild + 12 + 40 + 4, firstChild); },     // interior loop
        [&](Image& i) { i.put32(firstLeaf + 8, firstLeaf); },                   // leaf chain loop
        [&](Image& i) {                                                          // chain runs back
            uint32_t second = i.le32(firstLeaf + 8);
            i.put32(second + 8, firstLeaf);
        },
        [&](Image& i) { i.put32(firstLeaf + 8, 0x00FFFE00u); },                 // sibling outside
        [&](Image& i) { i.put32(4, 2048); i.put32(2048, 2048); },               // free list loop
        [&](Image& i) { i.put32(4, 0x7FFFFE00u); },                             // free list outside
        [&](Image& i) { i.put32(dirLeaf + 24, 0xFFFFFF); },                     // tag header outside
    };
    for (size_t k = 0; k < damages.size(); ++k) {
        Image img = base;
        damages[k](img);
        EXPECT_EQ(run(img), EngineError::Kind::Corrupt) << "damage " << k;
    }
}

TEST_F(DamagedIndex, CountsAndLengthsThatOverflow)
{
    std::vector<std::function<void(Image&)>> damages = {
        [&](Image& i) { i.put16(firstLeaf + 2, 400); },                          // keys overflow leaf
        [&](Image& i) { i.put16(firstChild + 2, 40); },                          // interior overflow
        [&](Image& i) { i.put16(firstChild + 2, 0); },                           // interior empty
        [&](Image& i) { i.d[firstLeaf + 24 + 2] = static_cast<char>(0xFF); },    // dup+trail > key
        [&](Image& i) { i.d[firstLeaf + 23] = 0; },                              // no entry bytes
        [&](Image& i) { i.d[firstLeaf + 20] = 60; },                             // widths > entry
        [&](Image& i) { i.put16(tagHeader + 12, 0); },                           // key length 0
        [&](Image& i) { i.put16(tagHeader + 12, 300); },                         // key length 300
        [&](Image& i) { i.put16(tagHeader + 510, 2000); },                       // pool length
        [&](Image& i) {                                                          // no NUL in pool
            for (size_t o = 0; o < 512; ++o)
                i.d[tagHeader + 512 + o] = 'X';
        },
        [&](Image& i) { i.put16(tagRoot, 9); },                                  // bad attributes
        [&](Image& i) { i.put16(firstChild, 2); },                               // interior as leaf
        [&](Image& i) { i.put16(12, 11); },                                      // directory key length
    };
    for (size_t k = 0; k < damages.size(); ++k) {
        Image img = base;
        damages[k](img);
        EXPECT_EQ(run(img), EngineError::Kind::Corrupt) << "damage " << k;
    }
}

TEST_F(DamagedIndex, CheckNamesStructuralProblems)
{
    // A wrong interior key or a wrong sibling link still reads, but check() reports it.
    Image img = base;
    img.d[firstChild + 12] = 'A';
    std::string path = (dir / "check.cdx").string();
    writeFile(path, img.d);
    auto ix = CompoundIndex::open(path, true);
    auto problems = ix->check();
    ASSERT_FALSE(problems.empty());
    EXPECT_NE(problems.front().find("NAME"), std::string::npos) << problems.front();
    Image links = base;
    links.put32(firstLeaf + 4, firstLeaf);
    writeFile(path, links.d);
    EXPECT_FALSE(CompoundIndex::open(path, true)->check().empty());
    Image shared = base;   // a leaf of the second tag reused inside the first
    uint32_t amountRoot = shared.le32(shared.le32(dirLeaf + 24 + 0) & 0xFFFF);
    (void)amountRoot;
    shared.putBE32(firstChild + 12 + 40 + 4, shared.le32(0));   // points at the directory leaf
    writeFile(path, shared.d);
    try {
        auto problemsShared = CompoundIndex::open(path, true)->check();
        EXPECT_FALSE(problemsShared.empty());
    } catch (const EngineError& e) {
        EXPECT_EQ(e.kind(), EngineError::Kind::Corrupt);
    }
}

TEST_F(DamagedIndex, RandomDamageNeverCrashes)
{
    std::mt19937 rng(11);
    int errors = 0;
    for (int round = 0; round < 400; ++round) {
        Image img = base;
        int changes = 1 + static_cast<int>(rng() % 6);
        for (int c = 0; c < changes; ++c) {
            size_t page = (rng() % (img.d.size() / 512)) * 512;
            size_t off = rng() % 4 ? rng() % 32 : rng() % 512;   // mostly page headers
            img.d[page + off] = static_cast<char>(rng());
        }
        if (run(img))
            ++errors;
    }
    EXPECT_GT(errors, 0);
}

TEST(DamagedSingleIndex, TruncatedAndLoopingFiles)
{
    auto dir = scratchDir("damaged-idx");
    std::string path = (dir / "s.idx").string();
    {
        auto ix = SingleIndex::create(path, {"", "ZIP", "", 10, KeyType::Character});
        for (uint32_t r = 1; r <= 500; ++r)
            ix->insertKey(characterKey(std::to_string(r * 37 % 501), 10), r);
    }
    Image base{readFile(path)};
    EXPECT_EQ(exercise(path, true), std::nullopt);
    Image cut = base;
    cut.d.resize(700);
    writeFile(path, cut.d);
    EXPECT_EQ(exercise(path, true), EngineError::Kind::Corrupt);
    Image loop = base;
    uint32_t root = loop.le32(0);
    loop.putBE32(root + 12 + 10 + 4, root);
    writeFile(path, loop.d);
    EXPECT_EQ(exercise(path, true), EngineError::Kind::Corrupt);
}

} // namespace
