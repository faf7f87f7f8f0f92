#include "envelopeform.h"

#include "devices.h"
#include "envelopejob.h"
#include "previewwindow.h"
#include "printers.h"
#include "progresswindow.h"
#include "settings.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

namespace postavo::envelopes {

EnvelopeFormResult runEnvelopeForm(EnvelopeRun& run, printing::TPrinters& printers, bool preview, QWidget* parent,
                                   printing::CanvasDevice* device, bool showPreview)
{
    printing::PrintRun job;
    job.preview = preview;
    job.texts.statusFormat = QStringLiteral("Printing Page %p\r%0\r%1");
    job.texts.printCanceled = QStringLiteral("\rEnvelope Print Canceled!");
    job.texts.previewCanceled = QStringLiteral("\rEnvelope Preview Canceled!");
    job.texts.previewStopped = QStringLiteral("\rPreview Stopped!");
    job.texts.printCompleted = QStringLiteral("\rEnvelope Print Completed!");
    // Cancel stops a print at once, without a question.
    job.askCancel = [](QWidget*) { return true; };
    EnvelopeFormResult result;
    printing::TPrintProgressForm* form = nullptr;
    job.body = [&](printing::TPrintCanvas& canvas, const bool& stop) {
        result.started = true;
        run.run(canvas, stop, [] { QCoreApplication::processEvents(); });
        // The window closes itself once it has shown its last words.
        QTimer::singleShot(0, form, [f = QPointer<printing::TPrintProgressForm>(form)] {
            if (f && !f->frame().running())
                f->done(f->frame().buttonPressed() ? QDialog::Rejected : QDialog::Accepted);
        });
    };
    printing::TPrintProgressForm window(std::move(job), &printers, parent);
    form = &window;
    if (device)
        window.setDevice(device);
    window.exec();
    result.aborted = window.aborted();
    result.stopped = window.frame().stopRequested();
    result.lastPage = window.lastPage();
    if (preview && !result.aborted && showPreview) {
        std::unique_ptr<printing::RecordingDevice> doc = window.takePreviewDocument();
        if (doc && doc->pageCount() > 0) {
            Settings settings;
            printing::TPreviewForm viewer(doc.get(), QStringLiteral("Preview Envelope"),
                                          printing::PreviewZoom::Start::WholePage, &settings, parent);
            viewer.exec();
        }
    }
    return result;
}

} // namespace postavo::envelopes
