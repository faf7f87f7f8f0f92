#pragma once
// TUserDefinedReportPrint: a banded report on the print canvas. Every page gets the header at
// its top and the footer at its bottom; each record its detail band and its memo lines; a band
// that no longer fits starts a new page.

#include "reportrecords.h"
#include "reportvars.h"

#include <QRectF>
#include <functional>

namespace postavo::printing {
class TPrintCanvas;
}

namespace postavo::design {
class DesignHost;
}

namespace postavo::reports {

// The report's lengths in inches for a canvas page of `pageWidth` x `pageHeight`.
struct BandGeometry {
    double left = 0, top = 0, right = 0, bottom = 0;        // L, T, R, B
    double header = 0, detail = 0, footer = 0;              // hH, dH, fH (0 for an unused band)
    double pageWidth = 0, pageHeight = 0;                   // PW, PH
    double objectsLeft() const { return left + 0.125; }     // where band objects start
    double bodyTop() const { return top + header; }
    double bodyBottom() const { return pageHeight - bottom - footer; }
    QRectF headerBox() const { return QRectF(QPointF(left, top), QPointF(pageWidth - right, top + header)); }
    QRectF footerBox() const
    {
        return QRectF(QPointF(left, pageHeight - bottom - footer), QPointF(pageWidth - right, pageHeight - bottom));
    }
    QRectF bandBox(double y, double height) const
    {
        return QRectF(QPointF(left, y), QPointF(pageWidth - right, y + height));
    }
};
BandGeometry bandGeometry(const ReportVars& vars, double ppi, double pageWidth, double pageHeight);

// Why a report cannot print on its paper (the header and footer leave no room between them);
// empty when it can.
QString bandedReportProblem(const ReportVars& vars, double ppi, double pageWidth, double pageHeight);

struct BandedPrintOptions {
    bool oneRecordPerPage = false;
};

class TUserDefinedReportPrint {
public:
    // The bands print their objects; the detail band's objects read the current record of the
    // table they are bound to. `ppi` converts the settings' pixels to inches.
    TUserDefinedReportPrint(design::DesignHost& header, design::DesignHost& detail, design::DesignHost& footer,
                            const ReportVars& vars, double ppi);

    // PrintTheReport: pages until the end of `records`, Stop or an aborted job.
    void print(printing::TPrintCanvas& c, RecordSource& records, const BandedPrintOptions& options,
               const bool& stop, const std::function<void()>& afterRecord = {});

    // ---- the pieces ----
    void setUp(printing::TPrintCanvas& c);
    void printHeaderFooter(printing::TPrintCanvas& c);
    void newPage(printing::TPrintCanvas& c);
    void printDetail(printing::TPrintCanvas& c);
    void printTheMemo(printing::TPrintCanvas& c, const QString& memo, const bool& stop);
    // Shade, then borders, of band `which` over `box`.
    void drawBandFrame(printing::TPrintCanvas& c, int which, const QRectF& box);
    double currentY() const { return y_; }
    const BandGeometry& geometry() const { return g_; }

private:
    void setMemoFont(printing::TPrintCanvas& c);

    design::DesignHost& header_;
    design::DesignHost& detail_;
    design::DesignHost& footer_;
    ReportVars vars_;
    double ppi_;
    BandGeometry g_;
    double y_ = 0;
    bool pageHasBody_ = false; // something was printed below the header on this page
};

} // namespace postavo::reports
