#include "printerdialogs.h"

#include "printers.h"

#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace postavo::printing {

bool printerSetupDialog(TPrinters& printers, QWidget* parent)
{
    printers.applySettings();
    QPageSetupDialog dialog(&printers.qprinter(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    printers.adoptPrinterPage();
    return true;
}

std::optional<int> printDialog(TPrinters& printers, QWidget* parent)
{
    printers.applySettings();
    QPrinter& printer = printers.qprinter();
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, printers.isPdfPrinter());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    printers.adoptPrinterPage();
    if (printers.isPdfPrinter() && !printer.outputFileName().isEmpty())
        printers.setPdfFileName(printer.outputFileName());
    return std::max(1, printer.copyCount());
}

QString askPdfFileName()
{
    return QFileDialog::getSaveFileName(nullptr, QStringLiteral("Print to PDF file"), QString(),
                                        QStringLiteral("PDF files (*.pdf)"));
}

void usePdfFileDialog() { TPrinters::setDefaultPdfFileChooser(&askPdfFileName); }

} // namespace postavo::printing
