#include "currentrecordwindow.h"

#include "dialogkit.h"
#include "printerdialogs.h"
#include "printers.h"
#include "reportjobs.h"
#include "reportprintwindows.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace postavo::reports {

TPrintCurrentRecord::TPrintCurrentRecord(AddressTable& table, QWidget* parent, printing::TPrinters* printers)
    : QDialog(parent), table_(table), printers_(printers)
{
    if (!printers_) {
        ownPrinters_ = std::make_unique<printing::TPrinters>();
        printers_ = ownPrinters_.get();
    }
    setWindowTitle(QStringLiteral("Print Current Record"));
    enableWhatsThis(this);
    auto* fields = new QGroupBox(QStringLiteral("Fields"), this);
    auto* grid = new QGridLayout(fields);
    const auto& order = singleFieldSwitchOrder();
    for (int i = 0; i < kSingleFieldCount; ++i) {
        const SingleField f = order[std::size_t(i)];
        auto* box = new QCheckBox(QString::fromLatin1(singleFieldDef(f).switchCaption), fields);
        box->setChecked(true);
        boxes_[std::size_t(f)] = box;
        grid->addWidget(box, i % 11, i / 11);
    }
    all_ = new QCheckBox(QStringLiteral("All"), fields);
    all_->setChecked(true);
    explain(all_, QStringLiteral("Ticks or unticks every field at once."));
    grid->addWidget(all_, 10, 1);
    connect(all_, &QCheckBox::clicked, this, [this](bool on) {
        for (QCheckBox* b : boxes_)
            b->setChecked(on);
    });

    auto* bar = new QVBoxLayout;
    print_ = new QPushButton(QStringLiteral("&Print"), this);
    preview_ = new QPushButton(QStringLiteral("Pre&view"), this);
    auto* setup = new QPushButton(QStringLiteral("Printer &Setup"), this);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    print_->setDefault(true);
    connect(print_, &QPushButton::clicked, this, [this] { doPrint(false); });
    connect(preview_, &QPushButton::clicked, this, [this] { doPrint(true); });
    connect(setup, &QPushButton::clicked, this, [this] { printing::printerSetupDialog(*printers_, this); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton* b : {print_, preview_, setup, cancel})
        bar->addWidget(b);
    bar->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(fields, 1);
    layout->addLayout(bar);
}

TPrintCurrentRecord::~TPrintCurrentRecord() = default;

SingleRecordChoice TPrintCurrentRecord::choice() const
{
    SingleRecordChoice c;
    for (int i = 0; i < kSingleFieldCount; ++i)
        c.on[std::size_t(i)] = boxes_[std::size_t(i)]->isChecked();
    return c;
}

void TPrintCurrentRecord::doPrint(bool preview)
{
    if (!preview && !checkPrinterStillThere(*printers_, this))
        return;
    SingleRecordJob job(table_, choice());
    printing::PrintRun run;
    run.preview = preview;
    run.texts = reportProgressTexts();
    run.copies = 1;
    run.askCancel = [](QWidget* parent) { return askStandardYesNo(QString::fromLatin1(kReportCancelQuestion), parent); };
    run.body = [&job](printing::TPrintCanvas& c, const bool& stop) { job.body(c, stop); };
    runReportJob(std::move(run), printers_, this,
                 {QString::fromLatin1(kReportPreviewCaption), printing::PreviewZoom::Start::PageWidth, 100});
}

} // namespace postavo::reports
