#include "statezipwindow.h"

#include "addressfile.h"
#include "dialogkit.h"
#include "filterops.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace postavo {

namespace {
enum Panel { Setup = 0, Results = 1, StateEditor = 2 };

QLabel* wrapped(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    return l;
}
} // namespace

TStateZipCheckWindow::TStateZipCheckWindow(AddressTable& table, MaintenanceUi& ui, const QString& sysdataDir,
                                           QWidget* parent)
    : QDialog(parent), table_(table), ui_(ui), sysdata_(sysdataDir), check_(table, sysdataDir),
      progress_(nullptr, nullptr)
{
    registerMaintenanceHelp();
    setObjectName(QStringLiteral("TStateZipCheckWindow"));
    setWindowTitle(QStringLiteral("Check State and Zip  Codes"));
    enableWhatsThis(this);
    resize(820, 520);

    pages_ = new QStackedWidget(this);
    auto* setup = new QWidget(pages_);
    auto* results = new QWidget(pages_);
    cszPage_ = new QWidget(pages_);
    buildSetup(setup);
    buildResults(results);
    pages_->addWidget(setup);
    pages_->addWidget(results);
    pages_->addWidget(cszPage_);

    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("CountLabel"));
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    bar_->hide();
    progress_ = PassDisplay(bar_, count_);

    editCsz_ = makeButton(QStringLiteral("Edit State/Province File"), this,
                          QStringLiteral("Shows the state and province table, to correct or add zip code ranges."));
    close_ = makeButton(QStringLiteral("Close"), this);
    cancel_ = makeButton(QStringLiteral("Cancel"), this, QStringLiteral("Stops the check."));
    cancel_->hide();
    help_ = makeHelpButton(this, help::StateZipCheck);
    connect(editCsz_, &QPushButton::clicked, this, &TStateZipCheckWindow::editStateTable);
    connect(close_, &QPushButton::clicked, this, &TStateZipCheckWindow::reject);
    connect(cancel_, &QPushButton::clicked, this, &TStateZipCheckWindow::cancelClicked);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(editCsz_);
    buttons->addStretch();
    buttons->addWidget(cancel_);
    buttons->addWidget(close_);
    buttons->addWidget(help_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addWidget(count_);
    layout->addWidget(bar_);
    layout->addLayout(buttons);
    showPanel(Setup);
}

TStateZipCheckWindow::~TStateZipCheckWindow()
{
    // The grids go before the sources they show.
    delete grid_;
    delete cszView_;
    csz_.reset();
    check_.close();
}

void TStateZipCheckWindow::buildSetup(QWidget* page)
{
    auto* heading = new QLabel(QStringLiteral("Check For State/Province  && Zipcode/Postal Code Anomolies"), page);
    QFont f = heading->font();
    f.setBold(true);
    heading->setFont(f);
    heading->setTextFormat(Qt::PlainText);
    heading->setText(QStringLiteral("Check For State/Province  & Zipcode/Postal Code Anomolies"));
    auto* text = wrapped(QStringLiteral(
        "A check will be performed by comparing the records in the file against the State/Province file, which "
        "contains a list of State/Zip Province/Postcode combinations. This file may be edited or added to by "
        "clicking the 'Edit State/Province File' button below."), page);
    blank_ = new QCheckBox(QStringLiteral("Include records with blank State/Province or Zip/Postcode entries?"), page);
    explain(blank_, QStringLiteral("Ticked, records without a state or a zip are listed too."));
    perform_ = makeButton(QStringLiteral("Perform Check Now"), page,
                          QStringLiteral("Checks every record that is not deleted, whatever the filter."));
    connect(perform_, &QPushButton::clicked, this, &TStateZipCheckWindow::performCheck);
    auto* l = new QVBoxLayout(page);
    l->addWidget(heading);
    l->addWidget(text);
    l->addSpacing(12);
    l->addWidget(blank_);
    l->addSpacing(12);
    l->addWidget(perform_, 0, Qt::AlignLeft);
    l->addStretch();
}

void TStateZipCheckWindow::buildResults(QWidget* page)
{
    auto* text = wrapped(QStringLiteral(
        "These records have questionable state/zip or province/postcode combinations. You may edit the contents "
        "to make changes. When you are done, press the Close button."), page);
    source_ = std::make_unique<AddressGrid>(table_, resultColumns(table_, false));
    grid_ = new RecordGrid(source_.get(), [this](const QString& c) { return source_->width(c); }, page);
    connect(grid_, &RecordGrid::writeRefused, this, [this] { ui_.showInformation(source_->lastError()); });
    connect(grid_, &RecordGrid::tagToggleRequested, this, [this](quint32 recno) {
        grid_->selectRecord(recno);
        tagCurrent();
    });
    auto* edit = makeButton(QStringLiteral("&Edit"), page, QStringLiteral("Starts editing the current field."));
    auto* save = makeButton(QStringLiteral("&Save"), page, QStringLiteral("Stores the field being edited."));
    auto* cancel = makeButton(QStringLiteral("&Cancel"), page, QStringLiteral("Throws away the change being typed."));
    auto* tag = makeButton(QStringLiteral("&Tag"), page, QStringLiteral("Tags or untags the current record."));
    auto* tagAll = makeButton(QStringLiteral("Tag &All"), page, QStringLiteral("Tags every listed record."));
    connect(edit, &QPushButton::clicked, grid_, &RecordGrid::editCurrent);
    connect(save, &QPushButton::clicked, grid_, &RecordGrid::saveEdit);
    connect(cancel, &QPushButton::clicked, grid_, &RecordGrid::cancelEdit);
    connect(tag, &QPushButton::clicked, this, &TStateZipCheckWindow::tagCurrent);
    connect(tagAll, &QPushButton::clicked, this, &TStateZipCheckWindow::tagAll);
    auto* row = new QHBoxLayout;
    for (QPushButton* b : {edit, save, cancel, tag, tagAll})
        row->addWidget(b);
    row->addStretch();
    auto* l = new QVBoxLayout(page);
    l->addWidget(text);
    l->addWidget(new QLabel(QStringLiteral("Click on field to begin editing"), page));
    l->addWidget(grid_, 1);
    l->addLayout(row);
}

void TStateZipCheckWindow::buildStateEditor(QWidget* page)
{
    delete page->layout();
    const QObjectList previous = page->children();  // what the last editing left
    qDeleteAll(previous);
    auto* l = new QVBoxLayout(page);
    l->addWidget(new QLabel(QStringLiteral("Make changes to the State/Province file to best reflect your country"), page));
    l->addWidget(new QLabel(QStringLiteral("Click on field to begin editing"), page));
    cszView_ = new RecordGrid(csz_.get(), [this](const QString& c) { return csz_ ? csz_->width(c) : 0; }, page);
    l->addWidget(cszView_, 1);
    auto* add = makeButton(QStringLiteral("Add"), page, QStringLiteral("Adds an empty row."));
    auto* del = makeButton(QStringLiteral("Delete"), page, QStringLiteral("Deletes the current row."));
    auto* save = makeButton(QStringLiteral("Save"), page, QStringLiteral("Stores the field being edited."));
    auto* undo = makeButton(QStringLiteral("Undo"), page, QStringLiteral("Throws away the change being typed."));
    connect(add, &QPushButton::clicked, this, [this] {
        const quint32 r = csz_->addRow();
        if (!r) {
            ui_.showInformation(csz_->lastError());
            return;
        }
        cszView_->refresh();
        cszView_->selectRecord(r);
        cszView_->editCurrent();
    });
    connect(del, &QPushButton::clicked, this, [this] {
        const quint32 r = cszView_->currentRecord();
        if (!r || !ui_.askYesNo(QStringLiteral("Delete record?"), QStringLiteral("Confirm")))
            return;
        if (!csz_->deleteRow(r))
            ui_.showInformation(csz_->lastError());
        cszView_->refresh();
    });
    connect(save, &QPushButton::clicked, cszView_, &RecordGrid::saveEdit);
    connect(undo, &QPushButton::clicked, cszView_, &RecordGrid::cancelEdit);
    connect(cszView_, &RecordGrid::writeRefused, this, [this] { ui_.showInformation(csz_->lastError()); });
    auto* row = new QHBoxLayout;
    for (QPushButton* b : {add, del, save, undo})
        row->addWidget(b);
    row->addStretch();
    l->addLayout(row);
}

void TStateZipCheckWindow::showPanel(int which)
{
    pages_->setCurrentIndex(which);
}

QString TStateZipCheckWindow::countText() const { return count_->text(); }
bool TStateZipCheckWindow::resultsShown() const { return check_.resultsShown() && pages_->currentIndex() == Results; }

void TStateZipCheckWindow::performCheck()
{
    if (running_)
        return;
    running_ = true;
    pages_->hide();
    editCsz_->hide();
    help_->hide();
    close_->hide();
    cancel_->show();
    bar_->setValue(0);
    bar_->show();
    progress_.reset();
    QString message;
    const bool ok = check_.run(blank_->isChecked(), progress_.step([](const PassProgress& p) {
        return statezip::foundText(p.found);
    }), &message);
    running_ = false;
    bar_->hide();
    cancel_->hide();
    close_->show();
    editCsz_->show();
    help_->show();
    pages_->show();
    if (check_.resultsShown()) {
        count_->setText(statezip::foundText(check_.outcome().found.size()));
        source_->setActive(true);
        grid_->refresh();
        showPanel(Results);
    }
    if (!ok && !message.isEmpty())
        ui_.showInformation(message);
}

void TStateZipCheckWindow::cancelClicked()
{
    if (running_ && ui_.askYesNo(QString::fromLatin1(statezip::kCancelQuestion), QStringLiteral("Cancel")))
        progress_.requestCancel();
}

void TStateZipCheckWindow::editStateTable()
{
    if (running_)
        return;
    if (csz_) {
        // "Stop Editing"
        cszView_->saveEdit();
        delete cszView_;
        cszView_ = nullptr;
        csz_.reset();
        editCsz_->setText(QStringLiteral("Edit State/Province File"));
        cancel_->setEnabled(true);
        close_->setEnabled(true);
        showPanel(previousPanel_);
        return;
    }
    QString message;
    csz_ = StateTableGrid::open(sysdata_, &message);
    if (!csz_) {
        ui_.showInformation(message);
        return;
    }
    previousPanel_ = pages_->currentIndex();
    buildStateEditor(cszPage_);
    editCsz_->setText(QStringLiteral("Stop Editing"));
    cancel_->setEnabled(false);
    showPanel(StateEditor);
}

void TStateZipCheckWindow::tagCurrent() { toggleTagOfCurrent(table_, *grid_, ui_); }

void TStateZipCheckWindow::tagAll()
{
    tagAllListed(table_, *grid_, ui_, statezip::kTagAllQuestion, statezip::kTagAllCaption);
}

void TStateZipCheckWindow::reject()
{
    if (running_)
        return;  // "Close" is refused while the check runs
    if (csz_)
        editStateTable();
    source_->setActive(false);
    check_.close();
    QDialog::reject();
}

} // namespace postavo
