#pragma once
// Checking a label sheet definition before it is used or stored.

#include "labelsheet.h"

#include <QString>
#include <QStringList>

namespace postavo::labels {

// The rules of the user-defined layout window, in the order the window applies them; the
// text of the first that fails, empty when all pass:
//   height < 0.3, width < 0.5, (2 or more across) width > horizontal pitch,
//   (2 or more down) height > vertical pitch, paper width < 0.3, paper height < 0.3.
QString checkEnteredRules(const LabelSheetDefinition& d);

// Soundness checks those rules leave out, each a sentence for the user: values that are not
// numbers, counts below 1, more positions than a sheet may have, negative margins, gaps or
// pitches, lengths the catalogue cannot store, unknown paper or shape codes, and labels that
// do not fit on their paper.
QStringList checkSheetSoundness(const LabelSheetDefinition& d);

// What the window shows when Ok is pressed: the first rule that fails, else the first
// soundness problem, else empty.
QString checkEnteredDefinition(const LabelSheetDefinition& d);

// Every problem of a catalogue template, each naming the row: "Template \"Avery 5160
// Address\": ...". The rules of the entry window and the soundness checks both apply, and
// the printer, product group and maker must be filled in.
QStringList checkTemplate(const LabelSheetDefinition& d);

} // namespace postavo::labels
