// Fuzz target: expression text against a table with fields of every type. Compiling may
// fail with ExpressionError; anything else that escapes, crashes or breaks a key's length
// is a fault. Records evaluated: all blank, a typical one, and one filled with input bytes.

#include "expression.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using namespace postavo::engine;

namespace {

struct Memo : MemoSource {
    std::string text;
    std::string memoText(uint32_t block) const override
    {
        return block % 3 == 0 ? std::string() : text;
    }
};

std::vector<FieldDef> makeFields(std::size_t& size)
{
    const struct { const char* n; char t; uint16_t l; uint8_t d; } defs[] = {
        {"LNAME", 'C', 30, 0}, {"FNAME", 'C', 30, 0}, {"CODES", 'C', 10, 0},
        {"ISDEL", 'L', 1, 0},  {"PRICE", 'N', 8, 3},  {"QTY", 'N', 5, 0},
        {"RATE", 'F', 10, 4},  {"SOLD", 'D', 8, 0},   {"MEMO", 'M', 10, 0},
        {"VMEMO", 'M', 4, 0},  {"CNT", 'I', 4, 0},    {"CASH", 'Y', 8, 0},
        {"DBL", 'B', 8, 0},    {"STAMP", 'T', 8, 0},  {"GEN", 'G', 10, 0},
        {"ODD", 'Q', 3, 0},
    };
    std::vector<FieldDef> f;
    uint32_t off = 1;
    for (const auto& d : defs) {
        f.push_back(FieldDef{d.n, d.t, off, d.l, d.d});
        off += d.l;
    }
    size = off;
    return f;
}

void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

} // namespace

// An input starting with 0x01 brings its own odd layout: four fields A..D whose type and
// width (0..255) come from the next eight bytes, as a damaged table header might declare.
std::vector<FieldDef> oddFields(const uint8_t*& data, size_t& size, std::size_t& recSize)
{
    static const char types[] = "CNFLDMIYBTGQ";
    std::vector<FieldDef> f;
    uint32_t off = 1;
    for (int i = 0; i < 4; ++i) {
        const char type = types[data[1 + 2 * i] % 12];
        const uint16_t len = data[2 + 2 * i];
        f.push_back(FieldDef{std::string(1, char('A' + i)), type, off, len, 0});
        off += len;
    }
    recSize = off;
    data += 9;
    size -= 9;
    return f;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::size_t normalSize = 0;
    static const std::vector<FieldDef> normal = makeFields(normalSize);
    std::size_t recSize = normalSize;
    std::vector<FieldDef> odd;
    if (size >= 9 && data[0] == 0x01)
        odd = oddFields(data, size, recSize);
    const std::vector<FieldDef>& fields = odd.empty() ? normal : odd;
    const std::string text(reinterpret_cast<const char*>(data), size);

    Expression e;
    try {
        e = Expression::compile(text, fields);
    } catch (const ExpressionError& err) {
        check(err.position() >= 1 && err.position() <= text.size() + 1);
        return 0;
    }
    check(!e.empty());

    std::vector<std::vector<unsigned char>> recs(3, std::vector<unsigned char>(recSize, ' '));
    auto put = [&](std::vector<unsigned char>& r, const char* name, const std::string& v) {
        for (const FieldDef& f : fields)
            if (f.name == name)
                std::memcpy(r.data() + f.offset, v.data(), std::min<std::size_t>(v.size(), f.length));
    };
    put(recs[1], "LNAME", "Jones");
    put(recs[1], "FNAME", "\xE9lise");
    put(recs[1], "CODES", "a c");
    put(recs[1], "ISDEL", "T");
    put(recs[1], "PRICE", "  12.500");
    put(recs[1], "QTY", "   -3");
    put(recs[1], "SOLD", "20240229");
    put(recs[1], "MEMO", "         7");
    recs[1][0] = '*';
    for (std::size_t i = 0; i < recSize; ++i)
        recs[2][i] = size ? data[i % size] : 0;

    Memo memo;
    memo.text = text.substr(0, 64);
    std::string key;
    for (std::size_t i = 0; i < recs.size(); ++i) {
        RecordRef r;
        r.data = recs[i].data();
        r.recno = uint32_t(i * 1000003u);
        r.memo = i ? &memo : nullptr;
        if (e.type() == ValueType::Logical) {
            e.evalLogical(r, EvalOptions{false});
            e.evalLogical(r, EvalOptions{true});
        }
        e.evalKey(r, key);
        switch (e.type()) {
        case ValueType::Character: check(key.size() == e.keyLength()); break;
        case ValueType::Numeric:
        case ValueType::Date: check(key.size() == 8); break;
        case ValueType::Logical: check(key == "T" || key == "F"); break;
        }
        e.evalDisplay(r);
    }
    return 0;
}
