// Evaluating a compiled expression touches no heap memory per record, so a scan over a
// million records does not allocate a million times.

#include "expression.h"
#include "support_expression_table.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t n)
{
    ++g_allocations;
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

using namespace postavo::engine;

namespace {

TEST(ExpressionAllocation, ScanLoopDoesNotAllocate)
{
    const exprtest::Layout l = exprtest::addressLayout();
    std::vector<std::vector<unsigned char>> records;
    const char* names[] = {"Jones", "Smith", "\xE9lise", ""};
    for (int i = 0; i < 4; ++i) {
        records.push_back(l.blank());
        l.set(records.back(), "LNAME", names[i]);
        l.set(records.back(), "FNAME", names[3 - i]);
        l.set(records.back(), "CODES", i % 2 ? "abc" : "xyz");
        l.set(records.back(), "ISDEL", i == 3 ? "T" : "F");
        l.set(records.back(), "DATE", "20240101");
        l.set(records.back(), "STATE", "ny");
    }
    const char* filters[] = {
        "\"C\"$UPPER(CODES) .and. !ISDEL",
        "UPPER(LNAME)=\"JONES\" .and. !ISDEL",
        "((UPPER(STATE)=\"NY\").or.(UPPER(STATE)=\"NJ\")) .and. !ISDEL",
        "(!(UPPER(LNAME-FNAME)>=\"J\")) .and. !ISDEL",
        "LEFT(upper(LNAME),5)==upper(\"jones\") .or. EMPTY(LNAME) .or. DELETED()",
        "DTOS(CTOD(\"01/02/2024\")) > TRIM(DATE) .and. STR(RECNO(),6) <> \"\" .and. VAL(ZIP) = 0",
        "IIF(ISDEL, LOWER(FNAME), SUBSTR(LNAME+FNAME,2,8)) $ \"xyz\" .or. .T.",
    };
    const char* keys[] = {"UPPER(LNAME-FNAME)", "UPPER(LNAME)+UPPER(FNAME)", "UPPER(CITY+STATE)",
                          "DELETED()", "!ISDEL", "UPPER(STATE-ZIP)", "DTOS(CTOD(DATE))+STR(RECNO())"};
    std::vector<Expression> compiled;
    for (const char* f : filters)
        compiled.push_back(Expression::compile(f, l.fields));
    std::vector<Expression> keyExprs;
    for (const char* k : keys)
        keyExprs.push_back(Expression::compile(k, l.fields));
    std::string key;
    key.reserve(256);

    const long before = g_allocations.load();
    long hits = 0;
    for (int pass = 0; pass < 3; ++pass)
        for (std::size_t i = 0; i < records.size(); ++i) {
            RecordRef r;
            r.data = records[i].data();
            r.recno = uint32_t(i + 1);
            for (const Expression& e : compiled)
                hits += e.evalLogical(r, EvalOptions{pass == 1});
            for (const Expression& e : keyExprs)
                e.evalKey(r, key);
        }
    EXPECT_EQ(g_allocations.load() - before, 0);
    EXPECT_GT(hits, 0);

    // The counter does see allocations (a display string longer than the small buffer).
    RecordRef r;
    r.data = records[0].data();
    const long control = g_allocations.load();
    const std::string shown = keyExprs[0].evalDisplay(r);
    EXPECT_GT(g_allocations.load(), control);
    EXPECT_EQ(shown.size(), 60u);
}

} // namespace
