// postavo-batch test-page: the calibration page on a named printer or in a PDF file.
#include "commands.h"

#include "papercodes.h"
#include "printers.h"
#include "testpage.h"

namespace postavo::batch {

int runTestPage(CommandContext& ctx)
{
    using namespace postavo::printing;
    Args args(ctx.args);
    bool missing = false;
    const QString printer = args.take(QStringLiteral("--printer"), &missing);
    const QString pdf = args.take(QStringLiteral("--pdf"), &missing);
    const QString paper = args.take(QStringLiteral("--paper"), &missing);
    const bool landscape = args.takeFlag(QStringLiteral("--landscape"));
    if (missing || !args.rest().isEmpty() || printer.isEmpty() == pdf.isEmpty()) {
        ctx.err << "usage: postavo-batch test-page --printer NAME | --pdf FILE [--paper CODE] [--landscape]\n";
        return kExitUsage;
    }

    TPrinters printers;
    if (!pdf.isEmpty()) {
        printers.selectPrinter(TPrinters::pdfPrinterName());
        printers.setPdfFileName(pdf);
    } else if (!printers.selectPrinter(printer)) {
        ctx.err << "There is no printer named \"" << printer << "\". Printers: "
                << printers.printers().join(QStringLiteral(", ")) << "\n";
        return kExitFailed;
    } else if (printers.isPdfPrinter()) {
        ctx.err << "The printer \"" << printers.pdfPrinterName() << "\" needs --pdf FILE.\n";
        return kExitUsage;
    }
    // Nothing is left to the printer's own default paper: Letter unless asked otherwise.
    bool codeOk = true;
    const int code = paper.isEmpty() ? 1 : paper.toInt(&codeOk);
    if (!codeOk || !printers.setPaperCode(code)) {
        ctx.err << "Unknown paper code \"" << paper << "\".\n";
        return kExitUsage;
    }
    printers.setOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);

    QString error;
    if (!printTestPage(printers, &error)) {
        ctx.err << error << "\n";
        return kExitFailed;
    }
    ctx.out << "Test page sent to " << (pdf.isEmpty() ? printers.printerName() : pdf) << "\n";
    return kExitOk;
}

} // namespace postavo::batch
