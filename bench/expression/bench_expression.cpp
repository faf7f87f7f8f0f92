// Expression evaluation over a million in-memory address records: the filtered count the
// main window runs after every filter change, and the NAME key built for every record.

#include "expression.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

using namespace postavo::engine;

namespace {

struct Table {
    std::vector<FieldDef> fields;
    std::size_t recordSize = 1;
    std::vector<unsigned char> data;
    std::size_t count = 0;

    void add(const char* name, char type, uint16_t len)
    {
        fields.push_back(FieldDef{name, type, uint32_t(recordSize), len, 0});
        recordSize += len;
    }
    const FieldDef& field(const char* name) const
    {
        for (const FieldDef& f : fields)
            if (f.name == name)
                return f;
        std::abort();
    }
};

// Deterministic address-like records: the 23 address fields at their default widths.
const Table& table()
{
    static const Table t = [] {
        Table t;
        const struct { const char* n; char t; uint16_t l; } defs[] = {
            {"LNAME", 'C', 30}, {"FNAME", 'C', 30},  {"MIDDLE", 'C', 1},  {"PREFIX", 'C', 12},
            {"TITLE", 'C', 30}, {"ORG", 'C', 30},    {"STREET", 'C', 40}, {"STREET2", 'C', 40},
            {"CITY", 'C', 30},  {"STATE", 'C', 20},  {"ZIP", 'C', 10},    {"COUNTRY", 'C', 30},
            {"DATE", 'C', 15},  {"PHONE", 'C', 30},  {"PHONE2", 'C', 30}, {"FAX", 'C', 40},
            {"EMAIL", 'C', 40}, {"CODES", 'C', 30},  {"USER1", 'C', 40},  {"USER2", 'C', 40},
            {"ISDEL", 'L', 1},  {"TAG", 'C', 8},     {"MEMO", 'M', 10},
        };
        for (const auto& d : defs)
            t.add(d.n, d.t, d.l);
        t.count = 1000000;
        t.data.assign(t.count * t.recordSize, ' ');
        uint64_t seed = 12345;
        auto next = [&] {
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
            return uint32_t(seed >> 33);
        };
        const FieldDef& lname = t.field("LNAME");
        const FieldDef& fname = t.field("FNAME");
        const FieldDef& codes = t.field("CODES");
        const FieldDef& isdel = t.field("ISDEL");
        for (std::size_t i = 0; i < t.count; ++i) {
            unsigned char* r = &t.data[i * t.recordSize];
            const int ln = 4 + int(next() % 8), fn = 3 + int(next() % 6), cn = int(next() % 6);
            for (int k = 0; k < ln; ++k)
                r[lname.offset + k] = k ? 'a' + next() % 26 : 'A' + next() % 26;
            for (int k = 0; k < fn; ++k)
                r[fname.offset + k] = k ? 'a' + next() % 26 : 'A' + next() % 26;
            for (int k = 0; k < cn; ++k)
                r[codes.offset + 2 * k] = 'a' + next() % 8;   // codes like "a b d"
            r[isdel.offset] = next() % 20 == 0 ? 'T' : 'F';
        }
        return t;
    }();
    return t;
}

void scan(benchmark::State& state, const char* filter)
{
    const Table& t = table();
    const Expression e = Expression::compile(filter, t.fields);
    std::size_t visible = 0;
    for (auto _ : state) {
        visible = 0;
        RecordRef r;
        for (std::size_t i = 0; i < t.count; ++i) {
            r.data = &t.data[i * t.recordSize];
            r.recno = uint32_t(i + 1);
            visible += e.evalLogical(r);
        }
        benchmark::DoNotOptimize(visible);
    }
    state.counters["visible"] = double(visible);
    state.SetItemsProcessed(int64_t(state.iterations() * t.count));
}
void FilteredCount(benchmark::State& state) { scan(state, "\"C\"$UPPER(CODES) .and. !ISDEL"); }
BENCHMARK(FilteredCount)->Unit(benchmark::kMillisecond);
// For comparison: the deletion test alone (mostly the cost of walking the records), and a
// typical query-form filter.
void DeletionTestOnly(benchmark::State& state) { scan(state, "!ISDEL"); }
BENCHMARK(DeletionTestOnly)->Unit(benchmark::kMillisecond);
void NamePrefixFilter(benchmark::State& state)
{
    scan(state, "UPPER(LNAME)=\"JO\" .and. !ISDEL");
}
BENCHMARK(NamePrefixFilter)->Unit(benchmark::kMillisecond);

void NameKeys(benchmark::State& state)
{
    const Table& t = table();
    const Expression e = Expression::compile("UPPER(LNAME-FNAME)", t.fields);
    std::string key;
    for (auto _ : state) {
        RecordRef r;
        for (std::size_t i = 0; i < t.count; ++i) {
            r.data = &t.data[i * t.recordSize];
            e.evalKey(r, key);
            benchmark::DoNotOptimize(key.data());
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations() * t.count));
}
BENCHMARK(NameKeys)->Unit(benchmark::kMillisecond);

void CompileAddressTags(benchmark::State& state)
{
    const Table& t = table();
    const char* keys[] = {"UPPER(LNAME-FNAME)", "UPPER(LNAME)+UPPER(FNAME)", "UPPER(CITY+STATE)",
                          "UPPER(STATE-ZIP)", "DELETED()", "!ISDEL", "UPPER(CODES)"};
    for (auto _ : state)
        for (const char* k : keys)
            benchmark::DoNotOptimize(Expression::compile(k, t.fields));
}
BENCHMARK(CompileAddressTags);

} // namespace
