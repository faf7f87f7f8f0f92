#pragma once
// Importing another xBase table (dBASE III/IV with DBT memos, FoxPro with FPT, tables without
// memos): the source table, the text value of its fields, pre-matching, and the two imports
// that use them — the table import with its field match, and the import of address tables of
// the program's older versions (1.x and 2.x) by a fixed mapping.

#include "fieldmatch.h"
#include "importrun.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

namespace postavo::engine {
class Table;
struct DbfField;
} // namespace postavo::engine

namespace postavo::transfer {

// A table chosen as an import's source, open read-only in record order with deleted records
// hidden (they are never read).
class SourceTable {
public:
    ~SourceTable();
    // Opens `path`; null with the message to show when it cannot be opened, when it is the open
    // address file (`addressPath`, compared ignoring letter case) or when it holds no records.
    static std::unique_ptr<SourceTable> open(const QString& path, const QString& addressPath, QString* message);

    engine::Table& table() { return *table_; }
    const QString& path() const { return path_; }
    QString fileName() const;
    std::uint32_t recordCount() const;  // all records in the file, deleted or not
    // Fields in source order: every field (memo fields included) but Visual FoxPro's hidden ones.
    const QVector<const engine::DbfField*>& fields() const { return fields_; }
    QStringList fieldNames() const;        // the match menu of an address row: all but memo fields
    QStringList memoFieldNames() const;    // the memo row's menu
    QStringList preMatchNames() const;     // character, logical, numeric and date fields
    bool hasField(const QString& name) const;
    const engine::DbfField* field(const QString& name) const;
    // The text value of a field of the current record, as Windows-1252 bytes: character fields
    // less trailing blanks, numbers in their shortest decimal form, dates in the display date
    // format, logicals "True" or "False", memo fields their text.
    std::string textValue(const engine::DbfField& f) const;

private:
    SourceTable() = default;
    std::unique_ptr<engine::Table> table_;
    QString path_;
    QVector<const engine::DbfField*> fields_;
    QString dateFormat_;
};

bool isMemoType(char type);

// A number in its shortest decimal form ("12.5", "0", "-3").
std::string shortestNumber(double value);

// ---- the table import ----

// Per source field (in source order) the address field it feeds, or "".
struct DbfImportPlan {
    QStringList sourceFields;
    QStringList addressFields;
};
DbfImportPlan dbfImportPlanFrom(const FieldMatchGrid& grid, const SourceTable& source);
// Parses "SOURCEFIELD=LNAME,CITY=City" (address fields by name or label; "MEMO" takes a memo
// field); false with `error` for an unknown name.
bool parseFieldMap(const QString& text, const SourceTable& source, DbfImportPlan* plan, QString* error);
// Every source field feeds the address field of the same name (all 23, memo and ISDEL
// included): the command-line import's default.
DbfImportPlan sameNamePlan(const SourceTable& source);
// The pre-matched grid of a source (as the match window starts).
FieldMatchGrid preMatchedGrid(const SourceTable& source, const AddressTable* labels, bool withMemoRow = true);

class DbfImportSource : public ImportSource {
public:
    DbfImportSource(SourceTable& source, const DbfImportPlan& plan);
    Step next(AddressRecordWriter& writer, QString* error) override;
    int percent(std::uint64_t imported) const override;

private:
    SourceTable& source_;
    struct Pair {
        const engine::DbfField* from;
        int to;  // address column
    };
    std::vector<Pair> pairs_;
    int dateColumn_;
    QString dateFormat_;
    bool started_ = false;
};

// ---- older versions ----

enum class OlderVersion { V1, V2 };
// The fields a table must have to be taken as one of that version's address tables.
QStringList requiredOlderFields(OlderVersion v);
// The first required field the table lacks (names ignoring letter case), "" when none.
QString missingOlderField(const SourceTable& source, OlderVersion v);
// path + " does not appear to be a Postavo 2.x DBF" (or 1.x).
QString notOlderTableMessage(const QString& path, OlderVersion v);
QString olderImportCaption(OlderVersion v);  // "Import Postavo 1.x DBF"
// A 1.x date's text value as DATE holds it: unchanged when it starts with a valid yyyymmdd,
// eight digits when it reads as a date in the display date format, otherwise blank.
std::string convertOlderDate(std::string_view value, const QString& dateFormat);

class OlderImportSource : public ImportSource {
public:
    OlderImportSource(SourceTable& source, OlderVersion version);
    Step next(AddressRecordWriter& writer, QString* error) override;
    int percent(std::uint64_t imported) const override;

private:
    SourceTable& source_;
    OlderVersion version_;
    struct Copy {
        const engine::DbfField* from;
        int to;
    };
    std::vector<Copy> copies_;  // in the order the fields are written
    const engine::DbfField* isdel_ = nullptr;
    const engine::DbfField* date_ = nullptr;
    const engine::DbfField* memo_ = nullptr;
    QString dateFormat_;
    bool started_ = false;
};

} // namespace postavo::transfer
