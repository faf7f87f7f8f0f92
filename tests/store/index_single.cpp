// The temporary subset index: created empty, keys added one by one, walked and sought,
// reopened; wrong kinds of file are refused.

#include "cdx.h"
#include "engine_error.h"
#include "idx.h"
#include "index_test_util.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace postavo::engine;
using namespace indextest;

namespace {

TagInfo stateZip()
{
    TagInfo t;
    t.keyExpr = "UPPER(STATE+ZIP)";
    t.keyLength = 12;
    return t;
}

TEST(SingleIndexFile, CreatedEmptyThenFilledKeyByKey)
{
    auto dir = scratchDir("single");
    const std::string path = (dir / "_chksz.idx").string();
    std::set<std::pair<std::string, uint32_t>> model;
    {
        auto ix = SingleIndex::create(path, stateZip());
        EXPECT_EQ(ix->tag().name, "_CHKSZ");
        EXPECT_EQ(ix->keyCount(), 0u);
        auto c = ix->cursor();
        EXPECT_FALSE(c->first());
        EXPECT_FALSE(c->last());
        EXPECT_FALSE(c->seek("NY"));
        std::mt19937 rng(3);
        static const char* states[] = {"NY", "CA", "TX", "MA", "WA"};
        for (uint32_t r = 1; r <= 5000; ++r) {
            if (rng() % 3 == 0)
                continue;   // only some records go into the subset
            std::string k = characterKey(std::string(states[rng() % 5]) + std::to_string(10000 + rng() % 900), 12);
            EXPECT_TRUE(ix->insertKey(k, r));
            model.emplace(k, r);
        }
        EXPECT_FALSE(ix->insertKey(model.begin()->first, model.begin()->second));
        EXPECT_EQ(ix->keyCount(), model.size());
        EXPECT_TRUE(ix->check().empty());
        ix->flush();
    }
    auto ix = SingleIndex::open(path, false);
    EXPECT_EQ(ix->tag().keyExpr, "UPPER(STATE+ZIP)");
    EXPECT_EQ(ix->tag().keyLength, 12);
    std::vector<std::pair<std::string, uint32_t>> walked;
    auto c = ix->cursor();
    for (bool ok = c->first(); ok; ok = c->next())
        walked.emplace_back(std::string(c->key()), c->recno());
    EXPECT_EQ(walked, (std::vector<std::pair<std::string, uint32_t>>(model.begin(), model.end())));
    // Soft seek on the next greater key.
    EXPECT_TRUE(c->seek("TX"));
    EXPECT_EQ(c->key().substr(0, 2), "TX");
    EXPECT_FALSE(c->seek("OH"));
    EXPECT_TRUE(c->valid());
    EXPECT_EQ(c->key().substr(0, 2), "TX");
    EXPECT_FALSE(c->seek("ZZ"));
    EXPECT_FALSE(c->valid());
    // Removing keys.
    size_t removed = 0;
    for (auto it = model.begin(); it != model.end(); ++removed) {
        if (removed % 2) {
            ASSERT_TRUE(ix->deleteKey(it->first, it->second));
            it = model.erase(it);
        } else {
            ++it;
        }
    }
    EXPECT_EQ(ix->keyCount(), model.size());
    EXPECT_TRUE(ix->check().empty());
}

TEST(SingleIndexFile, WrongKindsOfFileAreRefused)
{
    auto dir = scratchDir("single-kinds");
    const std::string cdx = (dir / "t.cdx").string(), idx = (dir / "t.idx").string();
    {
        auto c = CompoundIndex::create(cdx);
        c->addTag({"NAME", "NAME", "", 10, KeyType::Character}, {});
        auto i = SingleIndex::create(idx, stateZip());
    }
    auto kindOf = [](auto fn) {
        try {
            fn();
        } catch (const EngineError& e) {
            return e.kind();
        }
        return EngineError::Kind::Io;
    };
    EXPECT_EQ(kindOf([&] { SingleIndex::open(cdx, true); }), EngineError::Kind::Unsupported);
    EXPECT_EQ(kindOf([&] { CompoundIndex::open(idx, true); }), EngineError::Kind::Unsupported);
    EXPECT_EQ(kindOf([&] { SingleIndex::open((dir / "missing.idx").string(), true); }), EngineError::Kind::Io);
    TagInfo bad = stateZip();
    bad.keyLength = 0;
    EXPECT_EQ(kindOf([&] { SingleIndex::create((dir / "bad.idx").string(), bad); }), EngineError::Kind::Usage);
    auto ro = SingleIndex::open(idx, true);
    EXPECT_EQ(kindOf([&] { ro->insertKey(std::string(12, 'A'), 1); }), EngineError::Kind::Usage);
}

} // namespace
