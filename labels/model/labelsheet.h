#pragma once
// The label sheet definition: one kind of label stock (label size, grid, margins, pitches,
// paper and shape, and where the definition came from), as a label layout keeps it in
// LABEL.DBF and as the stock catalogue LBLTPL.DBF lists it. Lengths are inches.

#include <QString>

namespace postavo {
struct LabelTemplateRow;
namespace engine {
class Table;
}
} // namespace postavo

namespace postavo::labels {

struct LabelSheetDefinition {
    // The ten geometry values are single precision in memory, as stored definitions have
    // always been computed; the middle gaps are double.
    float lblHeight = 0;
    float lblWidth = 0;
    int nbrAcross = 1;
    int nbrDown = 1;
    float topMarg = 0;
    float leftMarg = 0;
    float horizPitch = 0;
    float vertPitch = 0;
    float sheetWidth = 0;   // as printed: the long side for a landscape sheet
    float sheetDepth = 0;
    QString paperSize;      // PAPERSIZE code, see labelcodes.h
    QString lblShape;       // LBLSHAPE code
    double midExtraX = 0;   // extra gap before the right half of the columns; 0 = none
    double midExtraY = 0;   // extra gap before the lower half of the rows; 0 = none
    QString printer;        // LJ, IJ, DM, LP; empty for a hand-entered definition
    QString manufac;        // AVERY, ...; USER for a hand-entered definition
    QString prodType;       // product group, upper case
    QString tplDescrip;     // the template's description; empty when typed in by hand
    QString art;            // artwork picture name, empty if none

    bool isUserDefined() const;
    bool isLandscape() const;
    // TPLDESCRIP, or "[User Defined]" when it is empty.
    QString sheetName() const;
    int positionCount() const { return nbrAcross * nbrDown; }

    friend bool operator==(const LabelSheetDefinition&, const LabelSheetDefinition&) = default;
};

// The definition a new label layout starts with: Avery 5160 address labels.
LabelSheetDefinition newLayoutDefaults();

// Marks a definition as typed in by hand: maker USER, no template, printer or product group,
// no middle gaps and no artwork. The geometry, paper and shape stay.
LabelSheetDefinition asUserDefined(LabelSheetDefinition d);

// A length as LABEL.DBF stores it: formatted with three decimals and read back.
double roundToThousandths(double inches);

// The definition of a catalogue template; its DESCRIPT becomes TPLDESCRIP.
LabelSheetDefinition fromTemplate(const LabelTemplateRow& row);

// Reading and writing the current record of a table through the record engine.
// A layout row of LABEL.DBF (TPLDESCRIP names the template) ...
LabelSheetDefinition readLayoutRow(const engine::Table& table);
// ... or a template row of LBLTPL.DBF (DESCRIPT names it).
LabelSheetDefinition readTemplateRow(const engine::Table& table);
// Writes every definition field of a LABEL.DBF row, each length rounded to three decimals.
// DESCRIPT, BINARY and DELETED are the caller's. The caller posts the record. Throws the
// engine's error when a value does not fit its field; validate first.
void writeLayoutRow(engine::Table& table, const LabelSheetDefinition& d);

} // namespace postavo::labels
