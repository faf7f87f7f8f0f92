#pragma once
// Index key bytes as FoxPro-style indexes store them, so that a plain byte comparison
// (memcmp) sorts them: character keys blank-padded, numbers and dates as order-preserving
// big-endian doubles, logicals as one byte 'T'/'F'.

#include <cstdint>
#include <string>
#include <string_view>

namespace postavo::engine {

enum class KeyType : char { Character = 'C', Numeric = 'N', Date = 'D', Logical = 'L' };

// 8 bytes: IEEE-754 big-endian; sign bit flipped for values >= 0, all bits inverted below 0.
void encodeNumericKey(double value, unsigned char out[8]);
double decodeNumericKey(const unsigned char in[8]);
std::string numericKey(double value);

// Dates are their Julian day number encoded as a number; an empty date is 0.
std::string dateKey(long julianDay);

// "T"/"F".
inline std::string logicalKey(bool v) { return std::string(1, v ? 'T' : 'F'); }

// Pads with blanks (or cuts) to `length`.
std::string characterKey(std::string_view text, std::size_t length);

// Julian day number of a Gregorian date, and back. dtos "YYYYMMDD" <-> Julian; blank or
// invalid text gives 0.
long julianDay(int year, int month, int day);
void civilFromJulian(long jd, int& year, int& month, int& day);
long julianFromDtos(std::string_view yyyymmdd);
std::string dtosFromJulian(long jd);  // 8 blanks for 0

} // namespace postavo::engine
