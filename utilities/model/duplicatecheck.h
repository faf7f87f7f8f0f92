#pragma once
// The duplicate check: a single pass over the records in an order in which duplicates are
// neighbours, each record compared with the one before it. Three kinds compare a key exactly
// (ignoring letter case); a fourth finds similar names at similar addresses (nearduplicates.h).

#include "passprogress.h"
#include "subsetindex.h"

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace postavo {

class AddressTable;

namespace engine {
class Table;
}

enum class DuplicateKind { LastFirst = 0, LastFirstInitial = 1, Street = 2, Similar = 3 };

inline constexpr int kMaxStreetChars = 30;
inline constexpr int kDefaultStreetChars = 30;

namespace duplicates {
inline constexpr const char* kCancelQuestion = "Cancel operation?";
inline constexpr const char* kDeleteQuestion = "Delete this record?";
inline constexpr const char* kTagAllQuestion = "Tag all possible duplicates?";
inline constexpr const char* kTagAllCaption = "TAG ALL";
inline constexpr const char* kSubsetIndexName = "_chkdup.idx";
QString foundText(quint64 count);  // "Found n possible duplicates"
QString kindCaption(DuplicateKind kind);
// The order the pass walks: tag NAME for the name kinds, STREET for the street kind.
const char* scanTag(DuplicateKind kind);
// The key of the subset index: upper(LNAME-FNAME), or upper(STREET) for the street kind.
const char* subsetKey(DuplicateKind kind);
} // namespace duplicates

// The comparison key from a record's values (trailing blanks removed), in capitals: last name
// and first name joined; last name and the first name's first character; the first
// `streetChars` characters of the street. Empty when the record takes no part: no last name
// (name kinds) or no street (street kind).
std::string duplicateKey(DuplicateKind kind, std::string_view last, std::string_view first, std::string_view street,
                         int streetChars);

// Two neighbours found equal (exact kinds) or similar (score below 1).
struct DuplicatePair {
    std::uint32_t first = 0, second = 0;  // record numbers, the earlier in the scan order first
    QString firstValue, secondValue;      // what was compared, as each record holds it
    double score = 1.0;
    double nameScore = 1.0, addressScore = 1.0;
};

struct DuplicateOutcome {
    quint64 scanned = 0;
    std::vector<DuplicatePair> pairs;   // count of possible duplicates = pairs.size()
    std::vector<std::uint32_t> records; // every record of a pair, each once, in the scan order
    bool cancelled = false;
    QString error;
};

// The exact kinds: the records the table shows, in the order of their kind's tag. The order
// comes from the tag itself; the records are read front to back, so a million records take a
// second or two. The table's order is kept.
DuplicateOutcome findExactDuplicates(engine::Table& table, DuplicateKind kind, int streetChars,
                                     const PassStep& step = {});

// Any kind (Similar included).
DuplicateOutcome findDuplicates(engine::Table& table, DuplicateKind kind, int streetChars, const PassStep& step = {});

// The check as its window runs it on the main window's table (showing every record that is not
// deleted): makes _chkdup.idx in `folder` (the program folder), runs the pass, adds the records
// found and, when there are any, makes the index the active order.
class DuplicateCheck {
public:
    DuplicateCheck(AddressTable& table, QString folder);
    ~DuplicateCheck();
    bool run(DuplicateKind kind, int streetChars, const PassStep& step, QString* message);
    bool running() const { return running_; }
    bool resultsShown() const { return shown_; }
    DuplicateKind kind() const { return kind_; }
    const DuplicateOutcome& outcome() const { return outcome_; }
    QString subsetIndexPath() const;
    void close();

private:
    AddressTable& table_;
    QString folder_;
    SubsetIndex index_;
    DuplicateOutcome outcome_;
    DuplicateKind kind_ = DuplicateKind::LastFirst;
    bool running_ = false;
    bool shown_ = false;
};

} // namespace postavo
