#pragma once
// Letter case of 8-bit Windows-1252 text as keys and filters see it: a-z and the accented
// letters map to their capitals; everything else stays.

#include <string>
#include <string_view>

namespace postavo::engine {

unsigned char upperByte(unsigned char c);
unsigned char lowerByte(unsigned char c);
std::string upperText(std::string_view s);
std::string lowerText(std::string_view s);

} // namespace postavo::engine
