#include "ziptally.h"

#include <algorithm>
#include <iterator>

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

namespace {

constexpr int kFiveDigitKeys = 100000;

// The number of a key of exactly five digits, or -1.
int fiveDigitNumber(std::string_view key)
{
    if (key.size() != 5)
        return -1;
    int v = 0;
    for (char c : key) {
        if (c < '0' || c > '9')
            return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

} // namespace

void ZipTallyLists::add(std::string_view key, std::int64_t n)
{
    if (key.empty() || key[0] < '0' || key[0] > '9')
        return;
    if (const int v = fiveDigitNumber(key); v >= 0) {
        if (fiveDigits_.empty())
            fiveDigits_.assign(kFiveDigitKeys, 0);
        fiveDigits_[std::size_t(v)] += n;
        return;
    }
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
    std::vector<std::pair<std::string, TallyRecord>> others = sortedTallies(lists_[digit]);
    if (fiveDigits_.empty())
        return others;
    // The five-digit keys come in order of their number, which is their byte order too.
    std::vector<std::pair<std::string, TallyRecord>> numbered;
    char text[8];
    for (int v = digit * 10000; v < (digit + 1) * 10000; ++v)
        if (const std::int64_t c = fiveDigits_[std::size_t(v)]; c != 0) {
            for (int i = 4, x = v; i >= 0; --i, x /= 10)
                text[i] = char('0' + x % 10);
            numbered.emplace_back(std::string(text, 5), TallyRecord{c});
        }
    std::vector<std::pair<std::string, TallyRecord>> out;
    out.reserve(numbered.size() + others.size());
    std::merge(std::make_move_iterator(numbered.begin()), std::make_move_iterator(numbered.end()),
               std::make_move_iterator(others.begin()), std::make_move_iterator(others.end()), std::back_inserter(out),
               [](const auto& a, const auto& b) { return a.first < b.first; });
    return out;
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
    std::size_t n = std::size_t(std::count_if(fiveDigits_.begin(), fiveDigits_.end(), [](std::int64_t c) { return c != 0; }));
    for (const auto& l : lists_)
        n += l.size();
    return n;
}

std::int64_t ZipTallyLists::total() const
{
    std::int64_t n = 0;
    for (std::int64_t c : fiveDigits_)
        n += c;
    for (const auto& l : lists_)
        for (const auto& [key, tally] : l)
            n += tally.count;
    return n;
}

void ZipTallyLists::clear()
{
    fiveDigits_.clear();
    for (auto& l : lists_)
        l.clear();
}

} // namespace postavo::reports
