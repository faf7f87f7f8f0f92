// Records: append, replace, read back, move in record order, deletion and its visibility,
// pack, zap, copy structure, and the whole-file locks between two opens.
#include "engine_support.h"
#include "support_validators.h"

#include <gtest/gtest.h>

using namespace postavo::engine;
using namespace enginetest;

namespace {

std::string makeTable(const std::string& dir, int records)
{
    const std::string path = dir + "/r.dbf";
    Table::create(path, addressLikeFields());
    auto t = Table::open(path, OpenMode::Exclusive);
    for (int i = 1; i <= records; ++i) {
        t->appendBlank();
        t->replace("NAME", "name" + std::to_string(i));
        t->replaceNumber("PRICE", i * 1.25);
        t->replaceLogical("ACTIVE", i % 2 == 0);
        if (i % 3 == 0)
            t->replace("NOTES", "memo of " + std::to_string(i));
    }
    t->close();
    return path;
}

std::vector<std::uint32_t> forward(Table& t)
{
    std::vector<std::uint32_t> r;
    for (t.goTop(); !t.eof(); t.skip())
        r.push_back(t.recNo());
    return r;
}

std::vector<std::uint32_t> backward(Table& t)
{
    std::vector<std::uint32_t> r;
    for (t.goBottom(); !t.bof(); t.skip(-1))
        r.push_back(t.recNo());
    return r;
}

} // namespace

TEST(EngineRecords, ValuesRoundTrip)
{
    const std::string dir = scratchDir("rec1");
    const std::string path = makeTable(dir, 6);
    auto t = Table::open(path, OpenMode::ReadOnly);
    EXPECT_EQ(t->recCount(), 6u);
    t->go(3);
    EXPECT_EQ(t->getTrimString("name"), "name3");
    EXPECT_EQ(t->getString("NAME"), "name3" + std::string(15, ' '));
    EXPECT_DOUBLE_EQ(t->getNumber("PRICE"), 3.75);
    EXPECT_FALSE(t->getLogical("ACTIVE"));
    EXPECT_EQ(t->getMemo("NOTES"), "memo of 3");
    EXPECT_TRUE(t->isEmpty("SOLD"));
    EXPECT_EQ(t->getDateString("SOLD"), "  /  /    ");
    t->go(4);
    EXPECT_TRUE(t->getLogical("ACTIVE"));
    EXPECT_TRUE(t->isEmpty("NOTES"));
    EXPECT_THROW(t->getString("NOPE"), EngineError);
    EXPECT_THROW(t->replace("NAME", "x"), EngineError);  // read-only
}

TEST(EngineRecords, DatesWithAndWithoutCentury)
{
    const std::string dir = scratchDir("rec2");
    const std::string path = makeTable(dir, 1);
    auto t = Table::open(path, OpenMode::Exclusive);
    t->replace("SOLD", "12/31/1999");
    EXPECT_EQ(t->getString("SOLD"), "19991231");
    EXPECT_EQ(t->getDateString("SOLD"), "12/31/1999");
    t->setCentury(false);
    EXPECT_EQ(t->getDateString("SOLD"), "12/31/99");
    EXPECT_THROW(t->replace("SOLD", "20240230"), EngineError);
    EXPECT_EQ(t->getString("SOLD"), "19991231");
}

TEST(EngineRecords, MovingInRecordOrder)
{
    const std::string dir = scratchDir("rec3");
    auto t = Table::open(makeTable(dir, 5), OpenMode::Exclusive);
    EXPECT_EQ(forward(*t), (std::vector<std::uint32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(backward(*t), (std::vector<std::uint32_t>{5, 4, 3, 2, 1}));
    t->goTop();
    t->skip(-1);
    EXPECT_TRUE(t->bof());
    EXPECT_EQ(t->recNo(), 1u);
    t->goBottom();
    t->skip();
    EXPECT_TRUE(t->eof());
    EXPECT_EQ(t->recNo(), 6u);
    EXPECT_TRUE(t->getTrimString("NAME").empty());  // the blank record past the end
    t->skip(-1);
    EXPECT_EQ(t->recNo(), 5u);
    t->go(99);
    EXPECT_TRUE(t->eof());
    t->go(2);
    t->skip(2);
    EXPECT_EQ(t->recNo(), 4u);
}

TEST(EngineRecords, EmptyTableIsBothEofAndBof)
{
    const std::string dir = scratchDir("rec4");
    auto t = Table::open(makeTable(dir, 0), OpenMode::Exclusive);
    t->goTop();
    EXPECT_TRUE(t->eof());
    EXPECT_TRUE(t->bof());
    EXPECT_EQ(t->recCount(), 0u);
    EXPECT_THROW(t->replace("NAME", "x"), EngineError);
}

TEST(EngineRecords, DeletedRecordsHiddenOrShown)
{
    const std::string dir = scratchDir("rec5");
    auto t = Table::open(makeTable(dir, 5), OpenMode::Exclusive);
    for (std::uint32_t r : {1u, 3u, 5u}) {
        t->go(r);
        t->deleteRecord();
    }
    t->go(3);
    t->recall();
    t->commit();
    t->go(1);
    EXPECT_TRUE(t->isDeleted());
    EXPECT_EQ(forward(*t), (std::vector<std::uint32_t>{1, 2, 3, 4, 5}));
    t->setDeletedHidden(true);
    EXPECT_EQ(forward(*t), (std::vector<std::uint32_t>{2, 3, 4}));
    EXPECT_EQ(backward(*t), (std::vector<std::uint32_t>{4, 3, 2}));
    t->go(1);  // go reaches a hidden record all the same
    EXPECT_EQ(t->recNo(), 1u);
    EXPECT_FALSE(t->eof());
}

TEST(EngineRecords, PackRemovesDeletedRecordsAndKeepsMemos)
{
    const std::string dir = scratchDir("rec6");
    const std::string path = makeTable(dir, 9);
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        for (std::uint32_t r : {1u, 2u, 4u}) {
            t->go(r);
            t->deleteRecord();
        }
        std::vector<int> progress;
        t->setProgressHook([&](int p) { progress.push_back(p); });
        t->pack();
        EXPECT_EQ(t->recCount(), 6u);
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.back(), 100);
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
        t->go(1);
        EXPECT_EQ(t->getTrimString("NAME"), "name3");
        EXPECT_EQ(t->getMemo("NOTES"), "memo of 3");
        t->appendBlank();  // the packed file is ours to write
        t->replace("NAME", "after pack");
        t->close();
    }
    EXPECT_FALSE(fs::exists(path + ".pack.tmp"));
    auto t = Table::open(path, OpenMode::Exclusive);
    EXPECT_EQ(t->recCount(), 7u);
    t->go(7);
    EXPECT_EQ(t->getTrimString("NAME"), "after pack");
    EXPECT_EQ(readBytes(path).size(), 193u + 7 * 48 + 1);
}

TEST(EngineRecords, ZapEmptiesTableAndMemo)
{
    const std::string dir = scratchDir("rec7");
    const std::string path = makeTable(dir, 9);
    auto t = Table::open(path, OpenMode::Exclusive);
    t->zap();
    EXPECT_EQ(t->recCount(), 0u);
    EXPECT_TRUE(t->eof());
    t->close();
    EXPECT_EQ(readBytes(path).size(), 193u + 1);
    EXPECT_EQ(readBytes(dir + "/r.fpt").size(), 512u);
}

TEST(EngineRecords, PutRecordAndCopyStructure)
{
    const std::string dir = scratchDir("rec8");
    const std::string path = makeTable(dir, 2);
    auto t = Table::open(path, OpenMode::Exclusive);
    t->go(1);
    const std::string rec = t->getRecord();
    t->go(2);
    t->putRecord(rec);
    EXPECT_EQ(t->getTrimString("NAME"), "name1");
    EXPECT_THROW(t->putRecord("short"), EngineError);
    t->copyStructure(dir + "/copy.dbf");
    auto c = Table::open(dir + "/copy.dbf", OpenMode::Exclusive);
    EXPECT_EQ(c->recCount(), 0u);
    ASSERT_EQ(c->fields().size(), t->fields().size());
    for (size_t i = 0; i < c->fields().size(); ++i) {
        EXPECT_EQ(c->fields()[i].name, t->fields()[i].name);
        EXPECT_EQ(c->fields()[i].type, t->fields()[i].type);
        EXPECT_EQ(c->fields()[i].length, t->fields()[i].length);
        EXPECT_EQ(c->fields()[i].decimals, t->fields()[i].decimals);
    }
}

TEST(EngineRecords, ExclusiveOpenKeepsOthersOut)
{
    const std::string dir = scratchDir("rec9");
    const std::string path = makeTable(dir, 1);
    {
        auto a = Table::open(path, OpenMode::Exclusive);
        try {
            Table::open(path, OpenMode::Shared);
            FAIL() << "second open succeeded";
        } catch (const EngineError& e) {
            EXPECT_EQ(e.kind(), EngineError::Kind::Locked);
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
        }
        const auto before = readBytes(path);
        EXPECT_THROW(Table::create(path, {{"X", 'C', 1, 0}}), EngineError);  // not replaced under it
        EXPECT_EQ(readBytes(path), before);
        // Another process is kept out as well.
        std::string out;
        EXPECT_NE(run("flock -n -s " + path + " true"), 0);
    }
    auto s1 = Table::open(path, OpenMode::Shared);
    auto s2 = Table::open(path, OpenMode::ReadOnly);
    EXPECT_THROW(Table::open(path, OpenMode::Exclusive), EngineError);
    // Two opens read together, but a writer must be alone.
    try {
        s1->appendBlank();
        FAIL() << "wrote while another open exists";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.kind(), EngineError::Kind::Locked);
    }
    s2.reset();
    s1->appendBlank();
    s1->replace("NAME", "shared");
    s1->commit();
    EXPECT_TRUE(s1->rlock(1));
    EXPECT_THROW(Table::open(path, OpenMode::ReadOnly), EngineError);
    s1.reset();
    EXPECT_EQ(Table::open(path, OpenMode::ReadOnly)->recCount(), 2u);
}

// Other programs sharing a table watch the index's change counter (bytes 8..11 of the CDX) to
// notice that pages they hold are stale: each flush of a shared open that wrote advances it.
TEST(EngineRecords, SharedWritesAdvanceTheIndexChangeCounter)
{
    const std::string dir = scratchDir("rec-counter");
    const std::string path = makeTable(dir, 3);
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        t->indexTag({"NAME", "UPPER(NAME)"});
    }
    auto counter = [&] {
        const auto b = readBytes(dir + "/r.cdx");
        return std::uint32_t(b.at(8) | (b.at(9) << 8) | (b.at(10) << 16) | (std::uint32_t(b.at(11)) << 24));
    };
    const std::uint32_t start = counter();
    auto t = Table::open(path, OpenMode::Shared);
    t->appendBlank();
    t->replace("NAME", "another");
    t->commit();
    const std::uint32_t afterAppend = counter();
    EXPECT_GT(afterAppend, start);
    t->commit();   // nothing changed: nothing to announce
    EXPECT_EQ(counter(), afterAppend);
    t->go(1);
    t->replace("NAME", "renamed");
    t->commit();
    EXPECT_GT(counter(), afterAppend);
    t.reset();
    EXPECT_TABLE_VALID(path);
}

TEST(EngineRecords, PostedOnMoveAndClose)
{
    const std::string dir = scratchDir("rec10");
    const std::string path = makeTable(dir, 3);
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        t->go(2);
        t->replace("NAME", "changed");
        t->go(1);  // posts record 2
        t->go(2);
        EXPECT_EQ(t->getTrimString("NAME"), "changed");
        t->replace("NAME", "at close");
    }  // destructor posts
    auto t = Table::open(path, OpenMode::ReadOnly);
    t->go(2);
    EXPECT_EQ(t->getTrimString("NAME"), "at close");
}

TEST(EngineRecords, PackLeavesOnlyTheKeptRecordsMemos)
{
    const std::string dir = scratchDir("rec-memopack");
    const std::string path = makeTable(dir, 300);
    const std::string memo = dir + "/r.fpt";
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        for (std::uint32_t r = 3; r <= 300; r += 3) {   // every memo rewritten twice more
            t->go(r);
            t->replace("NOTES", std::string(200, 'x'));
            t->replace("NOTES", "final memo of " + std::to_string(r) + std::string(r % 7, '!'));
        }
        for (std::uint32_t r = 1; r <= 300; r += 2)
            if (r % 9 == 0) {
                t->go(r);
                t->deleteRecord();
            }
        t->commit();
    }
    const auto grown = fs::file_size(memo);
    std::vector<std::pair<std::string, std::string>> kept;
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        for (t->goTop(); !t->eof(); t->skip())
            if (!t->isDeleted())
                kept.emplace_back(t->getTrimString("NAME"), t->getMemo("NOTES"));
        t->pack();
        EXPECT_EQ(t->recCount(), kept.size());
        for (std::uint32_t r = 1; r <= t->recCount(); ++r) {
            t->go(r);
            ASSERT_EQ(t->getTrimString("NAME"), kept[r - 1].first);
            ASSERT_EQ(t->getMemo("NOTES"), kept[r - 1].second);
        }
        t->go(2);
        t->replace("NOTES", "written after the pack");   // the new memo file is ours to write
        kept[1].second = "written after the pack";
    }
    const auto packed = fs::file_size(memo);
    EXPECT_LT(packed * 4, grown);
    EXPECT_FALSE(fs::exists(memo + ".pack.tmp"));
    EXPECT_FALSE(fs::exists(path + ".packing"));
    auto t = Table::open(path, OpenMode::Exclusive);
    for (std::uint32_t r = 1; r <= t->recCount(); ++r) {
        t->go(r);
        ASSERT_EQ(t->getMemo("NOTES"), kept[r - 1].second);
    }
    EXPECT_EQ(t->check(), std::vector<std::string>{});
    t.reset();
    EXPECT_TABLE_VALID(path);
}

TEST(EngineRecords, AnInterruptedPackIsFinishedAtTheNextOpen)
{
    // A pack that stopped after writing both new files (and its journal) but before or between
    // the two renames: the next open completes it, whichever rename was done.
    for (const bool memoRenamed : {false, true}) {
        const std::string dir = scratchDir(std::string("rec-interrupted-") + (memoRenamed ? "1" : "0"));
        const std::string path = makeTable(dir, 60);
        const std::string packedDir = dir + "/packed";
        fs::create_directories(packedDir);
        for (const char* ext : {".dbf", ".fpt"})
            fs::copy_file(dir + "/r" + ext, packedDir + "/r" + ext);
        {
            auto t = Table::open(packedDir + "/r.dbf", OpenMode::Exclusive);
            for (std::uint32_t r = 1; r <= 60; r += 4) {
                t->go(r);
                t->deleteRecord();
            }
            t->pack();
        }
        fs::copy_file(packedDir + "/r.dbf", path + ".pack.tmp");
        fs::copy_file(packedDir + "/r.fpt", dir + (memoRenamed ? "/r.fpt" : "/r.fpt.pack.tmp"),
                      fs::copy_options::overwrite_existing);
        writeBytes(path + ".packing", {});
        auto t = Table::open(path, OpenMode::Exclusive);
        EXPECT_EQ(t->recCount(), 45u);
        for (std::uint32_t r = 1; r <= 45; ++r) {
            t->go(r);
            const std::uint32_t original = r + (r - 1) / 3 + 1;   // 1, 5, 9, ... were removed
            ASSERT_EQ(t->getTrimString("NAME"), "name" + std::to_string(original));
            ASSERT_EQ(t->getMemo("NOTES"), original % 3 == 0 ? "memo of " + std::to_string(original) : "");
        }
        EXPECT_FALSE(fs::exists(path + ".packing"));
        EXPECT_FALSE(fs::exists(path + ".pack.tmp"));
        EXPECT_FALSE(fs::exists(dir + "/r.fpt.pack.tmp"));
    }
}

TEST(EngineRecords, APackStoppedByABadMemoPointerChangesNothing)
{
    const std::string dir = scratchDir("rec-badmemo");
    const std::string path = makeTable(dir, 30);
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        t->go(4);
        t->deleteRecord();
    }
    // Record 12's memo pointer names a block far past the end of the memo file.
    auto bytes = readBytes(path);
    const std::size_t header = bytes[8] | (bytes[9] << 8), length = bytes[10] | (bytes[11] << 8);
    const std::string far = "   9999999";
    std::copy(far.begin(), far.end(), bytes.begin() + header + 11 * length + 1 + 20 + 8 + 1 + 8);
    writeBytes(path, bytes);
    const auto memoBefore = readBytes(dir + "/r.fpt");
    auto t = Table::open(path, OpenMode::Exclusive);
    t->go(7);
    try {
        t->pack();
        ADD_FAILURE() << "the pack went through";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.kind(), EngineError::Kind::Corrupt);
        EXPECT_NE(std::string(e.what()).find("record 12"), std::string::npos) << e.what();
    }
    EXPECT_EQ(t->recNo(), 7u);
    EXPECT_EQ(t->getTrimString("NAME"), "name7");
    t.reset();
    EXPECT_EQ(readBytes(path), bytes);
    EXPECT_EQ(readBytes(dir + "/r.fpt"), memoBefore);
    EXPECT_FALSE(fs::exists(path + ".pack.tmp"));
    EXPECT_FALSE(fs::exists(dir + "/r.fpt.pack.tmp"));
    EXPECT_FALSE(fs::exists(path + ".packing"));
}
