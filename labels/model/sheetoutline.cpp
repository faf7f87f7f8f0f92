#include "sheetoutline.h"

#include "devices.h"
#include "labelplacement.h"
#include "labelsurface.h"
#include "labelvalidation.h"
#include "printcanvas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>

#include <algorithm>

namespace postavo::labels {

QPageLayout sheetPageLayout(const LabelSheetDefinition& d)
{
    const double w = d.sheetWidth, h = d.sheetDepth;
    // The paper is named by its portrait size; a landscape sheet turns it.
    const bool landscape = w > h;
    const QPageSize size(QSizeF(std::min(w, h), std::max(w, h)), QPageSize::Inch);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

double outlineCornerInches(const LabelSheetDefinition& d)
{
    return std::min({24.0 / 96.0, double(d.lblWidth), double(d.lblHeight)});
}

void printSheetOutline(const LabelSheetDefinition& d, printing::TPrintCanvas& canvas)
{
    canvas.setPen(Qt::black, printing::PenStyle::Solid, -1);  // a hundredth of an inch
    canvas.setBrush(Qt::white, printing::BrushStyle::Clear);
    canvas.setFont(QStringLiteral("Arial"), 10);
    const design::TLabelShapeType shape = outlineForShape(d.lblShape);
    const double corner = outlineCornerInches(d);
    for (int i = 0; i < d.positionCount(); ++i) {
        const QRectF r = labelRect(d, i);
        switch (shape) {
        case design::lsRectangle: canvas.rectangle(r.left(), r.top(), r.right(), r.bottom()); break;
        case design::lsEllipse: canvas.ellipse(r.left(), r.top(), r.right(), r.bottom()); break;
        default: canvas.roundRect(r.left(), r.top(), r.right(), r.bottom(), corner, corner); break;
        }
        const QString number = QString::number(i + 1);
        const double w = canvas.textWidth(number);
        const double h = canvas.ascent() + canvas.descent();
        canvas.printClipped(canvas.inchToDeviceRect(r), r.center().x() - w / 2, r.center().y() - h / 2, number);
    }
}

bool writeSheetOutlinePdf(const LabelSheetDefinition& d, const QString& pdfPath, QString* error)
{
    const QString problem = checkEnteredDefinition(d);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    // The page goes to a file of its own first: a run that fails leaves no half-written PDF.
    const QString part = pdfPath + QStringLiteral(".part");
    printing::PdfFileDevice device(part, sheetPageLayout(d));
    printing::TPrintCanvas canvas;
    canvas.setDevice(&device);
    const bool ok = canvas.execute([](printing::TPrintCanvas&) {},
                                   [&](printing::TPrintCanvas& c) { printSheetOutline(d, c); });
    if (!ok || !QFileInfo(part).isFile() || QFileInfo(part).size() == 0) {
        QFile::remove(part);
        if (error)
            *error = canvas.lastError().isEmpty() ? QStringLiteral("Unable to write the PDF file \"%1\".").arg(pdfPath)
                                                  : canvas.lastError();
        return false;
    }
    QFile::remove(pdfPath);
    if (!QFile::rename(part, pdfPath)) {
        QFile::remove(part);
        if (error)
            *error = QStringLiteral("Unable to write the PDF file \"%1\".").arg(pdfPath);
        return false;
    }
    return true;
}

} // namespace postavo::labels
