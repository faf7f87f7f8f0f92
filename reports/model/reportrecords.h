#pragma once
// Which records a report run prints and how it walks them: the record choice of the report
// window ("What to Print"), the scope that sets the table's order, query and start record for a
// run and puts everything back afterwards, and the record sources the print bodies read.

#include "reportrecord.h"

#include <QString>
#include <functional>
#include <vector>

namespace postavo {
class AddressTable;
namespace engine {
class Table;
}
} // namespace postavo

namespace postavo::reports {

enum class RecordChoice { All, Filter, Current };

struct RecordSelection {
    RecordChoice which = RecordChoice::Filter;
    bool startFromCurrent = false;
};

// The query of each choice for a table whose current record is `recno`; empty for the filter,
// which keeps the query in force. Reports count a record as gone only when its prefix says so.
QString selectionQuery(RecordChoice which, quint32 recno);

inline constexpr const char* kOutOfRangeMessage = "Current record is out of range. Starting with first record";

// Saves the table's order, query and current record when made; restores them (and clears any
// scope) when destroyed, whatever happened in between.
class ReportRecordScope {
public:
    explicit ReportRecordScope(AddressTable& table);
    ~ReportRecordScope();
    ReportRecordScope(const ReportRecordScope&) = delete;
    ReportRecordScope& operator=(const ReportRecordScope&) = delete;

    quint32 savedRecord() const { return recno_; }
    QString savedQuery() const { return query_; }

    // Sets up a run: the order `orderTag` (empty keeps it), the query of the choice, then the
    // start: the saved record when asked and still among the chosen records (else `inform` gets
    // the out-of-range message), otherwise the first record, from which `seekFromZero` skips
    // every key sorting below "0". False with `error` when the query or order cannot be set; a
    // run with no records is true with the table at its end.
    bool select(const RecordSelection& selection, const QString& orderTag, bool seekFromZero,
                const std::function<void(const QString&)>& inform, QString* error = nullptr);

private:
    AddressTable& table_;
    QString order_;
    QString query_;
    quint32 recno_ = 0;
};

// The records a print body walks, one at a time.
class RecordSource {
public:
    virtual ~RecordSource() = default;
    virtual bool atEnd() = 0;
    // The current record's values (the memo only when the source was asked for memos).
    virtual const ReportRecord& current() = 0;
    virtual void next() = 0;
};

// The visible records of an open address table from its current position on. Reads the record
// buffer straight from the engine, so walking a large file converts only the fields it shows;
// objects bound to the table see the same current record.
class TableRecords : public RecordSource {
public:
    TableRecords(AddressTable& table, bool withMemo);
    bool atEnd() override;
    const ReportRecord& current() override;
    void next() override;
    QString lastError() const { return error_; }

private:
    engine::Table* table_;
    bool withMemo_;
    bool loaded_ = false;
    ReportRecord record_;
    std::vector<int> index_; // engine field index per ReportRecord member, -1 when missing
    QString error_;
};

// Records given in a list (tests, previews of made-up data).
class ListRecords : public RecordSource {
public:
    explicit ListRecords(std::vector<ReportRecord> records) : records_(std::move(records)) {}
    bool atEnd() override { return at_ >= records_.size(); }
    const ReportRecord& current() override { return records_.at(at_); }
    void next() override { ++at_; }

private:
    std::vector<ReportRecord> records_;
    std::size_t at_ = 0;
};

// Reads the current record of an address table (trailing blanks removed), memo included.
ReportRecord readCurrentRecord(AddressTable& table);

} // namespace postavo::reports
