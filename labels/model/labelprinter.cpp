#include "labelprinter.h"

#include "addressfile.h"
#include "bulkmailpresort.h"
#include "designsurface.h"
#include "engine/engine_error.h"
#include "engine/recordengine.h"
#include "printcanvas.h"

#include <QCoreApplication>

namespace postavo::labels {

TLabelPrinter::TLabelPrinter(design::DesignSurface& surface, AddressTable& table, LabelPrintOptions options)
    : surface_(surface), table_(table), options_(std::move(options))
{
    if (options_.copies < 1 || options_.presort)
        options_.copies = 1;
    afterLabel = [] { QCoreApplication::processEvents(); };
}

bool TLabelPrinter::atEnd() const
{
    const engine::Table* t = table_.engineTable();
    return ended_ || !t || t->eof();
}

void TLabelPrinter::moveToEnd()
{
    ended_ = true;
    if (engine::Table* t = table_.engineTable()) {
        t->goBottom();
        if (!t->eof())
            t->skip(1);
    }
}

std::string TLabelPrinter::currentZipKey() const
{
    const engine::Table* t = table_.engineTable();
    if (!t || t->eof())
        return {};
    return std::string(zipKey(t->getString("ZIP")));
}

TLabelPrinter::Group TLabelPrinter::nextSortedZip()
{
    const std::vector<std::string>& lines = options_.presortLines;
    while (nextLine_ < lines.size()) {
        line_ = lines[nextLine_++];
        if (isHeadingLine(line_)) {
            // The loop runs while a record is current: any record will do for a heading.
            heading_ = true;
            if (engine::Table* t = table_.engineTable())
                t->goTop();
            return Group::Heading;
        }
        heading_ = false;
        if (table_.seek(AddressTable::fromFile(line_), false) && currentZipKey() == line_)
            return Group::Records;
        // A key no visible record has any more is passed over.
    }
    heading_ = false;
    moveToEnd();
    return Group::End;
}

void TLabelPrinter::printHeading(printing::TPrintCanvas& canvas, double x, double y)
{
    const LabelSheetDefinition& d = options_.sheet;
    canvas.setFont(QLatin1String(kHeadingFontFace), kHeadingFontPoints);
    canvas.setBrush(Qt::white, printing::BrushStyle::Clear);
    const double pitchX = double(d.horizPitch), pitchY = double(d.vertPitch);
    const QRect clip = canvas.inchToDeviceRect(QRectF(QPointF(x, y), QPointF(x + pitchX, y + pitchY)));
    canvas.printClipped(clip, x + kHeadingIndent, y + pitchY / 3, AddressTable::fromFile(line_));
    ++headings_;
}

void TLabelPrinter::printLabels(printing::TPrintCanvas& canvas, const bool& stop)
{
    labels_ = headings_ = records_ = 0;
    error_.clear();
    ended_ = false;
    nextLine_ = 0;
    heading_ = false;
    const LabelSheetDefinition& d = options_.sheet;
    if (options_.positions.countOn(d) == 0 || d.nbrAcross < 1 || d.nbrDown < 1)
        return;
    if (options_.presort)
        nextSortedZip();

    canvas.setFont(QLatin1String(kHeadingFontFace), kHeadingFontPoints);
    canvas.setBrush(Qt::white, printing::BrushStyle::Clear);

    engine::Table* t = table_.engineTable();
    const bool wasPrinting = surface_.isPrinting();
    surface_.setPrinting(true);
    SheetWalker walker(d, options_.positions);
    int copies = 0;
    try {
    while (!atEnd() && !stop && !canvas.aborted()) {
        const SheetWalker::Step at = walker.advance();
        if (at.newSheet)
            canvas.newPage();
        const QPointF origin = labelOrigin(d, at.row, at.column);
        if (heading_) {
            printHeading(canvas, origin.x(), origin.y());
        } else {
            surface_.refreshObjects();
            surface_.printObjects(canvas, origin.x(), origin.y());
            surface_.nextItemAll();
            ++labels_;
            if (copies == 0)
                ++records_;
            ++copies;
            if (copies < options_.copies)
                continue;
        }
        copies = 0;
        const bool printedHeading = heading_;
        t->skip(1);
        if (options_.presort && (printedHeading || t->eof() || currentZipKey() != line_))
            nextSortedZip();
        if (afterLabel)
            afterLabel();
    }
    } catch (const engine::EngineError& e) {
        // The address file could not be read on: the job is abandoned, not left half done as if
        // it had ended.
        error_ = QStringLiteral("The address file could not be read: %1").arg(QString::fromLocal8Bit(e.what()));
        canvas.abort();
    }
    surface_.setPrinting(wasPrinting);
}

} // namespace postavo::labels
