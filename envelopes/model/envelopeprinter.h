#pragma once
// The printer side of an envelope job: the "Envelope Printer" settings, asking the printer for
// the envelope's own paper (and saying so when it has none), and the checks shown before each
// job (the page does not match the envelope; the envelope cannot be placed on the page).

#include "envelopefeed.h"

#include <QList>
#include <QPageSize>
#include <QString>

namespace postavo {
class Settings;
namespace printing {
class TPrinters;
}
} // namespace postavo

namespace postavo::envelopes {

// Selects the stored printer (the name cut before " on ", letter case ignored), paper source and
// paper, and the stored orientation. Values that are not stored, or no longer exist, leave the
// printer as it is.
void loadEnvelopePrinter(printing::TPrinters& printers, const Settings& settings);
// Writes the feed and the printer's name, paper source, paper and orientation.
bool saveEnvelopePrinter(Settings& settings, const printing::TPrinters& printers, const FeedMethod& feed);

// Whether a printer's list of papers holds `wanted` (by Qt's id, or by size to within 2 points
// either way round); `match` gets the printer's own entry.
bool pageSizeOffered(const QList<QPageSize>& supported, const QPageSize& wanted, QPageSize* match = nullptr);

struct PaperChoice {
    bool envelopePaper = false; // the printer now has the envelope's own paper
    QString note;               // empty, or why the printer kept its paper
};
// Asks the printer for the paper of envelope size `code` and turns it to the feed orientation.
// "PDF file" always has it. A system printer that does not list the size keeps its paper (the
// feed method then places the envelope on it) and the note says so.
PaperChoice chooseEnvelopePaper(printing::TPrinters& printers, int code, const FeedMethod& feed);

// The red warning of the print check when the printer's page in its orientation differs from the
// envelope by more than an inch either way; empty otherwise.
QString pageMismatchWarning(double envelopeWidth, double envelopeHeight, double pageWidth, double pageHeight);

// Empty when the envelope, placed by the feed method, lies on the page; otherwise what the user
// must know: part of every envelope would not print. Sizes converted from millimetres at 0.04
// inch are a little larger than the paper they stand for, so 2 % is allowed.
QString placementProblem(double envelopeWidth, double envelopeHeight, double pageWidth, double pageHeight,
                         const FeedMethod& feed);

} // namespace postavo::envelopes
