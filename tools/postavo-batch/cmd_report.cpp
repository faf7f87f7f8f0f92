// postavo-batch report, record and zip-count: the report runs of the report window, the current
// record print and the zip code count, written to a PDF file or sent to a printer.
#include "commands.h"

#include "addressfile.h"
#include "designtypes.h"
#include "devices.h"
#include "filters.h"
#include "printcanvas.h"
#include "printers.h"
#include "programfolder.h"
#include "reportcatalogue.h"
#include "reportjobs.h"
#include "zipcount.h"
#include "zipreport.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

namespace postavo::batch {

using namespace postavo::reports;

namespace {

// Where a job goes: a PDF file on the given paper, or a printer by name.
struct Target {
    QString pdf;
    QString printer;
    std::unique_ptr<printing::TPrinters> printers;
    std::unique_ptr<printing::CanvasDevice> device;
};

bool makeTarget(Target& t, const QPageSize& paper, bool landscape, QTextStream& err)
{
    const QPageLayout::Orientation o = landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    if (!t.pdf.isEmpty()) {
        t.device = std::make_unique<printing::PdfFileDevice>(t.pdf, QPageLayout(paper, o, QMarginsF()));
        return true;
    }
    t.printers = std::make_unique<printing::TPrinters>();
    if (!t.printers->selectPrinter(t.printer) || t.printers->isPdfPrinter()) {
        err << "There is no printer named \"" << t.printer << "\". Printers: "
            << t.printers->printers().mid(0, t.printers->printers().size() - 1).join(QStringLiteral(", "))
            << " (or use --pdf FILE).\n";
        return false;
    }
    t.printers->selectPaperName(paper.name());
    if (paper.id() == QPageSize::A4)
        t.printers->setPaperCode(9);
    else
        t.printers->setPaperCode(1);
    t.printers->setOrientation(o);
    QString error;
    t.device = t.printers->createDevice(&error);
    if (!t.device) {
        err << error << "\n";
        return false;
    }
    return true;
}

// Runs `body` on the target; false with the reason on `err`.
bool execute(Target& t, const std::function<void(printing::TPrintCanvas&)>& body, QTextStream& err, int* pages)
{
    printing::TPrintCanvas canvas;
    canvas.setDevice(t.device.get());
    const bool ok = canvas.execute(
        [](printing::TPrintCanvas& c) {
            c.title = QStringLiteral("Postavo");
            c.statusFormat = QStringLiteral("Printing Page %p\r%0\r%1");
        },
        body);
    if (pages)
        *pages = canvas.pageNumber();
    if (!ok) {
        err << (canvas.lastError().isEmpty() ? QStringLiteral("The print job was cancelled.") : canvas.lastError())
            << "\n";
        return false;
    }
    // A printer that went away while the job was spooled refuses it only now.
    if (t.printers && t.printers->qprinter().printerState() == QPrinter::Error) {
        err << "The printer \"" << t.printer << "\" did not take the job; is it still installed?\n";
        return false;
    }
    return true;
}

bool openData(AddressTable& table, const QString& path, QTextStream& err)
{
    QString error;
    if (path.isEmpty() || !table.openShared(path, true, &error)) {
        err << (error.isEmpty() ? QStringLiteral("No address file given.") : error) << "\n";
        return false;
    }
    return true;
}

bool parseRecord(const QString& text, quint32* recno, QTextStream& err)
{
    bool ok = false;
    *recno = text.toUInt(&ok);
    if (!ok || *recno == 0) {
        err << "The record number \"" << text << "\" is not a number from 1 up.\n";
        return false;
    }
    return true;
}

// The filter as the main window applies it (the condition, then ".and. !ISDEL").
bool applyFilter(AddressTable& table, const QString& filter, QTextStream& err)
{
    if (!table.setFilter(appliedFilterExpression(filter))) {
        err << "The filter \"" << filter << "\" is not a valid expression: " << table.lastError() << "\n";
        return false;
    }
    return true;
}

bool goToRecord(AddressTable& table, quint32 recno, const QString& data, QTextStream& err)
{
    if (!table.goTo(recno) || !table.hasRecord() || table.recNo() != recno) {
        err << "There is no record " << recno << " in " << data << ".\n";
        return false;
    }
    return true;
}

void reportWritten(const Target& t, int pages, QTextStream& out)
{
    out << (t.pdf.isEmpty() ? QStringLiteral("Sent %1 page(s) to %2").arg(pages).arg(t.printer)
                            : QStringLiteral("Wrote %1 page(s) to %2").arg(pages).arg(t.pdf))
        << "\n";
}

const char* kReportUsage =
    "usage: postavo-batch report --folder PROGRAMFOLDER (--builtin 1|2|3|4 [--title T] [--memo] [--codes] | "
    "--layout DESCRIPTION) --data ADDRESSFILE [--filter EXPR | --record N] (--pdf OUT | --printer NAME)\n";

} // namespace

int runReport(CommandContext& ctx)
{
    Args args(ctx.args);
    bool missing = false;
    const QString folder = args.take(QStringLiteral("--folder"), &missing);
    const QString builtin = args.take(QStringLiteral("--builtin"), &missing);
    const QString title = args.take(QStringLiteral("--title"), &missing);
    const bool memo = args.takeFlag(QStringLiteral("--memo"));
    const bool codes = args.takeFlag(QStringLiteral("--codes"));
    const QString layout = args.take(QStringLiteral("--layout"), &missing);
    const QString data = args.take(QStringLiteral("--data"), &missing);
    const QString filter = args.take(QStringLiteral("--filter"), &missing);
    const QString record = args.take(QStringLiteral("--record"), &missing);
    Target target;
    target.pdf = args.take(QStringLiteral("--pdf"), &missing);
    target.printer = args.take(QStringLiteral("--printer"), &missing);
    if (missing || !args.rest().isEmpty() || folder.isEmpty() || data.isEmpty() || builtin.isEmpty() == layout.isEmpty()
        || (!filter.isEmpty() && !record.isEmpty()) || target.pdf.isEmpty() == target.printer.isEmpty()
        || (!layout.isEmpty() && (memo || codes || !title.isEmpty()))) {
        ctx.err << kReportUsage;
        return kExitUsage;
    }
    int report = 0;
    if (!builtin.isEmpty()) {
        bool ok = false;
        report = builtin.toInt(&ok);
        if (!ok || report < 1 || report > 4) {
            ctx.err << "--builtin takes 1, 2, 3 or 4.\n";
            return kExitUsage;
        }
    }
    quint32 recno = 0;
    if (!record.isEmpty() && !parseRecord(record, &recno, ctx.err))
        return kExitUsage;
    if (!QFileInfo(folder).isDir()) {
        ctx.err << "The program folder \"" << folder << "\" does not exist.\n";
        return kExitFailed;
    }
    ProgramFolder::setPath(folder);

    AddressTable table;
    if (!openData(table, data, ctx.err))
        return kExitFailed;
    RecordSelection selection;
    selection.which = RecordChoice::All;
    if (!filter.isEmpty()) {
        if (!applyFilter(table, filter, ctx.err))
            return kExitFailed;
        selection.which = RecordChoice::Filter;
    } else {
        table.setFilter(appliedFilterExpression(QString()));
    }
    table.first();
    if (recno) {
        if (!goToRecord(table, recno, data, ctx.err))
            return kExitFailed;
        selection.which = RecordChoice::Current;
    }
    const Inform inform = [&ctx](const QString& text) { ctx.err << QString(text).replace(QLatin1Char('\r'), QString()) << "\n"; };
    int pages = 0;
    QString error;

    if (report) {
        BuiltInReportOptions options;
        options.report = report;
        options.title = title.isEmpty() ? defaultReportTitle(report) : title;
        options.printMemo = memo;
        options.printCodes = codes;
        BuiltInReportJob job(table, options, selection);
        if (!job.prepare(inform, &error)) {
            ctx.err << error << "\n";
            return kExitFailed;
        }
        if (table.eof())
            ctx.err << "No record is to be printed: the report has its heading only.\n";
        if (!makeTarget(target, QPageSize(QPageSize::Letter), false, ctx.err))
            return kExitFailed;
        bool stop = false;
        if (!execute(target, [&](printing::TPrintCanvas& c) { job.body(c, stop); }, ctx.err, &pages))
            return kExitFailed;
        reportWritten(target, pages, ctx.out);
        return kExitOk;
    }

    ReportCatalogue catalogue;
    if (!catalogue.open(&error)) {
        ctx.err << error << "\n";
        return kExitFailed;
    }
    std::optional<ReportEntry> entry;
    for (const ReportEntry& e : catalogue.entries())
        if (e.description.compare(layout.trimmed(), Qt::CaseInsensitive) == 0) {
            entry = e;
            break;
        }
    if (!entry) {
        QStringList names;
        for (const ReportEntry& e : catalogue.entries())
            names << QLatin1Char('"') + e.description + QLatin1Char('"');
        ctx.err << "There is no report described as \"" << layout << "\" in " << catalogue.sysdataDir()
                << "REPORT.DBF." << (names.isEmpty() ? QString() : QStringLiteral(" Reports: ") + names.join(QStringLiteral(", ")))
                << "\n";
        return kExitFailed;
    }
    const QString path = catalogue.layoutPath(*entry);
    if (path.isEmpty() || !QFileInfo::exists(path))
        ctx.err << "The report \"" << entry->description << "\" has no layout file " << entry->binary
                << "; its bands are empty.\n";
    BandedReportJob job(table, selection, {}, design::screenPpi());
    job.load(path, inform);
    const QSizeF paperSize = paperInches(job.paper());
    const QString problem = job.problem(paperSize.width(), paperSize.height());
    if (!problem.isEmpty()) {
        ctx.err << problem << "\n";
        return kExitFailed;
    }
    if (!job.prepare(inform, &error)) {
        ctx.err << error << "\n";
        return kExitFailed;
    }
    if (table.eof())
        ctx.err << "No record is to be printed: the report has its header and footer only.\n";
    const ReportPaper paper = job.paper();
    if (!makeTarget(target, QPageSize(paper.size == PaperSize::A4 ? QPageSize::A4 : QPageSize::Letter),
                    paper.landscape, ctx.err))
        return kExitFailed;
    bool stop = false;
    if (!execute(target, [&](printing::TPrintCanvas& c) { job.body(c, stop); }, ctx.err, &pages))
        return kExitFailed;
    reportWritten(target, pages, ctx.out);
    return kExitOk;
}

int runRecord(CommandContext& ctx)
{
    Args args(ctx.args);
    bool missing = false;
    const QString data = args.take(QStringLiteral("--data"), &missing);
    const QString record = args.take(QStringLiteral("--record"), &missing);
    const QString fields = args.take(QStringLiteral("--fields"), &missing);
    Target target;
    target.pdf = args.take(QStringLiteral("--pdf"), &missing);
    if (missing || !args.rest().isEmpty() || data.isEmpty() || record.isEmpty() || target.pdf.isEmpty()) {
        ctx.err << "usage: postavo-batch record --data ADDRESSFILE --record N [--fields LIST] --pdf OUT\n";
        return kExitUsage;
    }
    quint32 recno = 0;
    if (!parseRecord(record, &recno, ctx.err))
        return kExitUsage;
    SingleRecordChoice choice;
    if (!fields.isEmpty()) {
        choice.setAll(false);
        for (const QString& name : fields.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            SingleField f;
            if (!singleFieldByName(name, &f)) {
                ctx.err << "Unknown field \"" << name.trimmed() << "\". Fields: ";
                QStringList known;
                for (const SingleFieldDef& d : singleFields())
                    known << QString::fromLatin1(d.fieldName);
                ctx.err << known.join(QStringLiteral(",")) << "\n";
                return kExitUsage;
            }
            choice.set(f, true);
        }
    }
    AddressTable table;
    if (!openData(table, data, ctx.err) || !goToRecord(table, recno, data, ctx.err))
        return kExitFailed;
    SingleRecordJob job(table, choice);
    if (!makeTarget(target, QPageSize(QPageSize::Letter), false, ctx.err))
        return kExitFailed;
    bool stop = false;
    int pages = 0;
    if (!execute(target, [&](printing::TPrintCanvas& c) { job.body(c, stop); }, ctx.err, &pages))
        return kExitFailed;
    reportWritten(target, pages, ctx.out);
    return kExitOk;
}

int runZipCount(CommandContext& ctx)
{
    Args args(ctx.args);
    bool missing = false;
    const QString data = args.take(QStringLiteral("--data"), &missing);
    const QString filter = args.take(QStringLiteral("--filter"), &missing);
    Target target;
    target.pdf = args.take(QStringLiteral("--pdf"), &missing);
    if (missing || !args.rest().isEmpty() || data.isEmpty() || target.pdf.isEmpty()) {
        ctx.err << "usage: postavo-batch zip-count --data ADDRESSFILE [--filter EXPR] --pdf OUT\n";
        return kExitUsage;
    }
    AddressTable table;
    if (!openData(table, data, ctx.err) || !applyFilter(table, filter, ctx.err))
        return kExitFailed;
    ZipCount count;
    QString error;
    if (countZipCodes(table, &count, {}, &error) != CountOutcome::Completed) {
        ctx.err << error << "\n";
        return kExitFailed;
    }
    const QStringList lines = count.reportLines();
    if (count.total() == 0)
        ctx.err << "No record matches: the report lists no zip code.\n";
    if (!makeTarget(target, QPageSize(QPageSize::Letter), false, ctx.err))
        return kExitFailed;
    bool stop = false;
    int pages = 0;
    if (!execute(target, [&](printing::TPrintCanvas& c) { printZipReport(c, lines, stop); }, ctx.err, &pages))
        return kExitFailed;
    ctx.out << "Counted " << count.total() << " record(s): " << count.valid().keyCount() << " zip code(s), "
            << count.others().size() << " other key(s), " << count.blank() << " blank.\n";
    reportWritten(target, pages, ctx.out);
    return kExitOk;
}

} // namespace postavo::batch
