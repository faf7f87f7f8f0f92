// Evaluation of a compiled expression against one record buffer. Text values are views into
// the record, a literal or a node's own work buffer, so no heap memory is touched per record
// once the buffers have their compile-time size (memo text aside).

#include "expression_program.h"
#include "keycodec.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace postavo::engine {

namespace expr_detail {

const unsigned char* upperTable();
const unsigned char* lowerTable();

void Program::makeScratch(std::vector<std::string>& scratch) const
{
    scratch.assign(nodes.size(), std::string());
    for (std::size_t i = 0; i < nodes.size(); ++i)
        if (nodes[i].ownsBuffer)
            scratch[i].reserve(std::min<std::size_t>(nodes[i].maxLen, 1 << 16));
}

namespace {

constexpr double kLastJulian = 5373484;   // 31 December 9999

// A number used as a count or position: truncated, NaN and overflow made harmless.
long toLong(double d, long lo, long hi)
{
    if (!(d >= double(lo)))
        return lo;
    if (d > double(hi))
        return hi;
    return long(d);
}

long toJulian(double d)
{
    if (!(d >= 1 && d <= kLastJulian))
        return 0;
    return long(d);
}

std::uint32_t readLe32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint64_t readLe64(const unsigned char* p)
{
    return std::uint64_t(readLe32(p)) | std::uint64_t(readLe32(p + 4)) << 32;
}

// The memo block a memo field points at: 10 ASCII digits (FoxPro 2.x, dBASE) or a 4-byte
// little-endian number (Visual FoxPro). 0 means no memo.
std::uint32_t memoBlock(const Node& n, const unsigned char* rec)
{
    const unsigned char* p = rec + n.offset;
    if (n.length == 4)
        return readLe32(p);
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n.length; ++i) {
        if (p[i] >= '0' && p[i] <= '9') {
            v = v * 10 + (p[i] - '0');
            if (v > 0xFFFFFFFFu)
                return 0;
        } else if (p[i] != ' ') {
            return 0;
        }
    }
    return std::uint32_t(v);
}

// Letter case of a text, eight ASCII bytes at a time where it can; bytes from 0x80 up go
// through the Windows-1252 table.
void convertCase(const char* in, std::size_t n, char* out, bool upper)
{
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    constexpr std::uint64_t highs = 0x8080808080808080ull;
    const unsigned char first = upper ? 'a' : 'A';
    const std::uint64_t from = (0x80 - first) * ones;
    const std::uint64_t past = (0x80 - (first + 26)) * ones;
    const unsigned char* table = upper ? upperTable() : lowerTable();
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, in + i, 8);
        if (w & highs) {
            for (std::size_t k = i; k < i + 8; ++k)
                out[k] = char(table[static_cast<unsigned char>(in[k])]);
            continue;
        }
        const std::uint64_t inRange = (w + from) & ~(w + past) & highs;
        w ^= inRange >> 2;   // 0x20 is the case bit of ASCII letters
        std::memcpy(out + i, &w, 8);
    }
    for (; i < n; ++i)
        out[i] = char(table[static_cast<unsigned char>(in[i])]);
}

bool relation(double a, double b, Rel rel)
{
    switch (rel) {
    case Rel::Eq:
    case Rel::ExactEq: return a == b;
    case Rel::Ne: return a != b;
    case Rel::Lt: return a < b;
    case Rel::Le: return a <= b;
    case Rel::Gt: return a > b;
    case Rel::Ge: return a >= b;
    }
    return false;
}

Val text(const std::string& s)
{
    Val v;
    v.s = s.data();
    v.n = s.size();
    return v;
}

} // namespace

namespace {

// The literals, fields and the record's own facts.
[[gnu::always_inline]] inline Val evalLeaf(const EvalContext& cx, const Node& n, std::string& buf)
{
    const unsigned char* rec = cx.rec.data;
    Val v;
    switch (n.op) {
    case Op::LitStr:
        v.s = n.str.data();
        v.n = n.str.size();
        return v;
    case Op::LitNum:
    case Op::LitDate:
        v.d = n.num;
        return v;
    case Op::LitBool:
        v.b = n.num != 0;
        return v;
    case Op::FieldC:
        v.s = reinterpret_cast<const char*>(rec + n.offset);
        v.n = n.length;
        return v;
    case Op::FieldN:
        v.d = parseNumber(reinterpret_cast<const char*>(rec + n.offset), n.length);
        return v;
    case Op::FieldI:
        v.d = double(std::int32_t(readLe32(rec + n.offset)));
        return v;
    case Op::FieldY:
        v.d = double(std::int64_t(readLe64(rec + n.offset))) / 10000.0;
        return v;
    case Op::FieldB: {
        const std::uint64_t bits = readLe64(rec + n.offset);
        std::memcpy(&v.d, &bits, 8);
        return v;
    }
    case Op::FieldD:
        v.d = double(julianFromDtos(std::string_view(
            reinterpret_cast<const char*>(rec + n.offset), std::min<std::size_t>(n.length, 8))));
        return v;
    case Op::FieldT:
        v.d = double(toJulian(double(std::int32_t(readLe32(rec + n.offset)))));
        return v;
    case Op::FieldL: {
        const unsigned char c = rec[n.offset];
        v.b = c == 'T' || c == 't' || c == 'Y' || c == 'y';
        return v;
    }
    case Op::FieldM: {
        const std::uint32_t block = memoBlock(n, rec);
        if (block == 0 || !cx.rec.memo)
            buf.clear();
        else
            buf = cx.rec.memo->memoText(block);
        return text(buf);
    }
    case Op::Deleted:
        v.b = rec[0] == '*';
        return v;
    case Op::Recno:
        v.d = cx.rec.recno;
        return v;
    default:
        break;
    }
    return v;
}

// The operators.
[[gnu::always_inline]] inline Val evalOperator(const EvalContext& cx, const Node& n, std::string& buf)
{
    auto arg = [&](int i) { return evalNode(cx, n.arg[i]); };
    Val v;
    switch (n.op) {
    case Op::Not:
        v.b = !arg(0).b;
        return v;
    case Op::And:
        v.b = arg(0).b && arg(1).b;
        return v;
    case Op::Or:
        v.b = arg(0).b || arg(1).b;
        return v;
    case Op::Neg:
        v.d = -arg(0).d;
        return v;
    case Op::AddN:
        v.d = arg(0).d + arg(1).d;
        return v;
    case Op::SubN:
        v.d = arg(0).d - arg(1).d;
        return v;
    case Op::Mul:
        v.d = arg(0).d * arg(1).d;
        return v;
    case Op::Div:
        v.d = arg(0).d / arg(1).d;
        return v;
    case Op::Mod: {
        const double a = arg(0).d, b = arg(1).d;
        v.d = a - b * std::floor(a / b);   // xBase MOD: the sign of the divisor
        return v;
    }
    case Op::Pow:
        v.d = std::pow(arg(0).d, arg(1).d);
        return v;
    case Op::AddDN:
    case Op::AddND:
    case Op::SubDN: {
        const Val a = arg(0), b = arg(1);
        const double date = n.op == Op::AddND ? b.d : a.d;
        double days = n.op == Op::AddND ? a.d : b.d;
        if (n.op == Op::SubDN)
            days = -days;
        v.d = date == 0 ? 0 : double(toJulian(date + std::trunc(days)));
        return v;
    }
    case Op::SubDD:
        v.d = arg(0).d - arg(1).d;
        return v;
    case Op::Concat: {
        const Val a = arg(0), b = arg(1);
        buf.resize(a.n + b.n);
        if (a.n)
            std::memcpy(buf.data(), a.s, a.n);
        if (b.n)
            std::memcpy(buf.data() + a.n, b.s, b.n);
        return text(buf);
    }
    case Op::ConcatMove: {
        // The left part's trailing blanks move behind the right part.
        const Val a = arg(0), b = arg(1);
        std::size_t kept = a.n;
        while (kept && a.s[kept - 1] == ' ')
            --kept;
        buf.resize(a.n + b.n);
        if (kept)
            std::memcpy(buf.data(), a.s, kept);
        if (b.n)
            std::memcpy(buf.data() + kept, b.s, b.n);
        std::memset(buf.data() + kept + b.n, ' ', a.n - kept);
        return text(buf);
    }
    case Op::Contains: {
        const Val a = arg(0), b = arg(1);
        if (a.n <= 1)
            v.b = a.n == 0 || (b.n && std::memchr(b.s, a.s[0], b.n) != nullptr);
        else
            v.b = a.n <= b.n && std::string_view(b.s, b.n).find(std::string_view(a.s, a.n)) !=
                                    std::string_view::npos;
        return v;
    }
    case Op::CmpC: {
        const Val a = arg(0), b = arg(1);
        v.b = textRelation(a.s, a.n, b.s, b.n, n.rel, cx.exact);
        return v;
    }
    case Op::CmpN:
    case Op::CmpD:
        v.b = relation(arg(0).d, arg(1).d, n.rel);
        return v;
    case Op::CmpL:
        v.b = relation(arg(0).b ? 1 : 0, arg(1).b ? 1 : 0, n.rel);
        return v;
    default:
        break;
    }
    return v;
}

// The functions on text.
[[gnu::always_inline]] inline Val evalTextFunction(const EvalContext& cx, const Node& n, std::string& buf)
{
    const unsigned char* rec = cx.rec.data;
    auto arg = [&](int i) { return evalNode(cx, n.arg[i]); };
    Val v;
    switch (n.op) {
    case Op::Upper:
    case Op::Lower: {
        const Val a = arg(0);
        const bool upper = n.op == Op::Upper;
        buf.resize(a.n);
        convertCase(a.s, a.n, buf.data(), upper);
        return text(buf);
    }
    case Op::Empty: {
        const Node& child = cx.prog.nodes[std::size_t(n.arg[0])];
        if (child.op == Op::FieldM && memoBlock(child, rec) == 0) {
            v.b = true;   // no memo block: nothing to read
            return v;
        }
        const Val a = arg(0);
        switch (child.type) {
        case ValueType::Character: v.b = isEmptyText(a.s, a.n); break;
        case ValueType::Numeric:
        case ValueType::Date: v.b = a.d == 0; break;
        case ValueType::Logical: v.b = !a.b; break;
        }
        return v;
    }
    case Op::Left:
    case Op::Right: {
        const Val a = arg(0), b = arg(1);
        const std::size_t k = std::size_t(toLong(b.d, 0, long(a.n)));
        v.s = n.op == Op::Left ? a.s : a.s + (a.n - k);
        v.n = k;
        return v;
    }
    case Op::Substr: {
        const Val a = arg(0), b = arg(1);
        const long start = toLong(b.d, 0, long(a.n) + 1);
        v.s = a.s;
        if (start < 1 || start > long(a.n))
            return v;
        std::size_t rest = a.n - std::size_t(start - 1);
        if (n.nargs > 2)
            rest = std::size_t(toLong(arg(2).d, 0, long(rest)));
        v.s = a.s + (start - 1);
        v.n = rest;
        return v;
    }
    case Op::Trim:
    case Op::LTrim:
    case Op::AllTrim: {
        v = arg(0);
        if (n.op != Op::LTrim)
            while (v.n && v.s[v.n - 1] == ' ')
                --v.n;
        if (n.op != Op::Trim)
            while (v.n && v.s[0] == ' ') {
                ++v.s;
                --v.n;
            }
        return v;
    }
    default:
        break;
    }
    return v;
}

// The conversions between types, and IIF.
[[gnu::always_inline]] inline Val evalConversion(const EvalContext& cx, const Node& n, std::string& buf)
{
    auto arg = [&](int i) { return evalNode(cx, n.arg[i]); };
    Val v;
    switch (n.op) {
    case Op::Dtos:
        formatDtos(toJulian(arg(0).d), buf);
        return text(buf);
    case Op::Dtoc:
        formatDtoc(toJulian(arg(0).d), buf);
        return text(buf);
    case Op::Ctod: {
        const Val a = arg(0);
        v.d = double(parseCtod(a.s, a.n));
        return v;
    }
    case Op::Str: {
        const double value = arg(0).d;
        const int width = n.nargs > 1 ? int(toLong(arg(1).d, 0, 255)) : 10;
        const int decimals = n.nargs > 2 ? int(toLong(arg(2).d, 0, 18)) : 0;
        formatStr(value, width, decimals, buf);
        return text(buf);
    }
    case Op::Val: {
        const Val a = arg(0);
        v.d = parseNumber(a.s, a.n);
        return v;
    }
    case Op::Len:
        v.d = double(arg(0).n);
        return v;
    case Op::At: {
        const Val a = arg(0), b = arg(1);
        if (a.n == 0 || a.n > b.n)
            return v;
        const std::size_t at = std::string_view(b.s, b.n).find(std::string_view(a.s, a.n));
        v.d = at == std::string_view::npos ? 0 : double(at + 1);
        return v;
    }
    case Op::Iif:
        return arg(0).b ? arg(1) : arg(2);
    default:
        break;
    }
    return v;
}

// The functions on numbers and dates, and the padding functions.
[[gnu::always_inline]] inline Val evalNumberFunction(const EvalContext& cx, const Node& n, std::string& buf)
{
    auto arg = [&](int i) { return evalNode(cx, n.arg[i]); };
    Val v;
    switch (n.op) {
    case Op::Int:
        v.d = std::trunc(arg(0).d);
        return v;
    case Op::Abs:
        v.d = std::fabs(arg(0).d);
        return v;
    case Op::Round: {
        const double value = arg(0).d;
        const double scale = std::pow(10.0, double(toLong(arg(1).d, -18, 18)));
        v.d = std::round(value * scale) / scale;
        if (!std::isfinite(v.d))
            v.d = value;
        return v;
    }
    case Op::Year:
    case Op::Month:
    case Op::Day: {
        const long jd = toJulian(arg(0).d);
        if (jd) {
            int y, m, d;
            civilFromJulian(jd, y, m, d);
            v.d = n.op == Op::Year ? y : n.op == Op::Month ? m : d;
        }
        return v;
    }
    case Op::Chr:
        buf.assign(1, char(toLong(arg(0).d, 0, 255)));
        return text(buf);
    case Op::Asc: {
        const Val a = arg(0);
        v.d = a.n ? static_cast<unsigned char>(a.s[0]) : 0;
        return v;
    }
    case Op::Space:
        buf.assign(std::size_t(toLong(arg(0).d, 0, long(kMaxPad))), ' ');
        return text(buf);
    case Op::PadL:
    case Op::PadR: {
        const Val a = arg(0);
        const std::size_t width = std::size_t(toLong(arg(1).d, 0, long(kMaxPad)));
        char fill = ' ';
        if (n.nargs > 2) {
            const Val c = arg(2);
            if (c.n)
                fill = c.s[0];
        }
        const std::size_t kept = std::min(width, a.n);
        buf.assign(width, fill);
        if (kept)
            std::memcpy(buf.data() + (n.op == Op::PadL ? width - kept : 0), a.s, kept);
        return text(buf);
    }
    default:
        break;
    }
    return v;
}

} // namespace

Val evalNode(const EvalContext& cx, int index)
{
    const Node& n = cx.prog.nodes[std::size_t(index)];
    std::string& buf = cx.scratch[index];
    // The operations are numbered in groups (see Op), so a range test finds the group.
    if (n.op <= Op::Recno)
        return evalLeaf(cx, n, buf);
    if (n.op <= Op::CmpL)
        return evalOperator(cx, n, buf);
    if (n.op <= Op::AllTrim)
        return evalTextFunction(cx, n, buf);
    if (n.op <= Op::Iif)
        return evalConversion(cx, n, buf);
    return evalNumberFunction(cx, n, buf);
}

} // namespace expr_detail

using namespace expr_detail;

static void requireRecord(const RecordRef& rec, const std::string& text)
{
    if (!rec.data)
        throw EngineError(EngineError::Kind::Usage, std::string(),
                          "no record to evaluate \"" + text + "\" on");
}

Expression::Expression() = default;
Expression::~Expression() = default;
Expression::Expression(Expression&&) noexcept = default;
Expression& Expression::operator=(Expression&&) noexcept = default;

Expression::Expression(const Expression& other) : program_(other.program_)
{
    if (program_)
        program_->makeScratch(scratch_);
}

Expression& Expression::operator=(const Expression& other)
{
    if (this != &other) {
        program_ = other.program_;
        scratch_.clear();
        if (program_)
            program_->makeScratch(scratch_);
    }
    return *this;
}

bool Expression::empty() const { return !program_; }

const std::string& Expression::text() const
{
    static const std::string none;
    return program_ ? program_->text : none;
}

ValueType Expression::type() const { return program_ ? program_->type : ValueType::Logical; }

std::size_t Expression::keyLength() const { return program_ ? program_->keyLength : 0; }

bool Expression::recordBytes(std::vector<std::pair<std::uint32_t, std::uint32_t>>& out) const
{
    if (!program_)
        return true;
    for (const Node& n : program_->nodes) {
        if (n.op == Op::FieldM)
            return false;
        if (n.op >= Op::FieldC && n.op <= Op::FieldL)
            out.emplace_back(n.offset, std::max<std::uint32_t>(n.length, 1));
        else if (n.op == Op::Deleted)
            out.emplace_back(0, 1);
    }
    return true;
}

bool Expression::evalLogical(const RecordRef& rec, const EvalOptions& options) const
{
    if (!program_)
        return true;
    if (program_->type != ValueType::Logical)
        throw ExpressionError(1, program_->text, "the expression is not a condition (Logical)");
    requireRecord(rec, program_->text);
    const EvalContext cx{*program_, scratch_.data(), rec, options.exact};
    return evalNode(cx, program_->root).b;
}

void Expression::evalKey(const RecordRef& rec, std::string& out) const
{
    if (!program_) {
        out.clear();
        return;
    }
    requireRecord(rec, program_->text);
    const EvalContext cx{*program_, scratch_.data(), rec, false};
    const Val v = evalNode(cx, program_->root);
    switch (program_->type) {
    case ValueType::Character: {
        const std::size_t len = program_->keyLength;
        out.resize(len);
        const std::size_t k = std::min(len, v.n);
        if (k)
            std::memcpy(out.data(), v.s, k);
        if (k < len)
            std::memset(out.data() + k, ' ', len - k);
        break;
    }
    case ValueType::Numeric:
    case ValueType::Date: {
        const double value = program_->type == ValueType::Date ? double(toJulian(v.d)) : v.d;
        out.resize(8);
        encodeNumericKey(value, reinterpret_cast<unsigned char*>(out.data()));
        break;
    }
    case ValueType::Logical:
        out.assign(1, v.b ? 'T' : 'F');
        break;
    }
}

std::string Expression::evalDisplay(const RecordRef& rec, const EvalOptions& options) const
{
    if (!program_)
        return std::string();
    requireRecord(rec, program_->text);
    const EvalContext cx{*program_, scratch_.data(), rec, options.exact};
    const Val v = evalNode(cx, program_->root);
    switch (program_->type) {
    case ValueType::Character: return std::string(v.s, v.n);
    case ValueType::Numeric: return displayNumber(v.d);
    case ValueType::Date: {
        std::string s;
        formatDtoc(toJulian(v.d), s);
        return s;
    }
    case ValueType::Logical: return v.b ? ".T." : ".F.";
    }
    return std::string();
}

} // namespace postavo::engine
