#pragma once
// TZipReport's pages: the zip count's report lines in four columns per page, each row a key, its
// count and an empty cell, every odd row of a column shaded.

#include <QStringList>
#include <functional>

namespace postavo::printing {
class TPrintCanvas;
}

namespace postavo::reports {

struct ZipReportFrame {
    static constexpr double kLeft = 0.5, kRight = 0.5, kTop = 1.0, kBottom = 1.0;
    static constexpr double kColumnWidth = 1.875;
    static constexpr double kCellWidth = 0.625;
    static constexpr int kCellMargin = 5; // hundredths of an inch
    static constexpr int kOddRowShade = 5;
    static constexpr double kFontSize = 10;
    // Where column k (0-3) starts, inches from the page's left edge.
    static double columnLeft(int k) { return kLeft + k * kColumnWidth; }
};

// The run's body: every line of `lines`, until the end, Stop or an aborted job; `afterLine`
// runs after each line.
void printZipReport(printing::TPrintCanvas& c, const QStringList& lines, const bool& stop,
                    const std::function<void()>& afterLine = {});

// The page's heading and page number; at its end the body's outline and column rules, drawn last
// so that the shaded rows do not cover them.
void zipReportPageStart(printing::TPrintCanvas& c);
void zipReportPageEnd(printing::TPrintCanvas& c);

} // namespace postavo::reports
