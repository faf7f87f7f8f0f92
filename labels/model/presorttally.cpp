#include "presorttally.h"

#include <algorithm>

namespace postavo::labels {

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

void ZipTallyLists::add(std::string_view key, std::int64_t n)
{
    if (key.empty() || key[0] < '0' || key[0] > '9')
        return;
    auto& list = lists_[key[0] - '0'];
    probe_.assign(key);
    auto it = list.find(probe_);
    if (it == list.end())
        list.emplace(probe_, TallyRecord{n});
    else
        it->second.count += n;
}

std::vector<std::pair<std::string, TallyRecord>> ZipTallyLists::sorted(int digit) const
{
    if (digit < 0 || digit > 9)
        return {};
    std::vector<std::pair<std::string, TallyRecord>> out(lists_[digit].begin(), lists_[digit].end());
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return out;
}

std::size_t ZipTallyLists::keyCount() const
{
    std::size_t n = 0;
    for (const auto& l : lists_)
        n += l.size();
    return n;
}

void ZipTallyLists::clear()
{
    for (auto& l : lists_)
        l.clear();
}

} // namespace postavo::labels
