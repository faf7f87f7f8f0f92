#pragma once
// The state and zip check: every record's state and zip compared with the state table
// CSZ.DBF, which gives each state or province abbreviation the ranges of its zip or postal
// codes. A state whose codes do not form one range has several rows; a record is questionable
// when its state is not in the table or its zip lies in none of its state's rows.

#include "passprogress.h"
#include "subsetindex.h"

#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace postavo {

class AddressTable;
struct CszRow;

namespace engine {
class Table;
}

// One row's codes, as the table holds them (trailing blanks removed).
struct ZipRange {
    std::string low, high;
};

// Whether a zip lies in a range, comparing the texts character by character. A code longer than
// the upper bound is compared on the bound's length, so that 14999-1234 lies in 10000-14999:
// a ZIP+4 code belongs to its five-digit zip.
bool zipInRange(std::string_view zip, const ZipRange& range);

class StateZipTable {
public:
    // The rows of an open CSZ.DBF that are not deleted.
    static StateZipTable fromTable(engine::Table& csz);
    static StateZipTable fromRows(const QList<CszRow>& rows);
    void addRow(std::string_view state, std::string_view low, std::string_view high);

    // The rows of a state: its abbreviation as the record stores it must equal one in the table,
    // which holds them in capitals (a lower-case or partial abbreviation is not found). Null when
    // the state is unknown or empty.
    const std::vector<ZipRange>* ranges(std::string_view state) const;
    bool questionable(std::string_view state, std::string_view zip) const;
    std::size_t stateCount() const { return states_.size(); }

private:
    std::map<std::string, std::vector<ZipRange>, std::less<>> states_;
};

// The texts of the check.
namespace statezip {
inline constexpr const char* kMissingTable =
    "The file CSZ.DBF has been removed from the SYSDATA directory. Unable to continue.";
inline constexpr const char* kCannotOpenForEditing = "Unable to open CSZ.DBF";
inline constexpr const char* kCancelQuestion = "Cancel operation?";
inline constexpr const char* kTagAllQuestion = "Tag all records with questionable state or zipcodes?";
inline constexpr const char* kTagAllCaption = "TAG ALL";
inline constexpr const char* kSubsetIndexName = "_chksz.idx";
inline constexpr const char* kSubsetKey = "upper(LNAME)+upper(FNAME)";
QString foundText(quint64 count);  // "Found n records with questionable state or zipcodes"
} // namespace statezip

struct StateZipFinding {
    std::uint32_t recno = 0;
    QString lastName, firstName, state, zip;
};

struct StateZipOutcome {
    quint64 checked = 0;
    std::vector<StateZipFinding> found;
    bool cancelled = false;
    QString error;  // the pass could not read the file
};

// Checks every record the table shows, in record order. With `includeBlank` off a record whose
// state or zip is empty is passed over; with it on such a record goes through the same test (an
// empty zip lies below every range, an empty state is in no row).
StateZipOutcome findQuestionableStatesAndZips(engine::Table& table, const StateZipTable& states, bool includeBlank,
                                              const PassStep& step = {});

// CSZ.DBF of sysdata/ (any letter case); empty when there is none.
QString stateTablePath(const QString& sysdataDir = {});

// The check as its window runs it, on the main window's table (which shows every record that is
// not deleted while the window is open): it opens CSZ.DBF, makes the subset index _chksz.idx in
// the address file's folder, checks, adds the questionable records and makes the index the active
// order. close() deletes the index file.
class StateZipCheck {
public:
    StateZipCheck(AddressTable& table, QString sysdataDir = {});
    ~StateZipCheck();

    // False with the message to show when CSZ.DBF cannot be opened or the index not made; the
    // table is then as before.
    bool run(bool includeBlank, const PassStep& step, QString* message);
    bool running() const { return running_; }
    bool resultsShown() const { return shown_; }
    const StateZipOutcome& outcome() const { return outcome_; }
    QString subsetIndexPath() const;
    void close();

private:
    AddressTable& table_;
    QString sysdata_;
    SubsetIndex index_;
    StateZipOutcome outcome_;
    bool running_ = false;
    bool shown_ = false;
};

} // namespace postavo
