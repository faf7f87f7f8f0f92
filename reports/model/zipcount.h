#pragma once
// The zip code count: how many records carry each zip key, in three kinds of tally (five-digit
// keys by first digit, other keys, blank), the report lines made from them, and the reading pass
// over an address table.

#include "ziptally.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <unordered_map>

namespace postavo {
class AddressTable;
}

namespace postavo::reports {

class ZipCount {
public:
    // Counts one record by its ZIP value (read with trailing blanks removed, or raw).
    void addZip(std::string_view zipValue) { addKey(zipKey(zipValue)); }
    void addKey(std::string_view key);
    void clear();

    const ZipTallyLists& valid() const { return valid_; }
    const std::unordered_map<std::string, TallyRecord>& others() const { return others_; }
    std::int64_t blank() const { return blank_; }
    std::int64_t total() const;

    // The report: valid keys of digit 0 to 9 in ascending order, two empty lines, the other keys
    // in ascending order, then "BLANK" when some record had no zip.
    QStringList reportLines(const QLocale& locale = QLocale()) const;
    // One line: the key left-justified in ten characters, then the count with thousands
    // separators ("12345     1,000").
    static QString reportLine(const QString& key, std::int64_t count, const QLocale& locale = QLocale());
    // "#,##0": always grouped by thousands with the locale's separator.
    static QString groupedNumber(std::int64_t n, const QLocale& locale = QLocale());

private:
    ZipTallyLists valid_;
    std::unordered_map<std::string, TallyRecord> others_;
    std::int64_t blank_ = 0;
};

// What the reading pass tells its window. Every callback may be empty.
struct ZipCountProgress {
    std::function<void(const QString&)> status;
    // After each record; false stops the pass (the window lets pending events run here and asks
    // "Cancel Count?").
    std::function<bool()> keepGoing;
};

enum class CountOutcome { Completed, Cancelled, Failed };

// Counts every record visible under the table's filter in record-number order with fast reading,
// then puts the order and the current record back. The status shows "Reading database
// records...", "Reading record N" every 100 records and "Sorting Zip Codes...". `error` says why
// a failed pass failed.
CountOutcome countZipCodes(AddressTable& table, ZipCount* count, const ZipCountProgress& progress = {},
                           QString* error = nullptr);

} // namespace postavo::reports
