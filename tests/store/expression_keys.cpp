// Index keys computed by expressions: lengths and bytes of the address file's 26 tags, and
// the order of every tag of the sample tables written by an independent xBase engine.

#include "expression.h"
#include "keycodec.h"
#include "support_expression_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

using namespace postavo::engine;

namespace {

struct TagDef {
    const char* name;
    const char* key;
    std::size_t length;
};

// The address file's production index, in creation order.
const TagDef kAddressTags[] = {
    {"NAME", "UPPER(LNAME-FNAME)", 60}, {"LNAME", "UPPER(LNAME)+UPPER(FNAME)", 60},
    {"FNAME", "UPPER(FNAME)", 30},      {"TITLE", "UPPER(TITLE)", 30},
    {"ORG", "UPPER(ORG)", 30},          {"STREET", "UPPER(STREET)", 40},
    {"STREET2", "UPPER(STREET2)", 40},  {"CITY", "UPPER(CITY+STATE)", 50},
    {"STATE", "UPPER(STATE)", 20},      {"ZIP", "UPPER(ZIP)", 10},
    {"COUNTRY", "UPPER(COUNTRY)", 30},  {"PHONE", "UPPER(PHONE)", 30},
    {"PHONE2", "UPPER(PHONE2)", 30},    {"EMAIL", "UPPER(EMAIL)", 40},
    {"FAX", "UPPER(FAX)", 40},          {"USER1", "UPPER(USER1)", 40},
    {"USER2", "UPPER(USER2)", 40},      {"DATE", "UPPER(DATE)", 15},
    {"TAG", "UPPER(TAG)", 8},           {"CODES", "UPPER(CODES)", 30},
    {"PREFIX", "UPPER(PREFIX)", 12},    {"MIDDLE", "UPPER(MIDDLE)", 1},
    {"DELETED", "DELETED()", 1},        {"STATEZIP", "UPPER(STATE-ZIP)", 30},
    {"ISDEL", "ISDEL", 1},              {"NOTISDEL", "!ISDEL", 1},
};

std::string pad(const std::string& s, std::size_t n) { return characterKey(s, n); }

TEST(ExpressionKeys, AddressTagsOnASampleRecord)
{
    const exprtest::Layout l = exprtest::addressLayout();
    std::vector<unsigned char> rec = l.blank();
    l.set(rec, "LNAME", "Jones");
    l.set(rec, "FNAME", "Zed");
    l.set(rec, "MIDDLE", "q");
    l.set(rec, "PREFIX", "Mr.");
    l.set(rec, "TITLE", "Chief clerk");
    l.set(rec, "ORG", "Acme & S\xF6hne");
    l.set(rec, "STREET", "12 Elm st");
    l.set(rec, "STREET2", "Suite 4");
    l.set(rec, "CITY", "Springfield");
    l.set(rec, "STATE", "il");
    l.set(rec, "ZIP", "62701");
    l.set(rec, "COUNTRY", "usa");
    l.set(rec, "DATE", "19991231");
    l.set(rec, "PHONE", "555-0101 ext");
    l.set(rec, "PHONE2", "");
    l.set(rec, "FAX", "555-0102");
    l.set(rec, "EMAIL", "zed@example.com");
    l.set(rec, "CODES", "abc");
    l.set(rec, "USER1", "first note");
    l.set(rec, "USER2", "\xE9t\xE9");
    l.set(rec, "ISDEL", "F");
    l.set(rec, "TAG", "1AB2C3");
    l.set(rec, "MEMO", "         3");

    const std::map<std::string, std::string> want = {
        {"NAME", pad("JONESZED", 60)},
        {"LNAME", pad("JONES", 30) + pad("ZED", 30)},
        {"FNAME", pad("ZED", 30)},
        {"TITLE", pad("CHIEF CLERK", 30)},
        {"ORG", pad("ACME & S\xD6HNE", 30)},
        {"STREET", pad("12 ELM ST", 40)},
        {"STREET2", pad("SUITE 4", 40)},
        {"CITY", pad("SPRINGFIELD", 30) + pad("IL", 20)},
        {"STATE", pad("IL", 20)},
        {"ZIP", pad("62701", 10)},
        {"COUNTRY", pad("USA", 30)},
        {"PHONE", pad("555-0101 EXT", 30)},
        {"PHONE2", pad("", 30)},
        {"EMAIL", pad("ZED@EXAMPLE.COM", 40)},
        {"FAX", pad("555-0102", 40)},
        {"USER1", pad("FIRST NOTE", 40)},
        {"USER2", pad("\xC9T\xC9", 40)},
        {"DATE", pad("19991231", 15)},
        {"TAG", pad("1AB2C3", 8)},
        {"CODES", pad("ABC", 30)},
        {"PREFIX", pad("MR.", 12)},
        {"MIDDLE", "Q"},
        {"DELETED", "F"},
        {"STATEZIP", pad("IL62701", 30)},
        {"ISDEL", "F"},
        {"NOTISDEL", "T"},
    };
    RecordRef r;
    r.data = rec.data();
    r.recno = 1;
    std::string key;
    for (const TagDef& t : kAddressTags) {
        const Expression e = Expression::compile(t.key, l.fields);
        EXPECT_EQ(e.keyLength(), t.length) << t.name;
        e.evalKey(r, key);
        EXPECT_EQ(key, want.at(t.name)) << t.name;
    }

    // Deleting flips the deletion-mark tags; ISDEL follows its field.
    rec[0] = '*';
    l.set(rec, "ISDEL", "T");
    const std::map<std::string, std::string> flags = {{"DELETED()", "T"}, {"ISDEL", "T"}, {"!ISDEL", "F"}};
    for (const auto& [expr, k] : flags) {
        Expression::compile(expr, l.fields).evalKey(r, key);
        EXPECT_EQ(key, k) << expr;
    }
}

TEST(ExpressionKeys, NameTagJoinsWithoutTheBlanks)
{
    // JONES/ZED sorts after JONESBY/ANN by NAME, before it by LNAME.
    const exprtest::Layout l = exprtest::addressLayout();
    std::vector<unsigned char> a = l.blank(), b = l.blank();
    l.set(a, "LNAME", "Jones");
    l.set(a, "FNAME", "Zed");
    l.set(b, "LNAME", "Jonesby");
    l.set(b, "FNAME", "Ann");
    const Expression name = Expression::compile("UPPER(LNAME-FNAME)", l.fields);
    const Expression lname = Expression::compile("UPPER(LNAME)+UPPER(FNAME)", l.fields);
    RecordRef ra, rb;
    ra.data = a.data();
    rb.data = b.data();
    std::string ka, kb;
    name.evalKey(ra, ka);
    name.evalKey(rb, kb);
    EXPECT_GT(ka, kb);
    lname.evalKey(ra, ka);
    lname.evalKey(rb, kb);
    EXPECT_LT(ka, kb);
}

TEST(ExpressionKeys, NumericDateLogicalAndCutKeys)
{
    exprtest::Layout l;
    l.add("PRICE", 'N', 6, 3).add("QTY", 'N', 5).add("SOLD", 'D', 8).add("ACTIVE", 'L', 1)
        .add("DESCRIPT", 'C', 30);
    std::vector<unsigned char> rec = l.blank();
    l.set(rec, "PRICE", "12.500");
    l.set(rec, "QTY", "-3");
    l.set(rec, "SOLD", "20000229");
    l.set(rec, "ACTIVE", "t");
    l.set(rec, "DESCRIPT", "widget");
    RecordRef r;
    r.data = rec.data();
    std::string key;
    auto keyOf = [&](const char* expr) {
        const Expression e = Expression::compile(expr, l.fields);
        e.evalKey(r, key);
        EXPECT_EQ(key.size(), e.keyLength()) << expr;
        return key;
    };
    EXPECT_EQ(keyOf("PRICE"), numericKey(12.5));
    EXPECT_EQ(keyOf("QTY"), numericKey(-3));
    EXPECT_EQ(keyOf("SOLD"), dateKey(2451604));
    EXPECT_EQ(keyOf("ACTIVE"), "T");
    EXPECT_EQ(keyOf("DTOS(SOLD)"), "20000229");
    EXPECT_EQ(keyOf("UPPER(LEFT(DESCRIPT,3))"), "WID");
    EXPECT_EQ(keyOf("STR(QTY,5)"), "   -3");
    EXPECT_EQ(keyOf("SOLD+1"), dateKey(2451605));
    EXPECT_LT(keyOf("QTY"), keyOf("PRICE"));
    // Blank fields: number 0, empty date 0.
    rec = l.blank();
    r.data = rec.data();
    EXPECT_EQ(keyOf("QTY"), numericKey(0));
    EXPECT_EQ(keyOf("SOLD"), dateKey(0));
    EXPECT_EQ(keyOf("ACTIVE"), "F");
    EXPECT_EQ(keyOf("DTOS(SOLD)"), "        ");
}

TEST(ExpressionKeys, CharacterKeyLengthIsTheWidthOnABlankRecord)
{
    exprtest::Layout l;
    l.add("A", 'C', 10).add("B", 'C', 4);
    std::vector<unsigned char> rec = l.blank();
    l.set(rec, "A", "abc");
    RecordRef r;
    r.data = rec.data();
    std::string key;
    const Expression trimmed = Expression::compile("TRIM(A)+B", l.fields);
    EXPECT_EQ(trimmed.keyLength(), 4u);
    trimmed.evalKey(r, key);
    EXPECT_EQ(key, "abc ");   // cut to the key length
    const Expression iif = Expression::compile("IIF(EMPTY(A),\"none\",A)", l.fields);
    EXPECT_EQ(iif.keyLength(), 4u);
    iif.evalKey(r, key);
    EXPECT_EQ(key, "abc ");
    const Expression padded = Expression::compile("LEFT(A,2)", l.fields);
    l.set(rec, "A", "x");
    padded.evalKey(r, key);
    EXPECT_EQ(key, "x ");
    EXPECT_EQ(Expression::compile("STR(5)", l.fields).keyLength(), 10u);
    EXPECT_EQ(Expression::compile("DTOC(CTOD(A))", l.fields).keyLength(), 10u);
}

// --- The sample tables: our keys must order their records as the other engine did. ---

struct Sample {
    std::vector<postavo::engine::FieldDef> fields;
    std::vector<std::vector<unsigned char>> records;
};

Sample readDbf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Sample s;
    if (b.size() < 32)
        return s;
    const uint32_t count = b[4] | b[5] << 8 | b[6] << 16 | uint32_t(b[7]) << 24;
    const uint32_t header = b[8] | b[9] << 8;
    const uint32_t reclen = b[10] | b[11] << 8;
    uint32_t offset = 1;
    for (std::size_t p = 32; p + 32 <= header && b[p] != 0x0D; p += 32) {
        postavo::engine::FieldDef f;
        f.name = std::string(reinterpret_cast<const char*>(&b[p]), strnlen(reinterpret_cast<const char*>(&b[p]), 11));
        f.type = char(b[p + 11]);
        f.offset = offset;
        f.length = b[p + 16];
        f.decimals = b[p + 17];
        offset += f.length;
        s.fields.push_back(f);
    }
    for (uint32_t i = 0; i < count && header + (i + 1) * std::size_t(reclen) <= b.size(); ++i)
        s.records.emplace_back(b.begin() + header + i * reclen, b.begin() + header + (i + 1) * reclen);
    return s;
}

struct DumpTag {
    std::string name, key, forExpr;
    char type = 'C';
    std::size_t size = 0;
    bool descending = false, unique = false;
    std::vector<uint32_t> all;
};

std::vector<DumpTag> readTagDump(const std::string& path)
{
    std::ifstream in(path);
    std::vector<DumpTag> tags;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream ls(line);
        std::string word;
        ls >> word;
        if (word == "TAG") {
            tags.emplace_back();
            int n;
            ls >> n >> tags.back().name;
        } else if (tags.empty()) {
            continue;
        } else if (line.rfind("  key=", 0) == 0) {
            tags.back().key = line.substr(6);
        } else if (line.rfind("  for=", 0) == 0) {
            tags.back().forExpr = line.substr(6);
        } else if (word.rfind("keytype=", 0) == 0) {
            tags.back().type = word[8];
            while (ls >> word) {
                if (word.rfind("keysize=", 0) == 0)
                    tags.back().size = std::stoul(word.substr(8));
                else if (word == "descend=Y")
                    tags.back().descending = true;
                else if (word == "unique=Y")
                    tags.back().unique = true;
            }
        } else if (word == "ALL") {
            uint32_t r;
            while (ls >> r)
                tags.back().all.push_back(r);
        }
    }
    return tags;
}

class SampleOrders : public ::testing::TestWithParam<const char*> {};

TEST_P(SampleOrders, EveryTagOrdersTheRecordsAsTheDumpLists)
{
    const std::string base = std::string(POSTAVO_SOURCE_DIR) + "/tests/data/xbase/" + GetParam();
    const Sample s = readDbf(base + ".dbf");
    const std::vector<DumpTag> tags = readTagDump(base + ".tagdump.txt");
    ASSERT_FALSE(s.records.empty());
    ASSERT_FALSE(tags.empty());
    for (const DumpTag& t : tags) {
        SCOPED_TRACE(t.name + " " + t.key);
        const Expression key = Expression::compile(t.key, s.fields);
        const Expression cond = t.forExpr.empty() ? Expression() : Expression::compile(t.forExpr, s.fields);
        EXPECT_EQ(key.keyLength(), t.size);
        EXPECT_EQ(char(key.type() == ValueType::Character ? 'C'
                       : key.type() == ValueType::Numeric ? 'N'
                       : key.type() == ValueType::Date    ? 'D'
                                                          : 'L'),
                  t.type);
        std::vector<std::pair<std::string, uint32_t>> entries;
        for (std::size_t i = 0; i < s.records.size(); ++i) {
            RecordRef r;
            r.data = s.records[i].data();
            r.recno = uint32_t(i + 1);
            if (!cond.evalLogical(r))
                continue;
            std::string k;
            key.evalKey(r, k);
            entries.emplace_back(k, r.recno);
        }
        std::sort(entries.begin(), entries.end());
        if (t.unique)
            entries.erase(std::unique(entries.begin(), entries.end(),
                                      [](const auto& a, const auto& b) { return a.first == b.first; }),
                          entries.end());
        if (t.descending)
            std::reverse(entries.begin(), entries.end());
        std::vector<uint32_t> order;
        for (const auto& e : entries)
            order.push_back(e.second);
        EXPECT_EQ(order, t.all);
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleOrders, ::testing::Values("addr200", "keys", "types"));

} // namespace
