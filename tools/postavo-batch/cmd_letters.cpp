// postavo-batch letters and merge: a form letter of a program folder's letter catalogue merged
// with the records of an address file, printed to a PDF file or a printer, or the merged letter
// of one record written as RTF.
#include "commands.h"

#include "addressfile.h"
#include "filewriting.h"
#include "lettercatalogue.h"
#include "lettermerge.h"
#include "letterrun.h"
#include "printers.h"
#include "programfolder.h"
#include "richdocument.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

namespace postavo::batch {

namespace {

constexpr const char* kLettersUsage =
    "usage: postavo-batch letters --folder PROGRAMFOLDER --letter DESCRIPTION --data ADDRESSFILE\n"
    "       [--filter EXPR | --record N] [--copies N] (--pdf OUT | --printer NAME)\n";
constexpr const char* kMergeUsage =
    "usage: postavo-batch merge --folder PROGRAMFOLDER --letter DESCRIPTION --data ADDRESSFILE --record N --rtf OUT\n";

bool parseRecord(const QString& text, quint32* recno, CommandContext& ctx)
{
    bool ok = false;
    *recno = text.toUInt(&ok);
    if (!ok || *recno == 0) {
        ctx.err << "The record number \"" << text << "\" is not a number from 1 up.\n";
        return false;
    }
    return true;
}

// The letter of the folder's catalogue loaded into `letter`; an exit code other than kExitOk on failure.
int loadLetter(CommandContext& ctx, const QString& folder, const QString& description, richtext::RichDocument& letter)
{
    using namespace postavo::letters;
    if (!QFileInfo(folder).isDir()) {
        ctx.err << "There is no program folder " << QDir::toNativeSeparators(folder) << ".\n";
        return kExitFailed;
    }
    ProgramFolder::setPath(folder);
    LetterCatalogue catalogue;
    QString error;
    // A missing catalogue is not made here.
    if (!catalogue.open(&error, false)) {
        ctx.err << error << "\n";
        return kExitFailed;
    }
    const std::optional<LetterEntry> entry = catalogue.findByDescription(description);
    if (!entry) {
        QStringList names;
        for (const LetterEntry& l : catalogue.letters())
            names << QLatin1Char('"') + l.description + QLatin1Char('"');
        ctx.err << "There is no letter \"" << description << "\". Letters: "
                << (names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "))) << "\n";
        return kExitFailed;
    }
    richtext::RtfReadReport report;
    if (!catalogue.loadRichText(entry->recno, letter, &report)) {
        ctx.err << catalogue.lastError() << "\n";
        return kExitFailed;
    }
    if (!report.clean())
        ctx.err << "The letter \"" << entry->description << "\": " << report.text() << "\n";
    return kExitOk;
}

bool openData(CommandContext& ctx, AddressTable& table, const QString& data, quint32 recno)
{
    QString error;
    if (!table.openShared(data, true, &error)) {
        ctx.err << error << "\n";
        return false;
    }
    if (recno && !(table.goTo(recno) && table.recNo() == recno && table.hasRecord())) {
        ctx.err << "There is no record " << recno << " in " << QDir::toNativeSeparators(data) << ".\n";
        return false;
    }
    return true;
}

} // namespace

int runLetters(CommandContext& ctx)
{
    using namespace postavo::letters;
    Args args(ctx.args);
    bool missing = false;
    const QString folder = args.take(QStringLiteral("--folder"), &missing);
    const QString description = args.take(QStringLiteral("--letter"), &missing);
    const QString data = args.take(QStringLiteral("--data"), &missing);
    const QString filter = args.take(QStringLiteral("--filter"), &missing);
    const QString record = args.take(QStringLiteral("--record"), &missing);
    const QString copiesText = args.take(QStringLiteral("--copies"), &missing);
    const QString pdf = args.take(QStringLiteral("--pdf"), &missing);
    const QString printer = args.take(QStringLiteral("--printer"), &missing);
    if (missing || !args.rest().isEmpty() || folder.isEmpty() || description.isEmpty() || data.isEmpty()
        || pdf.isEmpty() == printer.isEmpty() || (!filter.isEmpty() && !record.isEmpty())) {
        ctx.err << kLettersUsage;
        return kExitUsage;
    }
    quint32 recno = 0;
    if (!record.isEmpty() && !parseRecord(record, &recno, ctx))
        return kExitUsage;
    int copies = 1;
    if (!copiesText.isEmpty()) {
        bool ok = false;
        copies = copiesText.toInt(&ok);
        if (!ok || copies < 1 || copies > kMaxCopies) {
            ctx.err << "The number of copies \"" << copiesText << "\" is not from 1 to " << kMaxCopies << ".\n";
            return kExitUsage;
        }
    }
    richtext::RichDocument letter;
    if (const int rc = loadLetter(ctx, folder, description, letter); rc != kExitOk)
        return rc;

    printing::TPrinters printers;
    if (!printer.isEmpty()) {
        if (!printers.selectPrinter(printer) || printers.isPdfPrinter()) {
            ctx.err << "There is no printer named \"" << printer << "\". Printers: "
                    << printers.printers().join(QStringLiteral(", ")) << "\n";
            return kExitFailed;
        }
    }

    AddressTable table;
    if (!openData(ctx, table, data, recno))
        return kExitFailed;
    LetterJob job;
    job.records = recno ? LetterRecords::CurrentOnly : LetterRecords::All;
    job.extraFilter = filter;
    job.copies = copies;
    LetterRun run(letter, table, job);
    QString error;
    if (!run.position(recno, nullptr, &error)) {
        ctx.err << error << "\n";
        return kExitFailed;
    }
    bool ok = false;
    if (!pdf.isEmpty()) {
        ok = printLettersToPdf(run, letter.pageLayout(), pdf, &error);
    } else {
        QPrinter& qp = printers.qprinter();
        qp.setFullPage(true);
        qp.setDocName(QStringLiteral("Postavo letters"));
        QPainter painter;
        if (!painter.begin(&qp)) {
            error = QStringLiteral("The printer \"%1\" cannot start a print job.").arg(printer);
        } else {
            ok = run.run({&painter, &qp});
            painter.end();
            if (!ok)
                error = run.error();
        }
    }
    table.close();
    if (!ok) {
        ctx.err << error << "\nNothing was printed.\n";
        return kExitFailed;
    }
    ctx.out << (run.letters() == 1 ? QStringLiteral("1 letter") : QStringLiteral("%1 letters").arg(run.letters()))
            << ", " << (run.pages() == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(run.pages()))
            << (pdf.isEmpty() ? QStringLiteral(" sent to ") + printers.printerName()
                              : QStringLiteral(" written to ") + QDir::toNativeSeparators(pdf))
            << "\n";
    return kExitOk;
}

int runMerge(CommandContext& ctx)
{
    using namespace postavo::letters;
    Args args(ctx.args);
    bool missing = false;
    const QString folder = args.take(QStringLiteral("--folder"), &missing);
    const QString description = args.take(QStringLiteral("--letter"), &missing);
    const QString data = args.take(QStringLiteral("--data"), &missing);
    const QString record = args.take(QStringLiteral("--record"), &missing);
    const QString out = args.take(QStringLiteral("--rtf"), &missing);
    if (missing || !args.rest().isEmpty() || folder.isEmpty() || description.isEmpty() || data.isEmpty()
        || record.isEmpty() || out.isEmpty()) {
        ctx.err << kMergeUsage;
        return kExitUsage;
    }
    quint32 recno = 0;
    if (!parseRecord(record, &recno, ctx))
        return kExitUsage;
    richtext::RichDocument letter;
    if (const int rc = loadLetter(ctx, folder, description, letter); rc != kExitOk)
        return rc;
    AddressTable table;
    if (!openData(ctx, table, data, recno))
        return kExitFailed;
    replaceTokens(letter, table);
    table.close();
    const QByteArray rtf = letter.saveRtf();
    QString reason;
    if (!replaceFileWith(out, rtf, &reason)) {
        ctx.err << "The file \"" << out << "\" cannot be written: " << reason << "\n";
        return kExitFailed;
    }
    ctx.out << "The letter merged with record " << recno << " written to " << QDir::toNativeSeparators(out) << "\n";
    return kExitOk;
}

} // namespace postavo::batch
