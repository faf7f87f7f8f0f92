// Damaged and foreign files: every one gives an EngineError naming the file, leaves the files
// as they were, and never reads out of bounds.
#include "engine_support.h"
#include "cdx.h"

#include <gtest/gtest.h>

#include <functional>

using namespace postavo::engine;
using namespace enginetest;

namespace {

struct Damaged : ::testing::Test {
    std::string dir, path, memo;
    void SetUp() override
    {
        dir = scratchDir(std::string("dmg-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        path = dir + "/d.dbf";
        memo = dir + "/d.fpt";
        Table::create(path, addressLikeFields());
        auto t = Table::open(path, OpenMode::Exclusive);
        for (int i = 0; i < 3; ++i) {
            t->appendBlank();
            t->replace("NAME", "n" + std::to_string(i));
            t->replace("NOTES", "some memo text " + std::to_string(i));
        }
        t->close();
    }

    // Opens the table, reads every field and memo of every record; expects an EngineError that
    // names `file`, and that neither file changed.
    void expectError(const std::string& file, const std::string& fragment = {})
    {
        const auto before = readBytes(path);
        const auto beforeMemo = readBytes(memo);
        try {
            auto t = Table::open(path, OpenMode::Exclusive);
            for (t->goTop(); !t->eof(); t->skip())
                for (const auto& f : t->fields())
                    f.type == 'M' ? (void)t->getMemo(f.name) : (void)t->getString(f.name);
            t->close();
            FAIL() << "no error for " << file;
        } catch (const EngineError& e) {
            EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
            if (!fragment.empty()) {
                EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
            }
        }
        EXPECT_EQ(readBytes(path), before);
        EXPECT_EQ(readBytes(memo), beforeMemo);
    }

    void patch(const std::string& file, size_t at, std::vector<unsigned char> bytes)
    {
        auto b = readBytes(file);
        ASSERT_LE(at + bytes.size(), b.size());
        std::copy(bytes.begin(), bytes.end(), b.begin() + long(at));
        writeBytes(file, b);
    }
};

} // namespace

TEST_F(Damaged, TruncatedInsideTheRecords)
{
    auto b = readBytes(path);
    b.resize(193 + 48 + 20);
    writeBytes(path, b);
    expectError(path, "shorter");
}

TEST_F(Damaged, HeaderClaimsHugeRecordCount)
{
    patch(path, 4, {0xFF, 0xFF, 0xFF, 0x7F});
    expectError(path);
}

TEST_F(Damaged, HeaderLengthBeyondTheFile)
{
    patch(path, 8, {0xF0, 0xFF});
    expectError(path);
}

TEST_F(Damaged, RecordLengthDisagreesWithFields)
{
    patch(path, 10, {49, 0});
    expectError(path, "record length");
}

TEST_F(Damaged, NoFieldTerminator)
{
    patch(path, 192, {'X'});
    expectError(path);
}

TEST_F(Damaged, TooShortAndEmptyAndForeign)
{
    writeBytes(path, {0xF5, 0, 0});
    expectError(path);
    writeBytes(path, {});
    expectError(path);
    writeBytes(path, std::vector<unsigned char>(600, 'A'));
    expectError(path, "not a DBF");
}

TEST_F(Damaged, MemoPointerPastTheEnd)
{
    patch(path, 193 + 39, {' ', ' ', ' ', ' ', '9', '9', '9', '9', '9', '9'});
    expectError(memo, "outside");
}

TEST_F(Damaged, MemoPointerNotANumber)
{
    patch(path, 193 + 39, {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 'x', '1'});
    expectError(path, "memo pointer");
}

TEST_F(Damaged, MemoLengthPastTheEnd)
{
    patch(memo, 512 + 4, {0x7F, 0xFF, 0xFF, 0xFF});
    expectError(memo, "past the end");
}

TEST_F(Damaged, MemoBlockSizeZero)
{
    patch(memo, 4, {0, 0, 0, 0});
    expectError(memo, "block size");
}

TEST_F(Damaged, MemoFileMissing)
{
    fs::remove(memo);
    try {
        Table::open(path, OpenMode::Exclusive);
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find(memo), std::string::npos);
    }
}

TEST_F(Damaged, MissingTableFile)
{
    try {
        Table::open(dir + "/none.dbf", OpenMode::Shared);
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.kind(), EngineError::Kind::Io);
        EXPECT_NE(std::string(e.what()).find("none.dbf"), std::string::npos);
    }
}

// Records past the header's count, left by another program that stopped while appending: no
// open changes them, writing is refused (an append would overwrite them), check names them, and
// recover adopts the whole ones and drops the partial rest.
TEST_F(Damaged, RecordsPastTheCountAreKeptUntilRecovered)
{
    auto b = readBytes(path);
    b.pop_back();   // the end-of-file mark
    std::vector<unsigned char> rec(48, ' ');
    const std::string name = "tail";
    for (int i = 0; i < 2; ++i) {
        std::copy(name.begin(), name.end(), rec.begin() + 1);
        rec[5] = static_cast<unsigned char>('1' + i);
        b.insert(b.end(), rec.begin(), rec.end());
    }
    b.insert(b.end(), 30, 'Z');
    writeBytes(path, b);
    for (const OpenMode mode : {OpenMode::Exclusive, OpenMode::ReadOnly, OpenMode::Shared}) {
        auto t = Table::open(path, mode);
        EXPECT_EQ(t->recCount(), 3u);
        if (mode != OpenMode::Shared) {
            EXPECT_EQ(t->tail().wholeRecords, 2u);
            EXPECT_EQ(t->tail().otherBytes, 30u);
        }
        if (mode == OpenMode::Exclusive) {
            EXPECT_THROW(t->appendBlank(), EngineError);
            try {
                t->go(1);
                t->replace("NAME", "x");
                FAIL() << "wrote over records past the count";
            } catch (const EngineError& e) {
                EXPECT_NE(std::string(e.what()).find("2 whole records"), std::string::npos) << e.what();
            }
        }
        if (mode == OpenMode::ReadOnly) {
            const auto problems = t->check();
            ASSERT_EQ(problems.size(), 2u);
            EXPECT_NE(problems[0].find("2 whole records lie past the record count"), std::string::npos) << problems[0];
            EXPECT_NE(problems[1].find("30 bytes of a partial record"), std::string::npos) << problems[1];
        }
    }
    EXPECT_EQ(readBytes(path), b);

    const Table::Tail found = Table::recover(path);
    EXPECT_EQ(found.wholeRecords, 2u);
    EXPECT_EQ(found.otherBytes, 30u);
    EXPECT_EQ(readBytes(path).size(), 193u + 5 * 48 + 1);
    auto t = Table::open(path, OpenMode::Exclusive);
    EXPECT_EQ(t->recCount(), 5u);
    t->go(5);
    EXPECT_EQ(t->getTrimString("NAME"), "tail2");
    EXPECT_EQ(t->check(), std::vector<std::string>{});
}

// Our own append stopped between the record and the count leaves the append mark in the header
// and at most one record past the count: that, and only that, is taken back by itself.
TEST_F(Damaged, OurInterruptedAppendIsTakenBack)
{
    const auto clean = readBytes(path);
    auto b = clean;
    b[12] = 1;       // the append mark
    b.pop_back();
    std::vector<unsigned char> rec(48, ' ');
    rec[1] = 'n';
    b.insert(b.end(), rec.begin(), rec.end());
    b.push_back(0x1A);
    writeBytes(path, b);
    Table::open(path, OpenMode::ReadOnly).reset();   // reading leaves it to a writer
    EXPECT_EQ(readBytes(path), b);
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        EXPECT_TRUE(t->tail().empty());
        EXPECT_EQ(t->recCount(), 3u);
    }
    EXPECT_EQ(readBytes(path), clean);

    b.pop_back();   // two records past the count cannot be one append of ours
    b.insert(b.end(), rec.begin(), rec.end());
    b.push_back(0x1A);
    writeBytes(path, b);
    auto t = Table::open(path, OpenMode::Exclusive);
    EXPECT_EQ(t->tail().wholeRecords, 2u);
    t.reset();
    EXPECT_EQ(readBytes(path), b);
}

TEST_F(Damaged, DamagedIndexOpensWithoutTagsAndIsRebuilt)
{
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        t->indexTag({"NAME", "UPPER(NAME)"});
    }
    const std::string cdx = dir + "/d.cdx";
    auto bytes = readBytes(cdx);
    std::fill(bytes.begin(), bytes.begin() + 1024, 0xFF);  // a header pointing nowhere
    writeBytes(cdx, bytes);
    auto t = Table::open(path, OpenMode::Exclusive);
    EXPECT_EQ(t->tagCount(), 0u);
    EXPECT_NE(t->indexError().find(cdx), std::string::npos) << t->indexError();
    EXPECT_EQ(t->recCount(), 3u);
    t->go(1);
    EXPECT_EQ(t->getTrimString("NAME"), "n0");
    EXPECT_THROW(t->replace("NAME", "x"), EngineError);  // the index could not follow
    EXPECT_EQ(readBytes(cdx), bytes);
    EXPECT_FALSE(t->check().empty());
    t->indexTag({"NAME", "UPPER(NAME)"});
    EXPECT_TRUE(t->indexError().empty());
    t->replace("NAME", "x");
    EXPECT_EQ(t->check(), std::vector<std::string>{});
}

// A compound index whose tag directory is empty (another program's, or one left by a crash):
// every path that rebuilds the index copes, and leaves no index file, no temporary file and no
// index flag, since other engines refuse an index without tags.
TEST_F(Damaged, IndexWithoutTagsIsDroppedByEveryRebuild)
{
    const std::string cdx = dir + "/d.cdx";
    auto withEmptyIndex = [&](bool unflushed) {
        CompoundIndex::create(cdx)->flush();
        patch(path, 28, {0x03});                      // announces the index
        patch(path, 14, {std::uint8_t(unflushed)});   // and unflushed index changes
    };
    auto expectNoIndex = [&](std::uint32_t records) {
        EXPECT_FALSE(fs::exists(cdx));
        EXPECT_FALSE(fs::exists(cdx + ".tmp"));
        EXPECT_EQ(readBytes(path)[28] & 0x01, 0);
        auto t = Table::open(path, OpenMode::ReadOnly);
        EXPECT_EQ(t->recCount(), records);
        EXPECT_EQ(t->check(), std::vector<std::string>{});
    };
    const std::vector<std::function<void(Table&)>> rebuilds = {
        [](Table& t) { t.reindex(); }, [](Table& t) { t.pack(); }, [](Table& t) { t.zap(); }};
    for (std::size_t i = 0; i < rebuilds.size(); ++i) {
        SCOPED_TRACE(i);
        withEmptyIndex(false);
        {
            auto t = Table::open(path, OpenMode::Exclusive);
            EXPECT_EQ(t->tagCount(), 0u);
            rebuilds[i](*t);
        }
        expectNoIndex(i == 2 ? 0 : 3);   // zap empties the table
    }
    withEmptyIndex(true);   // the exclusive open finishes the interrupted index changes
    Table::open(path, OpenMode::Exclusive)->close();
    expectNoIndex(0);
}

// A memo header whose next free block lies far past the end of the file (found by the memo
// fuzzer): new memos go right after the data, not behind a hole of gigabytes.
TEST_F(Damaged, MemoNextFreeFarPastTheEndIsNotFollowed)
{
    patch(memo, 0, {0x40, 0x00, 0x00, 0x00});   // block 1 073 741 824
    const auto before = readBytes(memo).size();
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        t->go(1);
        t->replace("NOTES", "a new memo");
        EXPECT_EQ(t->getMemo("NOTES"), "a new memo");
    }
    EXPECT_LT(fs::file_size(memo), before + 512);
    auto t = Table::open(path, OpenMode::ReadOnly);
    EXPECT_EQ(t->check(), std::vector<std::string>{});
}
