// Large tables: tags built through sorted runs on two threads, and the keys of
// many new records taken into the tags at once. Both must give exactly what the simple way does.
#include "engine_support.h"
#include "write_faults.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>

using namespace postavo::engine;
using namespace enginetest;

namespace {

constexpr std::uint32_t kRecords = 24000;   // enough for the second thread to take part

std::vector<FieldSpec> fields()
{
    return {{"NAME", 'C', 40, 0}, {"CODE", 'C', 8, 0}, {"QTY", 'N', 8, 2}, {"WHEN", 'D', 8, 0},
            {"ACTIVE", 'L', 1, 0}, {"NOTES", 'M', 10, 0}};
}

std::vector<TagSpec> tags()
{
    return {{"NAME", "UPPER(NAME)"},
            {"CODE", "UPPER(CODE)", "", true},
            {"QTY", "QTY"},
            {"WHEN", "DTOS(WHEN)"},
            {"ACTIVE", "UPPER(NAME)", "ACTIVE"},
            {"DEL", "DELETED()"},
            {"LONG", "UPPER(NAME)+CODE+STR(QTY,8,2)"},
            {"MIXED", "LOWER(CODE)+UPPER(NAME)"}};
}

// Names share long heads and differ past the sixteenth byte, or are short, or blank.
std::string nameOf(std::uint32_t i)
{
    switch (i % 5) {
    case 0: return "Alexandria Street Fellowship " + std::to_string(i % 733);
    case 1: return "Bo " + std::to_string(i % 97);
    case 2: return "";
    case 3: return "Zeta" + std::string(i % 13, 'z');
    default: return "Müller-Lüdenscheidt " + std::to_string(i);
    }
}

void fill(Table& t, std::uint32_t i)
{
    t.replace("NAME", nameOf(i));
    t.replace("CODE", std::string(1, char('A' + i % 7)) + std::to_string(i % 50));
    t.replaceNumber("QTY", double(i % 1000) / 4);
    char date[16];
    std::snprintf(date, sizeof date, "%04u%02u%02u", 1990 + i % 30, 1 + (i * 7) % 12, 1 + (i * 13) % 28);
    t.replace("WHEN", date);
    t.replaceLogical("ACTIVE", i % 3 == 0);
    if (i % 11 == 0)
        t.replace("NOTES", "note " + std::to_string(i));
}

std::string makeTable(const std::string& dir, const std::string& name)
{
    const std::string path = dir + "/" + name + ".dbf";
    Table::create(path, fields());
    auto t = Table::open(path, OpenMode::Exclusive);
    for (std::uint32_t i = 1; i <= kRecords; ++i) {
        t->appendBlank();
        fill(*t, i);
        if (i % 40 == 0)
            t->deleteRecord();
    }
    t->close();
    return path;
}

std::vector<std::uint32_t> walk(Table& t, const std::string& order)
{
    t.setOrder(order);
    std::vector<std::uint32_t> r;
    for (t.goTop(); !t.eof(); t.skip())
        r.push_back(t.recNo());
    return r;
}

} // namespace

TEST(BulkBuild, TagsBuiltInSeveralPassesAreTheSameFileAsInOne)
{
    const std::string dir = scratchDir("bulk-build");
    const std::string onePass = makeTable(dir, "one");
    fs::copy_file(onePass, dir + "/many.dbf");
    fs::copy_file(dir + "/one.fpt", dir + "/many.fpt");
    const std::string manyPasses = dir + "/many.dbf";
    {
        auto t = Table::open(onePass, OpenMode::Exclusive);
        t->indexTags(tags());
        EXPECT_EQ(t->check(), std::vector<std::string>{});
    }
    {
        auto t = Table::open(manyPasses, OpenMode::Exclusive);
        t->setIndexBuildMemory(1u << 20);   // sorted in six runs, then merged
        std::vector<int> seen;
        t->setProgressHook([&](int p) { seen.push_back(p); });
        t->indexTags(tags());
        ASSERT_FALSE(seen.empty());
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_EQ(seen.back(), 100);
        EXPECT_EQ(t->check(), std::vector<std::string>{});
        // The unique tag keeps one record per code, the lowest: "A0" first appears at 350.
        t->setOrder("CODE");
        t->goTop();
        EXPECT_EQ(t->recNo(), 350u);
    }
    EXPECT_EQ(readBytes(dir + "/one.cdx"), readBytes(dir + "/many.cdx"));
}

// The sorted runs go to scratch files beside the table: a disk that fills while they are written
// or merged leaves the index as it was, and no scratch file behind.
TEST(BulkBuild, AFullDiskDuringARunBuildLeavesTheIndexAsItWas)
{
    const std::string dir = scratchDir("bulk-full");
    const std::string path = makeTable(dir, "t");
    {
        auto t = Table::open(path, OpenMode::Exclusive);
        t->indexTags(tags());
    }
    const auto before = readBytes(dir + "/t.cdx");
    for (const auto& [failing, allowed] : {std::pair{".sort", 3}, std::pair{".cdx", 0}}) {
        auto t = Table::open(path, OpenMode::Exclusive);
        t->setIndexBuildMemory(1u << 20);
        int writes = 0;
        setWriteFaultHook([&](const std::string& p, std::uint64_t, std::size_t) {
            return p.find(failing) != std::string::npos && ++writes > allowed ? ENOSPC : 0;
        });
        EXPECT_THROW(t->reindex(), EngineError) << failing;
        setWriteFaultHook({});
        EXPECT_EQ(t->check(), std::vector<std::string>{}) << failing;
        t->close();
        EXPECT_EQ(readBytes(dir + "/t.cdx"), before) << failing;
        for (const auto& entry : fs::directory_iterator(dir))
            EXPECT_EQ(entry.path().string().find(".sort"), std::string::npos) << entry.path();
    }
}

TEST(BulkBuild, NewRecordsAreFoundAtOnceAndTheTagsEndAsIfRebuilt)
{
    const std::string dir = scratchDir("bulk-append");
    const std::string path = dir + "/t.dbf";
    Table::create(path, fields());
    auto t = Table::open(path, OpenMode::Exclusive);
    for (std::uint32_t i = 1; i <= 1500; ++i) {
        t->appendBlank();
        fill(*t, i);
    }
    t->indexTags(tags());
    t->commit();
    for (std::uint32_t i = 1501; i <= 6000; ++i) {
        t->appendBlank();
        fill(*t, i);
        if (i % 300 == 0) {
            // A new record is found by seek before anything is committed.
            t->postRecord();
            t->setOrder("LONG");
            t->go(i);
            const std::string key = t->evalString("UPPER(NAME)+CODE+STR(QTY,8,2)");
            EXPECT_TRUE(t->seek(key)) << i;
            EXPECT_EQ(t->evalString("UPPER(NAME)+CODE+STR(QTY,8,2)"), key);
            EXPECT_EQ(walk(*t, "QTY").size(), i);
            t->setOrder(0);
            t->go(i);
        }
        if (i % 170 == 0) {   // a new record changed again: its queued key is replaced
            t->postRecord();
            t->go(i);
            t->replace("NAME", "Changed " + std::to_string(i));
            t->replaceLogical("ACTIVE", !t->getLogical("ACTIVE"));
        }
        if (i % 45 == 0)
            t->deleteRecord();
    }
    t->commit();
    EXPECT_EQ(t->check(), std::vector<std::string>{});
    std::vector<std::vector<std::uint32_t>> before;
    for (const TagSpec& s : tags())
        before.push_back(walk(*t, s.name));
    t->close();

    t = Table::open(path, OpenMode::Exclusive);
    EXPECT_EQ(t->check(), std::vector<std::string>{});
    t->reindex();
    for (std::size_t k = 0; k < tags().size(); ++k)
        EXPECT_EQ(walk(*t, tags()[k].name), before[k]) << tags()[k].name;
}

// Scratch tables of an import or an export are filled a block of records at a time: the files
// must be the ones posting record by record makes, and a failed block must leave no trace.
TEST(BulkAppend, BlocksOfRecordsMakeTheFilesThatPostingOneByOneMakes)
{
    const std::string dir = scratchDir("bulk-records");
    const std::string single = dir + "/single.dbf", blocks = dir + "/blocks.dbf";
    Table::create(single, fields());
    Table::create(blocks, fields());
    auto a = Table::open(single, OpenMode::Exclusive);
    auto b = Table::open(blocks, OpenMode::Exclusive);
    std::string gathered;
    std::size_t waiting = 0;
    for (std::uint32_t i = 1; i <= 700; ++i) {
        a->appendBlank();
        fill(*a, i);
        if (i % 9 == 0)
            a->deleteRecord();
        a->postRecord();
        std::string rec = a->getRecord();
        b->storeMemo("NOTES", reinterpret_cast<unsigned char*>(rec.data()), a->getMemo("NOTES"));
        gathered += rec;
        if (++waiting == 64 || i == 700) {
            b->appendRecords(reinterpret_cast<const unsigned char*>(gathered.data()), waiting);
            gathered.clear();
            waiting = 0;
        }
    }
    a->close();
    EXPECT_EQ(b->recCount(), 700u);
    b->close();
    EXPECT_EQ(readBytes(single), readBytes(blocks));
    EXPECT_EQ(readBytes(dir + "/single.fpt"), readBytes(dir + "/blocks.fpt"));

    // A block that cannot be written (a full disk) leaves the table as it was and usable.
    b = Table::open(blocks, OpenMode::Exclusive);
    const auto before = readBytes(blocks);
    const std::string rec = b->getRecord();
    std::string three = rec + rec + rec;
    setWriteFaultHook([](const std::string& p, std::uint64_t, std::size_t length) {
        return p.find("blocks.dbf") != std::string::npos && length > 100 ? ENOSPC : 0;
    });
    EXPECT_THROW(b->appendRecords(reinterpret_cast<const unsigned char*>(three.data()), 3), EngineError);
    setWriteFaultHook({});
    EXPECT_EQ(b->recCount(), 700u);
    EXPECT_EQ(readBytes(blocks), before);
    three[0] = 'X';   // not a deletion flag: refused before anything is written
    EXPECT_THROW(b->appendRecords(reinterpret_cast<const unsigned char*>(three.data()), 3), EngineError);
    three[0] = ' ';
    b->appendRecords(reinterpret_cast<const unsigned char*>(three.data()), 3);
    b->close();
    b = Table::open(blocks, OpenMode::Exclusive);
    EXPECT_EQ(b->recCount(), 703u);
    b->indexTags(tags());   // and with an index open, bulk appends are refused
    EXPECT_THROW(b->appendRecords(reinterpret_cast<const unsigned char*>(three.data()), 1), EngineError);
    EXPECT_EQ(b->check(), std::vector<std::string>{});
}
