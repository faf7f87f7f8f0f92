// Building, inserting and deleting against a model: the tags must always walk like a sorted
// set of (key, record) pairs, survive closing and opening, and stay structurally sound.

#include "cdx.h"
#include "engine_error.h"
#include "index_test_util.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace postavo::engine;
using namespace indextest;

namespace {

using Model = std::set<std::pair<std::string, uint32_t>>;

// Keys with long shared prefixes and varying trailing padding, so leaves compress unevenly.
std::string randomKey(std::mt19937& rng, size_t len, char pad)
{
    static const char letters[] = "AAAABBCDEFGHMNSTZ";
    std::string k(len, pad);
    size_t used = 1 + rng() % len;
    for (size_t i = 0; i < used; ++i)
        k[i] = letters[rng() % (sizeof letters - 1)];
    if (rng() % 4 == 0 && used > 3)
        k[used / 2] = pad;   // a pad byte inside the key
    return k;
}

std::vector<std::pair<std::string, uint32_t>> walk(IndexCursor& c, bool backwards = false)
{
    std::vector<std::pair<std::string, uint32_t>> out;
    if (!backwards) {
        for (bool ok = c.first(); ok; ok = c.next())
            out.emplace_back(std::string(c.key()), c.recno());
    } else {
        for (bool ok = c.last(); ok; ok = c.prev())
            out.emplace_back(std::string(c.key()), c.recno());
        std::reverse(out.begin(), out.end());
    }
    return out;
}

void expectSame(CompoundIndex& ix, size_t tag, const Model& model)
{
    auto c = ix.cursor(tag);
    std::vector<std::pair<std::string, uint32_t>> expect(model.begin(), model.end());
    ASSERT_EQ(walk(*c), expect);
    ASSERT_EQ(walk(*c, true), expect);
    ASSERT_EQ(ix.keyCount(tag), model.size());
}

TagInfo makeTag(const std::string& name, uint16_t len, KeyType type = KeyType::Character)
{
    TagInfo t;
    t.name = name;
    t.keyExpr = "UPPER(" + name + ")";
    t.keyLength = len;
    t.keyType = type;
    return t;
}

struct Shape {
    uint16_t keyLen;
    uint32_t maxRec;
    KeyType type;
};

class RoundTrip : public ::testing::TestWithParam<Shape> {};

TEST_P(RoundTrip, RandomOperationsMatchTheModel)
{
    const Shape shape = GetParam();
    const char pad = shape.type == KeyType::Character ? ' ' : '\0';
    auto dir = scratchDir("roundtrip-" + std::to_string(shape.keyLen) + "-" + std::to_string(shape.maxRec));
    const std::string path = (dir / "t.cdx").string();
    std::mt19937 rng(shape.keyLen * 7919 + shape.maxRec);
    auto recno = [&] { return 1 + static_cast<uint32_t>(rng() % shape.maxRec); };

    Model a, b;
    {
        auto ix = CompoundIndex::create(path);
        std::vector<KeyEntry> entries;
        for (int i = 0; i < 3000; ++i) {
            KeyEntry e{randomKey(rng, shape.keyLen, pad), recno()};
            a.emplace(e.key, e.recno);
            entries.push_back(e);
        }
        int lastPercent = -1;
        ix->addTag(makeTag("FIRST", shape.keyLen, shape.type), entries, [&](int p) {
            EXPECT_GE(p, lastPercent);
            lastPercent = p;
        });
        EXPECT_EQ(lastPercent, 100);
        ix->addTag(makeTag("SECOND", shape.keyLen, shape.type), {});
        expectSame(*ix, 0, a);
        expectSame(*ix, 1, b);
        // Interleaved changes on both tags: inserts first (splits), then mostly deletes (merges).
        for (int round = 0; round < 4; ++round) {
            int inserts = round < 2 ? 4000 : 500;
            int deletes = round < 2 ? 1000 : 4000;
            for (int i = 0; i < inserts + deletes; ++i) {
                Model& m = (i % 2) ? a : b;
                size_t tag = (i % 2) ? 0 : 1;
                bool insert = static_cast<int>(rng() % (inserts + deletes)) < inserts || m.empty();
                if (insert) {
                    std::string k = randomKey(rng, shape.keyLen, pad);
                    uint32_t r = recno();
                    bool fresh = m.emplace(k, r).second;
                    ASSERT_EQ(ix->insertKey(tag, k, r), fresh);
                } else {
                    auto it = m.begin();
                    std::advance(it, rng() % m.size());
                    ASSERT_TRUE(ix->deleteKey(tag, it->first, it->second));
                    m.erase(it);
                    ASSERT_FALSE(ix->deleteKey(tag, std::string(shape.keyLen, 'Q'), 7));
                }
            }
            expectSame(*ix, 0, a);
            expectSame(*ix, 1, b);
            auto problems = ix->check();
            ASSERT_TRUE(problems.empty()) << problems.front();
        }
        ix->flush();
    }
    auto ix = CompoundIndex::open(path, false);
    ix->setCacheLimit(4);   // pages come and go from memory at each flush below
    ASSERT_EQ(ix->tagCount(), 2u);
    EXPECT_EQ(ix->tag(0).name, "FIRST");
    EXPECT_EQ(ix->tag(1).name, "SECOND");
    ix->setKeyType(0, shape.type);
    ix->setKeyType(1, shape.type);
    expectSame(*ix, 0, a);
    expectSame(*ix, 1, b);
    // Empty a tag completely, then fill it again one by one.
    size_t done = 0;
    for (auto& [k, r] : b) {
        ASSERT_TRUE(ix->deleteKey(1, k, r));
        if (++done % 100 == 0)
            ix->flush();
    }
    b.clear();
    expectSame(*ix, 1, b);
    for (int i = 0; i < 2000; ++i) {
        std::string k = randomKey(rng, shape.keyLen, pad);
        uint32_t r = recno();
        ASSERT_EQ(ix->insertKey(1, k, r), b.emplace(k, r).second);
        if (i % 150 == 0)
            ix->flush();
    }
    expectSame(*ix, 1, b);
    ix->flush();
    expectSame(*ix, 0, a);
    auto problems = ix->check();
    ASSERT_TRUE(problems.empty()) << problems.front();
}

INSTANTIATE_TEST_SUITE_P(Shapes, RoundTrip,
                         ::testing::Values(Shape{30, 5000, KeyType::Character},
                                           Shape{1, 100000, KeyType::Character},
                                           Shape{8, 4000000000u, KeyType::Numeric},
                                           Shape{240, 70000, KeyType::Character},
                                           Shape{10, 300, KeyType::Character}));

TEST(LongKeys, IncompressibleLongKeysWithWideRecordNumbers)
{
    // Two such keys do not fit one leaf: every leaf holds one key and splits go three ways.
    auto dir = scratchDir("longkeys");
    auto ix = CompoundIndex::create((dir / "l.cdx").string());
    std::mt19937 rng(7);
    auto key = [&] {
        std::string k(240, 'A');
        for (char& c : k)
            c = static_cast<char>('A' + rng() % 26);
        return k;
    };
    Model model;
    std::vector<KeyEntry> entries;
    for (int i = 0; i < 300; ++i) {
        KeyEntry e{key(), 100000 + static_cast<uint32_t>(rng() % 4000000000u)};
        model.emplace(e.key, e.recno);
        entries.push_back(e);
    }
    ix->addTag(makeTag("LONG", 240), entries);
    ix->addTag(makeTag("EMPTY", 240), {});
    Model empty;
    for (int i = 0; i < 1500; ++i) {
        bool insert = rng() % 3 != 0 || empty.empty();
        for (auto [tag, m] : {std::pair<size_t, Model*>{0, &model}, {1, &empty}}) {
            if (insert || m->empty()) {
                std::string k = key();
                uint32_t r = 70000 + static_cast<uint32_t>(rng() % 4000000000u);
                ASSERT_EQ(ix->insertKey(tag, k, r), m->emplace(k, r).second);
            } else {
                auto it = m->begin();
                std::advance(it, rng() % m->size());
                ASSERT_TRUE(ix->deleteKey(tag, it->first, it->second));
                m->erase(it);
            }
        }
    }
    expectSame(*ix, 0, model);
    expectSame(*ix, 1, empty);
    auto problems = ix->check();
    ASSERT_TRUE(problems.empty()) << problems.front();
}

TEST_P(RoundTrip, QueuedKeysOfNewRecordsMatchTheModel)
{
    // New records' keys wait in a queue and go into each leaf together; every read, delete and
    // flush takes the queue in first. Pairs queued twice, or already in the tree, stay single.
    const Shape shape = GetParam();
    const char pad = shape.type == KeyType::Character ? ' ' : '\0';
    auto dir = scratchDir("queued-" + std::to_string(shape.keyLen) + "-" + std::to_string(shape.maxRec));
    const std::string path = (dir / "q.cdx").string();
    std::mt19937 rng(shape.keyLen * 31 + shape.maxRec);
    auto recno = [&] { return 1 + static_cast<uint32_t>(rng() % shape.maxRec); };
    Model model, empty;
    {
        auto ix = CompoundIndex::create(path);
        std::vector<KeyEntry> entries;
        for (int i = 0; i < 1500; ++i) {
            entries.push_back({randomKey(rng, shape.keyLen, pad), recno()});
            model.emplace(entries.back().key, entries.back().recno);
        }
        ix->addTag(makeTag("FILLED", shape.keyLen, shape.type), entries);
        ix->addTag(makeTag("EMPTY", shape.keyLen, shape.type), {});
        for (int round = 0; round < 6; ++round) {
            for (int i = 0; i < 1200; ++i) {
                for (auto [tag, m] : {std::pair<size_t, Model*>{0, &model}, {1, &empty}}) {
                    if (i % 97 == 0 && !m->empty()) {   // a delete in between takes the queue in
                        auto it = m->begin();
                        std::advance(it, rng() % m->size());
                        ASSERT_TRUE(ix->deleteKey(tag, it->first, it->second));
                        m->erase(it);
                        continue;
                    }
                    std::string k = randomKey(rng, shape.keyLen, pad);
                    uint32_t r = recno();
                    if (i % 50 == 0 && !m->empty()) {   // a pair the tree or the queue holds already
                        k = m->rbegin()->first;
                        r = m->rbegin()->second;
                    }
                    m->emplace(k, r);
                    ix->insertNewKey(tag, k, r);
                }
            }
            if (round % 2 == 0) {
                expectSame(*ix, 0, model);   // reads take the queue in
                expectSame(*ix, 1, empty);
            }
            if (round == 3)
                ix->flush();
        }
    }   // closing writes what is still queued
    auto ix = CompoundIndex::open(path, false);
    ix->setKeyType(0, shape.type);
    ix->setKeyType(1, shape.type);
    expectSame(*ix, 0, model);
    expectSame(*ix, 1, empty);
    auto problems = ix->check();
    ASSERT_TRUE(problems.empty()) << problems.front();
}

TEST(IndexCursorStability, ACursorFollowsChangesToItsTag)
{
    auto dir = scratchDir("cursor");
    auto ix = CompoundIndex::create((dir / "c.cdx").string());
    std::vector<KeyEntry> entries;
    for (uint32_t r = 1; r <= 2000; ++r)
        entries.push_back({characterKey(std::to_string(r % 97), 6), r});
    ix->addTag(makeTag("K", 6), entries);
    Model model;
    for (auto& e : entries)
        model.emplace(e.key, e.recno);
    // Delete every entry the cursor stands on, walking forward: it must still visit each once.
    auto c = ix->cursor(0);
    size_t visited = 0;
    for (bool ok = c->first(); ok; ok = c->next()) {
        ++visited;
        if (visited % 3 == 0) {
            ASSERT_TRUE(ix->deleteKey(0, c->key(), c->recno()));
            model.erase({std::string(c->key()), c->recno()});
        }
        if (visited % 50 == 0) {   // inserts elsewhere split pages under the cursor
            for (int j = 0; j < 20; ++j) {
                std::string k = characterKey("0" + std::to_string(j), 6);
                ix->insertKey(0, k, 5000 + static_cast<uint32_t>(visited) + j);
                model.emplace(k, 5000 + static_cast<uint32_t>(visited) + j);
            }
        }
    }
    EXPECT_EQ(visited, 2000u);
    expectSame(*ix, 0, model);
    // Backwards, the same.
    size_t back = 0;
    for (bool ok = c->last(); ok; ok = c->prev()) {
        ++back;
        if (back % 2 == 0) {
            model.erase({std::string(c->key()), c->recno()});
            ASSERT_TRUE(ix->deleteKey(0, c->key(), c->recno()));
        }
    }
    expectSame(*ix, 0, model);
    EXPECT_TRUE(ix->check().empty());
}

TEST(UniqueAndDescendingTags, BuildKeepsTheFirstRecordPerKey)
{
    auto dir = scratchDir("unique");
    auto ix = CompoundIndex::create((dir / "u.cdx").string());
    TagInfo t = makeTag("U", 4);
    t.unique = true;
    ix->addTag(t, {{"BBBB", 9}, {"AAAA", 5}, {"BBBB", 2}, {"AAAA", 7}, {"CCCC", 1}});
    auto c = ix->cursor(0);
    EXPECT_EQ(walk(*c), (std::vector<std::pair<std::string, uint32_t>>{{"AAAA", 5}, {"BBBB", 2}, {"CCCC", 1}}));
    EXPECT_FALSE(ix->insertKey(0, "AAAA", 1));
    EXPECT_TRUE(ix->insertKey(0, "DDDD", 3));
    TagInfo d = makeTag("D", 4);
    d.descending = true;
    ix->addTag(d, {{"BBBB", 9}, {"AAAA", 5}, {"BBBB", 2}, {"CCCC", 1}});
    auto dc = ix->cursor(1);
    std::vector<uint32_t> order;
    for (bool ok = dc->first(); ok; ok = dc->next())
        order.push_back(dc->recno());
    EXPECT_EQ(order, (std::vector<uint32_t>{1, 9, 2, 5}));
    EXPECT_TRUE(dc->seek("BB"));
    EXPECT_EQ(dc->recno(), 9u);
    EXPECT_FALSE(dc->seek("BC"));   // soft seek: next in descending order
    EXPECT_EQ(dc->recno(), 9u);
    EXPECT_TRUE(dc->seek("A"));
    EXPECT_EQ(dc->recno(), 5u);
    EXPECT_FALSE(dc->seek("0"));   // nothing smaller: past the end
    EXPECT_FALSE(dc->valid());
    ix->flush();
    auto again = CompoundIndex::open((dir / "u.cdx").string(), true);
    EXPECT_TRUE(again->tag(0).unique);
    EXPECT_TRUE(again->tag(1).descending);
}

TEST(AddTagArguments, BadTagsAreRefused)
{
    auto dir = scratchDir("args");
    auto ix = CompoundIndex::create((dir / "a.cdx").string());
    ix->addTag(makeTag("ok", 3), {{"abc", 1}});
    EXPECT_EQ(ix->tag(0).name, "OK");
    auto kind = [&](const TagInfo& t, std::vector<KeyEntry> e) {
        try {
            ix->addTag(t, e);
        } catch (const EngineError& err) {
            return err.kind();
        }
        return EngineError::Kind::Io;
    };
    EXPECT_EQ(kind(makeTag("OK", 3), {}), EngineError::Kind::Usage);
    EXPECT_EQ(kind(makeTag("WAYTOOLONGNAME", 3), {}), EngineError::Kind::Usage);
    EXPECT_EQ(kind(makeTag("BAD-NAME", 3), {}), EngineError::Kind::Usage);
    EXPECT_EQ(kind(makeTag("ZERO", 0), {}), EngineError::Kind::Usage);
    EXPECT_EQ(kind(makeTag("HUGE", 241), {}), EngineError::Kind::Usage);
    EXPECT_EQ(kind(makeTag("SHORT", 4), {{"abc", 1}}), EngineError::Kind::Usage);
    TagInfo longExpr = makeTag("LONG", 3);
    longExpr.keyExpr = std::string(600, 'X');
    EXPECT_EQ(kind(longExpr, {}), EngineError::Kind::Usage);
    EXPECT_THROW(ix->insertKey(0, "ab", 1), EngineError);
    EXPECT_THROW(ix->cursor(5), EngineError);
}

} // namespace
