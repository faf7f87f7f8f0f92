#include "duplicatecheck.h"

#include "addressfile.h"
#include "nearduplicates.h"
#include "rawrecords.h"
#include "recordengine.h"

#include <QFileInfo>

#include <limits>

namespace postavo {

using engine::EngineError;

QString duplicates::foundText(quint64 count)
{
    return QStringLiteral("Found %1 possible duplicates").arg(count);
}

QString duplicates::kindCaption(DuplicateKind kind)
{
    switch (kind) {
    case DuplicateKind::LastFirst: return QStringLiteral("&Last + First");
    case DuplicateKind::LastFirstInitial: return QStringLiteral("Last + &First Initial");
    case DuplicateKind::Street: return QStringLiteral("&Street Address");
    case DuplicateKind::Similar: return QStringLiteral("S&imilar name and address");
    }
    return {};
}

const char* duplicates::scanTag(DuplicateKind kind) { return kind == DuplicateKind::Street ? "STREET" : "NAME"; }

const char* duplicates::subsetKey(DuplicateKind kind)
{
    return kind == DuplicateKind::Street ? "upper(STREET)" : "upper(LNAME-FNAME)";
}

std::string duplicateKey(DuplicateKind kind, std::string_view last, std::string_view first, std::string_view street,
                         int streetChars)
{
    switch (kind) {
    case DuplicateKind::LastFirst:
    case DuplicateKind::Similar:
        return last.empty() ? std::string() : upperBytes(std::string(last) + std::string(first));
    case DuplicateKind::LastFirstInitial:
        return last.empty() ? std::string() : upperBytes(std::string(last) + std::string(first.substr(0, 1)));
    case DuplicateKind::Street:
        return upperBytes(street.substr(0, std::size_t(std::clamp(streetChars, 1, kMaxStreetChars))));
    }
    return {};
}

namespace {

// What the listing shows of a record: the compared values in the record's own letter case.
QString shownValue(DuplicateKind kind, std::string_view last, std::string_view first, std::string_view street,
                   int streetChars)
{
    switch (kind) {
    case DuplicateKind::Street:
        return AddressTable::fromFile(street.substr(0, std::size_t(std::clamp(streetChars, 1, kMaxStreetChars))));
    case DuplicateKind::LastFirstInitial:
        return AddressTable::fromFile(last) + QLatin1Char(' ') + AddressTable::fromFile(first.substr(0, 1));
    default:
        return AddressTable::fromFile(last) + QLatin1Char(' ') + AddressTable::fromFile(first);
    }
}

constexpr std::uint32_t kNoSlot = std::numeric_limits<std::uint32_t>::max();

} // namespace

DuplicateOutcome findExactDuplicates(engine::Table& table, DuplicateKind kind, int streetChars, const PassStep& step)
{
    DuplicateOutcome out;
    const RawField last = rawField(table, "LNAME");
    const RawField first = rawField(table, "FNAME");
    const RawField street = rawField(table, "STREET");
    const int tag = table.orderNumber(duplicates::scanTag(kind));
    if (!last.valid() || !first.valid() || !street.valid() || tag <= 0 || !table.index()) {
        out.error = QStringLiteral("The address file has no %1 index tag. Rebuild its indexes first.")
                        .arg(QLatin1String(duplicates::scanTag(kind)));
        return out;
    }
    try {
        // 1. Every record the table shows, front to back: its key, by record number.
        const quint64 records = table.recCount();
        std::vector<std::uint32_t> slotOf(std::size_t(records) + 1, kNoSlot);
        std::vector<std::uint32_t> keyStart{0};
        std::string keys;
        PassStep firstHalf;
        if (step)
            firstHalf = [&](const PassProgress& p) { return step({p.done, 2 * p.total, 0}); };
        if (!scanVisibleRecords(table, [&](std::uint32_t recno, const unsigned char* r) {
                slotOf[recno] = std::uint32_t(keyStart.size() - 1);
                keys += duplicateKey(kind, trimmedBytes(r, last), trimmedBytes(r, first), trimmedBytes(r, street),
                                     streetChars);
                keyStart.push_back(std::uint32_t(keys.size()));
            }, firstHalf)) {
            out.cancelled = true;
            return out;
        }
        auto keyOf = [&](std::uint32_t slot) {
            return std::string_view(keys).substr(keyStart[slot], keyStart[slot + 1] - keyStart[slot]);
        };

        // 2. The tag's order: each shown record against the one shown before it.
        std::vector<std::pair<std::uint32_t, std::uint32_t>> found;
        std::uint32_t previous = 0, previousSlot = kNoSlot;  // none before the first record
        auto cursor = table.index()->cursor(std::size_t(tag - 1));
        for (bool ok = cursor->first(); ok && cursor->valid(); ok = cursor->next()) {
            const std::uint32_t recno = cursor->recno();
            const std::uint32_t slot = recno < slotOf.size() ? slotOf[recno] : kNoSlot;
            if (slot == kNoSlot)
                continue;
            ++out.scanned;
            const std::string_view key = keyOf(slot);
            if (!key.empty() && previousSlot != kNoSlot && keyOf(previousSlot) == key)
                found.emplace_back(previous, recno);
            previous = recno;
            previousSlot = slot;
            if (step && stepDue(out.scanned) && !step({records + out.scanned, 2 * records, found.size()})) {
                out.cancelled = true;
                break;
            }
        }

        // 3. What each pair compared, for the listing.
        std::string a, b;
        std::vector<bool> listed(slotOf.size(), false);
        for (const auto& [p, q] : found) {
            table.readRecord(p, a);
            table.readRecord(q, b);
            auto value = [&](const std::string& rec) {
                const auto* r = reinterpret_cast<const unsigned char*>(rec.data());
                return shownValue(kind, trimmedBytes(r, last), trimmedBytes(r, first), trimmedBytes(r, street),
                                  streetChars);
            };
            out.pairs.push_back({p, q, value(a), value(b)});
            for (std::uint32_t r : {p, q})
                if (!listed[r]) {
                    listed[r] = true;
                    out.records.push_back(r);
                }
        }
        if (step && !out.cancelled)
            step({2 * records, 2 * records, out.pairs.size()});
    } catch (const EngineError& e) {
        out.error = AddressTable::fromFile(e.what());
    }
    return out;
}

DuplicateOutcome findDuplicates(engine::Table& table, DuplicateKind kind, int streetChars, const PassStep& step)
{
    if (kind == DuplicateKind::Similar)
        return findSimilarDuplicates(table, SimilarityThresholds{}, step);
    return findExactDuplicates(table, kind, streetChars, step);
}

// ---------------------------------------------------------------- the window's check

DuplicateCheck::DuplicateCheck(AddressTable& table, QString folder)
    : table_(table), folder_(std::move(folder)), index_(table)
{
}

DuplicateCheck::~DuplicateCheck() { close(); }

QString DuplicateCheck::subsetIndexPath() const
{
    QString dir = folder_;
    if (!dir.endsWith('/'))
        dir += '/';
    return dir + QLatin1String(duplicates::kSubsetIndexName);
}

bool DuplicateCheck::run(DuplicateKind kind, int streetChars, const PassStep& step, QString* message)
{
    engine::Table* t = table_.engineTable();
    if (!t || running_)
        return false;
    index_.remove();
    kind_ = kind;
    running_ = true;
    shown_ = false;
    QString error;
    if (!index_.create(subsetIndexPath(), QString::fromLatin1(duplicates::subsetKey(kind)), &error)) {
        running_ = false;
        *message = error;
        return false;
    }
    table_.setNotificationsEnabled(false);
    outcome_ = findDuplicates(*t, kind, streetChars, step);
    if (!outcome_.pairs.empty()) {
        if (!index_.add(outcome_.records, &error) && outcome_.error.isEmpty())
            outcome_.error = error;
        index_.activate();
        shown_ = true;
    }
    table_.setNotificationsEnabled(true);
    table_.first();
    running_ = false;
    if (!outcome_.error.isEmpty())
        *message = outcome_.error;
    return outcome_.error.isEmpty();
}

void DuplicateCheck::close()
{
    index_.remove();
    shown_ = false;
}

} // namespace postavo
