#pragma once
// The two tables shipped with the program, the label stock templates (LBLTPL.DBF) and the
// states and provinces with their zip or postal code ranges (CSZ.DBF), are kept in the
// source tree as comma-separated text: data/lbltpl.csv and data/csz.csv. This reads them
// into typed rows and checks their content; the tables are built from these rows.
//
// File format: the first line names the fields; every further non-blank line is one row
// with exactly as many fields. Lines end in CR LF or LF. A field may be enclosed in double
// quotes, inside which a doubled quote stands for one quote and commas are plain text;
// quoted fields do not span lines. Text must be plain ASCII (the tables hold Windows-1252,
// and ASCII keeps the file readable everywhere). Numbers use a decimal point.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace postavo {

// One field of a shipped table as the table stores it.
struct ShippedField {
    const char* name;
    char type;      // 'C' character, 'N' numeric
    int width;
    int decimals;
};

// Fields in table order.
const QList<ShippedField>& cszFields();
const QList<ShippedField>& labelTemplateFields();

// One row of CSZ.DBF: a state or province and one range of its codes. A state whose codes
// fall in several separate ranges has several rows.
struct CszRow {
    QString name;     // NAME, "State or Province"
    QString state;    // STATE, "Abbreviation"
    QString lowZip;   // LOW_ZIP, "Starting Zip/Post"
    QString highZip;  // HIGH_ZIP, "Ending Zip/Post"
    int line = 0;     // line of the text file it came from
};

// One row of LBLTPL.DBF: a label stock product. Lengths in inches.
struct LabelTemplateRow {
    QString descript;
    double lblHeight = 0;
    double lblWidth = 0;
    int nbrAcross = 0;
    int nbrDown = 0;
    double topMarg = 0;
    double leftMarg = 0;
    double horizPitch = 0;
    double vertPitch = 0;
    double sheetWidth = 0;
    double sheetDepth = 0;
    QString printer;
    QString paperSize;
    QString lblShape;
    QString manufac;
    QString prodType;
    double midExtraX = 0;
    double midExtraY = 0;
    QString art;
    int line = 0;
};

// The outcome of reading one file: the rows, or the first error met (with the file name and
// line number) and no rows.
template <class Row>
struct ShippedRead {
    QList<Row> rows;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// A comma-separated file split into fields, nothing typed yet.
struct CsvRecord {
    int line = 0;
    QStringList fields;
};
struct CsvTable {
    QStringList header;
    QList<CsvRecord> records;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// `sourceName` only names the input in error messages.
CsvTable parseCsv(const QByteArray& data, const QString& sourceName);

ShippedRead<CszRow> parseCszCsv(const QByteArray& data, const QString& sourceName);
ShippedRead<LabelTemplateRow> parseLabelTemplateCsv(const QByteArray& data, const QString& sourceName);
ShippedRead<CszRow> readCszCsv(const QString& path);
ShippedRead<LabelTemplateRow> readLabelTemplateCsv(const QString& path);

// Geometry problems of one template, empty when the sheet is sound: counts of at least 1,
// positive label and sheet sizes, pitches no smaller than the labels where there is more
// than one column or row, every label on the paper (within 0.01 inch, middle gaps
// included), and a paper code that matches the sheet size and orientation.
QStringList checkLabelGeometry(const LabelTemplateRow& row);

// Problems with the codes of one template: printer, shape, paper and product group must be
// among those the label windows know; the maker is AVERY, NEBS, COSTAR or another maker's
// name in upper case (up to 10 characters, never USER); only Avery stock carries artwork.
QStringList checkLabelTemplateCodes(const LabelTemplateRow& row);

// Problems across the state table: empty abbreviations, ranges whose low end lies above
// the high end, and ranges of different states that overlap (codes compare as text,
// character by character, as the state and zip check compares them).
QStringList checkCszRanges(const QList<CszRow>& rows);

// The paper size codes that print landscape.
bool isLandscapePaper(const QString& paperSize);

} // namespace postavo
