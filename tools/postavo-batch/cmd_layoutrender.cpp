// postavo-batch layout render FILE --data ADDRESSFILE [--record N] [--label-size WxH] --pdf OUT:
// the layout's objects printed once, filled with one record, at the top left of a Letter page.
#include "commands.h"

#include "addressfile.h"
#include "datasurface.h"
#include "designtypes.h"
#include "devices.h"
#include "layoutdocument.h"
#include "layoutprint.h"
#include "printcanvas.h"

#include <QPageLayout>
#include <QPageSize>
#include <QRegularExpression>

namespace postavo::batch {

int runLayoutRender(CommandContext& ctx)
{
    using namespace postavo::design;
    Args args(ctx.args.mid(1)); // after "render"
    bool missing = false;
    const QString data = args.take(QStringLiteral("--data"), &missing);
    const QString record = args.take(QStringLiteral("--record"), &missing);
    const QString labelSize = args.take(QStringLiteral("--label-size"), &missing);
    const QString pdf = args.take(QStringLiteral("--pdf"), &missing);
    if (missing || args.rest().size() != 1 || data.isEmpty() || pdf.isEmpty()) {
        ctx.err << "usage: postavo-batch layout render FILE --data ADDRESSFILE [--record N] [--label-size WxH] "
                   "--pdf OUT\n";
        return kExitUsage;
    }
    const QString file = args.rest().first();

    double labelW = 0, labelH = 0;
    if (!labelSize.isEmpty()) {
        static const QRegularExpression re(QStringLiteral("^([0-9.]+)[xX\u00D7]([0-9.]+)$"));
        const auto m = re.match(labelSize);
        bool okW = false, okH = false;
        if (m.hasMatch()) {
            labelW = m.captured(1).toDouble(&okW);
            labelH = m.captured(2).toDouble(&okH);
        }
        if (!okW || !okH || labelW <= 0 || labelH <= 0 || labelW > 100 || labelH > 100) {
            ctx.err << "The label size \"" << labelSize << "\" is not WIDTHxHEIGHT in inches.\n";
            return kExitUsage;
        }
    }
    quint32 recno = 0;
    if (!record.isEmpty()) {
        bool ok = false;
        recno = record.toUInt(&ok);
        if (!ok || recno == 0) {
            ctx.err << "The record number \"" << record << "\" is not a number from 1 up.\n";
            return kExitUsage;
        }
    }

    LayoutDocument doc;
    QString error;
    if (!readLayoutDocument(file, &doc, &error)) {
        ctx.err << error << "\n";
        return kExitFailed;
    }
    AddressTable table;
    if (!table.openShared(data, true, &error)) {
        ctx.err << error << "\n";
        return kExitFailed;
    }
    const bool positioned = recno ? table.goTo(recno) : table.first();
    if (!positioned || !table.hasRecord()) {
        ctx.err << "There is no record " << (recno ? QString::number(recno) : QStringLiteral("to print")) << " in "
                << data << ".\n";
        return kExitFailed;
    }
    // The label's objects go onto a data-bound surface, as a print run has them.
    DataSurface surface(&doc.owner);
    for (TGGraphicControl* o : doc.bands[0]->designObjects())
        surface.insertObject(o);
    surface.setDataset(&table);
    surface.setDisplayDataValues(true);
    if (labelW > 0)
        surface.setSurfaceSize(design::roundHalfEven(labelW * design::screenPpi()),
                               design::roundHalfEven(labelH * design::screenPpi()));

    const QPageLayout page(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF());
    printing::PdfFileDevice device(pdf, page);
    printing::TPrintCanvas canvas;
    canvas.setDevice(&device);
    const bool ok = canvas.execute([](printing::TPrintCanvas&) {},
                                   [&](printing::TPrintCanvas& c) { printSurfaceOnce(surface, c, 0.0, 0.0); });
    table.close();
    if (!ok) {
        ctx.err << canvas.lastError() << "\n";
        return kExitFailed;
    }
    ctx.out << "Wrote " << pdf << "\n";
    return kExitOk;
}

} // namespace postavo::batch
