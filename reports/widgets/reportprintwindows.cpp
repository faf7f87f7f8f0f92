#include "reportprintwindows.h"

#include "devices.h"
#include "messageboxes.h"
#include "printers.h"
#include "settings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>

namespace postavo::reports {

bool askStandardYesNo(const QString& text, QWidget* parent)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

bool runReportJob(printing::PrintRun run, printing::TPrinters* printers, QWidget* parent, const PreviewOptions& preview)
{
    const bool isPreview = run.preview;
    std::unique_ptr<printing::RecordingDevice> doc;
    {
        printing::TPrintProgressForm form(std::move(run), printers, parent);
        form.exec();
        if (form.aborted())
            return false;
        if (isPreview)
            doc = form.takePreviewDocument();
    }
    if (!isPreview) {
        if (printers && !printers->isPdfPrinter() && printers->qprinter().printerState() == QPrinter::Error) {
            showInformation(QStringLiteral("The printer \"%1\" did not take the report. Check that it is still "
                                           "installed and ready, then print again.")
                                .arg(printers->printerName()),
                            parent);
            return false;
        }
        return true;
    }
    if (doc && doc->pageCount() > 0) {
        Settings settings;
        printing::TPreviewForm viewer(doc.get(), preview.caption, preview.start, &settings, parent, preview.percent);
        viewer.exec();
    }
    return true;
}

std::function<void()> eventPump()
{
    // The first call lets events run at once (a click already waiting is seen at the first
    // record), later ones every 20 ms.
    auto clock = std::make_shared<QElapsedTimer>();
    return [clock] {
        if (clock->isValid() && clock->elapsed() < 20)
            return;
        QCoreApplication::processEvents();
        clock->start();
    };
}

bool checkPrinterStillThere(printing::TPrinters& printers, QWidget* parent)
{
    if (printers.isPdfPrinter())
        return true;
    if (QPrinterInfo::availablePrinterNames().contains(printers.printerName()))
        return true;
    showInformation(QStringLiteral("The printer \"%1\" is no longer installed. Choose another printer with "
                                   "Printer Setup.")
                        .arg(printers.printerName()),
                    parent);
    return false;
}

} // namespace postavo::reports
