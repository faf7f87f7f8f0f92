#include "letterswindow.h"

#include "addressfile.h"
#include "dialogkit.h"
#include "letterdesignwindow.h"
#include "letterhelp.h"
#include "letterpreviewwindow.h"
#include "letterprintwindow.h"
#include "messageboxes.h"
#include "printerdialogs.h"
#include "printers.h"
#include "richdocument.h"
#include "settings.h"
#include "windowplacement.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace postavo::letters {

TPVLetters::TPVLetters(AddressTable& table, bool filterSet, QWidget* parent)
    : QDialog(parent), table_(table), filterSet_(filterSet), printers_(std::make_unique<printing::TPrinters>())
{
    registerLetterHelp();
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Print Letters"));
    enableWhatsThis(this);
    printing::usePdfFileDialog();

    grid_ = new QTableWidget(0, 1, this);
    grid_->setObjectName(QStringLiteral("Letters"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("Letter Description")});
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->hide();
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    explain(grid_, QStringLiteral("Your letters; the one selected is printed, previewed, changed, cloned or deleted."));
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this] { modifyLetter(); });

    auto button = [this](const QString& caption, const char* name, const QString& help, void (TPVLetters::*slot)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        explain(b, help);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    auto* catalogueButtons = new QHBoxLayout;
    catalogueButtons->addWidget(button(QStringLiteral("New"), "New", QStringLiteral("Write a new letter."), &TPVLetters::newLetter));
    catalogueButtons->addWidget(
        button(QStringLiteral("Modify"), "Modify", QStringLiteral("Change the selected letter."), &TPVLetters::modifyLetter));
    catalogueButtons->addWidget(
        button(QStringLiteral("Delete"), "Delete", QStringLiteral("Delete the selected letter."), &TPVLetters::deleteLetter));
    catalogueButtons->addWidget(
        button(QStringLiteral("Clone"), "Clone", QStringLiteral("Copy the selected letter."), &TPVLetters::cloneLetter));

    auto* records = new QGroupBox(QStringLiteral("Print"), this);
    all_ = new QRadioButton(QStringLiteral("All records"), records);
    matching_ = new QRadioButton(QStringLiteral("Records matching filter"), records);
    currentOnly_ = new QRadioButton(QStringLiteral("Only current record"), records);
    currentOnly_->setChecked(true);
    matching_->setEnabled(filterSet_);
    startFromCurrent_ = new QCheckBox(QStringLiteral("Start from current record"), records);
    auto* rl = new QVBoxLayout(records);
    for (QWidget* w : std::initializer_list<QWidget*>{all_, matching_, currentOnly_, startFromCurrent_})
        rl->addWidget(w);
    explain(records, QStringLiteral("Which records get a letter."));

    copies_ = new QSpinBox(this);
    copies_->setObjectName(QStringLiteral("Copies"));
    copies_->setRange(1, kMaxCopies);
    copies_->setValue(1);
    explain(copies_, QStringLiteral("How many copies of each record's letter print."));
    auto* copiesLabel = new QLabel(QStringLiteral("# copies of each letter"), this);
    copiesLabel->setBuddy(copies_);
    auto* copiesRow = new QHBoxLayout;
    copiesRow->addWidget(copiesLabel);
    copiesRow->addWidget(copies_);
    copiesRow->addStretch();

    printer_ = new QLabel(this);
    printer_->setObjectName(QStringLiteral("Printer"));
    printer_->setText(QStringLiteral("Printer: ") + printers_->printerName());

    auto* side = new QVBoxLayout;
    QPushButton* print = button(QStringLiteral("Print"), "Print", QStringLiteral("Print the selected letter for the chosen records."),
                                &TPVLetters::printNow);
    side->addWidget(print);
    side->addWidget(button(QStringLiteral("Preview"), "Preview",
                           QStringLiteral("See the selected letter merged with the current record."), &TPVLetters::preview));
    side->addWidget(button(QStringLiteral("Printer Setup"), "PrinterSetup", QStringLiteral("Choose the printer and its paper."),
                           &TPVLetters::printerSetup));
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    side->addWidget(ok);
    QPushButton* helpButton = makeHelpButton(this, help::PrintLetters);
    helpButton->setAutoDefault(false);
    side->addWidget(helpButton);
    side->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(grid_, 1);
    left->addLayout(catalogueButtons);
    left->addWidget(records);
    left->addLayout(copiesRow);
    left->addWidget(printer_);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(side);
    resize(560, 460);
}

TPVLetters::~TPVLetters() = default;

QPushButton* TPVLetters::button(const QString& objectName) const { return findChild<QPushButton*>(objectName); }

QRadioButton* TPVLetters::recordChoice(LetterRecords choice) const
{
    switch (choice) {
    case LetterRecords::All: return all_;
    case LetterRecords::MatchingFilter: return matching_;
    case LetterRecords::CurrentOnly: return currentOnly_;
    }
    return currentOnly_;
}

QString TPVLetters::printerText() const { return printer_->text(); }

bool TPVLetters::ask(const QString& text, const QString& caption)
{
    return hooks.ask ? hooks.ask(text, caption) : askYesNo(text, caption, this);
}

void TPVLetters::inform(const QString& text)
{
    if (hooks.inform)
        hooks.inform(text);
    else
        showInformation(text, this);
}

void TPVLetters::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (activated_)
        return;
    activated_ = true;
    Settings settings;
    restorePlacement(this, QString::fromLatin1(kClassName), settings, parentWidget() ? parentWidget()->window() : nullptr);
    QString message;
    if (!catalogue_.isOpen() && !catalogue_.open(&message))
        inform(message);
    fillGrid();
}

void TPVLetters::done(int result)
{
    if (activated_) {
        Settings settings;
        storePlacement(this, QString::fromLatin1(kClassName), settings);
    }
    catalogue_.close();
    QDialog::done(result);
}

void TPVLetters::fillGrid(quint32 selectRecno)
{
    const std::optional<LetterEntry> was = currentLetter();
    if (!selectRecno && was)
        selectRecno = was->recno;
    rows_ = catalogue_.letters();
    grid_->setRowCount(int(rows_.size()));
    int select = rows_.empty() ? -1 : 0;
    for (int i = 0; i < int(rows_.size()); ++i) {
        grid_->setItem(i, 0, new QTableWidgetItem(rows_[size_t(i)].description));
        if (rows_[size_t(i)].recno == selectRecno)
            select = i;
    }
    if (select >= 0)
        grid_->selectRow(select);
    grid_->setCurrentCell(select, 0);
    setLetterButtons();
}

void TPVLetters::selectLetter(int row)
{
    if (row >= 0 && row < int(rows_.size()))
        grid_->selectRow(row);
}

std::optional<LetterEntry> TPVLetters::currentLetter() const
{
    const int row = grid_->currentRow();
    if (row < 0 || row >= int(rows_.size()))
        return std::nullopt;
    return rows_[size_t(row)];
}

void TPVLetters::setLetterButtons()
{
    const bool has = !rows_.empty();
    for (const char* name : {"Modify", "Clone", "Print", "Preview", "Delete"})
        button(QLatin1String(name))->setEnabled(has);
    grid_->setEnabled(has);
    button(QStringLiteral("New"))->setEnabled(true);
}

bool TPVLetters::loadLetter(quint32 recno, richtext::RichDocument& document)
{
    richtext::RtfReadReport report;
    if (!catalogue_.loadRichText(recno, document, &report)) {
        inform(catalogue_.lastError());
        return false;
    }
    if (report.damaged || report.notRtf)
        inform(QStringLiteral("The letter's text is damaged or not RTF; it was read as far as it goes.\n") + report.text());
    return true;
}

void TPVLetters::edit(std::optional<LetterEntry> existing)
{
    richtext::RichDocument document;
    if (existing && !loadLetter(existing->recno, document))
        return;
    TLetterDesign designer(&document, existing ? existing->description : QString::fromLatin1(kUntitledLetter),
                           !existing, &table_, this);
    const bool keep = hooks.design ? hooks.design(designer) : designer.exec() == QDialog::Accepted;
    if (keep) {
        LetterEntry entry = existing.value_or(LetterEntry{});
        entry.description = designer.description();
        if (!catalogue_.saveLetter(&entry, document))
            inform(catalogue_.lastError());
        else
            existing = entry;
    }
    fillGrid(existing ? existing->recno : 0);
}

void TPVLetters::newLetter() { edit(std::nullopt); }

void TPVLetters::modifyLetter()
{
    if (const std::optional<LetterEntry> l = currentLetter())
        edit(l);
}

void TPVLetters::deleteLetter()
{
    const std::optional<LetterEntry> l = currentLetter();
    if (!l || !ask(QStringLiteral("Delete \"%1\"?").arg(l->description), QStringLiteral("DELETE")))
        return;
    if (!catalogue_.remove(l->recno))
        inform(catalogue_.lastError());
    fillGrid();
}

void TPVLetters::cloneLetter()
{
    const std::optional<LetterEntry> l = currentLetter();
    if (!l || !ask(QStringLiteral("Clone \"%1\"?").arg(l->description), QStringLiteral("CLONE")))
        return;
    const std::optional<LetterEntry> copy = catalogue_.clone(l->recno);
    if (!copy)
        inform(catalogue_.lastError());
    fillGrid(copy ? copy->recno : 0);
}

void TPVLetters::printerSetup()
{
    if (printing::printerSetupDialog(*printers_, this))
        printer_->setText(QStringLiteral("Printer: ") + printers_->printerName());
}

void TPVLetters::printNow()
{
    const std::optional<LetterEntry> l = currentLetter();
    if (!l)
        return;
    // 1. The print dialog.
    const bool go = hooks.printDialog ? hooks.printDialog() : printing::printDialog(*printers_, this).has_value();
    if (!go)
        return;
    richtext::RichDocument letter;
    if (!loadLetter(l->recno, letter))
        return;
    // 2-5. Copies, the saved position and query, the records chosen.
    LetterJob job;
    job.copies = copies_->value();
    job.records = all_->isChecked() ? LetterRecords::All
                : matching_->isChecked() ? LetterRecords::MatchingFilter
                                         : LetterRecords::CurrentOnly;
    job.startFromCurrent = startFromCurrent_->isChecked();
    // 7. The query and record go back whatever happens.
    TableStateKeeper keep(table_, TableStateKeeper::Signals::Quiet);
    LetterRun run(letter, table_, job);
    QString notice, error;
    const bool positioned = run.position(keep.recno(), &notice, &error);
    if (!notice.isEmpty())
        inform(notice);
    if (!positioned) {
        inform(error);
        return;
    }
    // 6. The print run.
    TLetterPrint window(run, *printers_, letter.pageLayout(), this);
    if (hooks.print)
        hooks.print(window);
    else
        window.exec();
}

void TPVLetters::preview()
{
    const std::optional<LetterEntry> l = currentLetter();
    if (!l)
        return;
    richtext::RichDocument letter;
    if (!loadLetter(l->recno, letter))
        return;
    TRTFPreviewForm form(letter, table_, this);
    if (hooks.preview)
        hooks.preview(form);
    else
        form.exec();
}

} // namespace postavo::letters
