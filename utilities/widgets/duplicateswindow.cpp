#include "duplicateswindow.h"

#include "addressfile.h"
#include "dialogkit.h"
#include "filterops.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace postavo {

TDuplicatesWindow::TDuplicatesWindow(AddressTable& table, MaintenanceUi& ui, const QString& folder, QWidget* parent)
    : QDialog(parent), table_(table), ui_(ui), check_(table, folder), fieldOrder_(table.fieldOrder()),
      progress_(nullptr, nullptr)
{
    registerMaintenanceHelp();
    setObjectName(QStringLiteral("TDuplicatesWindow"));
    setWindowTitle(QStringLiteral("Check and Repair Duplicates"));
    enableWhatsThis(this);
    resize(860, 560);
    setup_ = new QWidget(this);
    results_ = new QWidget(this);
    buildSetup(setup_);
    buildResults(results_);
    results_->hide();
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("CountLabel"));
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    bar_->hide();
    progress_ = PassDisplay(bar_, count_);
    ok_ = makeButton(QStringLiteral("Ok"), this);
    cancel_ = makeButton(QStringLiteral("Cancel"), this, QStringLiteral("Stops the check."));
    cancel_->hide();
    help_ = makeHelpButton(this, help::DuplicateCheck);
    connect(ok_, &QPushButton::clicked, this, &TDuplicatesWindow::reject);
    connect(cancel_, &QPushButton::clicked, this, &TDuplicatesWindow::cancelClicked);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    buttons->addWidget(ok_);
    buttons->addWidget(help_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(setup_, 1);
    layout->addWidget(results_, 1);
    layout->addWidget(count_);
    layout->addWidget(bar_);
    layout->addLayout(buttons);
}

TDuplicatesWindow::~TDuplicatesWindow()
{
    delete grid_;  // before the source it shows
    table_.setFieldOrder(fieldOrder_);
    check_.close();
}

void TDuplicatesWindow::buildSetup(QWidget* page)
{
    auto* heading = new QLabel(QStringLiteral("Duplicate Record Check Setup"), page);
    QFont f = heading->font();
    f.setBold(true);
    heading->setFont(f);
    auto* group = new QButtonGroup(page);
    auto* grid = new QGridLayout;
    for (int k = 0; k < 4; ++k) {
        kinds_[k] = new QRadioButton(duplicates::kindCaption(DuplicateKind(k)), page);
        group->addButton(kinds_[k], k);
        grid->addWidget(kinds_[k], k % 2, k / 2);
    }
    kinds_[0]->setChecked(true);
    explain(kinds_[3], QStringLiteral("Finds records whose names and addresses are alike though not equal, such as "
                                      "Jon Smith, 12 Main Street and John Smith, 12 Main St. Each pair shows a score "
                                      "from 0 to 1."));
    chars_ = new QSpinBox(page);
    chars_->setRange(1, kMaxStreetChars);
    chars_->setValue(kDefaultStreetChars);
    charsLabel_ = new QLabel(QStringLiteral("Check how many characters of street address (max 30)"), page);
    chars_->hide();
    charsLabel_->hide();
    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) {
            chars_->setVisible(id == int(DuplicateKind::Street));
            charsLabel_->setVisible(id == int(DuplicateKind::Street));
        }
    });
    auto* perform = makeButton(QStringLiteral("&Perform Duplicate Check Now"), page,
                               QStringLiteral("Checks every record that is not deleted, whatever the filter."));
    connect(perform, &QPushButton::clicked, this, &TDuplicatesWindow::performCheck);
    auto* charsRow = new QHBoxLayout;
    charsRow->addWidget(charsLabel_);
    charsRow->addWidget(chars_);
    charsRow->addStretch();
    auto* l = new QVBoxLayout(page);
    l->addWidget(heading);
    l->addWidget(new QLabel(QStringLiteral("What to check:"), page));
    l->addLayout(grid);
    l->addLayout(charsRow);
    l->addWidget(perform, 0, Qt::AlignLeft);
    l->addStretch();
}

void TDuplicatesWindow::buildResults(QWidget* page)
{
    pairs_ = new QTableWidget(0, 5, page);
    pairs_->setObjectName(QStringLiteral("PairList"));
    pairs_->setHorizontalHeaderLabels({QStringLiteral("Score"), QStringLiteral("Record"),
                                       QStringLiteral("Name | Address | Zip"), QStringLiteral("Record"),
                                       QStringLiteral("Name | Address | Zip")});
    pairs_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pairs_->setSelectionBehavior(QAbstractItemView::SelectRows);
    pairs_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    pairs_->verticalHeader()->hide();
    pairs_->hide();
    connect(pairs_, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row < 0 || row >= int(check_.outcome().pairs.size()))
            return;
        const DuplicatePair& p = check_.outcome().pairs[std::size_t(row)];
        grid_->selectRecord(column >= 3 ? p.second : p.first);
    });
    gridHolder_ = new QWidget(page);
    auto* holder = new QVBoxLayout(gridHolder_);
    holder->setContentsMargins(0, 0, 0, 0);
    holder->addWidget(new QLabel(QStringLiteral("Click on field to begin editing"), gridHolder_));
    auto* del = makeButton(QStringLiteral("&Delete"), page, QStringLiteral("Deletes the current record."));
    auto* save = makeButton(QStringLiteral("S&ave"), page, QStringLiteral("Stores the field being edited."));
    auto* undo = makeButton(QStringLiteral("&Undo"), page, QStringLiteral("Throws away the change being typed."));
    auto* tag = makeButton(QStringLiteral("&Tag"), page, QStringLiteral("Tags or untags the current record."));
    auto* tagAll = makeButton(QStringLiteral("Tag &All"), page, QStringLiteral("Tags every listed record."));
    connect(del, &QPushButton::clicked, this, &TDuplicatesWindow::deleteCurrent);
    connect(tag, &QPushButton::clicked, this, &TDuplicatesWindow::tagCurrent);
    connect(tagAll, &QPushButton::clicked, this, &TDuplicatesWindow::tagAll);
    auto* row = new QHBoxLayout;
    for (QPushButton* b : {del, save, undo, tag, tagAll})
        row->addWidget(b);
    row->addStretch();
    auto* splitter = new QSplitter(Qt::Vertical, page);
    splitter->addWidget(pairs_);
    splitter->addWidget(gridHolder_);
    auto* l = new QVBoxLayout(page);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(splitter, 1);
    l->addLayout(row);
    // The grid is made when its columns are known (the street check shows the street second).
    connect(save, &QPushButton::clicked, this, [this] { if (grid_) grid_->saveEdit(); });
    connect(undo, &QPushButton::clicked, this, [this] { if (grid_) grid_->cancelEdit(); });
}

void TDuplicatesWindow::setKind(DuplicateKind kind) { kinds_[int(kind)]->setChecked(true); }
void TDuplicatesWindow::setStreetChars(int n) { chars_->setValue(n); }
QString TDuplicatesWindow::countText() const { return count_->text(); }
bool TDuplicatesWindow::resultsShown() const { return check_.resultsShown() && results_->isVisibleTo(this); }

void TDuplicatesWindow::performCheck()
{
    if (running_)
        return;
    DuplicateKind kind = DuplicateKind::LastFirst;
    for (int k = 0; k < 4; ++k)
        if (kinds_[k]->isChecked())
            kind = DuplicateKind(k);
    running_ = true;
    setup_->hide();
    help_->hide();
    ok_->hide();
    cancel_->show();
    bar_->setValue(0);
    bar_->show();
    progress_.reset();
    QString message;
    const bool ok = check_.run(kind, chars_->value(), progress_.step([](const PassProgress& p) {
        return duplicates::foundText(p.found);
    }), &message);
    running_ = false;
    bar_->hide();
    cancel_->hide();
    ok_->show();
    help_->show();
    count_->setText(duplicates::foundText(check_.outcome().pairs.size()));
    if (check_.resultsShown()) {
        table_.setFieldOrder(resultColumns(table_, kind == DuplicateKind::Street));
        source_ = std::make_unique<AddressGrid>(table_, table_.fieldOrder());
        source_->setActive(true);
        delete grid_;
        grid_ = new RecordGrid(source_.get(), [this](const QString& c) { return source_->width(c); }, gridHolder_);
        gridHolder_->layout()->addWidget(grid_);
        connect(grid_, &RecordGrid::tagToggleRequested, this, [this](quint32 recno) {
            grid_->selectRecord(recno);
            tagCurrent();
        });
        connect(grid_, &RecordGrid::writeRefused, this, [this] { ui_.showInformation(source_->lastError()); });
        showPairs();
        results_->show();
    } else {
        setup_->show();
    }
    if (!ok && !message.isEmpty())
        ui_.showInformation(message);
}

void TDuplicatesWindow::showPairs()
{
    const auto& pairs = check_.outcome().pairs;
    const bool similar = check_.kind() == DuplicateKind::Similar;
    pairs_->setVisible(similar);
    if (!similar)
        return;
    pairs_->setRowCount(int(pairs.size()));
    for (int i = 0; i < int(pairs.size()); ++i) {
        const DuplicatePair& p = pairs[std::size_t(i)];
        auto* score = new QTableWidgetItem(QString::number(p.score, 'f', 2));
        score->setToolTip(QStringLiteral("name %1, address %2").arg(p.nameScore, 0, 'f', 2).arg(p.addressScore, 0, 'f', 2));
        pairs_->setItem(i, 0, score);
        pairs_->setItem(i, 1, new QTableWidgetItem(QString::number(p.first)));
        pairs_->setItem(i, 2, new QTableWidgetItem(p.firstValue));
        pairs_->setItem(i, 3, new QTableWidgetItem(QString::number(p.second)));
        pairs_->setItem(i, 4, new QTableWidgetItem(p.secondValue));
    }
}

void TDuplicatesWindow::cancelClicked()
{
    if (running_ && ui_.askYesNo(QString::fromLatin1(duplicates::kCancelQuestion), QStringLiteral("Cancel")))
        progress_.requestCancel();
}

void TDuplicatesWindow::deleteCurrent()
{
    const quint32 recno = grid_ ? grid_->currentRecord() : 0;
    if (!recno || !ui_.askYesNo(QString::fromLatin1(duplicates::kDeleteQuestion), QStringLiteral("DELETE")))
        return;
    if (!table_.goTo(recno) || !table_.deleteCurrent())
        ui_.showInformation(QStringLiteral("The record could not be deleted:\r\n") + table_.lastError());
    grid_->refresh();
}

void TDuplicatesWindow::tagCurrent()
{
    if (grid_)
        toggleTagOfCurrent(table_, *grid_, ui_);
}

void TDuplicatesWindow::tagAll()
{
    if (grid_)
        tagAllListed(table_, *grid_, ui_, duplicates::kTagAllQuestion, duplicates::kTagAllCaption);
}

void TDuplicatesWindow::reject()
{
    if (running_)
        return;  // "Ok" is refused while the check runs
    if (source_)
        source_->setActive(false);
    table_.setFieldOrder(fieldOrder_);
    check_.close();
    QDialog::reject();
}

} // namespace postavo
