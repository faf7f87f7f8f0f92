#pragma once
// The envelope sizes a layout can have, one table: the chooser's entry, the size code (the
// platform's envelope paper number, which is also what the printer is asked for) and the width
// (long side) and height in inches. Metric sizes are converted at 0.04 inch per millimetre.

#include <QSize>
#include <QString>
#include <vector>

namespace postavo::envelopes {

struct EnvelopeSize {
    const char* caption; // as the size chooser lists it
    int code;
    double width;        // inches
    double height;
};

// The sixteen sizes, in the chooser's order.
const std::vector<EnvelopeSize>& envelopeSizes();
// The row of a code; null for a code not in the table.
const EnvelopeSize* findEnvelopeSize(int code);

// Width and height of a code in inches; -1 and -1 for a code not in the table.
struct EnvelopeDimensions {
    double width = -1;
    double height = -1;
    bool known() const { return width > 0 && height > 0; }
};
EnvelopeDimensions envelopeDimensions(int code);

// What a new layout, or one that cannot be read, starts as.
inline constexpr int kDefaultEnvelopeCode = 20;
QString defaultEnvelopeDescription(); // "Envelope #10"

// The size chooser: the entry selected for a code (the first for a code not listed), and the
// code it answers for a selected entry (the given code when nothing is selected, -1).
int chooserIndexForCode(int code);
int chooserResult(int selectedIndex, int givenCode);

// The design surface of a size in screen pixels at 100 %: each side rounded (half to even) from
// inches times pixels per inch. Empty for a code not in the table.
QSize surfacePixels(int code, double ppi);

} // namespace postavo::envelopes
