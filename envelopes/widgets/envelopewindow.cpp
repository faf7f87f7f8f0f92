#include "envelopewindow.h"

#include "addressfile.h"
#include "dialogkit.h"
#include "envelopedesignwindow.h"
#include "envelopeform.h"
#include "envelopehelp.h"
#include "envelopelayoutfile.h"
#include "envelopepanel.h"
#include "envelopeprinter.h"
#include "envelopesizedialog.h"
#include "feeddialogs.h"
#include "messageboxes.h"
#include "printerdialogs.h"
#include "programfolder.h"
#include "settings.h"
#include "windowplacement.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace postavo::envelopes {

namespace {
constexpr float kPictureZoom = 0.3f;
}

TPVEnvelopes::TPVEnvelopes(AddressTable& table, QWidget* parent)
    : QDialog(parent), table_(table), printers_(std::make_unique<printing::TPrinters>()),
      printSurface_(&surfaceOwner_)
{
    registerEnvelopeHelp();
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Print Envelope"));
    enableWhatsThis(this);
    current_ = EnvelopeLayout::fallback();
    printing::usePdfFileDialog();

    // ---- the catalogue ----
    grid_ = new QTableWidget(0, 1, this);
    grid_->setObjectName(QStringLiteral("Layouts"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("Description")});
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->hide();
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    explain(grid_, QStringLiteral("Your envelope layouts; the one selected is printed, changed, cloned or deleted."));
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row) { selectLayout(row); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this] { modifyLayout(); });
    auto* gridLabel = new QLabel(QStringLiteral("&Select Envelope Setup"), this);
    gridLabel->setBuddy(grid_);

    auto button = [this](const QString& caption, const char* name, const QString& help) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        explain(b, help);
        return b;
    };
    QPushButton* modify = button(QStringLiteral("Modify"), "Modify", QStringLiteral("Change the selected layout."));
    QPushButton* add = button(QStringLiteral("New"), "New", QStringLiteral("Design a new envelope layout."));
    QPushButton* del = button(QStringLiteral("Delete"), "Delete", QStringLiteral("Delete the selected layout."));
    QPushButton* clone = button(QStringLiteral("Clone"), "Clone", QStringLiteral("Copy the selected layout."));
    connect(modify, &QPushButton::clicked, this, &TPVEnvelopes::modifyLayout);
    connect(add, &QPushButton::clicked, this, &TPVEnvelopes::newLayout);
    connect(del, &QPushButton::clicked, this, &TPVEnvelopes::deleteLayout);
    connect(clone, &QPushButton::clicked, this, &TPVEnvelopes::cloneLayout);
    auto* catalogueButtons = new QHBoxLayout;
    for (QPushButton* b : {modify, add, del, clone})
        catalogueButtons->addWidget(b);

    // ---- which records ----
    auto* records = new QGroupBox(QStringLiteral("Print"), this);
    all_ = new QRadioButton(QStringLiteral("All records"), records);
    matching_ = new QRadioButton(QStringLiteral("Records matching filter"), records);
    currentOnly_ = new QRadioButton(QStringLiteral("Only current record"), records);
    currentOnly_->setChecked(true);
    startFromCurrent_ = new QCheckBox(QStringLiteral("Start from current record"), records);
    startFromCurrent_->setEnabled(false);
    for (QRadioButton* r : {all_, matching_, currentOnly_})
        connect(r, &QRadioButton::toggled, this, [this] { startFromCurrent_->setEnabled(!currentOnly_->isChecked()); });
    auto* rl = new QVBoxLayout(records);
    for (QWidget* w : std::initializer_list<QWidget*>{all_, matching_, currentOnly_, startFromCurrent_})
        rl->addWidget(w);
    explain(records, QStringLiteral("Which records get an envelope: one envelope per record."));

    // ---- the current record ----
    auto* recordBox = new QGroupBox(QStringLiteral("Current Record"), this);
    auto value = [recordBox](const char* name) {
        auto* l = new QLabel(recordBox);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    first_ = value("First");
    last_ = value("Last");
    org_ = value("Org");
    city_ = value("City");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("First"), first_);
    form->addRow(QStringLiteral("Last"), last_);
    form->addRow(QStringLiteral("Org"), org_);
    form->addRow(QStringLiteral("City"), city_);
    auto* nav = new QHBoxLayout;
    const char* navNames[] = {"RecordFirst", "RecordPrevious", "RecordNext", "RecordLast"};
    const char* navCaptions[] = {"|<", "<", ">", ">|"};
    for (int i = 0; i < 4; ++i) {
        QPushButton* b = button(QString::fromLatin1(navCaptions[i]), navNames[i],
                                QStringLiteral("Moves to another record; the picture shows it."));
        b->setMaximumWidth(36);
        connect(b, &QPushButton::clicked, this, [this, i] { moveRecord(i); });
        nav->addWidget(b);
    }
    auto* recl = new QVBoxLayout(recordBox);
    recl->addLayout(form);
    recl->addLayout(nav);

    // ---- the live picture ----
    picture_ = new TEnvelopePanel(nullptr, this);
    picture_->setObjectName(QStringLiteral("LivePicture"));
    picture_->setAttribute(Qt::WA_TransparentForMouseEvents);
    picture_->setFocusPolicy(Qt::NoFocus);
    picture_->setDataset(&table_);
    auto* pictureBox = new QGroupBox(QStringLiteral("Layout"), this);
    auto* pl = new QVBoxLayout(pictureBox);
    pl->addWidget(picture_, 0, Qt::AlignCenter);
    pictureBox->setMinimumSize(320, 180);
    explain(pictureBox, QStringLiteral("The selected layout at 30 %, filled with the current record."));

    // ---- bottom ----
    QPushButton* setup = button(QStringLiteral("Printer Setup"), "PrinterSetup", QStringLiteral("Choose the printer's paper and orientation."));
    QPushButton* previewButton = button(QStringLiteral("Pre&view"), "Preview", QStringLiteral("Show the envelopes on screen."));
    QPushButton* printButton = button(QStringLiteral("&Print"), "Print", QStringLiteral("Print the envelopes."));
    printButton->setDefault(true);
    QPushButton* ok = button(QStringLiteral("Ok"), "Ok", QStringLiteral("Closes this window."));
    connect(setup, &QPushButton::clicked, this, &TPVEnvelopes::printerSetup);
    connect(previewButton, &QPushButton::clicked, this, &TPVEnvelopes::preview);
    connect(printButton, &QPushButton::clicked, this, &TPVEnvelopes::print);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(setup);
    bottom->addStretch();
    bottom->addWidget(previewButton);
    bottom->addWidget(printButton);
    bottom->addWidget(makeHelpButton(this, help::PrintEnvelope));
    bottom->addWidget(makeMouseHelpButton(this));
    bottom->addWidget(ok);

    auto* left = new QVBoxLayout;
    left->addWidget(gridLabel);
    left->addWidget(grid_, 1);
    left->addLayout(catalogueButtons);
    auto* right = new QVBoxLayout;
    right->addWidget(records);
    right->addWidget(recordBox);
    auto* middle = new QHBoxLayout;
    middle->addLayout(left, 1);
    middle->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(middle, 1);
    layout->addWidget(pictureBox);
    layout->addLayout(bottom);
    resize(640, 560);

    printSurface_.setDataset(&table_);
    connect(&table_, &AddressTable::currentChanged, this, [this] {
        if (table_.notificationsEnabled())
            showRecord();
    });
}

TPVEnvelopes::~TPVEnvelopes() = default;

QPushButton* TPVEnvelopes::button(const QString& objectName) const { return findChild<QPushButton*>(objectName); }

QRadioButton* TPVEnvelopes::recordChoice(RecordChoice c) const
{
    return c == RecordChoice::All ? all_ : c == RecordChoice::MatchingFilter ? matching_ : currentOnly_;
}

bool TPVEnvelopes::ask(const QString& text, const QString& caption)
{
    return hooks.ask ? hooks.ask(text, caption) : askYesNo(text, caption, this);
}

void TPVEnvelopes::inform(const QString& text)
{
    if (hooks.inform)
        hooks.inform(text);
    else
        showInformation(text, this);
}

void TPVEnvelopes::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (activated_)
        return;
    activated_ = true;
    Settings settings;
    restorePlacement(this, QString::fromLatin1(kClassName), settings, parentWidget() ? parentWidget()->window() : nullptr);
    QString message;
    if (!catalogue_.open(&message))
        inform(message);
    loadSettings();
    fillGrid();
    showRecord();
}

void TPVEnvelopes::done(int result)
{
    if (activated_) {
        Settings settings;
        storePlacement(this, QString::fromLatin1(kClassName), settings);
    }
    catalogue_.close();
    QDialog::done(result);
}

void TPVEnvelopes::loadSettings()
{
    Settings settings;
    feed_ = readFeedMethod(settings);
    loadEnvelopePrinter(*printers_, settings);
}

void TPVEnvelopes::saveSettings()
{
    Settings settings;
    if (!saveEnvelopePrinter(settings, *printers_, feed_))
        inform(settings.lastError());
}

// ---- the catalogue ----

void TPVEnvelopes::fillGrid(quint32 selectRecno)
{
    rows_ = catalogue_.isOpen() ? catalogue_.layouts() : std::vector<EnvelopeLayout>{};
    QSignalBlocker block(grid_);
    grid_->setRowCount(int(rows_.size()));
    int select = rows_.empty() ? -1 : 0;
    for (int i = 0; i < int(rows_.size()); ++i) {
        grid_->setItem(i, 0, new QTableWidgetItem(rows_[i].description));
        if (selectRecno && rows_[i].recno == selectRecno)
            select = i;
    }
    if (select >= 0)
        grid_->selectRow(select);
    grid_->setCurrentCell(select, 0);
    selectLayout(select);
}

void TPVEnvelopes::selectLayout(int row)
{
    if (row >= 0 && row < int(rows_.size()) && grid_->currentRow() != row) {
        QSignalBlocker block(grid_);
        grid_->selectRow(row);
    }
    readCurrentLayout();
    setButtons();
    drawLivePicture();
}

void TPVEnvelopes::readCurrentLayout()
{
    const int row = grid_->currentRow();
    if (row < 0 || row >= int(rows_.size())) {
        current_ = EnvelopeLayout::fallback();
        return;
    }
    // The row as the catalogue holds it now.
    std::optional<EnvelopeLayout> l = catalogue_.layout(rows_[row].recno);
    current_ = l ? *l : rows_[row];
}

void TPVEnvelopes::setButtons()
{
    const bool any = grid_->currentRow() >= 0 && grid_->currentRow() < int(rows_.size());
    for (const char* name : {"Modify", "Clone", "Print", "Preview", "Delete"})
        button(QLatin1String(name))->setEnabled(any);
    grid_->setEnabled(any);
    button(QStringLiteral("New"))->setEnabled(catalogue_.isOpen());
}

void TPVEnvelopes::drawLivePicture()
{
    picture_->deleteAllObjects();
    if (picture_->zoom() != 1.0f)
        picture_->setZoom(1.0f);
    const QSize size = current_.width > 0 ? QSize(int(std::nearbyint(current_.width * design::screenPpi())),
                                                  int(std::nearbyint(current_.height * design::screenPpi())))
                                          : QSize(912, 396);
    picture_->setSurfaceSize(size.width(), size.height());
    if (!current_.fileName.isEmpty()) {
        const QString path = catalogue_.layoutPath(current_.fileName);
        // A file that is not an envelope layout shows nothing here; printing says why.
        if (envelopeLayoutProblem(path).isEmpty())
            picture_->loadObjects(path);
    }
    picture_->setZoom(kPictureZoom);
    picture_->setFixedSize(int(std::nearbyint(size.width() * double(kPictureZoom))),
                           int(std::nearbyint(size.height() * double(kPictureZoom))));
    picture_->refreshObjects();
    picture_->update();
}

void TPVEnvelopes::newLayout()
{
    const std::optional<int> code =
        hooks.chooseSize ? hooks.chooseSize(current_.code) : TChooseEnvelopeLayout::choose(current_.code, this);
    if (!code)
        return;
    EnvelopeLayout fresh;
    fresh.setCode(*code);
    modify(fresh);
}

void TPVEnvelopes::modifyLayout()
{
    readCurrentLayout();
    if (current_.recno == 0)
        return;
    modify(std::nullopt);
}

void TPVEnvelopes::modify(std::optional<EnvelopeLayout> fresh)
{
    TEnvelopeDesignScreen designer(&table_, this);
    if (hooks.chooseSize)
        designer.chooseSize = hooks.chooseSize;
    const QMarginsF m = printers_->unprintableMargins();
    designer.setPrinterArea(printerAreaPixels(m.left(), m.top(), m.right(), m.bottom(), printers_->pageWidth(),
                                              printers_->pageHeight(), design::screenPpi()));
    TEnvelopePanel* surface = designer.surface();
    EnvelopeLayout layout = fresh ? *fresh : current_;
    if (fresh) {
        surface->deleteAllObjects();
        layout.description = QStringLiteral("<New envelope>");
        layout.fileName = catalogue_.newLayoutFileName();
    } else {
        const QString path = layout.fileName.isEmpty() ? QString() : catalogue_.layoutPath(layout.fileName);
        QString error;
        if (!path.isEmpty() && QFileInfo(path).isFile()) {
            if (!loadEnvelopeLayout(*surface, path, &error)) {
                // The file stays as it is; whatever is designed now goes to a file of its own.
                inform(error + QStringLiteral("\r\nThe layout opens empty and is saved to a new file."));
                layout.fileName = catalogue_.newLayoutFileName();
            }
        } else {
            layout.fileName = catalogue_.newLayoutFileName();
        }
    }
    surface->refreshObjects();
    designer.setDescription(layout.description);
    designer.setSizeCode(layout.code);
    const bool save = hooks.design ? hooks.design(designer) : designer.exec() == QDialog::Accepted;
    if (save) {
        layout.description = designer.description();
        layout.setCode(designer.sizeCode());
        const QString path = catalogue_.sysdataDir() + layout.fileName;
        const bool existed = QFileInfo(path).exists();
        QString error;
        QString problem = descriptionProblem(layout.description);
        if (problem.isEmpty() && !saveEnvelopeLayout(*surface, path, &error))
            problem = error;
        if (problem.isEmpty() && !catalogue_.store(&layout)) {
            problem = catalogue_.lastError();
            if (!existed)
                QFile::remove(path); // no row points at it
        }
        if (!problem.isEmpty())
            inform(problem + QStringLiteral("\r\nThe envelope layout was not saved."));
        fillGrid(problem.isEmpty() ? layout.recno : current_.recno);
    }
    setButtons();
    drawLivePicture();
}

void TPVEnvelopes::cloneLayout()
{
    readCurrentLayout();
    if (current_.recno == 0)
        return;
    if (!ask(QStringLiteral("Clone \"%1\"?").arg(current_.description), QStringLiteral("CLONE")))
        return;
    const std::optional<EnvelopeLayout> copy = catalogue_.clone(current_.recno);
    if (!copy)
        inform(catalogue_.lastError());
    fillGrid(copy ? copy->recno : current_.recno);
}

void TPVEnvelopes::deleteLayout()
{
    readCurrentLayout();
    if (current_.recno == 0)
        return;
    if (!ask(QStringLiteral("Delete \"%1\"?").arg(current_.description), QStringLiteral("DELETE")))
        return;
    if (!catalogue_.remove(current_.recno))
        inform(catalogue_.lastError());
    fillGrid();
    setButtons();
}

// ---- the current record ----

QString TPVEnvelopes::currentRecordText() const
{
    return QStringLiteral("%1 | %2 | %3 | %4").arg(first_->text(), last_->text(), org_->text(), city_->text());
}

void TPVEnvelopes::showRecord()
{
    const bool on = table_.isOpen() && table_.hasRecord();
    first_->setText(on ? table_.value(QStringLiteral("FNAME")) : QString());
    last_->setText(on ? table_.value(QStringLiteral("LNAME")) : QString());
    org_->setText(on ? table_.value(QStringLiteral("ORG")) : QString());
    city_->setText(on ? table_.value(QStringLiteral("CITY")) : QString());
    picture_->refreshObjects();
    picture_->update();
}

void TPVEnvelopes::moveRecord(int which)
{
    if (!table_.isOpen())
        return;
    switch (which) {
    case 0: table_.first(); break;
    case 1: table_.previous(); break;
    case 2: table_.next(); break;
    default: table_.last(); break;
    }
    showRecord();
}

void TPVEnvelopes::printerSetup()
{
    if (printing::printerSetupDialog(*printers_, this))
        saveSettings();
}

// ---- printing ----

void TPVEnvelopes::runJob(bool preview)
{
    // 1. The layout and the settings as they are now.
    readCurrentLayout();
    if (current_.recno == 0)
        return;
    loadSettings();
    if (current_.width <= 0) {
        inform(QStringLiteral("The envelope layout \"%1\" has the unknown size code %2; choose its size with Modify.")
                   .arg(current_.description)
                   .arg(current_.code));
        return;
    }
    // 2. Its objects on the surface the job prints from.
    printSurface_.deleteAllObjects();
    QString error;
    if (!loadEnvelopeLayout(printSurface_, catalogue_.layoutPath(current_.fileName), &error)) {
        inform(error);
        return;
    }
    // 3. The envelope's own paper, turned as the feed goes.
    const PaperChoice paper = chooseEnvelopePaper(*printers_, current_.code, feed_);
    // 4. The printer and feed check.
    TEnvelopePrePrint check(*printers_, current_.code, feed_, paper.note, this);
    std::optional<FeedMethod> feed;
    if (hooks.prePrint)
        feed = hooks.prePrint(check);
    else if (check.exec() == QDialog::Accepted)
        feed = check.feed();
    if (!feed)
        return;
    feed_ = *feed;
    printers_->setOrientation(feed_.pageOrientation());
    saveSettings();

    // 5. The table's record, filter and order come back whatever happens.
    TableStateKeeper keeper(table_, TableStateKeeper::Signals::Quiet);
    EnvelopeJob job;
    job.records = all_->isChecked() ? RecordChoice::All
                : matching_->isChecked() ? RecordChoice::MatchingFilter
                                         : RecordChoice::CurrentOnly;
    job.startFromCurrent = startFromCurrent_->isChecked();
    job.feed = feed_;
    job.envelopeWidth = current_.width;
    job.envelopeHeight = current_.height;
    job.preview = preview;
    job.unprintable = printers_->unprintableMargins();
    EnvelopeRun run(printSurface_, table_, job);
    // 6. The first record.
    QString notice;
    if (!run.position(keeper.recno(), &notice, &error)) {
        inform(error);
        return;
    }
    if (!notice.isEmpty())
        inform(notice);
    // Records without an address get no envelope; the user hears which before anything prints.
    const EnvelopeRun::Census census = run.census();
    if (census.envelopes == 0) {
        inform(job.records == RecordChoice::CurrentOnly
                   ? QStringLiteral("The current record has no address: no envelope was printed.")
                   : QStringLiteral("None of the records to print has an address: no envelope was printed."));
        return;
    }
    if (!census.noAddress.empty()
        && !ask(skippedRecordsText(census.noAddress)
                    + QStringLiteral("\r\nPrint the other %1?").arg(census.envelopes),
                QStringLiteral("Envelope Print")))
        return;
    // 7, 8. The progress window runs the job.
    runEnvelopeForm(run, *printers_, preview, this, hooks.device, hooks.showPreview);
    lastPrinted_ = run.printed();
    lastSkipped_ = run.skipped();
}

} // namespace postavo::envelopes
