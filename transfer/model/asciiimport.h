#pragma once
// The comma-delimited text import: the scan of a chosen file (its columns and sample lines), the
// matching of columns to address fields, and the import itself.

#include "delimitedtext.h"
#include "fieldmatch.h"
#include "importrun.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace postavo::transfer {

// What the first lines of a file show.
struct AsciiScan {
    QString path;
    TextReadOptions options;           // the encoding decided (never Detect)
    bool byteOrderMark = false;
    int columns = 0;                   // n: the fields of the first line, at most kMaxColumns
    int firstLineFields = 0;           // the first line's fields, however many
    QStringList columnNames;           // "Field 1".. or, with a header line, its names
    QVector<int> longest;              // per column, the longest sample value in characters
    QVector<QStringList> samples;      // the sample lines' values (at most kSampleLines)
    QStringList headerNames;           // the header line's values as they stand
    int linesRead = 0;                 // header line included
    std::uint64_t unstorableInSamples = 0;
    QString refusal;                   // why the file cannot be imported ("" when it can)

    bool importable() const { return refusal.isEmpty(); }
    // Remarks the window's status line shows (the encoding, columns beyond the limit).
    QString remarks() const;
};

// Reads at most the header and kSampleLines lines. `options.encoding` Detect looks at the whole
// file first. A file with fewer than 2 lines, a binary file or one that cannot be read is
// refused with its message.
AsciiScan scanAsciiFile(const QString& path, const TextReadOptions& options);

// The column names the match menu offers: "Field 1".."Field n", or the header's names (each cut
// to 20 characters; an empty or repeated name keeps "Field " + its number).
QStringList asciiColumnNames(int columns, const QStringList& header);
inline constexpr int kMaxColumnNameLength = 20;

// What the import needs: the scanned file and, per column, the address field it feeds ("" for
// none). Values go to the field whose display label matches the column's match.
struct AsciiImportPlan {
    AsciiScan scan;
    QStringList columnFields;
};

// Per column the field of the row holding the column's name ("" for none).
QStringList columnFieldsFrom(const FieldMatchGrid& grid, const QStringList& columnNames);
// Parses "1=LNAME,2=FNAME" (columns from 1; field names or display labels, any letter case);
// false with `error` for a column outside 1..columns or an unknown field.
bool parseColumnMap(const QString& text, int columns, QStringList* columnFields, QString* error);

// The records of a text file for runStagedImport.
class AsciiImportSource : public ImportSource {
public:
    explicit AsciiImportSource(const AsciiImportPlan& plan);
    bool prepare(TransferProgress& progress, QString* error) override;
    Step next(AddressRecordWriter& writer, QString* error) override;
    int percent(std::uint64_t imported) const override;
    QStringList notes() const override;

    std::uint64_t countedLines() const { return counted_; }

private:
    AsciiImportPlan plan_;
    QVector<int> targets_;  // per column: address column, -1 for none
    TextRecordReader reader_;
    std::string line_;
    std::vector<std::string> fields_;
    std::uint64_t counted_ = 0;
    std::uint64_t longLines_ = 0;
    std::uint64_t emptyLines_ = 0;
};

// The whole import: runStagedImport over the file.
ImportResult runAsciiImport(AddressTable& target, const AsciiImportPlan& plan, TransferProgress& progress);

} // namespace postavo::transfer
