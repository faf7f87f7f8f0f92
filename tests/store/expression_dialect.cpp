// Operators and functions of the expression dialect, evaluated on one sample record.

#include "expression.h"
#include "support_expression_table.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace postavo::engine;
using exprtest::Layout;

namespace {

class Memos : public MemoSource {
public:
    std::string memoText(uint32_t block) const override
    {
        ++reads;
        return block == 7 ? "memo text here" : std::string();
    }
    mutable int reads = 0;
};

std::string le(uint64_t v, int bytes)
{
    std::string s;
    for (int i = 0; i < bytes; ++i)
        s += char((v >> (8 * i)) & 0xFF);
    return s;
}

class Dialect : public ::testing::Test {
protected:
    Dialect()
    {
        layout.add("NAME", 'C', 10).add("FIRST", 'C', 6).add("CODES", 'C', 10)
            .add("PRICE", 'N', 8, 3).add("QTY", 'N', 5).add("BLANKN", 'N', 5)
            .add("ACTIVE", 'L', 1).add("OFF", 'L', 1).add("SOLD", 'D', 8).add("NODATE", 'D', 8)
            .add("NOTES", 'M', 10).add("EMPTYM", 'M', 10).add("VNOTES", 'M', 4)
            .add("ICNT", 'I', 4).add("CASH", 'Y', 8).add("DBL", 'B', 8).add("STAMP", 'T', 8)
            .add("ACCENT", 'C', 6);
        rec = layout.blank();
        layout.set(rec, "NAME", "Smith");
        layout.set(rec, "FIRST", "John");
        layout.set(rec, "CODES", "abC");
        layout.set(rec, "PRICE", "12.500");
        layout.set(rec, "QTY", "-3");
        layout.set(rec, "ACTIVE", "T");
        layout.set(rec, "OFF", "F");
        layout.set(rec, "SOLD", "20240229");
        layout.set(rec, "NOTES", "         7");
        layout.set(rec, "VNOTES", le(7, 4));
        layout.set(rec, "ICNT", le(42, 4));
        layout.set(rec, "CASH", le(123456, 8));
        double d = 2.5;
        uint64_t bits;
        std::memcpy(&bits, &d, 8);
        layout.set(rec, "DBL", le(bits, 8));
        layout.set(rec, "STAMP", le(2451604, 4) + le(3600000, 4));
        layout.set(rec, "ACCENT", "\xE0\xE9\xFF\x9A\x9C\x9E");
    }

    std::string show(const std::string& text, bool exact = false)
    {
        const Expression e = Expression::compile(text, layout.fields);
        return e.evalDisplay(ref(), EvalOptions{exact});
    }
    bool test(const std::string& text, bool exact = false)
    {
        const Expression e = Expression::compile(text, layout.fields);
        return e.evalLogical(ref(), EvalOptions{exact});
    }
    RecordRef ref() const
    {
        RecordRef r;
        r.data = rec.data();
        r.recno = 17;
        r.memo = &memos;
        return r;
    }

    Layout layout;
    std::vector<unsigned char> rec;
    Memos memos;
};

struct Row {
    const char* expr;
    const char* value;
};

TEST_F(Dialect, ValuesOfOperatorsAndFunctions)
{
    const Row rows[] = {
        // literals and fields of every type
        {"NAME", "Smith     "}, {"'ab'", "ab"}, {"[ab]", "ab"}, {"\"a'b\"", "a'b"},
        {"PRICE", "12.5"}, {"QTY", "-3"}, {"BLANKN", "0"}, {"ICNT", "42"}, {"CASH", "12.3456"},
        {"DBL", "2.5"}, {"DTOS(STAMP)", "20000229"}, {"SOLD", "02/29/2024"},
        {"NODATE", "  /  /    "}, {"ACTIVE", ".T."}, {"OFF", ".F."}, {".t.", ".T."},
        {".F.", ".F."}, {"NOTES", "memo text here"}, {"VNOTES", "memo text here"},
        {"EMPTYM", ""}, {"RECNO()", "17"}, {"DELETED()", ".F."}, {"1.5", "1.5"}, {".5", "0.5"},
        // letter case
        {"UPPER(NAME)", "SMITH     "}, {"LOWER(NAME)", "smith     "},
        {"UPPER(ACCENT)", "\xC0\xC9\x9F\x8A\x8C\x8E"},
        {"LOWER(UPPER(ACCENT))", "\xE0\xE9\xFF\x9A\x9C\x9E"},
        {"UPPER(\"\xF7\xDF\xD7\")", "\xF7\xDF\xD7"},
        // joining
        {"NAME+FIRST", "Smith     John  "}, {"NAME-FIRST", "SmithJohn       "},
        {"\"SMITH     \"-\"JOHN  \"", "SMITHJOHN       "}, {"\"AB\"-\"CD\"", "ABCD"},
        {"\"   \"-\"X \"", "X    "}, {"\"\"-\"X\"", "X"},
        // trimming and cutting
        {"TRIM(NAME)", "Smith"}, {"RTRIM(NAME)", "Smith"}, {"LTRIM(\"  a \")", "a "},
        {"ALLTRIM(\"  a \")", "a"}, {"LEFT(NAME,3)", "Smi"}, {"LEFT(NAME,0)", ""},
        {"LEFT(NAME,99)", "Smith     "}, {"LEFT(NAME,-1)", ""}, {"RIGHT(\"abcdef\",2)", "ef"},
        {"RIGHT(\"ab\",5)", "ab"}, {"SUBSTR(\"abcdef\",2,3)", "bcd"}, {"SUBSTR(\"abcdef\",5)", "ef"},
        {"SUBSTR(\"abcdef\",7)", ""}, {"SUBSTR(\"abcdef\",0,2)", ""}, {"SUBSTR(\"abcdef\",5,9)", "ef"},
        {"LEN(NAME)", "10"}, {"LEN(TRIM(NAME))", "5"}, {"AT(\"it\",NAME)", "3"},
        {"AT(\"zz\",NAME)", "0"},
        // dates
        {"DTOS(SOLD)", "20240229"}, {"DTOS(NODATE)", "        "}, {"DTOC(SOLD)", "02/29/2024"},
        {"DTOC(NODATE)", "  /  /    "}, {"DTOS(CTOD(\"12/31/1999\"))", "19991231"},
        {"DTOS(CTOD(\"02/30/2024\"))", "        "}, {"DTOS(CTOD(\"1/2/99\"))", "19990102"},
        {"DTOS(SOLD+1)", "20240301"}, {"DTOS(1+SOLD)", "20240301"}, {"DTOS(SOLD-60)", "20231231"},
        {"SOLD-CTOD(\"01/01/2024\")", "59"}, {"DTOS(NODATE+1)", "        "},
        // numbers
        {"STR(PRICE)", "        13"}, {"STR(12.5,6,2)", " 12.50"}, {"STR(-3)", "        -3"},
        {"STR(123456,3)", "***"}, {"STR(1234.5678,6,2)", "1234.6"}, {"STR(0.4)", "         0"},
        {"STR(-0.4,4)", "   0"}, {"STR(7,0)", ""}, {"STR(1/0)", "**********"},
        {"VAL(\"  12.5abc\")", "12.5"}, {"VAL(\"x\")", "0"}, {"VAL(\"-7\")", "-7"},
        {"PRICE*2", "25"}, {"PRICE/4", "3.125"}, {"QTY+1", "-2"}, {"BLANKN+1", "1"},
        {"7%3", "1"}, {"-7%3", "2"}, {"2^10", "1024"}, {"2**3", "8"}, {"-QTY", "3"},
        {"+QTY", "-3"}, {"1+2*3", "7"}, {"(1+2)*3", "9"}, {"10-4-3", "3"}, {"2*3^2", "18"},
        // IIF
        {"IIF(ACTIVE,\"yes\",\"no\")", "yes"}, {"IIF(OFF,1,2)", "2"},
        // further numeric, date and text helpers
        {"INT(-3.7)", "-3"}, {"ROUND(2.345,2)", "2.35"}, {"ROUND(1250,-2)", "1300"},
        {"ABS(QTY)", "3"}, {"YEAR(SOLD)", "2024"}, {"MONTH(SOLD)", "2"}, {"DAY(SOLD)", "29"},
        {"YEAR(NODATE)", "0"}, {"CHR(65)+CHR(233)", "A\xE9"}, {"ASC(NAME)", "83"}, {"ASC(\"\")", "0"},
        {"SPACE(3)+\"x\"", "   x"}, {"PADL(\"ab\",5)", "   ab"}, {"PADR(\"ab\",5,\"*\")", "ab***"},
        {"PADL(\"abcdef\",3)", "abc"}, {"PADR(NAME,0)", ""}, {"LEN(SPACE(99999))", "1024"},
        // function names cut to four letters, any case
        {"UPPE(name)", "SMITH     "}, {"subs(\"abc\",2)", "bc"}, {"AllT(\" a \")", "a"},
        {"dtos(Sold)", "20240229"}, {"Recn()", "17"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(show(r.expr), r.value) << r.expr;
}

TEST_F(Dialect, ConditionsAndPrecedence)
{
    const std::pair<const char*, bool> rows[] = {
        {"ACTIVE", true}, {"!ACTIVE", false}, {".NOT. ACTIVE", false}, {"NOT ACTIVE", false},
        {"not(OFF)", true}, {"ACTIVE .AND. OFF", false}, {"ACTIVE AND OFF", false},
        {"ACTIVE .OR. OFF", true}, {"active or off", true}, {"ACTIVE.and.!OFF", true},
        {".T. .OR. .T. .AND. .F.", true}, {"(.T. .OR. .T.) .AND. .F.", false},
        {"!.F. .AND. .F.", false}, {".NOT. 1 = 2", true}, {"!1=1 .OR. .T.", true},
        {"1+1=2", true}, {"\"a\"+\"b\"=\"ab\"", true}, {"1=1.AND.2=2", true},
        {"2 > 1", true}, {"PRICE = 12.5", true}, {"QTY < 0", true}, {"QTY >= -3", true},
        {"SOLD > CTOD(\"01/01/2024\")", true}, {"NODATE < SOLD", true}, {"ACTIVE = .T.", true},
        {"OFF <> ACTIVE", true}, {"OFF == .F.", true},
        // containment, memo included
        {"\"mit\" $ NAME", true}, {"\"MIT\" $ NAME", false}, {"\"C\"$UPPER(CODES)", true},
        {"\"\" $ NAME", true}, {"\"Smith  x\" $ NAME", false}, {"\"text\" $ NOTES", true},
        {"\"TEXT\" $ NOTES", false}, {"\"x\" $ EMPTYM", false}, {"\"text\" $ VNOTES", true},
        // EMPTY on every type
        {"EMPTY(NAME)", false}, {"EMPTY(BLANKN)", true}, {"EMPTY(QTY)", false},
        {"EMPTY(NODATE)", true}, {"EMPTY(SOLD)", false}, {"EMPTY(OFF)", true},
        {"EMPTY(NOTES)", false}, {"EMPTY(EMPTYM)", true}, {"EMPTY(\" \t\")", true},
        {"EMPTY(0)", true}, {"EMPTY(\"\")", true},
        // conditions the program builds for its filters and utilities
        {"UPPER(NAME)=\"SMI\"", true}, {"((UPPER(NAME)=\"NY\").or.(UPPER(NAME)=\"SM\"))", true},
        {"UPPER(NAME)=\"\"", true}, {"(!(UPPER(NAME)=\"SMITH\"))", false},
        {"LEFT(upper(NAME),5)==upper(\"smith\")", true}, {"LEFT(NAME,5)==\"Smith\"", true},
        {".not.(UPPER(NAME)=\"X\")", true}, {"upper(\"MI\")$upper(NAME)", true},
        {"\"C\"$UPPER(CODES) .and. !OFF", true},
        // an empty list piece matches everything; so does a containment test of nothing
        {"((UPPER(NAME)=\"A\").or.(UPPER(NAME)=\"\")) .and. !OFF", true},
        {"\"\"$UPPER(CODES) .and. !OFF", true},
        {"((UPPER(NAME)=\"S\").and..not.(UPPER(NAME)=\"SMITH\"))", false},
        {"(!(((UPPER(NAME)=\"SM\").and.(UPPER(FIRST)=\"J\")))) .and. !OFF", false},
        {"upper(\"JOHN\")$upper(FIRST)", true}, {"\"Jo\"$FIRST", true}, {"EMPTY(CODES)", false},
        {"LEFT(upper(FIRST),4)==upper(\"john\")", true}, {"LEFT(FIRST,3)==\"Joh\"", true},
    };
    for (const auto& [expr, want] : rows)
        EXPECT_EQ(test(expr), want) << expr;
}

TEST_F(Dialect, StringComparisonWithExactOffAndOn)
{
    struct Cmp {
        const char* expr;
        bool off, on;
    };
    const Cmp rows[] = {
        {"\"abc\" = \"ab\"", true, false},   {"\"ab\" = \"abc\"", false, false},
        {"\"ab\" = \"ab \"", false, true},    {"\"ab \" = \"ab\"", true, true},
        {"\"abc\" = \"\"", true, false},     {"\"\" = \"abc\"", false, false},
        {"\"abc\" = \"ab \"", false, false}, {"\"ab\" < \"ab \"", true, false},
        {"\"\" = \"\"", true, true},         {"\"abc\" == \"ab\"", false, false},
        {"\"ab \" == \"ab\"", false, false}, {"\"ab\" == \"ab\"", true, true},
        {"\"abc\" <> \"ab\"", false, true},  {"\"abc\" # \"ab\"", false, true},
        {"\"abc\" != \"ab\"", false, true},  {"\"abc\" < \"abd\"", true, true},
        {"\"ab\" < \"abc\"", true, true},    {"\"abc\" > \"ab\"", false, true},
        {"\"abc\" >= \"ab\"", true, true},   {"\"abc\" <= \"ab\"", true, false},
        {"\"Ab\" < \"aB\"", true, true},     {"\"\xE9\" > \"z\"", true, true},
        {"\"ab\t\" < \"ab\"", false, true},   {"NAME = \"Smith\"", true, true},
        {"NAME == \"Smith\"", false, false}, {"TRIM(NAME) == \"Smith\"", true, true},
        {"NAME = \"Smithy\"", false, false},
    };
    for (const Cmp& c : rows) {
        EXPECT_EQ(test(c.expr, false), c.off) << c.expr << " exact off";
        EXPECT_EQ(test(c.expr, true), c.on) << c.expr << " exact on";
    }
}

TEST(DialectCase, UpperAndLowerOnEveryByte)
{
    EXPECT_EQ(upperChar('a'), 'A');
    EXPECT_EQ(upperChar(0xE0), 0xC0);
    EXPECT_EQ(upperChar(0xFE), 0xDE);
    EXPECT_EQ(upperChar(0xF7), 0xF7);
    EXPECT_EQ(upperChar(0xDF), 0xDF);
    EXPECT_EQ(upperChar(0xFF), 0x9F);
    EXPECT_EQ(upperChar(0x9A), 0x8A);
    EXPECT_EQ(lowerChar(0x8E), 0x9E);
    EXPECT_EQ(lowerChar(0xD7), 0xD7);
    EXPECT_EQ(lowerChar('Z'), 'z');
    EXPECT_EQ(upperChar('{'), '{');
    EXPECT_EQ(upperChar('`'), '`');
    // Every byte at every alignment, through the expression functions.
    Layout l;
    l.add("ALL", 'C', 263);
    std::vector<unsigned char> rec = l.blank();
    for (int i = 0; i < 263; ++i)
        rec[1 + i] = static_cast<unsigned char>((i * 7 + 3) % 256);
    RecordRef r;
    r.data = rec.data();
    const std::string upper = Expression::compile("UPPER(ALL)", l.fields).evalDisplay(r);
    const std::string lower = Expression::compile("LOWER(ALL)", l.fields).evalDisplay(r);
    ASSERT_EQ(upper.size(), 263u);
    for (int i = 0; i < 263; ++i) {
        EXPECT_EQ(static_cast<unsigned char>(upper[i]), upperChar(rec[1 + i])) << i;
        EXPECT_EQ(static_cast<unsigned char>(lower[i]), lowerChar(rec[1 + i])) << i;
    }
    for (int c = 0; c < 256; ++c)
        if (upperChar(static_cast<unsigned char>(c)) != c) {
            EXPECT_EQ(lowerChar(upperChar(static_cast<unsigned char>(c))), c) << c;
        }
}

TEST_F(Dialect, DeletionFlagAndMissingMemoSource)
{
    rec[0] = '*';
    EXPECT_TRUE(test("DELETED()"));
    EXPECT_TRUE(test("deleted() .and. ACTIVE"));
    const Expression e = Expression::compile("EMPTY(NOTES)", layout.fields);
    RecordRef r;
    r.data = rec.data();
    EXPECT_TRUE(e.evalLogical(r));   // no memo source: memos read as empty
    EXPECT_FALSE(e.evalLogical(ref()));
}

TEST_F(Dialect, EmptyMemoIsNotFetched)
{
    EXPECT_TRUE(test("EMPTY(EMPTYM)"));
    EXPECT_EQ(memos.reads, 0);
}

TEST_F(Dialect, EmptyExpressionAndTypes)
{
    Expression none;
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(none.evalLogical(ref()));
    EXPECT_EQ(Expression::compile("NAME", layout.fields).type(), ValueType::Character);
    EXPECT_EQ(Expression::compile("PRICE+1", layout.fields).type(), ValueType::Numeric);
    EXPECT_EQ(Expression::compile("SOLD+1", layout.fields).type(), ValueType::Date);
    EXPECT_EQ(Expression::compile("SOLD-SOLD", layout.fields).type(), ValueType::Numeric);
    EXPECT_EQ(Expression::compile("ACTIVE", layout.fields).type(), ValueType::Logical);
    const Expression name = Expression::compile("upper(name)", layout.fields);
    EXPECT_EQ(name.text(), "upper(name)");
    EXPECT_THROW(name.evalLogical(ref()), EngineError);
}

TEST_F(Dialect, CopiesEvaluateIndependently)
{
    Expression a = Expression::compile("UPPER(NAME)+FIRST", layout.fields);
    Expression b = a;
    Expression c;
    c = b;
    std::vector<unsigned char> other = layout.blank();
    layout.set(other, "NAME", "jones");
    RecordRef r2;
    r2.data = other.data();
    EXPECT_EQ(a.evalDisplay(ref()), "SMITH     John  ");
    EXPECT_EQ(c.evalDisplay(r2), "JONES           ");
    EXPECT_EQ(b.evalDisplay(ref()), "SMITH     John  ");
    Expression moved = std::move(a);
    EXPECT_EQ(moved.evalDisplay(r2), "JONES           ");
}

} // namespace
