#pragma once
// The address record: its 23 fields, 26 index tags, the widths of new files, and the values
// calculated from a record for display. All of it is plain data and functions, so every
// window, tool and test uses the same rules.

#include "addressschema.h"

#include <QDate>
#include <QLocale>
#include <QMap>
#include <QString>


namespace postavo {

class Settings;

// The fields and tags themselves are defined in addressschema.h.
const AddressFieldDef* findAddressField(const QString& name);  // any letter case

// ---- widths of new address files ----
inline constexpr int kMinStoredFieldLength = 5;
inline constexpr int kMaxStoredFieldLength = 80;
inline constexpr int kMinTypedFieldLength = 10;
inline constexpr int kMaxTypedFieldLength = 80;

using FieldLengths = QMap<QString, int>;  // adjustable field name -> width
// The 18 adjustable fields, in the order of the file.
QStringList adjustableFieldNames();
// The widths of the field table, and those the "Defaults" button loads (Fax 30, not 40).
FieldLengths defaultFieldLengths();
FieldLengths defaultButtonFieldLengths();
// A stored width outside 5..80 is replaced by the field's default.
int sanitisedFieldLength(const QString& field, int width);
FieldLengths readNewFileFieldLengths(const Settings& s);
bool writeNewFileFieldLengths(Settings& s, const FieldLengths& lengths);
// What a length box accepts when the user leaves it: a whole number 10..80.
bool acceptsTypedFieldLength(const QString& text, int* value = nullptr);

// ---- new file names ----
// ADD0001 .. ADD9999: the first whose .DBF does not exist in dataDir (any letter case);
// ADD0001 when all exist.
QString proposeAddressFileName(const QString& dataDir);
// First character a letter or "_", the others letters, digits or "_"; not empty.
bool isValidFileIdentifier(const QString& name);

// ---- calculated values ----
// The system's short date format with its year widened to four digits.
QString displayDateFormatFor(const QLocale& locale);
QString displayDateFormat();  // for the system locale, worked out once per run
// DATE holds yyyymmdd (or blank); anything else shows blank.
QDate parseRecordDate(const QString& dateField);
QString displayDate(const QString& dateField, const QString& format);
inline QString displayDate(const QString& dateField) { return displayDate(dateField, displayDateFormat()); }
QString recordDateText(const QDate& d);  // yyyymmdd

QString fullName(const QString& first, const QString& middle, const QString& last);
QString fullNameWithPrefix(const QString& prefix, const QString& first, const QString& middle,
                           const QString& last);
QString cityStateZip(const QString& city, const QString& state, const QString& zip);

} // namespace postavo
