#pragma once
// Bulk-mail presort: the records counted by zip key, the keys grouped into 5-digit packages,
// 3-digit packages, ADC groups and the unknown rest, and the presort file PRESORT.PSL that label
// printing follows. TSortBulkMail is the window around BulkMailPresort.
//
// Keys and lines are the file's 8-bit bytes; the presort file is written in the same bytes.

#include "presorttally.h"

#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace postavo {
class AddressTable;
}

namespace postavo::labels {


// A package takes 10 pieces or more.
inline constexpr std::int64_t kPackageMinimum = 10;

inline constexpr const char* kPresortFileName = "PRESORT.PSL";
inline constexpr const char* kHeadingMark = "**";

// The presort's groups from the tallies: the 5-digit packages, then the 3-digit packages, the ADC
// groups and, when keys remain, "** Unknown" with the rest. Each line without "**" is one key.
std::vector<std::string> presortLines(const ZipTallyLists& tallies);

// Whether a presort line introduces a group.
bool isHeadingLine(std::string_view line);

// The presort file of the program folder (the program's own folder unless given), its name
// matched without regard to letter case.
QString presortFilePath(const QString& programFolder = {});
// The file's bytes: every line ended by CR LF.
QByteArray presortFileBytes(const std::vector<std::string>& lines);
// Writes the file whole, replacing any earlier one only once the new one is complete; false
// with a message (and the earlier file as it was) when it cannot be written.
bool writePresortFile(const QString& path, const std::vector<std::string>& lines, QString* error);
// The lines of a presort file (CR LF or LF); false with a message when it cannot be read.
bool readPresortFile(const QString& path, std::vector<std::string>* lines, QString* error);

// The counting pass and the grouping, without a window.
class BulkMailPresort {
public:
    enum class Result { Done, Cancelled, Failed };

    explicit BulkMailPresort(AddressTable& table) : table_(table) {}

    // The status line ("Reading database records...", "Reading record 1200", "Sorting Zip
    // Codes...").
    std::function<void(const QString&)> status;
    // Called after every record: lets the window's events run and says whether to go on (false
    // once the user confirmed "Cancel PRESORT?").
    std::function<bool()> keepGoing;

    // Counts the records visible under the table's filter in record order and, unless cancelled,
    // writes the presort file to `outPath`. The table is left in record order.
    Result run(const QString& outPath, QString* error);

    const ZipTallyLists& tallies() const { return tallies_; }
    const std::vector<std::string>& lines() const { return lines_; }
    // Records counted, and records passed over for a zip key outside the range.
    std::int64_t counted() const { return counted_; }
    std::int64_t skipped() const { return skipped_; }

private:
    void say(const QString& text)
    {
        if (status)
            status(text);
    }

    AddressTable& table_;
    ZipTallyLists tallies_;
    std::vector<std::string> lines_;
    std::int64_t counted_ = 0, skipped_ = 0;
};

} // namespace postavo::labels
