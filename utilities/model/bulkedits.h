#pragma once
// The bulk edits: converting the letter case of chosen fields, deleting many records at once,
// and searching and replacing field values. Each works on the address table it is given, under
// the filter the caller has applied, and leaves that filter and the table's order as they were.
// Every record changed is posted with its index keys before the next is touched, so a pass that
// is cancelled or fails half-way leaves a sound file whose changed records are counted.

#include "passprogress.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace postavo {

class AddressTable;

// ---------------------------------------------------------------- case conversion

enum class CaseConversion { Upper, Lower, Capitalise };

// Only the unaccented letters a-z and A-Z change. Capitalising lower-cases the whole value, then
// raises each letter that starts the value or follows a blank (MARY-ANN o'neil -> Mary-ann O'neil).
std::string convertCase(std::string_view value, CaseConversion how);
QString convertCase(const QString& value, CaseConversion how);

struct BulkField {
    const char* field;
    const char* caption;
};
// The fields the conversion offers, in the order it converts them, with their box captions.
const std::vector<BulkField>& caseConversionFields();

// What a bulk pass did.
struct BulkOutcome {
    quint64 total = 0;    // records the pass set out to work on
    quint64 visited = 0;  // records it reached
    quint64 changed = 0;  // records it changed (deleted, converted, replaced)
    bool cancelled = false;
    QString error;        // why it stopped early; the records counted are changed and stored
};

// Converts `fields` of the current record (`currentOnly`) or of every record the table shows.
BulkOutcome convertCaseOfRecords(AddressTable& table, const QStringList& fields, CaseConversion how, bool currentOnly,
                                 const PassStep& step = {});

namespace bulk {
inline constexpr const char* kNoFieldsChecked = "No fields checked for conversion";
inline constexpr const char* kConvertQuestion = "Convert now? This process cannot be undone..";
inline constexpr const char* kConvertCaption = "Convert";
inline constexpr const char* kCancelConversion = "Cancel case conversion?";
inline constexpr const char* kDeleteQuestion = "Are you sure?";
inline constexpr const char* kDeleteCaption = "DELETE";
inline constexpr const char* kDeleting = "Deleting Records ";
inline constexpr const char* kRebuildAdvice = "For optimum space usage, please select\r\n[Rebuild Indexes] from the File menu";
inline constexpr const char* kCancelDeleting = "Cancel deleting records?";
inline constexpr const char* kReplaceCaption = "Replace";
inline constexpr const char* kReplacing = "Replacing Records ";
inline constexpr const char* kReplacementDone = "Replacement done";
inline constexpr const char* kCancelReplacing = "Cancel search and replace?";
QString deletedText(quint64 n);   // "Deleted n records"
QString replacedText(quint64 n);  // "Replaced n records"
// What the user is told after a cancelled or failed pass: how many records were changed.
QString stoppedText(const BulkOutcome& o, const QString& verb);
} // namespace bulk

// ---------------------------------------------------------------- deleting records

enum class DeleteChoice { All, MatchingFilter, NotMatchingFilter };

// All: empties the file at once (zap); the count is the number of records that were not
// deleted before. Otherwise marks every record that matches `filterText` (or does not) and is
// not deleted yet: ISDEL true and the engine's deletion mark.
BulkOutcome deleteRecords(AddressTable& table, DeleteChoice choice, const QString& filterText,
                          const PassStep& step = {});

// ---------------------------------------------------------------- search and replace

struct ReplaceTarget {
    const char* caption;
    const char* field;
};
// "Last Name" LNAME ... "Comment 2" USER2, in list order (PREFIX is not offered).
const std::vector<ReplaceTarget>& replaceTargets();

struct ReplaceRequest {
    QString field;               // a field name of replaceTargets()
    bool exact = true;           // "Is exactly equal to" (else "Contains")
    QString find;                // empty: the field is empty
    bool caseSensitive = true;
    bool wholeField = true;      // "Replace the whole field with" (else only the matching text)
    QString with;
    QString scopeFilter;         // the user's filter text, or empty for all records
};

// The question asked before replacing (caption "Replace").
QString replaceConfirmation(const ReplaceRequest& r);
// Why the request cannot run on this table, or empty: a field that is not offered, a search or
// replacement text Windows-1252 cannot hold, a search text longer than the field.
QString checkReplaceRequest(const ReplaceRequest& r, const AddressTable& table);

// The record test: the field's first n bytes equal the search text (exact), or the search text
// lies in the field (contains), both on the field as stored (padded to its width); an empty
// search text finds empty fields. `find` is in capitals when the test ignores letter case.
bool replaceTestMatches(std::string_view paddedField, std::string_view find, bool exact, bool caseSensitive);
// Every occurrence of `find` in `value` (at most `limit`), left to right, replaced by `with`;
// text outside the occurrences keeps its letter case. An empty `find` gives `with` for an
// empty value (the value is all the matching text there is).
std::string replaceMatchingText(std::string_view value, std::string_view find, std::string_view with,
                                bool caseSensitive, int limit = 50);

struct ReplacePlan {
    QString field;
    int width = 0;
    std::vector<std::pair<std::uint32_t, std::string>> changes;  // record, new value
    std::vector<std::uint32_t> tooLong;  // records whose new value would not fit the field
    quint64 visited = 0;
    bool cancelled = false;
    QString error;
    quint64 matched() const { return changes.size() + tooLong.size(); }
};
// Finds the records and works out their new values without changing anything.
ReplacePlan planReplacement(AddressTable& table, const ReplaceRequest& r, const PassStep& step = {});
// Stores the planned values. Records whose value would not fit are left as they are; say so.
BulkOutcome applyReplacement(AddressTable& table, const ReplacePlan& plan, const PassStep& step = {});
// "3 records were left unchanged: the new value would be longer than Address 1 (40 characters)."
QString tooLongText(const ReplacePlan& plan, const QString& caption);

} // namespace postavo
