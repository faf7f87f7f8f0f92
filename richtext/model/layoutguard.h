#pragma once
// Qt's text layout cannot lay out a document taller than 8 388 607 device units (about 5 800
// inches at the twip resolution documents are laid out at): past that it never returns. A
// document read from a file is estimated before it is laid out, and cut where the estimate
// reaches a safe height.

class QTextDocument;

namespace postavo::richtext::detail {

// Height that is safely laid out, in twips.
inline constexpr double kLayoutBudget = 7000000;

// Estimates the height of `document` laid out `width` twips wide, without laying it out: never
// less than the laid-out height, at most about twice it for ordinary text. When the estimate
// passes `budget`, returns the position of the first top-level paragraph or table that does
// not fit; otherwise -1.
int positionBeyondBudget(const QTextDocument& document, double width, double budget = kLayoutBudget);
// The estimate itself, in twips.
double estimatedHeight(const QTextDocument& document, double width);

// Removes the top-level paragraphs and tables from `position` (as positionBeyondBudget gives
// it) to the end, tables whole.
void cutFrom(QTextDocument* document, int position);

} // namespace postavo::richtext::detail
