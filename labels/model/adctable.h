#pragma once
// The fixed table of Area Distribution Centers: which 3-digit zip prefixes each ADC serves, as
// the presort groups the keys no package takes. A data table, processed in its order.

#include <array>
#include <string_view>

namespace postavo::labels {

struct AdcRow {
    const char* name;      // the text of the group's heading, blanks as they are
    const char* prefixes;  // 3-digit prefixes separated by single blanks
};

inline constexpr int kAdcRowCount = 96;
const std::array<AdcRow, kAdcRowCount>& adcTable();

// The first row whose prefix text holds `prefix` anywhere (a plain text search, so a shorter
// prefix such as "12" matches the first text containing those characters); -1 for none.
int adcRowFor(std::string_view prefix);

} // namespace postavo::labels
