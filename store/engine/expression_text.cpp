// Text, number and date helpers of the expression dialect: letter case, xBase string
// comparison, STR() formatting, number parsing.

#include "expression_program.h"
#include "keycodec.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace postavo::engine {

namespace {

struct CaseTables {
    unsigned char upper[256];
    unsigned char lower[256];
    CaseTables()
    {
        for (int c = 0; c < 256; ++c)
            upper[c] = lower[c] = static_cast<unsigned char>(c);
        for (int c = 'a'; c <= 'z'; ++c) {
            upper[c] = static_cast<unsigned char>(c - 0x20);
            lower[c - 0x20] = static_cast<unsigned char>(c);
        }
        // Windows-1252 accented letters: à..þ pair with À..Þ, except ÷ / ×.
        for (int c = 0xE0; c <= 0xFE; ++c) {
            if (c == 0xF7)
                continue;
            upper[c] = static_cast<unsigned char>(c - 0x20);
            lower[c - 0x20] = static_cast<unsigned char>(c);
        }
        const int pairs[][2] = {{0x9A, 0x8A}, {0x9C, 0x8C}, {0x9E, 0x8E}, {0xFF, 0x9F}};
        for (const auto& p : pairs) {
            upper[p[0]] = static_cast<unsigned char>(p[1]);
            lower[p[1]] = static_cast<unsigned char>(p[0]);
        }
    }
};

const CaseTables& caseTables()
{
    static const CaseTables t;
    return t;
}

} // namespace

unsigned char upperChar(unsigned char c) { return caseTables().upper[c]; }
unsigned char lowerChar(unsigned char c) { return caseTables().lower[c]; }

namespace expr_detail {

const unsigned char* upperTable() { return caseTables().upper; }
const unsigned char* lowerTable() { return caseTables().lower; }

double parseNumber(const char* s, std::size_t n)
{
    static const double pow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    std::size_t i = 0;
    while (i < n && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < n && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    std::uint64_t mantissa = 0;
    int digits = 0;
    int exponent = 0;
    for (; i < n && s[i] >= '0' && s[i] <= '9'; ++i) {
        if (digits < 19) {
            mantissa = mantissa * 10 + std::uint64_t(s[i] - '0');
            if (mantissa)
                ++digits;
        } else {
            ++exponent;
        }
    }
    if (i < n && s[i] == '.') {
        for (++i; i < n && s[i] >= '0' && s[i] <= '9'; ++i) {
            if (digits < 19) {
                mantissa = mantissa * 10 + std::uint64_t(s[i] - '0');
                if (mantissa)
                    ++digits;
                --exponent;
            }
        }
    }
    double v = double(mantissa);
    if (exponent < 0)
        v = exponent >= -22 ? v / pow10[-exponent] : v / std::pow(10.0, -exponent);
    else if (exponent > 0)
        v = exponent <= 22 ? v * pow10[exponent] : v * std::pow(10.0, exponent);
    if (v == 0)
        return 0.0;
    return negative ? -v : v;
}

// Compares `len` bytes of both texts, each padded with blanks beyond its end.
static int comparePadded(const char* a, std::size_t an, const char* b, std::size_t bn, std::size_t len)
{
    const std::size_t common = std::min(len, std::min(an, bn));
    if (common) {
        const int c = std::memcmp(a, b, common);
        if (c)
            return c < 0 ? -1 : 1;
    }
    for (std::size_t i = common; i < len; ++i) {
        const unsigned char ca = i < an ? static_cast<unsigned char>(a[i]) : ' ';
        const unsigned char cb = i < bn ? static_cast<unsigned char>(b[i]) : ' ';
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return 0;
}

int compareText(const char* a, std::size_t an, const char* b, std::size_t bn, Rel, bool exact)
{
    // SET EXACT ON: the shorter side is padded with blanks.
    if (exact)
        return comparePadded(a, an, b, bn, std::max(an, bn));
    // OFF: the comparison ends with the right operand (so "" matches anything); a left
    // operand that ends first is smaller, even when the rest of the right one is blank.
    if (an >= bn)
        return comparePadded(a, an, b, bn, bn);
    const int c = an ? std::memcmp(a, b, an) : 0;
    return c ? (c < 0 ? -1 : 1) : -1;
}

bool textRelation(const char* a, std::size_t an, const char* b, std::size_t bn, Rel rel, bool exact)
{
    if (rel == Rel::ExactEq)
        return an == bn && (an == 0 || std::memcmp(a, b, an) == 0);
    const int c = compareText(a, an, b, bn, rel, exact);
    switch (rel) {
    case Rel::Eq: return c == 0;
    case Rel::Ne: return c != 0;
    case Rel::Lt: return c < 0;
    case Rel::Le: return c <= 0;
    case Rel::Gt: return c > 0;
    case Rel::Ge: return c >= 0;
    case Rel::ExactEq: break;
    }
    return false;
}

bool isEmptyText(const char* s, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        if (s[i] != ' ' && s[i] != '\t' && s[i] != '\r' && s[i] != '\n')
            return false;
    return true;
}

// `value` with `decimals` places, rounded half away from zero, into buf; returns its length.
static std::size_t renderFixed(double value, int decimals, char* buf, std::size_t cap)
{
    const double scale = std::pow(10.0, decimals);
    const double scaled = std::round(std::fabs(value) * scale);
    if (scaled < 9e15) {
        std::uint64_t r = std::uint64_t(scaled);
        char digits[32];
        int nd = 0;
        do {
            digits[nd++] = char('0' + r % 10);
            r /= 10;
        } while (r);
        while (nd <= decimals)
            digits[nd++] = '0';
        std::size_t len = 0;
        if (value < 0 && scaled != 0)
            buf[len++] = '-';
        for (int i = nd - 1; i >= 0; --i) {
            buf[len++] = digits[i];
            if (i == decimals && decimals > 0)
                buf[len++] = '.';
        }
        return len;
    }
    const int w = std::snprintf(buf, cap, "%.*f", decimals, value);
    return w < 0 ? cap : std::min(std::size_t(w), cap);
}

void formatStr(double value, int width, int decimals, std::string& out)
{
    out.assign(std::size_t(width), '*');
    if (width <= 0 || !std::isfinite(value))
        return;
    char buf[400];
    // Too wide with its decimals: give up decimals before giving up the number.
    for (int d = decimals; d >= 0; --d) {
        const std::size_t len = renderFixed(value, d, buf, sizeof buf);
        if (len <= std::size_t(width)) {
            std::memset(out.data(), ' ', std::size_t(width) - len);
            std::memcpy(out.data() + (std::size_t(width) - len), buf, len);
            return;
        }
    }
}

void formatDtos(long jd, std::string& out)
{
    if (jd <= 0) {
        out.assign(8, ' ');
        return;
    }
    int y, m, d;
    civilFromJulian(jd, y, m, d);
    out.resize(8);
    y %= 10000;
    out[0] = char('0' + y / 1000);
    out[1] = char('0' + y / 100 % 10);
    out[2] = char('0' + y / 10 % 10);
    out[3] = char('0' + y % 10);
    out[4] = char('0' + m / 10);
    out[5] = char('0' + m % 10);
    out[6] = char('0' + d / 10);
    out[7] = char('0' + d % 10);
}

void formatDtoc(long jd, std::string& out)
{
    if (jd <= 0) {
        out.assign("  /  /    ");
        return;
    }
    int y, m, d;
    civilFromJulian(jd, y, m, d);
    out.resize(10);
    y %= 10000;
    out[0] = char('0' + m / 10);
    out[1] = char('0' + m % 10);
    out[2] = '/';
    out[3] = char('0' + d / 10);
    out[4] = char('0' + d % 10);
    out[5] = '/';
    out[6] = char('0' + y / 1000);
    out[7] = char('0' + y / 100 % 10);
    out[8] = char('0' + y / 10 % 10);
    out[9] = char('0' + y % 10);
}

long parseCtod(const char* s, std::size_t n)
{
    // mm/dd/yyyy (any separators); a two-digit year is in the 1900s.
    long part[3] = {0, 0, 0};
    int width[3] = {0, 0, 0};
    int k = 0;
    std::size_t i = 0;
    while (i < n && s[i] == ' ')
        ++i;
    while (i < n && k < 3) {
        if (s[i] >= '0' && s[i] <= '9') {
            if (width[k] < 5)
                part[k] = part[k] * 10 + (s[i] - '0');
            ++width[k];
            ++i;
        } else {
            if (width[k] == 0)
                return 0;
            ++k;
            ++i;
        }
    }
    if (k < 2 || (k == 2 && width[2] == 0))
        return 0;
    long m = part[0], d = part[1], y = part[2];
    if (width[2] <= 2)
        y += 1900;
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31)
        return 0;
    const long jd = julianDay(int(y), int(m), int(d));
    int cy, cm, cd;
    civilFromJulian(jd, cy, cm, cd);
    if (cy != y || cm != m || cd != d)
        return 0;
    return jd;
}

std::string displayNumber(double v)
{
    char buf[64];
    if (!std::isfinite(v))
        return "***";
    if (std::fabs(v) < 1e15 && v == std::floor(v))
        std::snprintf(buf, sizeof buf, "%.0f", v == 0 ? 0.0 : v);
    else
        std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

} // namespace expr_detail
} // namespace postavo::engine
