#include "keycodec.h"

#include <cstdio>
#include <cstring>

namespace postavo::engine {

void encodeNumericKey(double value, unsigned char out[8])
{
    if (value == 0.0)
        value = 0.0;  // -0.0 sorts with 0.0
    std::uint64_t bits;
    std::memcpy(&bits, &value, 8);
    if (bits & 0x8000000000000000ull)
        bits = ~bits;
    else
        bits |= 0x8000000000000000ull;
    for (int i = 7; i >= 0; --i) {
        out[i] = static_cast<unsigned char>(bits & 0xFF);
        bits >>= 8;
    }
}

double decodeNumericKey(const unsigned char in[8])
{
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits = (bits << 8) | in[i];
    if (bits & 0x8000000000000000ull)
        bits &= ~0x8000000000000000ull;
    else
        bits = ~bits;
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

std::string numericKey(double value)
{
    unsigned char b[8];
    encodeNumericKey(value, b);
    return std::string(reinterpret_cast<const char*>(b), 8);
}

std::string dateKey(long jd) { return numericKey(double(jd)); }

std::string characterKey(std::string_view text, std::size_t length)
{
    std::string k(text.substr(0, length));
    k.resize(length, ' ');
    return k;
}

long julianDay(int y, int m, int d)
{
    // Fliegel & Van Flandern, proleptic Gregorian calendar.
    const long a = (14 - m) / 12;
    const long yy = y + 4800 - a;
    const long mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}

void civilFromJulian(long jd, int& year, int& month, int& day)
{
    const long a = jd + 32044;
    const long b = (4 * a + 3) / 146097;
    const long c = a - 146097 * b / 4;
    const long d = (4 * c + 3) / 1461;
    const long e = c - 1461 * d / 4;
    const long m = (5 * e + 2) / 153;
    day = int(e - (153 * m + 2) / 5 + 1);
    month = int(m + 3 - 12 * (m / 10));
    year = int(100 * b + d - 4800 + m / 10);
}

static bool digitsOnly(std::string_view s)
{
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

long julianFromDtos(std::string_view s)
{
    if (s.size() < 8 || !digitsOnly(s.substr(0, 8)))
        return 0;
    const int y = (s[0] - '0') * 1000 + (s[1] - '0') * 100 + (s[2] - '0') * 10 + (s[3] - '0');
    const int m = (s[4] - '0') * 10 + (s[5] - '0');
    const int d = (s[6] - '0') * 10 + (s[7] - '0');
    if (m < 1 || m > 12 || d < 1 || d > 31)
        return 0;
    return julianDay(y, m, d);
}

std::string dtosFromJulian(long jd)
{
    if (jd <= 0)
        return std::string(8, ' ');
    int y, m, d;
    civilFromJulian(jd, y, m, d);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", y % 10000, m, d);
    return std::string(buf, 8);
}

} // namespace postavo::engine
