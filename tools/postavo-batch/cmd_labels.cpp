// postavo-batch labels: a label layout printed for the records of an address file, to a PDF file
// or a printer, by the same steps as the "Print Labels" window.
// postavo-batch presort: the presort file alone.
#include "commands.h"

#include "addressfile.h"
#include "bulkmailpresort.h"
#include "filters.h"
#include "labellayoutcatalogue.h"
#include "labelsetup.h"
#include "printcanvas.h"
#include "printers.h"
#include "programfolder.h"

#include <QDir>
#include <QFileInfo>

#include <climits>
#include <csignal>
#include <unistd.h>

namespace postavo::batch {

namespace {

volatile std::sig_atomic_t interrupted = 0;
extern "C" void onInterrupt(int) { interrupted = 1; }

// Ctrl+C cancels the job (no half file is left) instead of killing the program mid-write.
// A file-size limit makes the writes fail (and the job report it) rather than end the program.
struct InterruptGuard {
    void (*previous)(int);
    void (*previousFsize)(int);
    InterruptGuard() : previous(std::signal(SIGINT, onInterrupt)), previousFsize(std::signal(SIGXFSZ, SIG_IGN))
    {
        interrupted = 0;
    }
    ~InterruptGuard()
    {
        std::signal(SIGINT, previous);
        std::signal(SIGXFSZ, previousFsize);
    }
};

bool onTerminal() { return ::isatty(STDERR_FILENO) == 1; }

// The run's messages go to the terminal; the paper question is answered Yes with a warning (a
// batch run has nobody to ask), and the presort reports its progress.
class BatchRunUi : public labels::LabelRunUi {
public:
    explicit BatchRunUi(QTextStream& err) : err_(err) {}
    void showInformation(const QString& text) override
    {
        if (text == QLatin1String(labels::kPresortOrder))
            return;  // the order is the point of --presort; nothing to tell
        err_ << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\r'), QLatin1Char(' '))
             << "\n";
        err_.flush();
    }
    bool askYesNo(const QString& text, const QString&) override
    {
        err_ << "Warning: " << QString(text).replace(QStringLiteral("\r\n\r\n"), QStringLiteral(" ")).replace(QStringLiteral("\r\n"), QStringLiteral(" "))
             << " Printing anyway.\n";
        err_.flush();
        return true;
    }
    labels::BulkMailPresort::Result runPresort(labels::BulkMailPresort& presort, const QString& path, QString* error) override
    {
        if (onTerminal())
            presort.status = [this](const QString& s) {
                err_ << "\r" << s.leftJustified(40);
                err_.flush();
            };
        presort.keepGoing = [] { return interrupted == 0; };
        const auto r = presort.run(path, error);
        if (onTerminal())
            err_ << "\r" << QString(40, QLatin1Char(' ')) << "\r";
        if (r == labels::BulkMailPresort::Result::Cancelled)
            err_ << "Presort cancelled; nothing printed.\n";
        err_.flush();
        return r;
    }

private:
    QTextStream& err_;
};

// An address file for reading, with the calculated fields layouts may show.
bool openAddresses(AddressTable& table, const QString& path, QTextStream& err)
{
    QString error;
    if (!table.openShared(path, true, &error)) {
        err << error << "\n";
        return false;
    }
    table.setExtraFields(true);
    return true;
}

bool parseNumber(const QString& text, const char* option, int low, int high, int* out, QTextStream& err)
{
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (!ok || v < low || v > high) {
        err << option << " takes a number from " << low << " to " << high << ", not \"" << text << "\".\n";
        return false;
    }
    *out = int(v);
    return true;
}

// The filter as the program applies it: the condition and only records not marked deleted.
bool applyFilter(AddressTable& table, const QString& expression, QTextStream& err)
{
    const QString applied = expression.isEmpty() ? appliedFilterExpression(QString())
                                                 : appliedFilterExpression(QStringLiteral("(") + expression + QStringLiteral(")"));
    if (!table.setFilter(applied)) {
        err << "The filter \"" << expression << "\" cannot be used: " << table.lastError() << "\n";
        return false;
    }
    return true;
}

} // namespace

int runLabels(CommandContext& ctx)
{
    Args args(ctx.args);
    bool missing = false;
    const QString folder = args.take(QStringLiteral("--folder"), &missing);
    const QString layoutName = args.take(QStringLiteral("--layout"), &missing);
    const QString data = args.take(QStringLiteral("--data"), &missing);
    const QString filter = args.take(QStringLiteral("--filter"), &missing);
    const QString record = args.take(QStringLiteral("--record"), &missing);
    const QString fromRecord = args.take(QStringLiteral("--from-record"), &missing);
    const QString positionList = args.take(QStringLiteral("--positions"), &missing);
    const QString copiesText = args.take(QStringLiteral("--copies"), &missing);
    const QString pdf = args.take(QStringLiteral("--pdf"), &missing);
    const QString printerName = args.take(QStringLiteral("--printer"), &missing);
    const bool presort = args.takeFlag(QStringLiteral("--presort"));
    auto usage = [&ctx](const char* why = nullptr) {
        if (why)
            ctx.err << why << "\n";
        ctx.err << "usage: postavo-batch labels --folder PROGRAMFOLDER --layout DESCRIPTION --data ADDRESSFILE "
                   "[--filter EXPR | --record N] [--from-record N] [--presort] [--positions LIST] [--copies N] "
                   "(--pdf OUT | --printer NAME)\n";
        return kExitUsage;
    };
    if (missing || !args.rest().isEmpty() || folder.isEmpty() || layoutName.isEmpty() || data.isEmpty())
        return usage();
    if (pdf.isEmpty() == printerName.isEmpty())
        return usage("Give either --pdf or --printer.");
    if (!filter.isEmpty() && !record.isEmpty())
        return usage("--filter and --record choose the records in two ways; give one.");
    if (!record.isEmpty() && !fromRecord.isEmpty())
        return usage("--record prints one record; --from-record has nothing to start from.");
    if (presort && !record.isEmpty())
        return usage("One record cannot be presorted: --presort and --record exclude each other.");
    if (presort && !copiesText.isEmpty())
        return usage("A presorted run prints each record once: --copies cannot be given with --presort.");
    int copies = 1;
    int recno = 0, fromRecno = 0;
    if (!copiesText.isEmpty() && !parseNumber(copiesText, "--copies", 1, 99, &copies, ctx.err))
        return kExitUsage;
    if (!record.isEmpty() && !parseNumber(record, "--record", 1, INT_MAX, &recno, ctx.err))
        return kExitUsage;
    if (!fromRecord.isEmpty() && !parseNumber(fromRecord, "--from-record", 1, INT_MAX, &fromRecno, ctx.err))
        return kExitUsage;

    // The program folder with its label layouts.
    if (!QFileInfo(folder).isDir()) {
        ctx.err << "There is no folder " << folder << ".\n";
        return kExitFailed;
    }
    const QString programFolder = QDir(folder).absolutePath() + QLatin1Char('/');
    const QString sysdata = resolveFileName(programFolder + QStringLiteral("sysdata/"));
    if (!QFileInfo::exists(resolveFileName(sysdata + QStringLiteral("LABEL.DBF")))) {
        ctx.err << "There are no label layouts in " << folder << " (no sysdata/LABEL.DBF).\n";
        return kExitFailed;
    }
    labels::LabelLayoutCatalogue catalogue(sysdata);
    QString message;
    if (!catalogue.open(&message)) {
        ctx.err << message << "\n";
        return kExitFailed;
    }
    const std::optional<labels::LabelLayoutRow> layout = catalogue.findByDescription(layoutName);
    if (!layout) {
        ctx.err << "There is no label layout \"" << layoutName << "\". Layouts:";
        for (const labels::LabelLayoutRow& r : catalogue.rows())
            ctx.err << " \"" << r.description << "\"";
        ctx.err << "\n";
        return kExitFailed;
    }

    // The records, as the main window hands them over: filtered, in Last Name order.
    AddressTable table;
    if (!openAddresses(table, data, ctx.err))
        return kExitFailed;
    if (!applyFilter(table, filter, ctx.err))
        return kExitFailed;
    table.setOrder(QStringLiteral("LNAME"));
    table.first();
    const quint32 current = quint32(recno ? recno : fromRecno);
    if (current) {
        if (current > table.recordCount()) {
            ctx.err << "There is no record " << current << " in " << data << " (it has " << table.recordCount()
                    << ").\n";
            return kExitFailed;
        }
        table.goTo(current);
    }

    BatchRunUi ui(ctx.err);
    labels::LabelSetup setup(table, catalogue, ui, programFolder);
    setup.setFilterInForce(!filter.isEmpty());
    if (recno)
        setup.chooseRecords(labels::RecordChoice::CurrentOnly);
    setup.setStartFromCurrent(fromRecno != 0);
    setup.setPresort(presort);
    setup.copies = copies;
    if (!positionList.isEmpty()) {
        QString error;
        if (!labels::parsePositionList(positionList, layout->sheet, &setup.positions, &error)) {
            ctx.err << "--positions: " << error << "\n";
            return kExitUsage;
        }
    }

    // The printer: "PDF file" writing to --pdf, or a system printer by name.
    std::unique_ptr<printing::TPrinters> printers;
    if (!pdf.isEmpty()) {
        printers = std::make_unique<printing::TPrinters>(QStringList(), QString());
        printers->setPdfFileName(QFileInfo(pdf).absoluteFilePath());
    } else {
        printers = std::make_unique<printing::TPrinters>();
        if (!printers->selectPrinter(printerName) || printers->isPdfPrinter()) {
            ctx.err << "There is no printer \"" << printerName << "\". Printers:";
            for (const QString& p : printers->printers())
                if (p != printing::TPrinters::pdfPrinterName())
                    ctx.err << " \"" << p << "\"";
            ctx.err << "\n";
            return kExitFailed;
        }
    }

    InterruptGuard interrupt;
    std::unique_ptr<labels::LabelPrintRun> run = setup.prepareRun(*layout, printers.get());
    if (!run)
        return kExitFailed;
    QString error;
    std::unique_ptr<printing::CanvasDevice> device = printers->createDevice(&error);
    if (!device) {
        ctx.err << error << "\n";
        return kExitFailed;
    }
    printing::TPrintCanvas canvas;
    canvas.setDevice(device.get());
    canvas.title = QStringLiteral("Postavo");
    labels::TLabelPrinter& printer = run->printer();
    const bool terminal = onTerminal();
    printer.afterLabel = [&] {
        if (interrupted)
            canvas.abort();
        if (terminal && printer.labelsPrinted() % 500 == 0) {
            ctx.err << "\rPrinting page " << canvas.pageNumber() << ", " << printer.labelsPrinted() << " labels";
            ctx.err.flush();
        }
    };
    const bool stop = false;
    const bool ok = canvas.execute(nullptr, [&](printing::TPrintCanvas& c) { printer.printLabels(c, stop); });
    if (terminal)
        ctx.err << "\r" << QString(50, QLatin1Char(' ')) << "\r";
    run->finish();
    if (!ok) {
        if (!printer.error().isEmpty())
            ctx.err << printer.error() << "\n";
        else if (!canvas.lastError().isEmpty())
            ctx.err << canvas.lastError() << "\n";
        else if (interrupted)
            ctx.err << "Label printing cancelled; nothing was written.\n";
        else
            ctx.err << "Label printing did not finish.\n";
        return kExitFailed;
    }
    ctx.out << "Wrote " << (pdf.isEmpty() ? printers->printerName() : pdf) << ": " << printer.labelsPrinted()
            << " labels";
    if (printer.headingsPrinted() > 0)
        ctx.out << " and " << printer.headingsPrinted() << " headings";
    ctx.out << " on " << canvas.pageNumber() << (canvas.pageNumber() == 1 ? " page" : " pages") << "\n";
    return kExitOk;
}

int runPresort(CommandContext& ctx)
{
    Args args(ctx.args);
    bool missing = false;
    const QString data = args.take(QStringLiteral("--data"), &missing);
    const QString filter = args.take(QStringLiteral("--filter"), &missing);
    const QString out = args.take(QStringLiteral("--out"), &missing);
    if (missing || !args.rest().isEmpty() || data.isEmpty() || out.isEmpty()) {
        ctx.err << "usage: postavo-batch presort --data ADDRESSFILE [--filter EXPR] --out PRESORT.PSL\n";
        return kExitUsage;
    }
    AddressTable table;
    if (!openAddresses(table, data, ctx.err) || !applyFilter(table, filter, ctx.err))
        return kExitFailed;
    InterruptGuard interrupt;
    BatchRunUi ui(ctx.err);
    labels::BulkMailPresort presort(table);
    QString error;
    const labels::BulkMailPresort::Result r = ui.runPresort(presort, out, &error);
    if (r != labels::BulkMailPresort::Result::Done) {
        if (!error.isEmpty())
            ctx.err << error << "\n";
        return kExitFailed;
    }
    int groups = 0;
    for (const std::string& line : presort.lines())
        groups += labels::isHeadingLine(line) ? 1 : 0;
    ctx.out << "Wrote " << out << ": " << presort.counted() << " records in " << presort.tallies().keyCount()
            << " zip keys, " << groups << " groups";
    if (presort.skipped() > 0)
        ctx.out << "; " << presort.skipped() << " records without a usable zip code left out";
    ctx.out << "\n";
    return kExitOk;
}

} // namespace postavo::batch
