#include "letterprintwindow.h"

#include "messageboxes.h"
#include "printerdialogs.h"
#include "printers.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace postavo::letters {

TLetterPrint::TLetterPrint(LetterRun& run, printing::TPrinters& printers, const richtext::PageLayout& page, QWidget* parent)
    : QDialog(parent), run_(run), printers_(printers), page_(page)
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Print Status Screen"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Status"));
    status_->setAlignment(Qt::AlignCenter);
    QFont bold = status_->font();
    bold.setBold(true);
    status_->setFont(bold);
    status_->setMinimumWidth(260);
    button_ = new QPushButton(QStringLiteral("Cancel"), this);
    button_->setObjectName(QStringLiteral("Cancel"));
    connect(button_, &QPushButton::clicked, this, [this] {
        if (finished_)
            accept();
        else
            stopRequested_ = true;
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(button_, 0, Qt::AlignCenter);
}

QString TLetterPrint::statusText() const { return status_->text(); }

void TLetterPrint::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (started_)
        return;
    started_ = true;
    QTimer::singleShot(0, this, &TLetterPrint::runJob);
}

void TLetterPrint::reject()
{
    // Escape and the title bar's close: a request to stop while running, closing afterwards.
    if (finished_)
        QDialog::reject();
    else
        stopRequested_ = true;
}

bool TLetterPrint::askCancel()
{
    const QString text = QString::fromLatin1(kCancelPrintJobQuestion);
    const bool yes = hooks.ask ? hooks.ask(text, QStringLiteral("Cancel")) : askYesNo(text, QStringLiteral("Cancel"), this);
    if (!yes)
        stopRequested_ = false;
    return yes;
}

void TLetterPrint::runJob()
{
    started_ = true;
    LetterRun::Hooks hooks2;
    hooks2.status = [this](int pages) {
        status_->setText(printingPageText(pages));
        if (hooks.afterRecord)
            hooks.afterRecord(pages);
        QApplication::processEvents();
    };
    hooks2.cancel = [this] { return stopRequested_ && askCancel(); };
    QString error;
    bool ok = false;
    if (printers_.isPdfPrinter()) {
        QString path = printers_.pdfFileName();
        if (path.isEmpty())
            path = printing::askPdfFileName();
        if (!path.isEmpty())
            ok = printLettersToPdf(run_, page_, path, &error, hooks2);
        else
            error = QStringLiteral("No PDF file was chosen.");
    } else {
        QPrinter& printer = printers_.qprinter();
        printer.setFullPage(true);
        printer.setDocName(QStringLiteral("Postavo letters"));
        QPainter painter;
        if (!painter.begin(&printer)) {
            error = QStringLiteral("The printer \"%1\" cannot start a print job.").arg(printers_.printerName());
        } else {
            ok = run_.run({&painter, &printer}, hooks2);
            if (run_.cancelled())
                printer.abort();  // the job is abandoned
            painter.end();
            if (!ok && !run_.cancelled())
                error = run_.error();
        }
    }
    cancelled_ = run_.cancelled();
    finished_ = true;
    button_->setText(QStringLiteral("OK"));
    button_->setObjectName(QStringLiteral("OK"));
    if (cancelled_ || ok) {
        status_->setText(QString::fromLatin1(cancelled_ ? kLetterPrintCanceled : kLetterPrintCompleted));
    } else {
        // A failed job ends the run where it failed; what went wrong is told.
        status_->setText(QString::fromLatin1(kLetterPrintCanceled));
        if (hooks.inform)
            hooks.inform(error);
        else
            showInformation(error, this);
    }
}

} // namespace postavo::letters
