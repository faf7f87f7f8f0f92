#include "zipcountwindow.h"

#include "dialogkit.h"
#include "messageboxes.h"
#include "printerdialogs.h"
#include "printers.h"
#include "reportprintwindows.h"
#include "zipreport.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWhatsThis>

namespace postavo::reports {

TCountZipCodes::TCountZipCodes(AddressTable& table, QWidget* parent, printing::TPrinters* printers)
    : QDialog(parent), table_(table), printers_(printers)
{
    if (!printers_) {
        ownPrinters_ = std::make_unique<printing::TPrinters>();
        printers_ = ownPrinters_.get();
    }
    askCancel = [this] { return askYesNo(QStringLiteral("Cancel Count?"), QStringLiteral("CANCEL"), this); };
    setWindowTitle(QStringLiteral("Count Zip Codes"));
    enableWhatsThis(this);
    text_ = new QLabel(QStringLiteral("Counting the number of occurrences of each zip code:"), this);
    status_ = new QLabel(this);
    status_->setMinimumWidth(320);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (counting_ && askCancel())
            cancelled_ = true;
    });

    bar_ = new QWidget(this);
    auto* bl = new QHBoxLayout(bar_);
    bl->setContentsMargins(0, 0, 0, 0);
    auto add = [&](const QString& caption, auto slot) {
        auto* b = new QPushButton(caption, bar_);
        connect(b, &QPushButton::clicked, this, slot);
        bl->addWidget(b);
        return b;
    };
    add(QStringLiteral("Print"), [this] { print(); });
    add(QStringLiteral("Preview"), [this] { preview(); });
    add(QStringLiteral("Printer Setup"), [this] { printerSetup(); });
    QPushButton* ok = add(QStringLiteral("Ok"), [this] { accept(); });
    ok->setDefault(true);
    bl->addWidget(makeHelpButton(bar_, kHelpTopic));
    auto* mouseHelp = new QToolButton(bar_);
    mouseHelp->setText(QStringLiteral("?"));
    mouseHelp->setToolTip(QStringLiteral("Click here, then on a control, to learn what it does"));
    connect(mouseHelp, &QToolButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });
    bl->addWidget(mouseHelp);
    bar_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(status_);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(cancel_);
    row->addStretch();
    layout->addLayout(row);
    layout->addWidget(bar_);
}

TCountZipCodes::~TCountZipCodes() = default;

void TCountZipCodes::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (activated_)
        return;
    activated_ = true;
    // Counting starts once the window is on screen.
    QTimer::singleShot(0, this, [this] {
        if (!count() && cancelled_)
            QDialog::reject();
    });
}

bool TCountZipCodes::count()
{
    status_->show();
    cancel_->show();
    bar_->hide();
    counting_ = true;
    cancelled_ = false;
    count_.clear();
    lines_.clear();
    ZipCountProgress progress;
    progress.status = [this](const QString& text) { status_->setText(text); };
    auto pump = eventPump();
    progress.keepGoing = [this, pump] {
        pump();
        return !cancelled_;
    };
    QString error;
    const CountOutcome outcome = countZipCodes(table_, &count_, progress, &error);
    counting_ = false;
    if (outcome == CountOutcome::Completed)
        lines_ = count_.reportLines();
    status_->hide();
    cancel_->hide();
    bar_->show();
    if (outcome == CountOutcome::Failed) {
        showInformation(error, this);
        return false;
    }
    if (outcome == CountOutcome::Cancelled)
        return false;
    counted_ = true;
    QApplication::beep();
    text_->setText(QStringLiteral("Finished counting. Press Print or Preview for the report"));
    return true;
}

void TCountZipCodes::reject()
{
    // Escape while counting asks like "Cancel".
    if (counting_) {
        if (askCancel())
            cancelled_ = true;
        return;
    }
    QDialog::reject();
}

void TCountZipCodes::run(bool preview)
{
    if (!counted_ && !count())
        return;
    if (!preview && !checkPrinterStillThere(*printers_, this))
        return;
    printing::PrintRun job;
    job.preview = preview;
    job.texts.cancelCaption = QStringLiteral("CANCEL");
    job.copies = 1;
    const QStringList lines = lines_;
    auto pump = eventPump();
    job.body = [lines, pump](printing::TPrintCanvas& c, const bool& stop) { printZipReport(c, lines, stop, pump); };
    runReportJob(std::move(job), printers_, this,
                 {QStringLiteral("Preview Zipcode Count"), printing::PreviewZoom::Start::Percent, 100});
}

void TCountZipCodes::print() { run(false); }
void TCountZipCodes::preview() { run(true); }

void TCountZipCodes::printerSetup()
{
    if (!printers_->hasSystemPrinters() && printers_->printers().isEmpty()) {
        showInformation(QStringLiteral("There are no printers installed"), this);
        return;
    }
    printing::printerSetupDialog(*printers_, this);
}

} // namespace postavo::reports
