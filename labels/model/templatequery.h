#pragma once
// The template window's query over the label stock catalogue: the maker, printer, product
// group and European-paper choices become one filter expression for the record engine, and
// the current definition decides which entries the window opens with and which row it seeks.

#include "labelsheet.h"

#include <QString>
#include <QStringList>

namespace postavo::labels {

// The product type list: the six groups' entries and "All".
const QStringList& productTypeEntries();
inline constexpr const char* kAllProductTypes = "All";

// The maker list: "Avery Laserjet", "Avery Inkjet", "Avery Dot Matrix",
// "Costar LabelPrinter", then for each other maker in `otherMakers` (MANUFAC values, upper
// case, in the order given) one entry per printer type it makes stock for, written as the
// maker's name and the printer word ("HERMA Laserjet"), and last "All Makers", which sets
// neither maker nor printer.
struct MakerPrinters {
    QString maker;          // MANUFAC, upper case
    QStringList printers;   // printer codes in the order of printerTypes()
};
QStringList manufacturerEntries(const QList<MakerPrinters>& otherMakers = {});
inline constexpr const char* kAllMakers = "All Makers";

// The filter expression: clauses joined by " and ", each of the first three written with a
// blank before and after it, the European clause with a blank before it.
//  1. maker: the entry, upper-cased, is searched for AVERY, NEBS, COSTAR, then the other
//     makers' names; the first found gives UPPER(manufac)="NAME";
//  2. printer: the entry is searched for LASERJET, INKJET, DOT MATRIX, LABELPRINTER, giving
//     UPPER(printer)="LJ", "IJ", "DM" or "LP";
//  3. product type: every entry but "All" gives UPPER(PRODTYPE)="ADDRESS/SHIPPING LABELS"...;
//  4. European paper: ("A4"$UPPER(PAPERSIZE) OR "A5"$UPPER(PAPERSIZE)).
// An empty maker entry (none selected) gives neither of the first two clauses. An empty
// result means no filter.
QString templateFilter(const QString& manufacturerEntry, const QString& productTypeEntry, bool europeanOnly,
                       const QStringList& otherMakers = {});

// How the template window opens for the current definition.
struct TemplateWindowStart {
    QString manufacturerText;   // the entry text looked for (upper case)
    int manufacturerIndex = -1; // its index in the maker list; -1 leaves none selected
    int productTypeIndex = -1;  // index in productTypeEntries()
    bool seekCurrent = true;    // false for a hand-entered definition
};
// `entries` is the maker list the window shows (manufacturerEntries()).
//  - A hand-entered definition (maker USER) starts at Avery laser address labels, seeking no row.
//  - Otherwise the maker entry is chosen by text, ignoring case: AVERY with LJ, IJ or DM, NEBS
//    with LJ or DM, COSTAR, or another maker that has an entry for its printer; any other
//    maker gives "AVERY LASERJET". A text the list lacks leaves no entry selected.
//  - The product type entry is the one equal to PRODTYPE ignoring case, else "All".
TemplateWindowStart templateWindowStart(const LabelSheetDefinition& current, const QStringList& entries);

// The row the grid settles on, given the descriptions of the rows the query found, in
// order: the first row, moved on to the first whose description equals TPLDESCRIP exactly
// when `start.seekCurrent`, else the last row. -1 when there are no rows.
int templateStartRow(const QStringList& descriptions, const TemplateWindowStart& start, const QString& tplDescrip);

} // namespace postavo::labels
