#pragma once
// The columns of the browse grid and the file FIELDS.LST that keeps their order: which fields
// are shown, how wide, and the order read from and written to the file.

#include <QString>
#include <QStringList>

namespace postavo {

class AddressTable;

inline constexpr const char* kFieldsListName = "FIELDS.LST";

// Every field of the address table object, the calculated ones included, in the order a grid
// shows them when FIELDS.LST says nothing: the shown ones first, then the others.
QStringList defaultBrowseFieldOrder();
// Shown in the grid: Tagged, the name, address, phone, code and comment fields, and the
// display date; never MEMO, ISDEL, TAG, the stored DATE nor the other calculated values.
bool isBrowseColumnShown(const QString& name);
// Display width in characters; `fieldWidth` is the open file's width of a stored field.
int browseColumnWidth(const QString& name, int fieldWidth);

struct FieldsList {
    QStringList order;  // every field, known names in the file's order first
    QString problem;    // why the file was not used whole ("" when it was, or is missing)
    int known = 0;      // names of the file that gave a position
};
// Gives each field named in `text` (one name a line) that position at the front of `base`;
// names that match no field (any letter case) or repeat one are skipped and named in `problem`.
FieldsList applyFieldsList(const QByteArray& text, const QStringList& base);
// Reads the file at `path`; a missing file leaves `base` as it is without a problem, a damaged
// one (not text, too large, no known field) too, with the problem said.
FieldsList readFieldsList(const QString& path, const QStringList& base);
// The order, one name a line with CR LF, written whole or not at all.
bool writeFieldsList(const QString& path, const QStringList& order, QString* error = nullptr);
// The file in the program's system folder.
QString fieldsListPath();

} // namespace postavo
