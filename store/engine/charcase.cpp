#include "charcase.h"

#include <array>

namespace postavo::engine {

namespace {
struct Tables {
    std::array<unsigned char, 256> upper{}, lower{};
    Tables()
    {
        for (int i = 0; i < 256; ++i)
            upper[size_t(i)] = lower[size_t(i)] = static_cast<unsigned char>(i);
        auto pair = [this](int lo, int up) {
            upper[size_t(lo)] = static_cast<unsigned char>(up);
            lower[size_t(up)] = static_cast<unsigned char>(lo);
        };
        for (int c = 'a'; c <= 'z'; ++c)
            pair(c, c - 32);
        for (int c = 0xE0; c <= 0xFE; ++c)
            if (c != 0xF7)  // division sign
                pair(c, c - 32);
        pair(0x9A, 0x8A);  // š Š
        pair(0x9C, 0x8C);  // œ Œ
        pair(0x9E, 0x8E);  // ž Ž
        pair(0xFF, 0x9F);  // ÿ Ÿ
    }
};
const Tables& tables()
{
    static const Tables t;
    return t;
}
} // namespace

unsigned char upperByte(unsigned char c) { return tables().upper[c]; }
unsigned char lowerByte(unsigned char c) { return tables().lower[c]; }

std::string upperText(std::string_view s)
{
    std::string out(s);
    const auto& t = tables().upper;
    for (char& c : out)
        c = static_cast<char>(t[static_cast<unsigned char>(c)]);
    return out;
}

std::string lowerText(std::string_view s)
{
    std::string out(s);
    const auto& t = tables().lower;
    for (char& c : out)
        c = static_cast<char>(t[static_cast<unsigned char>(c)]);
    return out;
}

} // namespace postavo::engine
