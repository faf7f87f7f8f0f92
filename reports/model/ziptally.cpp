#include "ziptally.h"

#include <algorithm>

namespace postavo::reports {

std::string_view zipKey(std::string_view zip)
{
    std::size_t n = zip.size();
    while (n > 0 && zip[n - 1] == ' ')
        --n;
    return zip.substr(0, std::min<std::size_t>(n, 5));
}

bool zipKeyInRange(std::string_view key)
{
    if (key.empty() || key[0] < '0' || key[0] > '9')
        return false;
    return key >= std::string_view("00000") && key <= std::string_view("99999-999");
}

bool isFiveDigitZipKey(std::string_view key)
{
    return key.size() == 5 && zipKeyInRange(key);
}

void ZipTallyLists::add(std::string_view key, std::int64_t n)
{
    if (key.empty() || key[0] < '0' || key[0] > '9')
        return;
    auto& list = lists_[key[0] - '0'];
    // Looking up by a temporary string would allocate per record; most keys are already there.
    thread_local std::string probe;
    probe.assign(key);
    auto it = list.find(probe);
    if (it == list.end())
        list.emplace(probe, TallyRecord{n});
    else
        it->second.count += n;
}

std::vector<std::pair<std::string, TallyRecord>>
sortedTallies(const std::unordered_map<std::string, TallyRecord>& tallies)
{
    std::vector<std::pair<std::string, TallyRecord>> out(tallies.begin(), tallies.end());
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return out;
}

std::vector<std::pair<std::string, TallyRecord>> ZipTallyLists::sorted(int digit) const
{
    if (digit < 0 || digit > 9)
        return {};
    return sortedTallies(lists_[digit]);
}

std::vector<std::pair<std::string, TallyRecord>> ZipTallyLists::sortedAll() const
{
    std::vector<std::pair<std::string, TallyRecord>> out;
    for (int d = 0; d < 10; ++d) {
        auto part = sorted(d);
        out.insert(out.end(), std::make_move_iterator(part.begin()), std::make_move_iterator(part.end()));
    }
    return out;
}

std::size_t ZipTallyLists::keyCount() const
{
    std::size_t n = 0;
    for (const auto& l : lists_)
        n += l.size();
    return n;
}

std::int64_t ZipTallyLists::total() const
{
    std::int64_t n = 0;
    for (const auto& l : lists_)
        for (const auto& [key, tally] : l)
            n += tally.count;
    return n;
}

void ZipTallyLists::clear()
{
    for (auto& l : lists_)
        l.clear();
}

} // namespace postavo::reports
