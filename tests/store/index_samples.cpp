// The sample tables' indexes, written by an independent engine, read in exactly the order that
// engine reports for every tag, forwards and backwards, with seeks and structure checks.

#include "cdx.h"
#include "engine_error.h"
#include "index_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

using namespace postavo::engine;
using namespace indextest;

namespace {

KeyType typeOf(char c)
{
    switch (c) {
    case 'N': return KeyType::Numeric;
    case 'D': return KeyType::Date;
    case 'L': return KeyType::Logical;
    default: return KeyType::Character;
    }
}

std::unique_ptr<CompoundIndex> openSample(const std::string& base, const std::vector<DumpTag>& dump)
{
    auto resolver = [&](const TagInfo& t) {
        for (const DumpTag& d : dump)
            if (d.name == t.name || (d.key == t.keyExpr && d.keySize == t.keyLength))
                return typeOf(d.keyType);
        return KeyType::Character;
    };
    // The resolver sees tags before their names are set: match by name first is not possible,
    // so resolve again by name afterwards.
    auto ix = CompoundIndex::open((samplesDir() / (base + ".cdx")).string(), true, resolver);
    for (size_t i = 0; i < ix->tagCount(); ++i)
        for (const DumpTag& d : dump)
            if (d.name == ix->tag(i).name)
                ix->setKeyType(i, typeOf(d.keyType));
    return ix;
}

class SampleIndex : public ::testing::TestWithParam<const char*> {};

TEST_P(SampleIndex, EveryTagWalksInTheOrderOfItsDump)
{
    const std::string base = GetParam();
    auto dump = readTagDump(samplesDir() / (base + ".tagdump.txt"));
    ASSERT_FALSE(dump.empty());
    auto ix = openSample(base, dump);
    ASSERT_EQ(ix->tagCount(), dump.size());
    for (size_t i = 0; i < dump.size(); ++i) {
        const DumpTag& d = dump[i];
        const TagInfo& t = ix->tag(i);
        SCOPED_TRACE(base + " tag " + d.name);
        EXPECT_EQ(t.name, d.name);
        EXPECT_EQ(t.keyExpr, d.key);
        EXPECT_EQ(t.forExpr, d.forExpr);
        EXPECT_EQ(t.keyLength, d.keySize);
        EXPECT_EQ(t.descending, d.descending);
        EXPECT_EQ(t.unique, d.unique);
        EXPECT_EQ(ix->findTag(d.name), static_cast<int>(i));

        auto c = ix->cursor(i);
        std::vector<uint32_t> forward;
        for (bool ok = c->first(); ok; ok = c->next())
            forward.push_back(c->recno());
        EXPECT_EQ(forward, d.all);
        std::vector<uint32_t> backward;
        for (bool ok = c->last(); ok; ok = c->prev())
            backward.push_back(c->recno());
        std::reverse(backward.begin(), backward.end());
        EXPECT_EQ(backward, d.all);
        EXPECT_EQ(ix->keyCount(i), d.all.size());
    }
    EXPECT_EQ(ix->findTag("nosuchtag"), -1);
    EXPECT_TRUE(ix->check().empty()) << ix->check().front();
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleIndex, ::testing::Values("addr200", "keys", "types"));

std::string upperAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

TEST(SampleKeys, CharacterKeysMatchTheRecords)
{
    auto dump = readTagDump(samplesDir() / "addr200.tagdump.txt");
    auto ix = openSample("addr200", dump);
    HandDbf dbf(samplesDir() / "addr200.dbf");
    // FNAME: UPPER(FNAME); ZIP: UPPER(ZIP); NAME: UPPER(LNAME-FNAME).
    for (const char* field : {"FNAME", "ZIP"}) {
        int tag = ix->findTag(field);
        ASSERT_GE(tag, 0);
        auto c = ix->cursor(tag);
        size_t n = 0;
        for (bool ok = c->first(); ok; ok = c->next(), ++n)
            EXPECT_EQ(std::string(c->key()), upperAscii(dbf.field(c->recno(), field))) << field << " " << c->recno();
        EXPECT_EQ(n, dbf.records);
    }
    int name = ix->findTag("NAME");
    auto c = ix->cursor(name);
    for (bool ok = c->first(); ok; ok = c->next()) {
        std::string l = dbf.field(c->recno(), "LNAME"), f = dbf.field(c->recno(), "FNAME");
        size_t keep = l.find_last_not_of(' ') + 1;
        std::string expect = upperAscii(l.substr(0, keep) + f + std::string(l.size() - keep, ' '));
        EXPECT_EQ(std::string(c->key()), expect);
    }
}

TEST(SampleKeys, SeekFindsExactAndNextGreater)
{
    auto dump = readTagDump(samplesDir() / "keys.tagdump.txt");
    auto ix = openSample("keys", dump);
    int tag = ix->findTag("descript");
    ASSERT_GE(tag, 0);
    auto walk = ix->cursor(tag);
    std::vector<std::pair<std::string, uint32_t>> all;
    for (bool ok = walk->first(); ok; ok = walk->next())
        all.emplace_back(std::string(walk->key()), walk->recno());
    ASSERT_GE(all.size(), 3u);
    auto c = ix->cursor(tag);
    // Exact full key, then a prefix.
    EXPECT_TRUE(c->seek(all[2].first));
    EXPECT_EQ(c->recno(), all[2].second);
    EXPECT_TRUE(c->seek(all[2].first.substr(0, 2)));
    EXPECT_EQ(c->key().substr(0, 2), all[2].first.substr(0, 2));
    // A key between two entries lands on the greater one.
    std::string between = all[1].first;
    between.back() = '\x01';   // smaller than the blank that pads it
    if (between < all[1].first && between > all[0].first) {
        EXPECT_FALSE(c->seek(between));
        EXPECT_TRUE(c->valid());
        EXPECT_EQ(c->recno(), all[1].second);
    }
    EXPECT_FALSE(c->seek(std::string(30, '\xFF')));
    EXPECT_FALSE(c->valid());
    EXPECT_TRUE(c->seekEntry(all[1].first, all[1].second));
    EXPECT_FALSE(c->seekEntry(all[1].first, 9999));
}

TEST(SampleKeys, DescendingSeekStandsOnTheFirstMatchInItsOrder)
{
    auto dump = readTagDump(samplesDir() / "keys.tagdump.txt");
    auto ix = openSample("keys", dump);
    int tag = ix->findTag("DESCDN");
    ASSERT_GE(tag, 0);
    auto walk = ix->cursor(tag);
    std::vector<std::pair<std::string, uint32_t>> all;
    for (bool ok = walk->first(); ok; ok = walk->next())
        all.emplace_back(std::string(walk->key()), walk->recno());
    for (size_t i = 1; i < all.size(); ++i)
        EXPECT_GE(all[i - 1].first, all[i].first);
    auto c = ix->cursor(tag);
    EXPECT_TRUE(c->seek(all[3].first));
    // First in descending order among equal keys: the one that comes first in the walk.
    size_t firstEqual = 3;
    while (firstEqual > 0 && all[firstEqual - 1].first == all[3].first)
        --firstEqual;
    EXPECT_EQ(c->recno(), all[firstEqual].second);
    // Soft seek walks on to the next smaller key.
    std::string above = all[3].first;
    above.back() = '\x21';
    if (above > all[3].first && (firstEqual == 0 || above < all[firstEqual - 1].first)) {
        EXPECT_FALSE(c->seek(above));
        EXPECT_EQ(c->recno(), all[firstEqual].second);
    }
}

TEST(SampleKeys, WritingARealOnlyIndexIsRefused)
{
    auto dump = readTagDump(samplesDir() / "types.tagdump.txt");
    auto ix = openSample("types", dump);
    try {
        ix->insertKey(0, std::string(ix->tag(0).keyLength, 'A'), 1);
        FAIL() << "insert into a read-only index";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.kind(), EngineError::Kind::Usage);
    }
}

} // namespace
