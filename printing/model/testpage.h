#pragma once
// The printer test page, for calibration: inch rulers along the edges, crosshairs on a one-inch
// grid with their coordinates, the printer's unprintable margins outlined, a sample of POSTNET
// bars and text samples at stated positions. What a user holds against a ruler.

#include <QMarginsF>
#include <QString>
#include <vector>

namespace postavo::printing {

class TPrintCanvas;
class TPrinters;

struct TestPageInfo {
    QString printerName;
    QString driverName;
    QMarginsF unprintable; // inches: left, top, right, bottom
};

// Where the samples go (inches). Fixed so that a measurement can be compared with them.
struct TestPageLayout {
    static constexpr double arialX = 1.5, arialBaseline = 4.5;
    static constexpr double timesX = 1.5, timesBaseline = 5.5;
    static constexpr double barsX = 1.5, barsBottom = 7.45;
    static constexpr double barWidth = 0.015, fullBar = 0.125, halfBar = 0.05, barPitch = 0.046;
    static constexpr const char* barsZip = "12345";
};

// Draws the test page on a canvas that is running (inside Execute).
void drawTestPage(TPrintCanvas& canvas, const TestPageInfo& info);

// The full bar / half bar pattern of a zip code with its check digit and the frame bars: true
// for a full bar. Digits only; anything else is skipped.
std::vector<bool> postnetBars(const QString& zip);

// Prints the test page on the printers' selected printer (or, for "PDF file", to its file).
bool printTestPage(TPrinters& printers, QString* error);

} // namespace postavo::printing
