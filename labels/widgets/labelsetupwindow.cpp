#include "labelsetupwindow.h"

#include "addressfile.h"
#include "dialogkit.h"
#include "devices.h"
#include "labeldesignwindow.h"
#include "labelhelp.h"
#include "labelprintdialogs.h"
#include "labelsheetwindows.h"
#include "messageboxes.h"
#include "previewwindow.h"
#include "progresswindow.h"
#include "settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace postavo::labels {

namespace {

const char* const kDetailCaptions[] = {"Label Height", "Label Width", "Sheet Name", "# Across",
                                       "# Down",       "Paper Size",  "Paper Width", "Paper Height"};

QString inches(double v) { return QString::number(v, 'f', 3); }

} // namespace

TLabelSetupScreen::TLabelSetupScreen(AddressTable& table, LabelLayoutCatalogue& catalogue, bool filterInForce,
                                     QWidget* parent, LabelRunUi* ui, LabelDesignerUi* designerUi,
                                     std::unique_ptr<printing::TPrinters> printers, QString programFolder)
    : QDialog(parent), table_(table), catalogue_(catalogue), ui_(ui), designerUi_(designerUi),
      printers_(printers ? std::move(printers) : std::make_unique<printing::TPrinters>()),
      setup_(table, catalogue, *this, std::move(programFolder))
{
    registerLabelHelpTopics();
    setObjectName(QStringLiteral("TLabelSetupScreen"));
    setWindowTitle(QStringLiteral("Print Labels"));
    enableWhatsThis(this);
    runDialog = [](QDialog& d) { return d.exec(); };

    // The catalogue and the current layout's sheet.
    grid_ = new QTableWidget(0, 1, this);
    grid_->setObjectName(QStringLiteral("SelectLabel"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("Description")});
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->hide();
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setMinimumSize(300, 200);
    explain(grid_, QStringLiteral("The label layouts. The one selected is printed, changed, copied or deleted."));
    connect(grid_, &QTableWidget::currentCellChanged, this, [this] { showCurrent(); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this] { modifyLayout(); });
    auto* detailForm = new QFormLayout;
    for (const char* caption : kDetailCaptions) {
        auto* value = new QLabel(this);
        value->setObjectName(QString::fromLatin1(caption));
        detailForm->addRow(QString::fromLatin1(caption), value);
        details_.emplace_back(QString::fromLatin1(caption), value);
    }
    auto* selectBox = new QGroupBox(QStringLiteral("Select Label"), this);
    auto* selectLayout = new QVBoxLayout(selectBox);
    selectLayout->addWidget(grid_, 1);
    selectLayout->addLayout(detailForm);

    auto makeButton = [this](const char* caption, const char* name, const QString& help) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        explain(b, help);
        return b;
    };
    QPushButton* modify = makeButton("Modify", "Modify", QStringLiteral("Opens the label designer on the selected layout."));
    QPushButton* add = makeButton("New", "New", QStringLiteral("Starts a new label layout."));
    QPushButton* remove = makeButton("Delete", "Delete", QStringLiteral("Deletes the selected layout and its file."));
    QPushButton* clone = makeButton("Clone", "Clone", QStringLiteral("Copies the selected layout."));
    QPushButton* previewButton = makeButton("Preview", "Preview", QStringLiteral("Shows the labels on screen."));
    QPushButton* printButton = makeButton("Print", "Print", QStringLiteral("Prints the labels."));
    QPushButton* ok = makeButton("Ok", "Ok", QStringLiteral("Closes the window."));
    connect(modify, &QPushButton::clicked, this, &TLabelSetupScreen::modifyLayout);
    connect(add, &QPushButton::clicked, this, &TLabelSetupScreen::newLayout);
    connect(remove, &QPushButton::clicked, this, &TLabelSetupScreen::deleteLayout);
    connect(clone, &QPushButton::clicked, this, &TLabelSetupScreen::cloneLayout);
    connect(previewButton, &QPushButton::clicked, this, &TLabelSetupScreen::preview);
    connect(printButton, &QPushButton::clicked, this, &TLabelSetupScreen::print);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // What to print.
    whatBox_ = new QGroupBox(QStringLiteral("What to Print"), this);
    whatBox_->setObjectName(QStringLiteral("WhatToPrint"));
    all_ = new QRadioButton(QStringLiteral("All records"), whatBox_);
    matching_ = new QRadioButton(QStringLiteral("Records matching filter"), whatBox_);
    current_ = new QRadioButton(QStringLiteral("Only current record"), whatBox_);
    startCurrent_ = new QCheckBox(QStringLiteral("Start from current record"), whatBox_);
    presort_ = new QCheckBox(QStringLiteral("Presort for Bulk Mail"), whatBox_);
    explain(presort_, QStringLiteral("Prints the labels grouped by zip code for bulk-mail rates, with a heading "
                                     "label before each group."));
    auto* whatLayout = new QVBoxLayout(whatBox_);
    for (QWidget* w : std::initializer_list<QWidget*>{all_, matching_, current_, startCurrent_, presort_})
        whatLayout->addWidget(w);
    auto choose = [this](QRadioButton* b, RecordChoice c) {
        connect(b, &QRadioButton::clicked, this, [this, c] {
            setup_.chooseRecords(c);
            recordsChosen();
        });
    };
    choose(all_, RecordChoice::All);
    choose(matching_, RecordChoice::MatchingFilter);
    choose(current_, RecordChoice::CurrentOnly);
    connect(startCurrent_, &QCheckBox::clicked, this, [this](bool on) { setup_.setStartFromCurrent(on); });
    connect(presort_, &QCheckBox::clicked, this, [this](bool on) { setup_.setPresort(on); });

    // The printer.
    printerBox_ = new QGroupBox(QStringLiteral("Printer"), this);
    printerList_ = new QComboBox(printerBox_);
    printerList_->setObjectName(QStringLiteral("Printer"));
    printerList_->addItems(printers_->printers());
    printerList_->setCurrentIndex(printers_->printerIndex());
    connect(printerList_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            printers_->selectPrinter(i);
    });
    auto* printerLayout = new QVBoxLayout(printerBox_);
    printerLayout->addWidget(printerList_);

    auto* catalogueButtons = new QVBoxLayout;
    for (QPushButton* b : {modify, add, remove, clone})
        catalogueButtons->addWidget(b);
    catalogueButtons->addStretch();
    auto* options = new QVBoxLayout;
    options->addWidget(whatBox_);
    options->addWidget(printerBox_);
    options->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(selectBox, 1);
    top->addLayout(catalogueButtons);
    top->addLayout(options);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    for (QPushButton* b : {previewButton, printButton})
        bottom->addWidget(b);
    bottom->addWidget(makeHelpButton(this, kLabelLayoutsHelpTopic));
    bottom->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    setup_.setFilterInForce(filterInForce);
    matching_->setEnabled(filterInForce);
    recordsChosen();
    fill();
}

TLabelSetupScreen::~TLabelSetupScreen() = default;

QPushButton* TLabelSetupScreen::button(const QString& name) const { return findChild<QPushButton*>(name); }

QLabel* TLabelSetupScreen::detail(const QString& caption) const
{
    for (const auto& [c, label] : details_)
        if (c == caption)
            return label;
    return nullptr;
}

void TLabelSetupScreen::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (activated_)
        return;
    activated_ = true;
    setup_.activate();  // an earlier run's presort file goes
    printerList_->setCurrentIndex(printers_->printerIndex());
    setButtons();
}

// ---------------------------------------------------------------- showing state

void TLabelSetupScreen::fill(quint32 select)
{
    rows_ = catalogue_.rows();
    const QSignalBlocker block(grid_);
    grid_->setRowCount(int(rows_.size()));
    int current = rows_.empty() ? -1 : 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        grid_->setItem(int(i), 0, new QTableWidgetItem(rows_[i].description));
        if (rows_[i].recno == select)
            current = int(i);
    }
    grid_->setCurrentCell(current, 0);
    showCurrent();
}

std::optional<LabelLayoutRow> TLabelSetupScreen::currentLayout()
{
    const int i = grid_->currentRow();
    if (i < 0 || i >= int(rows_.size()))
        return std::nullopt;
    return catalogue_.row(rows_[size_t(i)].recno);
}

void TLabelSetupScreen::showCurrent()
{
    const int i = grid_->currentRow();
    const bool has = i >= 0 && i < int(rows_.size());
    QStringList values;
    if (has) {
        const LabelSheetDefinition& d = rows_[size_t(i)].sheet;
        values = {inches(d.lblHeight), inches(d.lblWidth), d.sheetName(), QString::number(d.nbrAcross),
                  QString::number(d.nbrDown), d.paperSize, inches(d.sheetWidth), inches(d.sheetDepth)};
    }
    for (size_t k = 0; k < details_.size(); ++k)
        details_[k].second->setText(values.value(int(k)));
    setButtons();
}

void TLabelSetupScreen::setButtons()
{
    const bool has = grid_->currentRow() >= 0 && !rows_.empty();
    for (const char* name : {"Modify", "Print", "Preview", "Delete", "Clone"})
        if (QPushButton* b = button(QString::fromLatin1(name)))
            b->setEnabled(has);
    grid_->setEnabled(has);
    whatBox_->setVisible(has);
    printerBox_->setVisible(has);
}

void TLabelSetupScreen::recordsChosen()
{
    const QSignalBlocker b1(all_), b2(matching_), b3(current_), b4(presort_);
    all_->setChecked(setup_.records() == RecordChoice::All);
    matching_->setChecked(setup_.records() == RecordChoice::MatchingFilter);
    current_->setChecked(setup_.records() == RecordChoice::CurrentOnly);
    presort_->setEnabled(setup_.presortEnabled());
    presort_->setChecked(setup_.presort());
}

// ---------------------------------------------------------------- LabelRunUi

void TLabelSetupScreen::showInformation(const QString& text)
{
    if (ui_)
        ui_->showInformation(text);
    else
        postavo::showInformation(text, this);
}

bool TLabelSetupScreen::askYesNo(const QString& text, const QString& caption)
{
    return ui_ ? ui_->askYesNo(text, caption) : postavo::askYesNo(text, caption, this);
}

BulkMailPresort::Result TLabelSetupScreen::runPresort(BulkMailPresort& presort, const QString& path, QString* error)
{
    if (ui_)
        return ui_->runPresort(presort, path, error);
    TSortBulkMail window(presort, path, this);
    runDialog(window);
    if (error)
        *error = window.error();
    return window.result();
}

// ---------------------------------------------------------------- catalogue commands

void TLabelSetupScreen::newLayout()
{
    LabelSheetWindows windows(this, catalogue_.sysdataDir());
    LabelDesignerUi& ui = designerUi_ ? *designerUi_ : windows;
    LabelSheetDefinition sheet = newLayoutDefaults();
    switch (ui.chooseLayoutMethod()) {
    case LabelDesignerUi::LayoutMethod::Template: ui.selectTemplate(&sheet); break;
    case LabelDesignerUi::LayoutMethod::Manual: ui.editUserLayout(&sheet); break;
    case LabelDesignerUi::LayoutMethod::Cancel: break;
    }
    LabelLayoutRow row = catalogue_.newLayout(sheet);
    if (TLabelDesignScreen::designLayout(this, catalogue_, row, &table_, designerUi_))
        fill(row.recno);
    printerList_->setCurrentIndex(printers_->printerIndex());
}

void TLabelSetupScreen::modifyLayout()
{
    std::optional<LabelLayoutRow> row = currentLayout();
    if (!row) {
        fill();
        return;
    }
    if (TLabelDesignScreen::designLayout(this, catalogue_, *row, &table_, designerUi_))
        fill(row->recno);
    printerList_->setCurrentIndex(printers_->printerIndex());
}

void TLabelSetupScreen::cloneLayout()
{
    const std::optional<LabelLayoutRow> row = currentLayout();
    if (!row || !askYesNo(QStringLiteral("Clone \"") + row->description + QStringLiteral("\"?"), QStringLiteral("CLONE")))
        return;
    QString error;
    const std::optional<LabelLayoutRow> copy = setup_.cloneLayout(*row, &error);
    if (!copy) {
        showInformation(error);
        return;
    }
    fill(copy->recno);
}

void TLabelSetupScreen::deleteLayout()
{
    const std::optional<LabelLayoutRow> row = currentLayout();
    if (!row || !askYesNo(QStringLiteral("Delete \"") + row->description + QStringLiteral("\"?"), QStringLiteral("DELETE")))
        return;
    QString error;
    if (!setup_.deleteLayout(*row, &error))
        showInformation(error);
    fill();
}

// ---------------------------------------------------------------- Print and Preview

void TLabelSetupScreen::runJob(bool preview)
{
    const std::optional<LabelLayoutRow> layout = currentLayout();
    if (!layout)
        return;
    {
        TSelectSpecificLabels picker(layout->sheet, setup_.positions, *printers_, setup_.presort(), this);
        const int answer = runDialog(picker);
        printerList_->setCurrentIndex(printers_->printerIndex());
        if (answer != QDialog::Accepted)
            return;
        setup_.positions = picker.positions();
        setup_.copies = picker.copies();
    }
    std::unique_ptr<LabelPrintRun> run = setup_.prepareRun(*layout, printers_.get());
    if (!run)
        return;

    printing::PrintRun job;
    job.preview = preview;
    job.texts.statusFormat = preview ? QStringLiteral("Preparing Preview Page %p\r%0\r%1")
                                     : QStringLiteral("Printing Page %p\r%0\r%1");
    job.texts.cancelQuestion = QStringLiteral("Cancel Label Printing?");
    job.texts.printCanceled = QStringLiteral("\rLabel Print Canceled!");
    job.texts.previewCanceled = QStringLiteral("\rLabel Preview Canceled!");
    job.texts.printCompleted = QStringLiteral("\rLabel Print Completed!");
    job.texts.previewStopped = QStringLiteral("\rPreview Stopped at page %p!");
    job.texts.closeWhenPreviewReady = true;
    TLabelPrinter& printer = run->printer();
    job.body = [&printer](printing::TPrintCanvas& canvas, const bool& stop) { printer.printLabels(canvas, stop); };
    std::unique_ptr<printing::RecordingDevice> pages;
    {
        printing::TPrintProgressForm form(std::move(job), printers_.get(), this);
        runDialog(form);
        if (preview && !form.aborted())
            pages = form.takePreviewDocument();
    }
    run->finish();  // the table's filter, order and record as they were
    if (!printer.error().isEmpty())
        showInformation(printer.error());
    if (pages && pages->pageCount() > 0) {
        Settings settings;
        printing::TPreviewForm viewer(pages.get(), QStringLiteral("Preview Labels"),
                                      printing::PreviewZoom::Start::PageWidth, &settings, this);
        runDialog(viewer);
    }
}

void runLabelSetup(QWidget* parent, AddressTable& table, bool filterInForce)
{
    LabelLayoutCatalogue catalogue;
    QString message;
    if (!catalogue.open(&message)) {
        showInformation(message, parent);
        return;
    }
    TLabelSetupScreen w(table, catalogue, filterInForce, parent);
    w.exec();
}

} // namespace postavo::labels
