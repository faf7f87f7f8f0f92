#pragma once
// Units of a rich-text document's layout.
//
// Every document is laid out on one paint device of 1440 dots per inch, so a device unit is a
// twip (1/1440 inch), as in RTF, and fonts are measured at that resolution: line heights and
// glyph advances come out exact to a twip instead of rounded to whole screen pixels. Pages are
// drawn on any other device by scaling the painter.
//
// Qt's text layout takes some lengths in device units and scales others from 96-dpi pixels to
// the device (a factor of 15 here). These functions keep that split in one place:
//   device units (twips): left and right paragraph margins, first-line indent, text width;
//   96-dpi pixels (twips / 15): space before and after, line heights, tab positions, the
//   default tab distance, table widths, paddings and borders, picture sizes.

#include <QtGlobal>

class QPaintDevice;
class QTextDocument;

namespace postavo::richtext {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr double kTwipsPerPoint = 20.0;
// The factor Qt applies to the lengths it scales (1440 / 96).
inline constexpr double kScaledLengthFactor = 15.0;

// The shared 1440-dpi device every document is laid out on.
QPaintDevice* layoutDevice();

// Twips to and from the lengths Qt scales.
inline double twipsToScaled(double twips) { return twips / kScaledLengthFactor; }
inline int scaledToTwips(double scaled) { return qRound(scaled * kScaledLengthFactor); }

// Binds a document to the layout device: twip units, design metrics, no frame margin, no
// pagination (pages are ours: they end only at page breaks).
void prepareDocument(QTextDocument* document);

// While a document is built, it has a layout that does nothing, so that no text is laid out
// before the whole document is known (and checked: see layoutguard.h). Resuming gives it Qt's
// own layout again, prepared as above; text is laid out when it is first needed.
void suspendLayout(QTextDocument* document);
void resumeLayout(QTextDocument* document);

// Qt drops the space before of a paragraph that follows a table; the table's bottom margin
// takes it instead. Call after the spacing of such a paragraph changes.
void keepSpaceAfterTables(QTextDocument* document);

} // namespace postavo::richtext
