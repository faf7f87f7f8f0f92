#pragma once
// Filters and tags applied to an open address table.

#include "filters.h"

#include <functional>

namespace postavo {

class AddressTable;
class Settings;

// Builds the filter from the query values and applies it with the deleted-record condition.
// Returns the number of matching records; 0 when there is no filter, when it is too complex
// (the message goes to `inform` and the values are cleared) or when it matches nothing (the
// values are cleared silently). Only "!ISDEL" stays applied in those cases.
quint32 ApplyFilter(AddressTable& table, QueryValues& query, const QString& tagId,
                    const std::function<void(const QString&)>& inform);
void ClearQueryVars(QueryValues& query);

// The current tag id from the settings file, made and stored when missing.
QString loadGlobalTagId(Settings& settings);
// "Clear Tags": a new generation; no record is written.
QString clearTags(Settings& settings, const QDateTime& now = QDateTime::currentDateTime());

struct TagAllResult {
    quint32 tagged = 0;
    bool cancelled = false;
    bool failed = false;
};
// Tags every visible record from the first. `step` is called after each record with the count
// so far and returns false to stop after that record (a cancelled pass).
TagAllResult tagAllMatches(AddressTable& table, const std::function<bool(quint32)>& step = {});

} // namespace postavo
