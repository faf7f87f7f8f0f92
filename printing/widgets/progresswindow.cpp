#include "progresswindow.h"
#include "devices.h"
#include "messageboxes.h"
#include "previewwindow.h"
#include "printerdialogs.h"
#include "printers.h"

#include "settings.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace postavo::printing {

TPrintProgressForm::TPrintProgressForm(PrintRun run, TPrinters* printers, QWidget* parent)
    : QDialog(parent),
      run_(std::move(run)),
      printers_(printers),
      frame_(run_.preview, run_.texts),
      canvas_(run_.preview ? CanvasKind::Preview : CanvasKind::Printer)
{
    // A job on "PDF file" without a file asks for one with the save-file dialog.
    usePdfFileDialog();
    setWindowTitle(frame_.caption());
    setModal(true);
    status_ = new QLabel(this);
    status_->setMinimumSize(280, 60);
    status_->setAlignment(Qt::AlignCenter);
    button_ = new QPushButton(run_.preview ? QStringLiteral("Stop") : QStringLiteral("Cancel"), this);
    button_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    connect(button_, &QPushButton::clicked, this, &TPrintProgressForm::buttonClicked);
}

TPrintProgressForm::~TPrintProgressForm() = default;

std::unique_ptr<RecordingDevice> TPrintProgressForm::takePreviewDocument()
{
    return std::move(previewDoc_);
}

void TPrintProgressForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        // Run once the window is on screen, inside its own event loop.
        QTimer::singleShot(0, this, &TPrintProgressForm::startRun);
    }
}

void TPrintProgressForm::startRun()
{
    CanvasDevice* device = externalDevice_;
    QString error;
    if (!device) {
        if (run_.preview) {
            previewDoc_ = printers_ ? printers_->createPreviewDocument() : std::make_unique<RecordingDevice>();
            device = previewDoc_.get();
        } else if (printers_) {
            printerDevice_ = printers_->createDevice(&error);
            device = printerDevice_.get();
        }
    }
    canvas_.setDevice(device);
    canvas_.setStatusSink([label = QPointer<QLabel>(status_)](const QString& text) {
        if (label)
            label->setText(statusToDisplay(text));
    });
    frame_.start();
    button_->setText(frame_.buttonCaption());
    if (!device && !error.isEmpty()) {
        // The printer could not take the job (no file chosen, a queue refusing jobs): no pages.
        showInformation(error, this);
        finishRun(false);
        return;
    }
    const bool ok = canvas_.execute(
        [this](TPrintCanvas& c) {
            c.title = QStringLiteral("Postavo");
            c.copies = run_.copies;
            c.statusFormat = run_.texts.statusFormat;
            c.statusText = {QString(), QString()};
            if (run_.beforePrint)
                run_.beforePrint(c);
        },
        [this](TPrintCanvas& c) {
            if (run_.body)
                run_.body(c, frame_.stopFlag());
        });
    if (!ok && !canvas_.lastError().isEmpty())
        showInformation(canvas_.lastError(), this);
    finishRun(ok);
}

void TPrintProgressForm::finishRun(bool ok)
{
    frame_.finish(!ok);
    button_->setText(frame_.buttonCaption());
    canvas_.statusFormat = frame_.finalFormat();
    canvas_.showStatus();
    if (frame_.closesByItself())
        done(frame_.buttonPressed() ? QDialog::Rejected : QDialog::Accepted);
}

void TPrintProgressForm::buttonClicked()
{
    switch (frame_.press()) {
    case ProgressFrame::Action::Stop:
        break; // the run's loop sees the flag after the current record
    case ProgressFrame::Action::AskCancel: {
        const bool yes = run_.askCancel ? run_.askCancel(this)
                                         : askYesNo(run_.texts.cancelQuestion, run_.texts.cancelCaption, this);
        if (yes)
            canvas_.abort();
        break;
    }
    case ProgressFrame::Action::Close:
        done(frame_.buttonPressed() ? QDialog::Rejected : QDialog::Accepted);
        break;
    }
}

void TPrintProgressForm::reject()
{
    buttonClicked();
}

void TPrintProgressForm::closeEvent(QCloseEvent* event)
{
    if (frame_.running()) {
        event->ignore();
        buttonClicked();
        return;
    }
    QDialog::closeEvent(event);
}

bool runPrintJob(PrintRun run, TPrinters* printers, QWidget* parent, const QString& previewCaption)
{
    const bool preview = run.preview;
    TPrintProgressForm form(std::move(run), printers, parent);
    form.exec();
    if (form.aborted())
        return false;
    if (preview) {
        std::unique_ptr<RecordingDevice> doc = form.takePreviewDocument();
        if (doc && doc->pageCount() > 0) {
            Settings settings; // the program's own settings file keeps the window's placement
            TPreviewForm viewer(doc.get(), previewCaption, PreviewZoom::Start::WholePage, &settings, parent);
            viewer.exec();
        }
    }
    return true;
}

} // namespace postavo::printing
