#include "importwindows.h"

#include "addressfile.h"
#include "cp1252.h"
#include "engine/recordengine.h"
#include "matchwindow.h"
#include "messageboxes.h"
#include "progresspanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace postavo::transfer {

namespace {

const QString kNone = QStringLiteral("(none)");

QTableWidget* readOnlyGrid(QWidget* parent)
{
    auto* t = new QTableWidget(parent);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->verticalHeader()->hide();
    return t;
}

} // namespace

// ---------------------------------------------------------------- the common part

ImportWindowBase::ImportWindowBase(const QString& caption, const QString& fileCaption, int helpTopic, AddressTable& table,
                                   QWidget* parent)
    : QDialog(parent), table_(table)
{
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(fileCaption, this));
    file_ = new QLabel(kNone, this);
    file_->setFrameShape(QFrame::StyledPanel);
    file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fileRow->addWidget(file_, 1);
    layout->addLayout(fileRow);
    buttons_ = new QWidget(this);
    auto* row = new QHBoxLayout(buttons_);
    row->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buttons_);
    progress_ = new ProgressPanel(this);
    progress_->hide();
    layout->addWidget(progress_);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    help_ = new QPushButton(QStringLiteral("Help"), this);
    bottom->addWidget(cancel_);
    bottom->addWidget(help_);
    layout->addLayout(bottom);
    connect(cancel_, &QPushButton::clicked, this, &ImportWindowBase::reject);
    connect(help_, &QPushButton::clicked, this, [helpTopic] { showHelpTopic(helpTopic); });
    progress_->onStoppableChanged([this](bool on) { cancel_->setVisible(on); });
    setMinimumWidth(520);
}

QPushButton* ImportWindowBase::addButton(const QString& text)
{
    auto* b = new QPushButton(text, buttons_);
    buttons_->layout()->addWidget(b);
    return b;
}

QString ImportWindowBase::fileText() const { return file_->text(); }
void ImportWindowBase::setFileText(const QString& text) { file_->setText(text.isEmpty() ? kNone : text); }

void ImportWindowBase::reject()
{
    // While importing "Cancel" (and Escape, and closing) stops after the current record; while
    // the indexes are rebuilt it does nothing.
    if (importing_) {
        if (progress_->stoppable())
            progress_->requestStop();
        return;
    }
    QDialog::reject();
}

void ImportWindowBase::runImport(const std::function<ImportResult(TransferProgress&)>& run, ImportKind kind)
{
    importing_ = true;
    buttons_->hide();
    if (options_)
        options_->hide();
    help_->hide();
    progress_->show();
    const ImportResult r = run(*progress_);
    importing_ = false;
    progress_->setStatus(QString());
    showInformation(importClosingMessage(r, kind), this);
    accept();
}

// ---------------------------------------------------------------- text files

TAsciiImport::TAsciiImport(AddressTable& table, QWidget* parent)
    : ImportWindowBase(QStringLiteral("ASCII File Import"), QStringLiteral("ASCII File Name"), 1023, table, parent)
{
    auto* select = addButton(QStringLiteral("Select ASCII File"));
    match_ = addButton(QStringLiteral("Match Fields"));
    import_ = addButton(QStringLiteral("Import"));
    match_->setEnabled(false);
    import_->setEnabled(false);
    // The choices beyond the classic reading; each changes how the chosen file is read, so the
    // file is scanned again.
    options_ = new QWidget(this);
    auto* o = new QVBoxLayout(options_);
    o->setContentsMargins(0, 0, 0, 0);
    quoted_ = new QCheckBox(QStringLiteral("&Quoted values as spreadsheets write them"), options_);
    header_ = new QCheckBox(QStringLiteral("First line holds column &names"), options_);
    encoding_ = new QComboBox(options_);
    encoding_->addItem(QStringLiteral("Detect encoding"), int(TextEncoding::Detect));
    encoding_->addItem(QStringLiteral("UTF-8"), int(TextEncoding::Utf8));
    encoding_->addItem(QStringLiteral("Windows-1252"), int(TextEncoding::Windows1252));
    o->addWidget(quoted_);
    o->addWidget(header_);
    auto* encodingRow = new QHBoxLayout;
    encodingRow->addWidget(new QLabel(QStringLiteral("Text &encoding:"), options_));
    encodingRow->addWidget(encoding_);
    encodingRow->addStretch();
    static_cast<QLabel*>(encodingRow->itemAt(0)->widget())->setBuddy(encoding_);
    o->addLayout(encodingRow);
    static_cast<QVBoxLayout*>(layout())->insertWidget(2, options_);
    status_ = new QLabel(this);
    static_cast<QVBoxLayout*>(layout())->insertWidget(3, status_);
    connect(select, &QPushButton::clicked, this, &TAsciiImport::selectFile);
    connect(match_, &QPushButton::clicked, this, &TAsciiImport::openMatch);
    connect(import_, &QPushButton::clicked, this, &TAsciiImport::startImport);
    auto rescan = [this] {
        if (!chosen_.isEmpty())
            chooseFile(chosen_);
    };
    connect(quoted_, &QCheckBox::toggled, this, rescan);
    connect(header_, &QCheckBox::toggled, this, rescan);
    connect(encoding_, &QComboBox::currentIndexChanged, this, rescan);
}

TextReadOptions TAsciiImport::readOptions() const
{
    TextReadOptions o;
    o.rfc4180 = quoted_->isChecked();
    o.headerLine = header_->isChecked();
    o.encoding = TextEncoding(encoding_->currentData().toInt());
    return o;
}

QString TAsciiImport::statusText() const { return status_->text(); }

void TAsciiImport::selectFile()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), chosen_.isEmpty() ? QString() : QFileInfo(chosen_).path(),
                                                      QStringLiteral("Text files, CSV Files (*.TXT *.txt *.CSV *.csv);;All files (*)"));
    if (!path.isEmpty())
        chooseFile(path);
}

void TAsciiImport::chooseFile(const QString& path)
{
    chosen_ = path;
    setFileText(path);
    plan_ = AsciiImportPlan{scanAsciiFile(path, readOptions()), {}};
    matched_ = false;
    scanned_ = plan_.scan.importable();
    import_->setEnabled(false);
    match_->setEnabled(scanned_);
    if (!scanned_) {
        status_->clear();
        showInformation(plan_.scan.refusal, this);
        return;
    }
    grid_ = FieldMatchGrid(importableAddressFields(&table_), false);
    grid_.setSources(plan_.scan.columnNames);
    if (readOptions().headerLine)
        grid_.preMatch(plan_.scan.columnNames);
    status_->setText(plan_.scan.remarks());
}

void TAsciiImport::openMatch()
{
    const AsciiScan& s = plan_.scan;
    QTableWidget* samples = readOnlyGrid(nullptr);
    samples->setColumnCount(s.columns);
    samples->setRowCount(int(s.samples.size()));
    samples->setHorizontalHeaderLabels(s.columnNames);
    const QFontMetrics fm(font());
    for (int c = 0; c < s.columns; ++c) {
        // As wide as the longest sample in letters W, at least "Field 12", at most 2 inches.
        const int wide = std::clamp(fm.horizontalAdvance(QString(s.longest.value(c), QLatin1Char('W'))),
                                    fm.horizontalAdvance(QStringLiteral("Field 12")), logicalDpiX() * 2);
        samples->setColumnWidth(c, wide);
    }
    for (int r = 0; r < s.samples.size(); ++r)
        for (int c = 0; c < s.samples[r].size(); ++c)
            samples->setItem(r, c, new QTableWidgetItem(s.samples[r][c]));
    TFieldMatch m(QStringLiteral("ASCII File Import Match Fields"), grid_, QFileInfo(s.path).fileName(),
                  QStringLiteral("Sample ASCII Fields"), samples, 1024, this);
    if (m.exec() == QDialog::Accepted)
        acceptMatch(m.grid());
}

void TAsciiImport::acceptMatch(const FieldMatchGrid& grid)
{
    grid_ = grid;
    matched_ = true;
    plan_.columnFields = columnFieldsFrom(grid_, plan_.scan.columnNames);
    import_->setEnabled(grid_.anyMatched());
}

void TAsciiImport::startImport()
{
    if (!matched_ || !import_->isEnabled())
        return;
    runImport([this](TransferProgress& p) { return runAsciiImport(table_, plan_, p); }, ImportKind::Text);
}

// ---------------------------------------------------------------- other tables

TDBFImport::TDBFImport(AddressTable& table, QWidget* parent)
    : ImportWindowBase(QStringLiteral("DBF File Import"), QStringLiteral("DBF File Name"), 1021, table, parent)
{
    auto* select = addButton(QStringLiteral("Select DBF File"));
    match_ = addButton(QStringLiteral("Match Fields"));
    import_ = addButton(QStringLiteral("Import"));
    match_->setEnabled(false);
    import_->setEnabled(false);
    connect(select, &QPushButton::clicked, this, &TDBFImport::selectFile);
    connect(match_, &QPushButton::clicked, this, &TDBFImport::openMatch);
    connect(import_, &QPushButton::clicked, this, &TDBFImport::startImport);
}

TDBFImport::~TDBFImport() = default;

void TDBFImport::selectFile()
{
    QString path = QFileDialog::getOpenFileName(this, QString(), chosen_.isEmpty() ? QString() : QFileInfo(chosen_).path(),
                                                QStringLiteral("DBF Files (*.DBF *.dbf)"));
    if (path.isEmpty())
        path = chosen_;  // the previous choice is taken again
    if (!path.isEmpty())
        chooseFile(path);
}

void TDBFImport::chooseFile(const QString& path)
{
    source_.reset();
    QString message;
    source_ = SourceTable::open(path, table_.path(), &message);
    import_->setEnabled(false);
    matched_ = false;
    if (!source_) {
        showInformation(message, this);
        chosen_.clear();
        setFileText(QString());
        match_->setEnabled(false);
        return;
    }
    chosen_ = path;
    setFileText(path);
    match_->setEnabled(true);
}

FieldMatchGrid TDBFImport::currentGrid() const
{
    return matched_ || !source_ ? grid_ : preMatchedGrid(*source_, &table_);
}

void TDBFImport::openMatch()
{
    if (!source_)
        return;
    // The source's records, as many as a look needs.
    QTableWidget* browser = readOnlyGrid(nullptr);
    const auto& fields = source_->fields();
    browser->setColumnCount(int(fields.size()));
    QStringList names;
    for (const auto* f : fields)
        names << QString::fromLatin1(f->name.c_str());
    browser->setHorizontalHeaderLabels(names);
    engine::Table& t = source_->table();
    int row = 0;
    for (t.goTop(); !t.eof() && row < 500; t.skip(1), ++row) {
        browser->insertRow(row);
        for (int c = 0; c < fields.size(); ++c) {
            QString v = fromCp1252(source_->textValue(*fields[c]));
            browser->setItem(row, c, new QTableWidgetItem(v.left(200).replace(QLatin1Char('\n'), QLatin1Char(' '))));
        }
    }
    TFieldMatch m(QStringLiteral("DBF File Import Match Fields"), currentGrid(), source_->fileName(),
                  QStringLiteral("Import DBF File Browser"), browser, 1022, this);
    if (m.exec() == QDialog::Accepted)
        acceptMatch(m.grid());
}

void TDBFImport::acceptMatch(const FieldMatchGrid& grid)
{
    grid_ = grid;
    matched_ = true;
    import_->setEnabled(grid_.anyMatched());
}

void TDBFImport::startImport()
{
    if (!source_ || !matched_ || !import_->isEnabled())
        return;
    const DbfImportPlan plan = dbfImportPlanFrom(grid_, *source_);
    runImport(
        [&](TransferProgress& p) {
            DbfImportSource records(*source_, plan);
            return runStagedImport(table_, records, p);
        },
        ImportKind::Table);
    source_.reset();
}

// ---------------------------------------------------------------- older versions

TImportOlder::TImportOlder(AddressTable& table, OlderVersion version, QWidget* parent)
    : ImportWindowBase(olderImportCaption(version), QStringLiteral("DBF File Name"), 1092, table, parent), version_(version)
{
    auto* select = addButton(QStringLiteral("Select DBF File"));
    import_ = addButton(QStringLiteral("Import"));
    import_->setEnabled(false);
    connect(select, &QPushButton::clicked, this, &TImportOlder::selectFile);
    connect(import_, &QPushButton::clicked, this, &TImportOlder::startImport);
}

TImportOlder::~TImportOlder() = default;

void TImportOlder::selectFile()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), chosen_.isEmpty() ? QString() : QFileInfo(chosen_).path(),
                                                      QStringLiteral("DBF Files (*.dbf *.DBF)"));
    if (!path.isEmpty())
        chooseFile(path);
}

bool TImportOlder::chooseFile(const QString& path)
{
    QString message;
    if (QFileInfo(path).absoluteFilePath().compare(QFileInfo(table_.path()).absoluteFilePath(), Qt::CaseInsensitive) == 0) {
        // Refused; an earlier accepted table stays chosen.
        showInformation(QStringLiteral("Cannot import a file to itself"), this);
        return false;
    }
    source_ = SourceTable::open(path, table_.path(), &message);
    if (source_ && !missingOlderField(*source_, version_).isEmpty()) {
        source_.reset();
        message = notOlderTableMessage(path, version_);
    }
    if (!source_) {
        showInformation(message, this);
        chosen_.clear();
        setFileText(QString());
        import_->setEnabled(false);
        return false;
    }
    chosen_ = path;
    setFileText(path);
    import_->setEnabled(true);
    return true;
}

void TImportOlder::startImport()
{
    if (!source_)
        return;
    runImport(
        [&](TransferProgress& p) {
            OlderImportSource records(*source_, version_);
            return runStagedImport(table_, records, p);
        },
        ImportKind::Table);
    source_.reset();
}

} // namespace postavo::transfer
