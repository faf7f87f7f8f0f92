#include "reportsetupwindow.h"

#include "addressfile.h"
#include "designtypes.h"
#include "dialogkit.h"
#include "messageboxes.h"
#include "printerdialogs.h"
#include "printers.h"
#include "reportdesignerwindow.h"
#include "reportjobs.h"
#include "reportprintwindows.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace postavo::reports {

TReportSetup::TReportSetup(AddressTable& table, bool filterSet, QWidget* parent, printing::TPrinters* printers,
                           const QString& sysdataDir)
    : QDialog(parent), table_(table), printers_(printers), sysdataDir_(sysdataDir),
      state_(ReportSetupState::opening(filterSet))
{
    if (!printers_) {
        ownPrinters_ = std::make_unique<printing::TPrinters>();
        printers_ = ownPrinters_.get();
    }
    askYesNo = [this](const QString& text, const QString& caption) { return postavo::askYesNo(text, caption, this); };
    inform = [this](const QString& text) { showInformation(text, this); };
    askCopies = [this] { return printing::printDialog(*printers_, this); };

    setWindowTitle(QStringLiteral("Print Report"));
    enableWhatsThis(this);
    tabs_ = new QTabWidget(this);
    auto* builtIn = new QWidget;
    auto* designer = new QWidget;
    buildBuiltInTab(builtIn);
    buildDesignerTab(designer);
    tabs_->addTab(builtIn, QStringLiteral("Built In Reports"));
    tabs_->addTab(designer, QStringLiteral("Report Designer"));
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        state_.tab = index == 1 ? ReportTab::Designer : ReportTab::BuiltIn;
        setReportButtons();
    });

    auto* top = new QHBoxLayout;
    top->addWidget(tabs_, 1);
    top->addWidget(buildWhatToPrint());

    auto* bar = new QHBoxLayout;
    auto addButton = [&](const QString& caption, void (TReportSetup::*slot)(), const QString& help) {
        auto* b = new QPushButton(caption, this);
        explain(b, help);
        connect(b, &QPushButton::clicked, this, slot);
        bar->addWidget(b);
        buttons_ << b;
        return b;
    };
    addButton(QStringLiteral("Print"), &TReportSetup::print, QStringLiteral("Prints the report on the printer."));
    addButton(QStringLiteral("Preview"), &TReportSetup::preview, QStringLiteral("Shows the report's pages on screen."));
    addButton(QStringLiteral("Printer Setup"), &TReportSetup::printerSetup,
              QStringLiteral("Chooses the printer, its paper and orientation."));
    bar->addStretch();
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    bar->addWidget(ok);
    buttons_ << ok;
    auto* help = makeHelpButton(this, kHelpTopic);
    bar->addWidget(help);
    buttons_ << help;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bar);
    setReportButtons();
}

TReportSetup::~TReportSetup() = default;

void TReportSetup::buildBuiltInTab(QWidget* tab)
{
    auto* l = new QVBoxLayout(tab);
    l->addWidget(new QLabel(QStringLiteral("Select Report:"), tab));
    reportList_ = new QListWidget(tab);
    for (const QString& name : builtInReportNames())
        reportList_->addItem(name);
    reportList_->setCurrentRow(0);
    explain(reportList_, QStringLiteral("The list report to print."));
    l->addWidget(reportList_);
    connect(reportList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        state_.chooseReport(reportList_->row(item) + 1);
        title_->setText(state_.title);
    });
    connect(reportList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            state_.report = row + 1;
    });
    l->addWidget(new QLabel(QStringLiteral("Report Title"), tab));
    title_ = new QLineEdit(state_.title, tab);
    explain(title_, QStringLiteral("The title printed at the top of every page."));
    l->addWidget(title_);
    memo_ = new QCheckBox(QStringLiteral("Print Memo"), tab);
    codes_ = new QCheckBox(QStringLiteral("Print Codes"), tab);
    explain(memo_, QStringLiteral("Prints each record's memo below it, on a grey band."));
    explain(codes_, QStringLiteral("Prints each record's codes below it."));
    l->addWidget(memo_);
    l->addWidget(codes_);
}

void TReportSetup::buildDesignerTab(QWidget* tab)
{
    auto* l = new QHBoxLayout(tab);
    designerList_ = new QTreeWidget(tab);
    designerList_->setColumnCount(1);
    designerList_->setHeaderLabels({QStringLiteral("Description")});
    designerList_->setRootIsDecorated(false);
    explain(designerList_, QStringLiteral("The reports you designed, by description."));
    connect(designerList_, &QTreeWidget::currentItemChanged, this, [this] { setReportButtons(); });
    l->addWidget(designerList_, 1);
    auto* side = new QVBoxLayout;
    auto add = [&](const QString& caption, void (TReportSetup::*slot)(), const QString& help) {
        auto* b = new QPushButton(caption, tab);
        explain(b, help);
        connect(b, &QPushButton::clicked, this, slot);
        side->addWidget(b);
        buttons_ << b;
    };
    add(QStringLiteral("New"), &TReportSetup::newReport, QStringLiteral("Designs a new report."));
    add(QStringLiteral("Modify"), &TReportSetup::modifyReport, QStringLiteral("Changes the selected report."));
    add(QStringLiteral("Delete"), &TReportSetup::deleteReport, QStringLiteral("Deletes the selected report."));
    add(QStringLiteral("Clone"), &TReportSetup::cloneReport, QStringLiteral("Copies the selected report."));
    side->addStretch();
    l->addLayout(side);
}

QGroupBox* TReportSetup::buildWhatToPrint()
{
    whatToPrint_ = new QGroupBox(QStringLiteral("What to Print"), this);
    auto* l = new QVBoxLayout(whatToPrint_);
    choice_ = new QButtonGroup(this);
    const std::pair<RecordChoice, const char*> choices[] = {{RecordChoice::All, "All records"},
                                                            {RecordChoice::Filter, "Records matching filter"},
                                                            {RecordChoice::Current, "Only current record"}};
    for (const auto& [which, caption] : choices) {
        auto* r = new QRadioButton(QString::fromLatin1(caption), whatToPrint_);
        choice_->addButton(r, int(which));
        l->addWidget(r);
    }
    choiceButton(RecordChoice::Filter)->setEnabled(state_.filterAvailable);
    choiceButton(state_.selection.which)->setChecked(true);
    startCurrent_ = new QCheckBox(QStringLiteral("Start from current record"), whatToPrint_);
    onePerPage_ = new QCheckBox(QStringLiteral("One Record Per Page"), whatToPrint_);
    explain(startCurrent_, QStringLiteral("Starts the report at the record shown in the main window."));
    explain(onePerPage_, QStringLiteral("Starts a new page for every record."));
    l->addWidget(startCurrent_);
    l->addWidget(onePerPage_);
    l->addStretch();
    return whatToPrint_;
}

QRadioButton* TReportSetup::choiceButton(RecordChoice c) const
{
    return qobject_cast<QRadioButton*>(choice_->button(int(c)));
}

QPushButton* TReportSetup::button(const QString& caption) const
{
    for (QPushButton* b : buttons_)
        if (b->text() == caption)
            return b;
    return nullptr;
}

bool TReportSetup::openCatalogue()
{
    QString message;
    if (!catalogue_.open(&message, sysdataDir_)) {
        inform(message);
        return false;
    }
    fillDesignerList();
    return true;
}

void TReportSetup::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!activated_) {
        activated_ = true;
        setReportButtons();
    }
}

void TReportSetup::done(int result)
{
    catalogue_.close();
    QDialog::done(result);
}

void TReportSetup::fillDesignerList(quint32 select)
{
    designerList_->clear();
    QTreeWidgetItem* first = nullptr;
    QTreeWidgetItem* chosen = nullptr;
    for (const ReportEntry& e : catalogue_.entries()) {
        auto* item = new QTreeWidgetItem(designerList_, {e.description});
        item->setData(0, Qt::UserRole, e.recno);
        if (!first)
            first = item;
        if (select != 0 && e.recno == select)
            chosen = item;
    }
    if (chosen || first)
        designerList_->setCurrentItem(chosen ? chosen : first);
    setReportButtons();
}

std::optional<ReportEntry> TReportSetup::currentEntry() const
{
    const QTreeWidgetItem* item = designerList_->currentItem();
    if (!item)
        return std::nullopt;
    return catalogue_.entry(item->data(0, Qt::UserRole).toUInt());
}

void TReportSetup::selectEntry(quint32 recno)
{
    for (int i = 0; i < designerList_->topLevelItemCount(); ++i)
        if (designerList_->topLevelItem(i)->data(0, Qt::UserRole).toUInt() == recno)
            designerList_->setCurrentItem(designerList_->topLevelItem(i));
}

void TReportSetup::setReportButtons()
{
    state_.catalogueHasCurrent = designerList_ && designerList_->currentItem() != nullptr;
    const ReportButtons b = state_.buttons();
    if (QPushButton* p = button(QStringLiteral("Print")))
        p->setEnabled(b.print);
    if (QPushButton* p = button(QStringLiteral("Preview")))
        p->setEnabled(b.preview);
    whatToPrint_->setEnabled(b.whatToPrint);
    onePerPage_->setVisible(b.oneRecordPerPageVisible);
    for (const char* caption : {"Modify", "Delete", "Clone"})
        if (QPushButton* p = button(QString::fromLatin1(caption)))
            p->setEnabled(b.modify);
    designerList_->setEnabled(b.list);
}

void TReportSetup::readControls()
{
    state_.report = std::max(1, reportList_->currentRow() + 1);
    state_.title = title_->text();
    state_.printMemo = memo_->isChecked();
    state_.printCodes = codes_->isChecked();
    state_.selection.which = RecordChoice(choice_->checkedId());
    state_.selection.startFromCurrent = startCurrent_->isChecked();
    state_.oneRecordPerPage = onePerPage_->isChecked();
}

void TReportSetup::print()
{
    readControls();
    const ReportButtons b = state_.buttons();
    if (!b.print)
        return;
    if (!checkPrinterStillThere(*printers_, this))
        return;
    const std::optional<int> copies = askCopies();
    if (!copies)
        return;
    run(false, *copies);
}

void TReportSetup::preview()
{
    readControls();
    if (!state_.buttons().preview)
        return;
    run(true, 1);
}

void TReportSetup::printerSetup() { printing::printerSetupDialog(*printers_, this); }

void TReportSetup::run(bool preview, int copies)
{
    const double ppi = design::screenPpi();
    printing::PrintRun job;
    job.preview = preview;
    job.texts = reportProgressTexts();
    job.copies = copies;
    job.askCancel = [](QWidget* parent) { return askStandardYesNo(QString::fromLatin1(kReportCancelQuestion), parent); };
    const PreviewOptions previewOptions{QString::fromLatin1(kReportPreviewCaption),
                                        printing::PreviewZoom::Start::PageWidth, 100};
    QString error;
    if (state_.tab == ReportTab::BuiltIn) {
        BuiltInReportOptions options;
        options.report = state_.report;
        options.title = state_.title;
        options.printMemo = state_.printMemo;
        options.printCodes = state_.printCodes;
        BuiltInReportJob report(table_, options, state_.selection);
        if (!report.prepare(inform, &error)) {
            inform(error);
            return;
        }
        auto pump = eventPump();
        job.body = [&report, pump](printing::TPrintCanvas& c, const bool& stop) { report.body(c, stop, pump); };
        runReportJob(std::move(job), printers_, this, previewOptions);
        return;
    }
    const std::optional<ReportEntry> entry = currentEntry();
    if (!entry)
        return;
    BandedReportJob report(table_, state_.selection, BandedPrintOptions{state_.oneRecordPerPage}, ppi);
    report.load(catalogue_.layoutPath(*entry), inform);
    const ReportPaper paper = report.paper();
    printers_->setPaperCode(paper.size == PaperSize::A4 ? 9 : 1);
    printers_->setOrientation(paper.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    const QString problem = report.problem(printers_->pageWidth(), printers_->pageHeight());
    if (!problem.isEmpty()) {
        inform(problem);
        return;
    }
    if (!report.prepare(inform, &error)) {
        inform(error);
        return;
    }
    auto pump = eventPump();
    job.body = [&report, pump](printing::TPrintCanvas& c, const bool& stop) { report.body(c, stop, pump); };
    runReportJob(std::move(job), printers_, this, previewOptions);
}

bool TReportSetup::runDesigner(const ReportEntry* entry)
{
    if (designer_) {
        if (!designer_(*this, entry))
            return false;
        // The list again, on the report just saved (a new one has the highest record number).
        quint32 select = entry ? entry->recno : 0;
        for (const ReportEntry& e : catalogue_.entries())
            if (!entry)
                select = std::max(select, e.recno);
        fillDesignerList(select);
        return true;
    }
    TReportDesigner designer(&table_, this);
    designer.load(catalogue_, entry);
    if (designer.exec() != QDialog::Accepted)
        return false;
    ReportEntry e = entry ? *entry : ReportEntry{};
    e.description = designer.description();
    e.layout = designer.layoutText();
    QString error;
    if (!catalogue_.saveReport(&e, entry == nullptr, designer.header(), designer.detail(), designer.footer(),
                               designer.vars(), design::screenPpi(), &error)) {
        inform(error);
        return false;
    }
    fillDesignerList(e.recno);
    return true;
}

void TReportSetup::newReport()
{
    runDesigner(nullptr);
    setReportButtons();
}

void TReportSetup::modifyReport()
{
    const std::optional<ReportEntry> e = currentEntry();
    if (!e)
        return;
    runDesigner(&*e);
    setReportButtons();
}

void TReportSetup::deleteReport()
{
    const std::optional<ReportEntry> e = currentEntry();
    if (!e || !askYesNo(ReportCatalogue::deleteQuestion(*e), QStringLiteral("DELETE")))
        return;
    QString error;
    if (!catalogue_.remove(*e, &error))
        inform(error);
    fillDesignerList();
}

void TReportSetup::cloneReport()
{
    const std::optional<ReportEntry> e = currentEntry();
    if (!e || !askYesNo(ReportCatalogue::cloneQuestion(*e), QStringLiteral("CLONE")))
        return;
    QString error;
    ReportEntry copy;
    if (!catalogue_.clone(*e, &copy, &error)) {
        inform(error);
        fillDesignerList(e->recno);
        return;
    }
    fillDesignerList(copy.recno);
}

} // namespace postavo::reports
