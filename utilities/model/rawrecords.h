#pragma once
// Reading address fields straight from the record bytes. The maintenance passes read every
// record of files with a million of them; going through the record buffer instead of the
// address table's text values keeps a pass to a fraction of a second per field.

#include "passprogress.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace postavo {

namespace engine {
class Table;
}

// Where one field lies in a record buffer (byte 0 is the deletion flag).
struct RawField {
    std::uint32_t offset = 0;
    std::uint16_t length = 0;
    bool valid() const { return length > 0; }
};

// The field of that name; an invalid slot when the table has none.
RawField rawField(const engine::Table& table, std::string_view name);

inline std::string_view paddedBytes(const unsigned char* record, RawField f)
{
    return f.valid() ? std::string_view(reinterpret_cast<const char*>(record) + f.offset, f.length) : std::string_view();
}
// The value with trailing blanks removed, as every reader of address fields sees it.
std::string_view trimmedBytes(const unsigned char* record, RawField f);
bool rawLogical(const unsigned char* record, RawField f);
inline bool rawDeleted(const unsigned char* record) { return record[0] == '*'; }

// The record engine's upper case of Windows-1252 text (what keys and filters compare).
std::string upperBytes(std::string_view text);
// Whether Windows-1252 can hold every character of `text` (a value the file can store as typed).
bool fitsCp1252(const QString& text);

// Visits every record the table shows (its filter, its deleted-record switch) in record order,
// with the record's number and bytes. The order the table had is restored afterwards, and the
// table stands on the last record visited. `step` gets the record number reached against the
// number of records in the file, and the count returned by `found`. False when the step stopped
// the pass.
bool scanVisibleRecords(engine::Table& table,
                        const std::function<void(std::uint32_t recno, const unsigned char* data)>& visit,
                        const PassStep& step, const std::function<quint64()>& found = {});

} // namespace postavo
