#pragma once
// Zip keys and their tallies: the first five characters of a record's zip code, counted per key.
// The zip code count report and the bulk-mail presort both count records this way, so the key,
// the range test and the ten per-digit lists live here for both.
//
// Keys are the file's 8-bit bytes (a zip code is compared character by character as stored), so
// counting a million records converts no text.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace postavo::reports {

// The count kept for one key.
struct TallyRecord {
    std::int64_t count = 0;
};

// The first five characters of a zip value read with its trailing blanks removed (fewer when it
// is shorter).
std::string_view zipKey(std::string_view zipValue);

// The range test both counts share: not less than "00000", not greater than "99999-999"
// (byte comparison), and the first character a digit. A four-character key such as 1234 passes.
bool zipKeyInRange(std::string_view key);

// The zip count's test for its per-digit lists: in range and exactly five characters long.
bool isFiveDigitZipKey(std::string_view key);

// Tallies held in ten lists, one per first digit. Keys of five digits, nearly all of them, are
// counted in a table indexed by their number; the others are found by hashing. Either way the
// lookup of a million records stays linear however many distinct keys there are.
class ZipTallyLists {
public:
    // Counts one record under `key`, which must start with a digit. A new key starts at 1.
    void add(std::string_view key, std::int64_t n = 1);
    // The entries of digit d (0-9), or of every digit, sorted in ascending byte order.
    std::vector<std::pair<std::string, TallyRecord>> sorted(int digit) const;
    std::vector<std::pair<std::string, TallyRecord>> sortedAll() const;
    std::size_t keyCount() const;
    std::int64_t total() const;
    void clear();

private:
    std::vector<std::int64_t> fiveDigits_;   // by the key's number; empty until the first
    std::unordered_map<std::string, TallyRecord> lists_[10];
};

// Entries sorted in ascending byte order of their keys.
std::vector<std::pair<std::string, TallyRecord>>
sortedTallies(const std::unordered_map<std::string, TallyRecord>& tallies);

} // namespace postavo::reports
