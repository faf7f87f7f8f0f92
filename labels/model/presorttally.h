#pragma once
// The count the presort keeps: records per zip key, in ten lists by the key's first digit.
//
// Keys are the file's 8-bit bytes (a zip code is compared character by character as stored), so
// counting a million records converts no text.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace postavo::labels {

// The pieces counted under one key.
struct TallyRecord {
    std::int64_t count = 0;
};

// The first five characters of a zip value with its trailing blanks removed (fewer when shorter).
std::string_view zipKey(std::string_view zipValue);

// Whether a key is counted: not less than "00000", not greater than "99999-999" (byte
// comparison), and the first character a digit. A four-character key such as 1234 passes.
bool zipKeyInRange(std::string_view key);

// Tallies held in ten lists, one per first digit; each list finds its keys by hashing, so the
// count of a million records stays linear however many distinct keys there are.
class ZipTallyLists {
public:
    // Counts one record under `key`; a key that does not start with a digit is ignored.
    void add(std::string_view key, std::int64_t n = 1);
    // The entries of digit d (0-9) in ascending byte order of their keys.
    std::vector<std::pair<std::string, TallyRecord>> sorted(int digit) const;
    std::size_t keyCount() const;
    void clear();

private:
    std::unordered_map<std::string, TallyRecord> lists_[10];
    std::string probe_;  // reused for lookups: most keys are already there
};

} // namespace postavo::labels
