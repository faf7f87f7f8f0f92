#include "bandedreportprint.h"

#include "designhost.h"
#include "layoutprint.h"
#include "printcanvas.h"

#include <cmath>

namespace postavo::reports {

using printing::TPrintCanvas;

BandGeometry bandGeometry(const ReportVars& v, double ppi, double pageWidth, double pageHeight)
{
    const double p = ppi > 0 ? ppi : 96.0;
    BandGeometry g;
    g.left = v.marginLeft / p;
    g.top = v.marginTop / p;
    g.right = v.marginRight / p;
    g.bottom = v.marginBottom / p;
    g.header = v.useHeader ? std::max(0, v.headerHeight) / p : 0;
    g.detail = v.useDetail ? std::max(0, v.detailHeight) / p : 0;
    g.footer = v.useFooter ? std::max(0, v.footerHeight) / p : 0;
    g.pageWidth = pageWidth;
    g.pageHeight = pageHeight;
    return g;
}

QString bandedReportProblem(const ReportVars& vars, double ppi, double pageWidth, double pageHeight)
{
    const BandGeometry g = bandGeometry(vars, ppi, pageWidth, pageHeight);
    if (g.pageWidth - g.left - g.right <= 0.25)
        return QStringLiteral("The report's side margins leave no room on the paper. Change its layout in the "
                              "report designer.");
    if ((vars.useDetail || vars.useMemo) && g.bodyBottom() - g.bodyTop() <= 0)
        return QStringLiteral("The header and footer bands of this report leave no room for the records on the "
                              "paper. Make them smaller in the report designer.");
    return {};
}

TUserDefinedReportPrint::TUserDefinedReportPrint(design::DesignHost& header, design::DesignHost& detail,
                                                 design::DesignHost& footer, const ReportVars& vars, double ppi)
    : header_(header), detail_(detail), footer_(footer), vars_(vars), ppi_(ppi > 0 ? ppi : 96.0)
{
}

void TUserDefinedReportPrint::setUp(TPrintCanvas& c)
{
    g_ = bandGeometry(vars_, ppi_, c.pageWidth(), c.pageHeight());
    c.setMargins(g_.left + 0.125, g_.top + g_.header, g_.right + 0.125, g_.bottom + g_.footer);
    c.resetSection();
    c.setPen(Qt::black);
    c.setBrush(Qt::white, printing::BrushStyle::Clear);
    printHeaderFooter(c);
}

void TUserDefinedReportPrint::drawBandFrame(TPrintCanvas& c, int which, const QRectF& box)
{
    const BandProperties& p = vars_.bands[std::size_t(std::clamp(which, 0, 3))];
    if (p.shadePercent > 0) {
        c.setPen(Qt::black, printing::PenStyle::Clear);
        c.setBrush(shadeFill(p.shadeColor, p.shadePercent), printing::BrushStyle::Solid);
        c.rectangle(box.left() + 0.01, box.top() + 0.01, box.right(), box.bottom());
        c.setBrush(Qt::white, printing::BrushStyle::Clear);
    }
    if (p.borderTop || p.borderRight || p.borderBottom || p.borderLeft) {
        const int w = std::clamp(p.lineWidth, 1, 3);
        c.setPen(Qt::black, printing::PenStyle::Solid, -w);
        // Lines two or more wide move inward by their width in device pixels.
        const double dx = w >= 2 ? w / c.pixelsPerInchX() : 0.0;
        const double dy = w >= 2 ? w / c.pixelsPerInchY() : 0.0;
        if (p.borderTop) {
            c.moveTo(box.left() + dx, box.top() + dy);
            c.lineTo(box.right() - dx, box.top() + dy);
        }
        if (p.borderRight) {
            c.moveTo(box.right() - dx, box.top());
            c.lineTo(box.right() - dx, box.bottom());
        }
        if (p.borderBottom) {
            c.moveTo(box.left(), box.bottom() - dy);
            c.lineTo(box.right(), box.bottom() - dy);
        }
        if (p.borderLeft) {
            c.moveTo(box.left() + dx, box.top());
            c.lineTo(box.left() + dx, box.bottom());
        }
    }
    c.setPen(Qt::black);
}

void TUserDefinedReportPrint::printHeaderFooter(TPrintCanvas& c)
{
    if (vars_.useHeader) {
        drawBandFrame(c, bandHeader, g_.headerBox());
        design::printSurfaceOnce(header_, c, g_.objectsLeft(), g_.top);
    }
    if (vars_.useFooter) {
        drawBandFrame(c, bandFooter, g_.footerBox());
        design::printSurfaceOnce(footer_, c, g_.objectsLeft(), g_.pageHeight - g_.bottom - g_.footer);
    }
    y_ = g_.bodyTop();
    pageHasBody_ = false;
}

void TUserDefinedReportPrint::newPage(TPrintCanvas& c)
{
    c.newPage();
    printHeaderFooter(c);
}

void TUserDefinedReportPrint::printDetail(TPrintCanvas& c)
{
    if (!vars_.useDetail)
        return;
    // A band taller than the room left starts a new page, unless nothing is on this page yet: a
    // band taller than the whole body then prints once per page instead of leaving blank ones.
    if (g_.bodyBottom() - y_ < g_.detail && pageHasBody_)
        newPage(c);
    drawBandFrame(c, bandDetail, g_.bandBox(y_, g_.detail));
    design::printSurfaceOnce(detail_, c, g_.objectsLeft(), y_);
    y_ += g_.detail;
    pageHasBody_ = true;
}

void TUserDefinedReportPrint::setMemoFont(TPrintCanvas& c)
{
    c.setFont(vars_.memoFontName, vars_.memoFontSize);
    c.setBold(vars_.memoBold);
    c.setItalic(vars_.memoItalic);
}

void TUserDefinedReportPrint::printTheMemo(TPrintCanvas& c, const QString& memo, const bool& stop)
{
    setMemoFont(c);
    const QStringList lines = memoLines(memo, g_.pageWidth - g_.left - g_.right,
                                        [&c](const QString& s) { return c.textWidth(s); });
    qsizetype next = 0;
    while (next < lines.size() && !c.aborted()) {
        const double lh = c.lineHeight();
        auto fits = [&] { return int(std::trunc((g_.bodyBottom() - y_) / lh)); };
        int fit = fits();
        if (fit <= 0 && pageHasBody_) {
            newPage(c);
            setMemoFont(c);
            fit = fits();
        }
        // Paper with no room for one line still prints one per page: the run always ends.
        fit = std::max(fit, 1);
        const int n = int(std::min<qsizetype>(fit, lines.size() - next));
        const double d = c.descent();
        drawBandFrame(c, bandMemo, g_.bandBox(y_, n * lh + d));
        setMemoFont(c);
        const auto s = c.section();
        c.gotoXY(s.left, y_ + lh);
        for (int i = 0; i < n; ++i) {
            const QString& line = lines.at(next + i);
            switch (vars_.memoAlignment) {
            case memoRight: c.printRight(line, s.right); break;
            case memoCentred: c.printCenter(line, (s.left + s.right) / 2); break;
            default:
                c.setX(s.left);
                c.print(line);
                break;
            }
            c.newLine();
        }
        next += n;
        y_ += n * lh + d;
        pageHasBody_ = true;
        if (next < lines.size()) {
            if (stop)
                break;
            newPage(c);
            setMemoFont(c);
        }
    }
}

void TUserDefinedReportPrint::print(TPrintCanvas& c, RecordSource& records, const BandedPrintOptions& options,
                                    const bool& stop, const std::function<void()>& afterRecord)
{
    setUp(c);
    while (!records.atEnd() && !stop && !c.aborted()) {
        printDetail(c);
        if (vars_.useMemo)
            printTheMemo(c, records.current().memo, stop);
        records.next();
        if (afterRecord)
            afterRecord();
        if (options.oneRecordPerPage && !records.atEnd() && !stop && !c.aborted())
            newPage(c);
    }
}

} // namespace postavo::reports
