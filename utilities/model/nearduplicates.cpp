#include "nearduplicates.h"

#include "addressfile.h"
#include "rawrecords.h"
#include "recordengine.h"

#include <algorithm>
#include <functional>
#include <unordered_set>

namespace postavo {

using engine::EngineError;

double jaroWinkler(std::string_view a, std::string_view b)
{
    if (a == b)
        return a.empty() ? 0.0 : 1.0;
    if (a.empty() || b.empty())
        return 0.0;
    if (a.size() > b.size())
        std::swap(a, b);
    const std::size_t window = std::max<std::size_t>(b.size() / 2, 1) - 1;
    // Both texts are short (a field of at most 80 characters): flags on the stack.
    bool usedA[128] = {}, usedB[128] = {};
    const std::size_t la = std::min<std::size_t>(a.size(), 128), lb = std::min<std::size_t>(b.size(), 128);
    std::size_t matches = 0;
    for (std::size_t i = 0; i < la; ++i) {
        const std::size_t from = i > window ? i - window : 0;
        const std::size_t to = std::min(lb, i + window + 1);
        for (std::size_t j = from; j < to; ++j)
            if (!usedB[j] && a[i] == b[j]) {
                usedA[i] = usedB[j] = true;
                ++matches;
                break;
            }
    }
    if (matches == 0)
        return 0.0;
    std::size_t transposed = 0;
    for (std::size_t i = 0, j = 0; i < la; ++i) {
        if (!usedA[i])
            continue;
        while (!usedB[j])
            ++j;
        if (a[i] != b[j])
            ++transposed;
        ++j;
    }
    const double m = double(matches);
    const double jaro = (m / double(la) + m / double(lb) + (m - double(transposed) / 2) / m) / 3;
    std::size_t prefix = 0;
    while (prefix < 4 && prefix < la && a[prefix] == b[prefix])
        ++prefix;
    return jaro + double(prefix) * 0.1 * (1 - jaro);
}

SimilarRecord makeSimilarRecord(std::uint32_t recno, std::string_view last, std::string_view first,
                                std::string_view org, std::string_view street, std::string_view street2,
                                std::string_view city, std::string_view zip)
{
    SimilarRecord r;
    r.recno = recno;
    r.name = normaliseName(last, first, org);
    r.street = normaliseStreet(street, street2);
    std::string z = foldText(zip);
    z.erase(std::remove(z.begin(), z.end(), ' '), z.end());
    r.zip5 = z.substr(0, 5);
    r.city = foldText(city);
    return r;
}

namespace {

double givenSimilarity(const NormalisedName& a, const NormalisedName& b)
{
    if (a.given.empty() && b.given.empty())
        return 1.0;
    if (a.given.empty() || b.given.empty())
        return 0.75;
    if (a.canonicalGiven == b.canonicalGiven)
        return 1.0;
    if (a.given.size() == 1 || b.given.size() == 1)
        return a.given.front() == b.given.front() ? 0.9 : 0.0;
    return std::max(jaroWinkler(a.given, b.given), jaroWinkler(a.canonicalGiven, b.canonicalGiven));
}

// Every word of the shorter street is in the longer one ("MAIN ST" and "N MAIN ST").
bool wordsContained(std::string_view shorter, std::string_view longer)
{
    if (shorter.size() > longer.size())
        std::swap(shorter, longer);
    if (shorter.empty())
        return false;
    std::size_t i = 0;
    while (i < shorter.size()) {
        std::size_t j = shorter.find(' ', i);
        if (j == std::string_view::npos)
            j = shorter.size();
        const std::string_view w = shorter.substr(i, j - i);
        bool found = false;
        for (std::size_t k = 0; k < longer.size();) {
            std::size_t e = longer.find(' ', k);
            if (e == std::string_view::npos)
                e = longer.size();
            if (longer.substr(k, e - k) == w) {
                found = true;
                break;
            }
            k = e + 1;
        }
        if (!found)
            return false;
        i = j + 1;
    }
    return true;
}

} // namespace

double nameSimilarity(const NormalisedName& a, const NormalisedName& b)
{
    if (a.last.empty() || b.last.empty())
        return 0.0;
    const double last = jaroWinkler(a.last, b.last);
    double best = std::min(last, givenSimilarity(a, b));
    // Last and first name typed into each other's field.
    if (!a.given.empty() && !b.given.empty() && best < 1.0) {
        const double swapped = std::min(jaroWinkler(a.last, b.given), jaroWinkler(a.given, b.last)) * 0.95;
        best = std::max(best, swapped);
    }
    // Smith Jr and Smith (or Smith Sr) at one address are father and son.
    if (a.generation != b.generation)
        best = std::min(best, 0.8);
    return best;
}

double addressSimilarity(const SimilarRecord& a, const SimilarRecord& b)
{
    const NormalisedStreet& s = a.street;
    const NormalisedStreet& t = b.street;
    if (s.street.empty() || t.street.empty())
        return 0.0;
    if (!s.number.empty() && !t.number.empty() && s.number != t.number)
        return 0.0;
    double score = s.street == t.street ? 1.0 : jaroWinkler(s.street, t.street);
    if (score < 0.92 && wordsContained(s.street, t.street))
        score = 0.92;
    if (s.number.empty() != t.number.empty())
        score *= 0.85;
    if (!s.unit.empty() && !t.unit.empty()) {
        if (s.unit != t.unit)
            score = std::min(score, 0.5);
    } else if (s.unit.empty() != t.unit.empty()) {
        score *= 0.97;
    }
    const bool cities = !a.city.empty() && !b.city.empty();
    if (!a.zip5.empty() && !b.zip5.empty()) {
        if (a.zip5 != b.zip5)
            score *= cities && jaroWinkler(a.city, b.city) >= 0.9 ? 0.95 : 0.6;
    } else if (cities && jaroWinkler(a.city, b.city) < 0.85) {
        score *= 0.7;
    }
    return score;
}

SimilarityScore scoreSimilarity(const SimilarRecord& a, const SimilarRecord& b)
{
    return {nameSimilarity(a.name, b.name), addressSimilarity(a, b)};
}

std::vector<SimilarPair> findSimilarPairs(const std::vector<SimilarRecord>& records, const SimilarityThresholds& t,
                                          const PassStep& step, bool* cancelled)
{
    std::vector<SimilarPair> pairs;
    std::unordered_set<std::uint64_t> seen;
    const std::size_t n = records.size();
    const quint64 total = 3 * quint64(n);
    quint64 done = 0;
    if (cancelled)
        *cancelled = false;
    auto consider = [&](std::uint32_t i, std::uint32_t j) {
        const SimilarRecord& a = records[i];
        const SimilarRecord& b = records[j];
        // Cheap refusals first: most neighbours differ in house number or name.
        if (!a.street.number.empty() && !b.street.number.empty() && a.street.number != b.street.number)
            return;
        const double name = nameSimilarity(a.name, b.name);
        if (name < t.name)
            return;
        const double address = addressSimilarity(a, b);
        if (address < t.address)
            return;
        const std::uint64_t key = (std::uint64_t(std::min(i, j)) << 32) | std::max(i, j);
        if (seen.insert(key).second)
            pairs.push_back({std::min(i, j), std::max(i, j), {name, address}});
    };
    const char sep = '\x01';
    const std::vector<std::function<std::string(const SimilarRecord&)>> orders = {
        [&](const SimilarRecord& r) {
            return r.name.last + sep + r.name.canonicalGiven + sep + r.zip5 + sep + r.street.number;
        },
        [&](const SimilarRecord& r) {
            return r.street.street.empty() ? std::string() : r.street.street + sep + r.street.number + sep + r.name.last;
        },
        [&](const SimilarRecord& r) {
            return r.zip5.empty() || r.street.number.empty()
                       ? std::string()
                       : r.zip5 + sep + r.street.number + sep + r.name.last + sep + r.name.canonicalGiven;
        },
    };
    std::vector<std::string> keys(n);
    std::vector<std::uint32_t> order;
    for (const auto& keyOf : orders) {
        order.clear();
        for (std::uint32_t i = 0; i < n; ++i) {
            keys[i] = keyOf(records[i]);
            if (!keys[i].empty())
                order.push_back(i);
        }
        std::sort(order.begin(), order.end(), [&](std::uint32_t x, std::uint32_t y) {
            const int c = keys[x].compare(keys[y]);
            return c != 0 ? c < 0 : x < y;
        });
        const std::size_t m = order.size();
        for (std::size_t p = 0; p < m; ++p) {
            const std::size_t end = std::min(m, p + 1 + std::size_t(std::max(t.window, 1)));
            for (std::size_t q = p + 1; q < end; ++q)
                consider(order[p], order[q]);
            if (step && stepDue(++done) && !step({done, total, pairs.size()})) {
                if (cancelled)
                    *cancelled = true;
                return pairs;
            }
        }
        done += n - m;
    }
    std::sort(pairs.begin(), pairs.end(), [&](const SimilarPair& x, const SimilarPair& y) {
        if (x.score.overall() != y.score.overall())
            return x.score.overall() > y.score.overall();
        return std::make_pair(x.a, x.b) < std::make_pair(y.a, y.b);
    });
    return pairs;
}

QString similarShownValue(std::string_view last, std::string_view first, std::string_view street,
                          std::string_view zip)
{
    QString name = AddressTable::fromFile(last);
    if (!first.empty())
        name += QStringLiteral(", ") + AddressTable::fromFile(first);
    return name + QStringLiteral(" | ") + AddressTable::fromFile(street) + QStringLiteral(" | ") +
           AddressTable::fromFile(zip);
}

DuplicateOutcome findSimilarDuplicates(engine::Table& table, const SimilarityThresholds& t, const PassStep& step)
{
    DuplicateOutcome out;
    const RawField last = rawField(table, "LNAME"), first = rawField(table, "FNAME"), org = rawField(table, "ORG");
    const RawField street = rawField(table, "STREET"), street2 = rawField(table, "STREET2");
    const RawField city = rawField(table, "CITY"), zip = rawField(table, "ZIP");
    if (!last.valid() || !street.valid() || !zip.valid()) {
        out.error = QStringLiteral("The file has no LNAME, STREET or ZIP field.");
        return out;
    }
    try {
        // Reading and normalising is a third of the work, comparing the rest.
        std::vector<SimilarRecord> records;
        records.reserve(std::size_t(table.recCount()));
        PassStep reading;
        if (step)
            reading = [&](const PassProgress& p) { return step({p.done, 3 * p.total, 0}); };
        if (!scanVisibleRecords(table, [&](std::uint32_t recno, const unsigned char* r) {
                ++out.scanned;
                records.push_back(makeSimilarRecord(recno, trimmedBytes(r, last), trimmedBytes(r, first),
                                                    trimmedBytes(r, org), trimmedBytes(r, street),
                                                    trimmedBytes(r, street2), trimmedBytes(r, city),
                                                    trimmedBytes(r, zip)));
            }, reading)) {
            out.cancelled = true;
            return out;
        }
        PassStep comparing;
        const quint64 fileRecords = std::max<quint64>(1, table.recCount());
        if (step)
            comparing = [&](const PassProgress& p) {
                return step({fileRecords + 2 * fileRecords * p.done / std::max<quint64>(1, p.total), 3 * fileRecords,
                             p.found});
            };
        bool cancelled = false;
        const std::vector<SimilarPair> pairs = findSimilarPairs(records, t, step ? comparing : PassStep(), &cancelled);
        out.cancelled = cancelled;
        std::string a, b;
        std::vector<bool> listed;
        for (const SimilarPair& p : pairs) {
            const std::uint32_t ra = records[p.a].recno, rb = records[p.b].recno;
            table.readRecord(ra, a);
            table.readRecord(rb, b);
            auto value = [&](const std::string& rec) {
                const auto* r = reinterpret_cast<const unsigned char*>(rec.data());
                return similarShownValue(trimmedBytes(r, last), trimmedBytes(r, first), trimmedBytes(r, street),
                                         trimmedBytes(r, zip));
            };
            DuplicatePair d{ra, rb, value(a), value(b), p.score.overall(), p.score.name, p.score.address};
            out.pairs.push_back(std::move(d));
            for (std::uint32_t r : {ra, rb}) {
                if (r >= listed.size())
                    listed.resize(std::size_t(r) + 1, false);
                if (!listed[r]) {
                    listed[r] = true;
                    out.records.push_back(r);
                }
            }
        }
    } catch (const EngineError& e) {
        out.error = AddressTable::fromFile(e.what());
    }
    return out;
}

} // namespace postavo
