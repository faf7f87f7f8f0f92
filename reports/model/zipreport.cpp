#include "zipreport.h"

#include "printcanvas.h"

namespace postavo::reports {

using printing::TabJustify;
using printing::TabStop;
using printing::TPrintCanvas;

void zipReportPageStart(TPrintCanvas& c)
{
    using F = ZipReportFrame;
    c.setXOrigin(0);
    c.resetSection();
    const auto body = c.section();
    c.setBold(true);
    c.gotoXY(F::kLeft, body.top - 0.25);
    c.newLine();
    c.print(QStringLiteral("Zip Code Count Report"));
    c.setBold(false);
    c.gotoXY(F::kLeft, body.bottom);
    c.newLine();
    c.print(QStringLiteral("Page ") + QString::number(c.pageNumber()));
}

void zipReportPageEnd(TPrintCanvas& c)
{
    using F = ZipReportFrame;
    c.setXOrigin(0);
    c.resetSection();
    const auto body = c.section();
    c.setPen(Qt::black);
    c.setBrush(Qt::white, printing::BrushStyle::Clear);
    c.rectangle(body.left, body.top, body.right, body.bottom);
    for (int k = 1; k <= 3; ++k) {
        const double x = body.left + k * F::kColumnWidth;
        c.moveTo(x, body.top);
        c.lineTo(x, body.bottom);
    }
}

namespace {

void startColumn(TPrintCanvas& c, int k)
{
    using F = ZipReportFrame;
    c.setXOrigin(0);
    c.resetSection();
    const auto body = c.section();
    c.setXOrigin(F::columnLeft(k));
    c.setSection(0, body.top, F::kColumnWidth, body.bottom);
    c.home();
}

} // namespace

void printZipReport(TPrintCanvas& c, const QStringList& lines, const bool& stop, const std::function<void()>& afterLine)
{
    using F = ZipReportFrame;
    c.setFont(QStringLiteral("Arial"), F::kFontSize);
    c.setMargins(F::kLeft, F::kTop, F::kRight, F::kBottom);
    c.clearTabs();
    const TabJustify justify[3] = {TabJustify::Left, TabJustify::Right, TabJustify::Left};
    for (int i = 0; i < 3; ++i) {
        TabStop s;
        s.position = 0;
        s.afterPrevious = i > 0;
        s.width = F::kCellWidth;
        s.justify = justify[i];
        s.margin = F::kCellMargin;
        c.addTab(s);
    }
    zipReportPageStart(c);
    int column = 0;
    int row = 0;
    startColumn(c, column);
    for (const QString& line : lines) {
        if (stop || c.aborted())
            break;
        // A column takes at least one row, so paper too small for a line cannot loop.
        if (row > 0 && c.linesLeft() == 0) {
            if (column < 3) {
                ++column;
            } else {
                zipReportPageEnd(c);
                c.newPage();
                zipReportPageStart(c);
                column = 0;
            }
            row = 0;
            startColumn(c, column);
        }
        ++row;
        const int shade = row % 2 == 1 ? F::kOddRowShade : 0;
        c.tab(shade);
        c.print(line.mid(0, 5));
        c.tab(shade);
        c.print(line.mid(5, 12));
        c.tab(shade);
        c.newLine();
        if (afterLine)
            afterLine();
    }
    zipReportPageEnd(c);
}

} // namespace postavo::reports
