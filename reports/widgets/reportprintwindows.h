#pragma once
// What the report windows share around a print run: the progress window with the run's texts,
// the preview window afterwards at the run's zoom, the cancel question, the check that the
// chosen printer is still there, and the event pump of the record loops.

#include "previewwindow.h"
#include "progresswindow.h"

#include <QString>
#include <functional>

class QWidget;

namespace postavo::printing {
class TPrinters;
}

namespace postavo::reports {

// The platform's standard Yes/No box: question icon, caption "Confirm", Yes and No.
bool askStandardYesNo(const QString& text, QWidget* parent);

struct PreviewOptions {
    QString caption;
    printing::PreviewZoom::Start start = printing::PreviewZoom::Start::PageWidth;
    double percent = 100;
};

// Runs the job in its progress window; after a preview that was not aborted the preview window
// shows the pages. After a print, a printer that did not take the job is reported. False when
// the job was cancelled or could not run.
bool runReportJob(printing::PrintRun run, printing::TPrinters* printers, QWidget* parent,
                  const PreviewOptions& preview);

// Lets pending window events run, at most every 20 ms, so that a loop over many records stays
// responsive without spending its time in the event loop.
std::function<void()> eventPump();

// False (after telling the user) when the selected printer has been removed since it was chosen.
bool checkPrinterStillThere(printing::TPrinters& printers, QWidget* parent);

} // namespace postavo::reports
