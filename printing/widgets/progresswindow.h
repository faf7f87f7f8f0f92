#pragma once
// The progress window every print run goes through: it runs the job on the printer or on a
// preview document, shows the page being produced and lets the user cancel a print or stop a
// preview. Each print run plugs in its texts, its question and its body.

#include "printcanvas.h"
#include "progressframe.h"

#include <QDialog>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;

namespace postavo::printing {

class RecordingDevice;
class TPrinters;

struct PrintRun {
    bool preview = false;
    ProgressTexts texts;
    // Extra setup before the job starts (the frame has already set the title "Postavo", the
    // status format and two empty status lines).
    std::function<void(TPrintCanvas&)> beforePrint;
    // Draws every page; `stop` turns true when "Stop" was pressed, canvas.aborted() when the
    // print was cancelled. The loop should test both after each record.
    std::function<void(TPrintCanvas&, const bool& stop)> body;
    // The cancel question; by default texts.cancelQuestion with Yes and No.
    std::function<bool(QWidget* parent)> askCancel;
    int copies = 1;
};

class TPrintProgressForm : public QDialog {
    Q_OBJECT
public:
    // `printers` gives the printer (print) or the paper of the preview; it may be null for a
    // preview on Letter paper. `device` overrides the target (tests).
    TPrintProgressForm(PrintRun run, TPrinters* printers, QWidget* parent = nullptr);
    ~TPrintProgressForm() override;

    void setDevice(CanvasDevice* device) { externalDevice_ = device; }

    const ProgressFrame& frame() const { return frame_; }
    TPrintCanvas& canvas() { return canvas_; }
    QPushButton* button() const { return button_; }
    QLabel* statusLabel() const { return status_; }
    int lastPage() const { return canvas_.pageNumber(); }
    bool aborted() const { return frame_.aborted(); }
    // The pages of a preview run; the caller takes them for the preview window.
    std::unique_ptr<RecordingDevice> takePreviewDocument();

public slots:
    void reject() override; // Escape acts on the button

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buttonClicked();
    void startRun();
    void finishRun(bool ok);

    PrintRun run_;
    TPrinters* printers_;
    ProgressFrame frame_;
    TPrintCanvas canvas_;
    CanvasDevice* externalDevice_ = nullptr;
    std::unique_ptr<CanvasDevice> printerDevice_;
    std::unique_ptr<RecordingDevice> previewDoc_;
    QLabel* status_;
    QPushButton* button_;
    bool started_ = false;
};

// Runs a print or preview job with its progress window and, after a preview that was not
// aborted, shows the pages in the preview window with `previewCaption`. False when the job was
// cancelled or could not start.
bool runPrintJob(PrintRun run, TPrinters* printers, QWidget* parent, const QString& previewCaption);

} // namespace postavo::printing
