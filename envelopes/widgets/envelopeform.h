#pragma once
// TEnvelopeForm: the progress window of an envelope job. It runs the envelope loop on the printer
// or a preview document, shows the page being produced, cancels a print at once or stops a
// preview after the current envelope, shows its final words and closes itself; a preview that
// was not cancelled then opens in the preview window "Preview Envelope".

#include "printcanvas.h"

namespace postavo::printing {
class CanvasDevice;
class TPrinters;
} // namespace postavo::printing

class QWidget;

namespace postavo::envelopes {

class EnvelopeRun;

struct EnvelopeFormResult {
    bool started = false;   // the job began (a printer or file was there)
    bool aborted = false;   // cancelled, or could not start
    bool stopped = false;   // a preview stopped early
    int lastPage = 0;
};


// `device` overrides the printer or preview (tests); `showPreview` false keeps a preview's pages
// from the preview window (tests).
EnvelopeFormResult runEnvelopeForm(EnvelopeRun& run, printing::TPrinters& printers, bool preview, QWidget* parent,
                                   printing::CanvasDevice* device = nullptr, bool showPreview = true);

} // namespace postavo::envelopes
