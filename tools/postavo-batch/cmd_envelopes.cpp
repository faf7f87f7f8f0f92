// postavo-batch envelopes: one envelope per record of an address file, printed with an envelope
// layout of a program folder's catalogue, placed on the page as the paper feed method says, to a
// PDF file or a printer.
#include "commands.h"

#include "addressfile.h"
#include "datasurface.h"
#include "devices.h"
#include "envelopecatalogue.h"
#include "envelopefeed.h"
#include "envelopejob.h"
#include "envelopelayoutfile.h"
#include "envelopeprinter.h"
#include "printcanvas.h"
#include "printers.h"
#include "programfolder.h"
#include "settings.h"

#include <QDir>
#include <QFileInfo>

namespace postavo::batch {

namespace {
constexpr const char* kUsage =
    "usage: postavo-batch envelopes --folder PROGRAMFOLDER --layout DESCRIPTION --data ADDRESSFILE\n"
    "       [--filter EXPR | --record N] [--feed METHOD] [--paper CODE] (--pdf OUT | --printer NAME)\n"
    "  METHOD: words among portrait|landscape, up|down, left|right|center, clockwise (default: the\n"
    "  folder's settings); --paper: a paper code (1 Letter, 9 A4) instead of the envelope's own paper\n";
}

int runEnvelopes(CommandContext& ctx)
{
    using namespace postavo::envelopes;
    Args args(ctx.args);
    bool missing = false;
    const QString folder = args.take(QStringLiteral("--folder"), &missing);
    const QString description = args.take(QStringLiteral("--layout"), &missing);
    const QString data = args.take(QStringLiteral("--data"), &missing);
    const QString filter = args.take(QStringLiteral("--filter"), &missing);
    const QString record = args.take(QStringLiteral("--record"), &missing);
    const QString feedText = args.take(QStringLiteral("--feed"), &missing);
    const QString paper = args.take(QStringLiteral("--paper"), &missing);
    const QString pdf = args.take(QStringLiteral("--pdf"), &missing);
    const QString printer = args.take(QStringLiteral("--printer"), &missing);
    if (missing || !args.rest().isEmpty() || folder.isEmpty() || description.isEmpty() || data.isEmpty()
        || pdf.isEmpty() == printer.isEmpty() || (!filter.isEmpty() && !record.isEmpty())) {
        ctx.err << kUsage;
        return kExitUsage;
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
    int paperCode = 0;
    if (!paper.isEmpty()) {
        bool ok = false;
        paperCode = paper.toInt(&ok);
        if (!ok || paperCode <= 0) {
            ctx.err << "Unknown paper code \"" << paper << "\".\n";
            return kExitUsage;
        }
    }
    if (!QFileInfo(folder).isDir()) {
        ctx.err << "There is no program folder " << QDir::toNativeSeparators(folder) << ".\n";
        return kExitFailed;
    }
    ProgramFolder::setPath(folder);
    Settings settings(ProgramFolder::settingsFile());
    FeedMethod feed = readFeedMethod(settings);
    QString error;
    if (!feedText.isEmpty() && !parseFeedMethod(feedText, &feed, &error)) {
        ctx.err << error << "\n";
        return kExitUsage;
    }

    // The layout, from the folder's catalogue; a missing catalogue is not made here.
    if (!QFileInfo::exists(resolveFileName(ProgramFolder::sysdataPath() + QStringLiteral("ENVELOPE.DBF")))) {
        ctx.err << "The program folder " << QDir::toNativeSeparators(folder)
                << " has no envelope layouts (sysdata/ENVELOPE.DBF).\n";
        return kExitFailed;
    }
    EnvelopeCatalogue catalogue;
    if (!catalogue.open(&error)) {
        ctx.err << error << "\n";
        return kExitFailed;
    }
    const std::optional<EnvelopeLayout> layout = catalogue.findByDescription(description);
    if (!layout) {
        QStringList names;
        for (const EnvelopeLayout& l : catalogue.layouts())
            names << QLatin1Char('"') + l.description + QLatin1Char('"');
        ctx.err << "There is no envelope layout \"" << description << "\". Layouts: "
                << (names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "))) << "\n";
        return kExitFailed;
    }
    if (!layout->width || layout->width < 0) {
        ctx.err << "The envelope layout \"" << layout->description << "\" has the unknown size code " << layout->code
                << ".\n";
        return kExitFailed;
    }
    const QString layoutFile = catalogue.layoutPath(layout->fileName);
    catalogue.close();
    QObject owner;
    design::DataSurface surface(&owner);
    if (!loadEnvelopeLayout(surface, layoutFile, &error)) {
        ctx.err << error << "\n";
        return kExitFailed;
    }

    // The printer and its paper.
    printing::TPrinters printers;
    if (!pdf.isEmpty()) {
        printers.selectPrinter(printing::TPrinters::pdfPrinterName());
        printers.setPdfFileName(pdf);
    } else if (!printers.selectPrinter(printer)) {
        ctx.err << "There is no printer named \"" << printer << "\". Printers: "
                << printers.printers().join(QStringLiteral(", ")) << "\n";
        return kExitFailed;
    } else if (printers.isPdfPrinter()) {
        ctx.err << "The printer \"" << printing::TPrinters::pdfPrinterName() << "\" needs --pdf FILE.\n";
        return kExitUsage;
    }
    if (paperCode) {
        if (!printers.setPaperCode(paperCode)) {
            ctx.err << "Unknown paper code \"" << paper << "\".\n";
            return kExitUsage;
        }
        printers.setOrientation(feed.pageOrientation());
    } else {
        const PaperChoice choice = chooseEnvelopePaper(printers, layout->code, feed);
        if (!choice.note.isEmpty())
            ctx.err << choice.note << "\n";
    }
    const QString placement =
        placementProblem(layout->width, layout->height, printers.pageWidth(), printers.pageHeight(), feed);
    if (!placement.isEmpty()) {
        ctx.err << placement << "\nNothing was printed.\n";
        return kExitFailed;
    }

    // The records.
    AddressTable table;
    if (!table.openShared(data, true, &error)) {
        ctx.err << error << "\n";
        return kExitFailed;
    }
    surface.setDataset(&table);
    EnvelopeJob job;
    job.records = recno ? RecordChoice::CurrentOnly : RecordChoice::All;
    job.extraFilter = filter;
    job.feed = feed;
    job.envelopeWidth = layout->width;
    job.envelopeHeight = layout->height;
    EnvelopeRun run(surface, table, job);
    if (recno && !(table.goTo(recno) && table.recNo() == recno && table.hasRecord())) {
        ctx.err << "There is no record " << recno << " in " << QDir::toNativeSeparators(data) << ".\n";
        return kExitFailed;
    }
    QString notice;
    if (!run.position(recno, &notice, &error)) {
        ctx.err << (error.isEmpty() ? QStringLiteral("There is no record to print.") : error) << "\n";
        return kExitFailed;
    }
    const EnvelopeRun::Census census = run.census();
    if (census.envelopes == 0) {
        ctx.err << (census.noAddress.size() == 1 && recno ? QStringLiteral("Record %1 has no address.").arg(recno)
                                                          : QStringLiteral("None of the records has an address."))
                << " Nothing was printed.\n";
        return kExitFailed;
    }

    std::unique_ptr<printing::CanvasDevice> device = printers.createDevice(&error);
    if (!device) {
        ctx.err << error << "\n";
        return kExitFailed;
    }
    printing::TPrintCanvas canvas;
    canvas.setDevice(device.get());
    const bool stop = false;
    const bool ok = canvas.execute([](printing::TPrintCanvas&) {},
                                   [&](printing::TPrintCanvas& c) { run.run(c, stop); });
    device.reset();
    table.close();
    if (!ok) {
        ctx.err << (canvas.lastError().isEmpty() ? QStringLiteral("The print job was cancelled.") : canvas.lastError())
                << "\n";
        return kExitFailed;
    }
    if (!run.skipped().empty())
        ctx.err << skippedRecordsText(run.skipped()) << "\n";
    ctx.out << (run.printed() == 1 ? QStringLiteral("1 envelope") : QStringLiteral("%1 envelopes").arg(run.printed()))
            << (pdf.isEmpty() ? QStringLiteral(" sent to ") + printers.printerName()
                              : QStringLiteral(" written to ") + QDir::toNativeSeparators(pdf))
            << " (" << feedWords(feed) << ", envelope at " << run.offsets().x << ", " << run.offsets().y
            << " inches on a " << printers.pageWidth() << " x " << printers.pageHeight() << " inch page)\n";
    return kExitOk;
}

} // namespace postavo::batch
