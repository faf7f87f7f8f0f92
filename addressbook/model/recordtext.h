#pragma once
// A record as plain text, in the groups the user picks ("Copy To Clipboard" and
// "postavo-db record-text"): name, address, phones, codes, comments, one line each for the
// values present, every line ended by CR LF.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace postavo {

class AddressTable;

struct RecordTextGroups {
    bool name = true;
    bool address = true;
    bool phones = true;
    bool codes = true;
    bool comments = true;

    static RecordTextGroups none() { return {false, false, false, false, false}; }
    bool operator==(const RecordTextGroups&) const = default;
};

inline constexpr int kRecordTextMaxLength = 1000;  // the whole text, line ends included
inline constexpr int kRecordTextMaxLine = 200;     // one line, without its line end

// The value of a field by name, with trailing blanks removed.
using FieldReader = std::function<QString(const char* field)>;

// The record's text line by line; lines with nothing but blanks are left out, a line longer
// than 200 characters is cut there, and the text stops at 1000 characters (a line that does
// not fit whole is cut and still ended by CR LF).
QString recordAsString(const FieldReader& value, const RecordTextGroups& groups);
// GetRecordAsString: the text of the table's current record (empty when there is none).
QString GetRecordAsString(const AddressTable& table, bool name, bool address, bool phones, bool codes,
                          bool comments);
QString GetRecordAsString(const AddressTable& table, const RecordTextGroups& groups);

// The group names a command line uses: name, address, phones, codes, comments.
QStringList recordTextGroupNames();
// "name,phones" -> those groups; empty with `error` set for an unknown name.
std::optional<RecordTextGroups> parseRecordTextGroups(const QString& list, QString* error = nullptr);

} // namespace postavo
