// Orders and the things that use them: tags kept current by every write, seek (exact, prefix,
// soft), scope, query filters with deleted records hidden or shown, reindex, tag replacement.
#include "engine_support.h"
#include "support_validators.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace postavo::engine;
using namespace enginetest;

namespace {

const std::vector<std::string> kNames = {"smith", "Jones", "adams", "Smithers", "baker", "JONESBY", "Clark", "smith"};

struct Orders : ::testing::Test {
    std::string dir, path;
    std::unique_ptr<Table> t;
    void SetUp() override
    {
        dir = scratchDir(std::string("ord-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        path = dir + "/o.dbf";
        Table::create(path, {{"NAME", 'C', 12, 0}, {"QTY", 'N', 5, 0}, {"ACTIVE", 'L', 1, 0}, {"NOTES", 'M', 10, 0}});
        t = Table::open(path, OpenMode::Exclusive);
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            t->appendBlank();
            t->replace("NAME", kNames[i]);
            t->replaceNumber("QTY", double(i * 10));
            t->replaceLogical("ACTIVE", i % 2 == 0);
        }
        t->indexTags({{"NAME", "UPPER(NAME)"}, {"QTY", "QTY"}, {"ACTIVE", "ACTIVE"}});
    }
    std::vector<std::uint32_t> walk()
    {
        std::vector<std::uint32_t> r;
        for (t->goTop(); !t->eof(); t->skip())
            r.push_back(t->recNo());
        return r;
    }
    std::vector<std::uint32_t> walkBack()
    {
        std::vector<std::uint32_t> r;
        for (t->goBottom(); !t->bof(); t->skip(-1))
            r.push_back(t->recNo());
        std::reverse(r.begin(), r.end());
        return r;
    }
    void expectSound()
    {
        EXPECT_EQ(t->check(), std::vector<std::string>{});
        // Other programs cannot open a table this one holds exclusively: let it go meanwhile.
        const int order = t->order();
        const std::uint32_t recno = t->recNo();
        t->close();
        EXPECT_TABLE_VALID(path);
        t = Table::open(path, OpenMode::Exclusive);
        if (order > 0)
            t->setOrder(order);
        t->go(recno);
    }
};

} // namespace

TEST_F(Orders, TagsInCreationOrderAndKeyOrder)
{
    EXPECT_EQ(t->tagCount(), 3u);
    EXPECT_EQ(t->tagName(1), "NAME");
    EXPECT_EQ(t->tagName(3), "ACTIVE");
    EXPECT_EQ(t->tagName(4), "");
    EXPECT_EQ(t->orderNumber("qty"), 2);
    t->setOrder("NAME");
    EXPECT_EQ(t->order(), 1);
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{3, 5, 7, 2, 6, 1, 8, 4}));
    EXPECT_EQ(walkBack(), walk());
    t->setOrder(2);
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    t->setOrder("missing");
    EXPECT_EQ(t->order(), 0);
    EXPECT_EQ(readBytes(path)[28], 0x01);  // announces its structural index
    expectSound();
}

TEST_F(Orders, WritesMoveRecordsInEveryTag)
{
    t->setOrder("NAME");
    t->go(3);                 // adams
    t->replace("NAME", "zulu");
    t->replaceNumber("QTY", -5);
    t->commit();
    EXPECT_EQ(t->recNo(), 3u);
    t->skip();                // past zulu: the end
    EXPECT_TRUE(t->eof());
    t->go(3);
    t->skip(-1);
    EXPECT_EQ(t->getTrimString("NAME"), "Smithers");
    t->appendBlank();
    t->replace("NAME", "Aaron");
    t->goTop();
    EXPECT_EQ(t->recNo(), 9u);
    t->setOrder("QTY");
    t->goTop();
    EXPECT_EQ(t->recNo(), 3u);
    t->go(2);
    t->deleteRecord();
    t->go(5);
    t->putRecord(std::string(" ") + "putrecord   " + "   99" + "T" + std::string(10, ' '));
    expectSound();
    // Reopened, the index still agrees.
    t->close();
    t = Table::open(path, OpenMode::Exclusive);
    expectSound();
}

TEST_F(Orders, SeekExactPrefixAndSoft)
{
    t->setOrder("NAME");
    EXPECT_TRUE(t->seek("SMITH"));
    EXPECT_EQ(t->recNo(), 1u);
    EXPECT_TRUE(t->found());
    t->skip();
    EXPECT_EQ(t->recNo(), 8u);
    t->skip();
    EXPECT_EQ(t->recNo(), 4u);  // SMITHERS
    EXPECT_TRUE(t->seek("JON"));
    EXPECT_EQ(t->recNo(), 2u);
    t->setExact(true);
    EXPECT_FALSE(t->seek("JON"));
    EXPECT_TRUE(t->eof());
    EXPECT_TRUE(t->seek("JONESBY"));
    EXPECT_EQ(t->recNo(), 6u);
    t->setExact(false);
    EXPECT_FALSE(t->seek("CZ"));
    EXPECT_TRUE(t->eof());
    t->setSoftSeek(true);
    EXPECT_FALSE(t->seek("CZ"));
    EXPECT_FALSE(t->eof());
    EXPECT_EQ(t->getTrimString("NAME"), "Jones");  // the next greater key
    EXPECT_FALSE(t->seek("ZZZ"));
    EXPECT_TRUE(t->eof());
    t->setOrder(0);
    EXPECT_THROW(t->seek("A"), EngineError);
    t->setOrder("QTY");
    EXPECT_TRUE(t->seek(numericKey(30)));
    EXPECT_EQ(t->recNo(), 4u);
}

TEST_F(Orders, FilterWithDeletedHiddenAndShown)
{
    t->go(1);
    t->deleteRecord();
    t->go(3);
    t->deleteRecord();
    t->commit();
    t->setQuery("ACTIVE");
    EXPECT_EQ(t->filterText(), "ACTIVE");
    EXPECT_EQ(t->queryRecCount(), 4u);
    t->setDeletedHidden(true);
    EXPECT_EQ(t->queryRecCount(), 2u);
    t->setOrder("NAME");
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{5, 7}));
    EXPECT_EQ(walkBack(), (std::vector<std::uint32_t>{5, 7}));
    t->setOrder(0);
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{5, 7}));
    t->setQuery("\"SMI\"$UPPER(NAME) .and. !DELETED()");
    t->setDeletedHidden(false);
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{4, 8}));
    t->setQuery("");
    EXPECT_EQ(t->queryRecCount(), 8u);
    EXPECT_THROW(t->setQuery("NAME +"), EngineError);
    EXPECT_THROW(t->setQuery("NAME"), EngineError);  // not a condition
    t->go(2);
    EXPECT_TRUE(t->evalLogical("UPPER(NAME) = \"JON\""));
    t->setExact(true);
    EXPECT_FALSE(t->evalLogical("UPPER(NAME) = \"JON\""));
    EXPECT_EQ(t->queryTest("UPPER(NAME)=\"X\""), 2);
    EXPECT_EQ(t->queryTest("UPPER(NAME)=\"X\" .and. \"A\"$NAME"), 1);
    EXPECT_EQ(t->queryTest("\"A\"$NAME"), 0);
}

TEST_F(Orders, ScopeLimitsTheActiveOrder)
{
    t->setOrder("NAME");
    t->setScope("J", "SMITH");
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{2, 6, 1, 8, 4}));
    EXPECT_EQ(walkBack(), walk());
    EXPECT_EQ(t->queryRecCount(), 5u);
    t->clearScope();
    EXPECT_EQ(walk().size(), 8u);
    // The same range on a descending order: the same records, highest key first.
    t->indexTag({"NAMEDESC", "UPPER(NAME)", "", false, true});
    t->setOrder("NAMEDESC");
    t->setScope("J", "SMITH");
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{4, 8, 1, 6, 2}));
    EXPECT_EQ(walkBack(), walk());
    EXPECT_EQ(t->queryRecCount(), 5u);
    t->setScope("JONES", "JONES");
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{6, 2}));
    t->setScope("B", "");
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{4, 8, 1, 6, 2, 7, 5}));
    EXPECT_EQ(walkBack(), walk());
    t->setScope("ZZ", "");   // above every key
    EXPECT_TRUE(walk().empty());
    EXPECT_TRUE(walkBack().empty());
    EXPECT_EQ(t->queryRecCount(), 0u);
}

TEST_F(Orders, ReindexAndReplaceATag)
{
    std::vector<int> progress;
    t->setProgressHook([&](int p) { progress.push_back(p); });
    t->setOrder("NAME");
    t->reindex();
    EXPECT_EQ(t->order(), 1);
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{3, 5, 7, 2, 6, 1, 8, 4}));
    EXPECT_FALSE(progress.empty());
    EXPECT_FALSE(fs::exists(dir + "/o.cdx.tmp"));
    t->indexTag({"NAME", "UPPER(NAME)", "", false, true});  // now descending
    t->setOrder("NAME");
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{4, 8, 1, 6, 2, 7, 5, 3}));
    EXPECT_EQ(t->tagCount(), 3u);
    t->indexTag({"FORTAG", "UPPER(NAME)", "ACTIVE"});
    t->setOrder("FORTAG");
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{3, 5, 7, 1}));
    t->go(7);
    t->replaceLogical("ACTIVE", false);  // leaves the FOR tag
    t->go(2);
    t->replaceLogical("ACTIVE", true);   // joins it
    t->commit();
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{3, 5, 2, 1}));
    t->go(7);   // not in the tag: skipping goes on from where its key would be
    t->skip();
    EXPECT_EQ(t->recNo(), 2u);
    expectSound();
    EXPECT_THROW(t->indexTag({"BAD", "NAME +"}), EngineError);
}

TEST_F(Orders, PackAndZapRebuildTheIndex)
{
    t->go(3);
    t->deleteRecord();
    t->pack();
    EXPECT_EQ(t->tagCount(), 3u);
    t->setOrder("NAME");
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{4, 6, 2, 5, 1, 7, 3}));
    expectSound();
    t->zap();
    EXPECT_EQ(t->tagCount(), 3u);
    EXPECT_TRUE(walk().empty());
    t->appendBlank();
    t->replace("NAME", "fresh");
    expectSound();
}

TEST_F(Orders, DeletedIndexFileIsForgotten)
{
    t->closeIndexes();
    fs::remove(dir + "/o.cdx");
    t->close();
    t = Table::open(path, OpenMode::Exclusive);
    EXPECT_EQ(t->tagCount(), 0u);
    EXPECT_EQ(readBytes(path)[28], 0x00);
    t->indexTag({"NAME", "UPPER(NAME)"});
    EXPECT_EQ(t->tagCount(), 1u);
    expectSound();
}

TEST_F(Orders, TemporaryIndexShowsOnlyItsRecords)
{
    const std::string idx = dir + "/_chkdup.idx";
    t->createTempIndex(idx, "UPPER(NAME)");
    EXPECT_EQ(t->order(), -1);
    for (std::uint32_t r : {8u, 2u, 5u}) {
        t->go(r);
        t->keyAdd();
    }
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{5, 2, 8}));
    EXPECT_EQ(walkBack(), (std::vector<std::uint32_t>{5, 2, 8}));
    EXPECT_EQ(t->queryRecCount(), 3u);
    EXPECT_TRUE(t->seek("JON"));
    EXPECT_EQ(t->recNo(), 2u);
    // A record of the subset stays in it under its new key; others do not join it.
    t->go(5);
    t->replace("NAME", "zulu");
    t->go(1);
    t->replace("NAME", "aaa");
    t->commit();
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{2, 8, 5}));
    t->closeTempIndex();
    EXPECT_EQ(t->order(), 0);
    EXPECT_EQ(walk().size(), 8u);
    ASSERT_TRUE(fs::exists(idx));
    auto file = SingleIndex::open(idx, true);
    EXPECT_EQ(file->keyCount(), 3u);
    EXPECT_TRUE(file->check().empty());
    expectSound();
}

// A post re-keys only the tags whose inputs changed; tags that read the deletion mark, a memo's
// text or another field through their condition still follow every change of those.
TEST_F(Orders, TagsFollowEveryInputTheyRead)
{
    t->indexTags({{"QTY", "QTY"}, {"LIVE", "UPPER(NAME)", "!DELETED()"}, {"BIG", "UPPER(NAME)", "QTY > 30"},
                  {"NOTE", "PADR(NOTES, 10)"}});
    t->go(1);
    t->replace("NOTES", "zzz");  // only the memo's text changes
    t->postRecord();
    t->setOrder("NOTE");
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{2, 3, 4, 5, 6, 7, 8, 1}));

    t->go(3);
    t->replaceNumber("QTY", 100);  // "adams" now passes BIG's condition, its name unchanged
    t->postRecord();
    t->setOrder("BIG");
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{3, 5, 7, 6, 8}));

    t->go(5);
    t->deleteRecord();  // only the deletion mark changes
    t->setOrder("LIVE");
    const auto live = walk();
    EXPECT_EQ(std::count(live.begin(), live.end(), 5u), 0);
    EXPECT_EQ(live.size(), 7u);

    t->go(2);
    t->replaceLogical("ACTIVE", true);  // read by no tag: every order stays as it was
    t->postRecord();
    t->setOrder("QTY");
    EXPECT_EQ(walk(), (std::vector<std::uint32_t>{1, 2, 4, 5, 6, 7, 8, 3}));
    expectSound();
}
