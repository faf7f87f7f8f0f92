#pragma once
// Where a print run over the address table starts: its records and its first record.

#include <QString>

namespace postavo {

class AddressTable;

// The records a run takes.
enum class RunRecords { All, MatchingFilter, CurrentOnly };

inline constexpr const char* kOutOfRangeNotice = "Current record is out of range. Starting with first record";

// Puts the table where a run starts. All and MatchingFilter set the run's filter (every record
// not deleted, or the table's own filter), narrowed by `extraFilter` when it is given, and start
// at the first record; with `startFromCurrent` at `currentRecno` instead when the filter lets it
// through, else `notice` gets kOutOfRangeNotice. CurrentOnly stays on `currentRecno`. False with
// `error` when the filter is refused or there is no record to print.
bool positionRun(AddressTable& table, RunRecords records, const QString& extraFilter, bool startFromCurrent,
                 quint32 currentRecno, QString* notice, QString* error);

} // namespace postavo
