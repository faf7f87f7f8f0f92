// Compound-index speed: bulk build of a tag, random inserts into an open tag, walks and seeks.

#include "cdx.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>

using namespace postavo::engine;

namespace {

std::string scratch(const char* name)
{
    auto dir = std::filesystem::temp_directory_path() / "postavo-bench-index";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

// Name-like 30-byte keys: a few thousand distinct surnames, then a number, blank padded.
std::vector<KeyEntry> makeEntries(size_t n, uint32_t seed)
{
    static const char* parts[] = {"SMITH", "JOHNSON", "WILLIAMS", "BROWN", "JONES", "GARCIA", "MILLER",
                                  "DAVIS", "RODRIGUEZ", "MARTINEZ", "HERNANDEZ", "LOPEZ", "WILSON"};
    std::mt19937 rng(seed);
    std::vector<KeyEntry> out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        std::string k = std::string(parts[rng() % 13]) + parts[rng() % 13] + std::to_string(rng() % 100000);
        out.push_back({characterKey(k, 30), static_cast<uint32_t>(i + 1)});
    }
    std::shuffle(out.begin(), out.end(), rng);
    return out;
}

TagInfo tag30()
{
    TagInfo t;
    t.name = "NAME";
    t.keyExpr = "UPPER(LNAME)";
    t.keyLength = 30;
    return t;
}

void BM_BulkBuild(benchmark::State& state)
{
    const size_t n = static_cast<size_t>(state.range(0));
    auto entries = makeEntries(n, 1);
    std::string path = scratch("bulk.cdx");
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = entries;
        state.ResumeTiming();
        auto ix = CompoundIndex::create(path);
        ix->addTag(tag30(), std::move(copy));
        ix->flush();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}
BENCHMARK(BM_BulkBuild)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The same keys handed over as one block, as a table build does.
void BM_BulkBuildBlock(benchmark::State& state)
{
    const size_t n = static_cast<size_t>(state.range(0));
    auto entries = makeEntries(n, 1);
    KeyBlock block;
    for (const KeyEntry& e : entries) {
        block.keys += e.key;
        block.recnos.push_back(e.recno);
    }
    std::string path = scratch("bulk.cdx");
    for (auto _ : state) {
        state.PauseTiming();
        KeyBlock copy = block;
        state.ResumeTiming();
        auto ix = CompoundIndex::create(path);
        ix->buildTag(tag30(), copy);
        ix->flush();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}
BENCHMARK(BM_BulkBuildBlock)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_RandomInsert(benchmark::State& state)
{
    const size_t base = static_cast<size_t>(state.range(0));
    auto entries = makeEntries(base, 2);
    auto extra = makeEntries(100000, 3);
    std::string path = scratch("insert.cdx");
    for (auto _ : state) {
        state.PauseTiming();
        auto ix = CompoundIndex::create(path);
        ix->addTag(tag30(), entries);
        state.ResumeTiming();
        uint32_t rec = static_cast<uint32_t>(base);
        for (const KeyEntry& e : extra)
            ix->insertKey(0, e.key, ++rec);
        ix->flush();
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_RandomInsert)->Arg(0)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_RandomDelete(benchmark::State& state)
{
    auto entries = makeEntries(200000, 4);
    std::string path = scratch("delete.cdx");
    for (auto _ : state) {
        state.PauseTiming();
        auto ix = CompoundIndex::create(path);
        ix->addTag(tag30(), entries);
        state.ResumeTiming();
        for (size_t i = 0; i < 100000; ++i)
            ix->deleteKey(0, entries[i].key, entries[i].recno);
        ix->flush();
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_RandomDelete)->Unit(benchmark::kMillisecond);

void BM_WalkAndSeek(benchmark::State& state)
{
    auto entries = makeEntries(1000000, 5);
    std::string path = scratch("walk.cdx");
    {
        auto ix = CompoundIndex::create(path);
        ix->addTag(tag30(), entries);
    }
    auto ix = CompoundIndex::open(path, true);
    for (auto _ : state) {
        auto c = ix->cursor(0);
        size_t n = 0;
        for (bool ok = c->first(); ok; ok = c->next())
            ++n;
        for (size_t i = 0; i < 10000; ++i)
            benchmark::DoNotOptimize(c->seek(entries[i * 97].key));
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_WalkAndSeek)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
