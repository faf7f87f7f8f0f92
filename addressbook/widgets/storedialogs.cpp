#include "storedialogs.h"

#include "addressfile.h"
#include "catalogues.h"
#include "dialogkit.h"
#include "helptopics.h"
#include "settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace postavo {

namespace {
// A word-wrapped label in a window at least `windowWidth` wide: its lines never get cut,
// whatever else the window shows later (a layout does not ask wrapped text for its height).
void keepWrappedTextWhole(QLabel* label, int windowWidth)
{
    QWidget* w = label->window();
    const int margins = w->style()->pixelMetric(QStyle::PM_LayoutLeftMargin)
                        + w->style()->pixelMetric(QStyle::PM_LayoutRightMargin);
    label->setMinimumHeight(label->heightForWidth(windowWidth - margins));
    if (QLayout* l = w->layout())
        l->setSizeConstraint(QLayout::SetMinimumSize);
}
} // namespace

// ---------------------------------------------------------------- Create new database

TNewDataBaseName::TNewDataBaseName(const QString& proposal, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TNewDataBaseName"));
    setWindowTitle(QStringLiteral("Create new database"));
    enableWhatsThis(this);
    lengths_ = readNewFileFieldLengths(Settings());

    auto* prompt = new QLabel(QStringLiteral("Enter the database name (no extension)"), this);
    name_ = new QLineEdit(proposal, this);
    name_->setObjectName(QStringLiteral("Name"));
    name_->setMaxLength(8);
    name_->selectAll();
    prompt->setBuddy(name_);
    explain(name_, QStringLiteral("The name of the new address file, without extension. It is created in the DATA folder."));
    invalid_ = new QLabel(QStringLiteral("Invalid name. Must start with A..Z, followed by A..Z,0..9 or \"_\" (underscore)"), this);
    invalid_->setObjectName(QStringLiteral("InvalidName"));
    invalid_->setWordWrap(true);
    QPalette pal = invalid_->palette();
    pal.setColor(QPalette::WindowText, QColor(170, 0, 0));
    invalid_->setPalette(pal);

    ok_ = new QPushButton(QStringLiteral("Ok [PgDn]"), this);
    ok_->setObjectName(QStringLiteral("Ok"));
    ok_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* lengths = new QPushButton(QStringLiteral("Specify Field Lengths"), this);
    lengths->setObjectName(QStringLiteral("SpecifyFieldLengths"));
    explain(lengths, QStringLiteral("Sets how many characters each field of the new file holds."));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lengths);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    buttons->addWidget(makeHelpButton(this, help::NewDatabase));

    auto* v = new QVBoxLayout(this);
    v->addWidget(prompt);
    v->addWidget(name_);
    v->addWidget(invalid_);
    v->addSpacing(8);
    v->addLayout(buttons);

    connect(name_, &QLineEdit::textChanged, this, &TNewDataBaseName::validate);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lengths, &QPushButton::clicked, this, [this] {
        TSpecifyFieldLengths dlg(lengths_, this);
        if (dlg.exec() == QDialog::Accepted)
            lengths_ = dlg.lengths();
    });
    validate();
    setMinimumWidth(440);
    // The note keeps its room (two lines at this width) whether shown or not: the window
    // neither jumps nor clips it when it appears.
    keepWrappedTextWhole(invalid_, 440);
    QSizePolicy sp = invalid_->sizePolicy();
    sp.setRetainSizeWhenHidden(true);
    invalid_->setSizePolicy(sp);
}

QString TNewDataBaseName::name() const { return name_->text(); }
bool TNewDataBaseName::okEnabled() const { return ok_->isEnabled(); }
bool TNewDataBaseName::invalidShown() const { return !invalid_->isHidden(); }

void TNewDataBaseName::validate()
{
    const bool ok = isValidFileIdentifier(name_->text());
    ok_->setEnabled(ok);
    invalid_->setVisible(!ok);
}

void TNewDataBaseName::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_PageDown && ok_->isEnabled()) {
        accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

// ---------------------------------------------------------------- Specify Field Lengths

const QVector<QPair<QString, QString>>& TSpecifyFieldLengths::captions()
{
    static const QVector<QPair<QString, QString>> c = {
        {"FNAME", "First Name"}, {"LNAME", "Last Name"}, {"PREFIX", "Prefix"}, {"TITLE", "Title"},
        {"ORG", "Organization"}, {"STREET", "Address #1"}, {"STREET2", "Address #2"}, {"CITY", "City"},
        {"STATE", "State"}, {"ZIP", "Zip/Postal"}, {"COUNTRY", "Country"}, {"PHONE", "Phone #1"},
        {"PHONE2", "Phone #2"}, {"FAX", "Fax"}, {"EMAIL", "E-Mail"}, {"CODES", "Codes"},
        {"USER1", "Comments #1"}, {"USER2", "Comments #2"}};
    return c;
}

TSpecifyFieldLengths::TSpecifyFieldLengths(const FieldLengths& lengths, QWidget* parent)
    : QDialog(parent), lengths_(lengths), reference_(lengths)
{
    setObjectName(QStringLiteral("TSpecifyFieldLengths"));
    setWindowTitle(QStringLiteral("Specify Field Lengths"));
    enableWhatsThis(this);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    const auto& c = captions();
    const int rows = (int(c.size()) + 1) / 2;
    for (int i = 0; i < c.size(); ++i) {
        const QString field = c[i].first;
        auto* label = new QLabel(c[i].second, this);
        auto* box = new QLineEdit(QString::number(lengths_.value(field)), this);
        box->setObjectName(field);
        box->setMaxLength(3);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
        box->setAlignment(Qt::AlignRight);
        explain(box, QStringLiteral("Characters the %1 field of new files holds (10 to 80).").arg(c[i].second));
        label->setBuddy(box);
        boxes_.insert(field, box);
        const int col = (i / rows) * 2;
        grid->addWidget(label, i % rows, col);
        grid->addWidget(box, i % rows, col + 1);
        connect(box, &QLineEdit::editingFinished, this, [this, field] { revertIfInvalid(field); });
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* note = new QLabel(QStringLiteral("NOTE: Minimum size = 10 characters                  Maximum size = 80 characters"), this);
    keep_ = new QCheckBox(QStringLiteral("Use these settings for all new databases"), this);
    keep_->setObjectName(QStringLiteral("UseForAll"));
    explain(keep_, QStringLiteral("Keeps these lengths in the settings file for every database created later."));

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* defaults = new QPushButton(QStringLiteral("Defaults"), this);
    defaults->setObjectName(QStringLiteral("Defaults"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(defaults);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(makeHelpButton(this, help::FieldLengths));

    auto* v = new QVBoxLayout(this);
    v->addLayout(grid);
    v->addWidget(note);
    v->addWidget(keep_);
    v->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &TSpecifyFieldLengths::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, &TSpecifyFieldLengths::loadDefaults);
}

void TSpecifyFieldLengths::revertIfInvalid(const QString& field)
{
    QLineEdit* box = boxes_.value(field);
    if (!acceptsTypedFieldLength(box->text()))
        box->setText(QString::number(reference_.value(field)));
}

void TSpecifyFieldLengths::loadDefaults()
{
    reference_ = defaultButtonFieldLengths();
    for (auto it = boxes_.cbegin(); it != boxes_.cend(); ++it)
        it.value()->setText(QString::number(reference_.value(it.key())));
}

void TSpecifyFieldLengths::accept()
{
    for (auto it = boxes_.cbegin(); it != boxes_.cend(); ++it) {
        revertIfInvalid(it.key());
        int v = 0;
        if (acceptsTypedFieldLength(it.value()->text(), &v))
            lengths_[it.key()] = v;
    }
    if (keep_->isChecked()) {
        Settings s;
        writeNewFileFieldLengths(s, lengths_);
    }
    QDialog::accept();
}

// ---------------------------------------------------------------- rebuilding

namespace {
struct ReindexParts {
    QProgressBar* bar;
    QLabel* status;
    QPushButton* reindex;
    QPushButton* cancel;
    QPushButton* help;
};

ReindexParts buildReindexWindow(QDialog* d, int topic)
{
    ReindexParts p{};
    p.bar = new QProgressBar(d);
    p.bar->setObjectName(QStringLiteral("Progress"));
    p.bar->setRange(0, 100);
    p.bar->setValue(0);
    p.bar->hide();
    p.status = new QLabel(d);
    p.status->setObjectName(QStringLiteral("Status"));
    p.status->hide();
    p.reindex = new QPushButton(QStringLiteral("Reindex"), d);
    p.reindex->setObjectName(QStringLiteral("Reindex"));
    p.reindex->setDefault(true);
    p.cancel = new QPushButton(QStringLiteral("Cancel"), d);
    p.help = makeHelpButton(d, topic);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(p.reindex);
    buttons->addWidget(p.cancel);
    buttons->addWidget(p.help);
    auto* v = new QVBoxLayout(d);
    auto* intro = new QLabel(QStringLiteral("Press Reindex to remove deleted records for good and build the sort orders again."), d);
    intro->setObjectName(QStringLiteral("Intro"));
    intro->setWordWrap(true);
    v->addWidget(intro);
    v->addWidget(p.status);
    v->addWidget(p.bar);
    v->addStretch();
    v->addLayout(buttons);
    d->setMinimumWidth(420);
    keepWrappedTextWhole(intro, 420);
    QObject::connect(p.cancel, &QPushButton::clicked, d, &QDialog::reject);
    return p;
}
} // namespace

TPVReindex::TPVReindex(AddressTable& table, QWidget* parent) : QDialog(parent), table_(table)
{
    setObjectName(QStringLiteral("TPVReindex"));
    setWindowTitle(QStringLiteral("Rebuild indexes for ") + QFileInfo(table.path()).fileName());
    enableWhatsThis(this);
    const ReindexParts p = buildReindexWindow(this, help::RebuildIndexes);
    bar_ = p.bar;
    status_ = p.status;
    reindexButton_ = p.reindex;
    cancel_ = p.cancel;
    help_ = p.help;
    connect(reindexButton_, &QPushButton::clicked, this, &TPVReindex::reindex);
}

void TPVReindex::reindex()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bar_->show();
    status_->show();
    reindexButton_->setEnabled(false);
    cancel_->hide();
    help_->hide();
    ok_ = RebuildAddressFile(table_, [this](const QString& status, int percent) {
        status_->setText(status);
        bar_->setValue(std::clamp(percent, 0, 100));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    bar_->hide();
    reindexButton_->setEnabled(true);
    cancel_->show();
    help_->show();
    QApplication::restoreOverrideCursor();
    accept();
}

TSystemReindex::TSystemReindex(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TSystemReindex"));
    setWindowTitle(QStringLiteral("Rebuild System Indexes"));
    enableWhatsThis(this);
    const ReindexParts p = buildReindexWindow(this, help::RebuildSystemIndexes);
    bar_ = p.bar;
    status_ = p.status;
    reindexButton_ = p.reindex;
    cancel_ = p.cancel;
    help_ = p.help;
    connect(reindexButton_, &QPushButton::clicked, this, &TSystemReindex::reindex);
}

void TSystemReindex::reindex()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bar_->show();
    status_->show();
    reindexButton_->hide();
    cancel_->hide();
    help_->hide();
    rebuildSystemIndexes([this](const QString& status, int percent) {
        status_->setText(status);
        bar_->setValue(std::clamp(percent, 0, 100));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    bar_->setValue(0);
    QApplication::restoreOverrideCursor();
    accept();
}

// ---------------------------------------------------------------- Preferences

TPreferences::TPreferences(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    enableWhatsThis(this);
    const Preferences p = Preferences::load(Settings());

    auto* adding = new QGroupBox(QStringLiteral(" When adding new records"), this);
    plugDate_ = new QCheckBox(QStringLiteral("Enter today's date in the date field"), adding);
    plugCityState_ = new QCheckBox(QStringLiteral("Automatically insert city and state/province"), adding);
    autoDup_ = new QCheckBox(QStringLiteral("Automatically check for duplicate names"), adding);
    plugDate_->setChecked(p.plugDate);
    plugCityState_->setChecked(p.plugCityState);
    autoDup_->setChecked(p.autoDupCheck);
    explain(plugCityState_, QStringLiteral("Asks for the zip or postal code first and fills in the city and state "
                                           "from a record of this file with the same code."));
    explain(autoDup_, QStringLiteral("Asks for the last and first name first and warns when a record with that name exists."));
    country_ = new QLineEdit(p.defaultCountry, adding);
    country_->setObjectName(QStringLiteral("DefaultCountry"));
    country_->setMaxLength(30);
    explain(country_, QStringLiteral("The country every new record starts with, unless the country is carried forward."));
    auto* countryLabel = new QLabel(QStringLiteral("Default Country Name"), adding);
    countryLabel->setBuddy(country_);

    auto* carryBox = new QGroupBox(QStringLiteral("Carry forward the following fields:"), adding);
    auto* carryGrid = new QGridLayout(carryBox);
    const char* carryLabels[] = {"Organization", "Address 1", "Address 2", "City", "State/Province", "Zip/Postal Code", "Country"};
    for (int i = 0; i < 7; ++i) {
        auto* cb = new QCheckBox(QString::fromLatin1(carryLabels[i]), carryBox);
        cb->setObjectName(QString::fromLatin1(keys::kCarryKeys[i]->key));
        cb->setChecked(p.carry[size_t(i)]);
        carryGrid->addWidget(cb, i, 0);
        carry_ << cb;
    }
    explain(carryBox, QStringLiteral("A new record starts with these values copied from the record on screen."));

    auto* skipBox = new QGroupBox(QStringLiteral("Skip through the following fields:"), adding);
    auto* skipGrid = new QGridLayout(skipBox);
    const char* skipLabels[] = {"Last Name", "First Name", "Middle Initial", "Prefix", "Title", "Organization",
                                "Address 2", "Phone #1", "Phone #2", "Fax", "E-Mail", "State/Province",
                                "Zip/Postal Code", "Country", "Codes", "Comments #1", "Comments #2", "Date"};
    for (int i = 0; i < 18; ++i) {
        auto* cb = new QCheckBox(QString::fromLatin1(skipLabels[i]), skipBox);
        cb->setObjectName(QString::fromLatin1(keys::kSkipKeys[i]->key));
        cb->setChecked(p.skip[size_t(i)]);
        skipGrid->addWidget(cb, i % 9, i / 9);
        skip_ << cb;
    }
    explain(skipBox, QStringLiteral("Tab and Enter pass over these fields while a new record is typed."));

    auto* ag = new QGridLayout(adding);
    ag->addWidget(plugDate_, 0, 0, 1, 2);
    ag->addWidget(plugCityState_, 1, 0, 1, 2);
    ag->addWidget(autoDup_, 2, 0, 1, 2);
    auto* countryRow = new QHBoxLayout;
    countryRow->addWidget(countryLabel);
    countryRow->addWidget(country_, 1);
    ag->addLayout(countryRow, 3, 0, 1, 2);
    ag->addWidget(carryBox, 4, 0, Qt::AlignTop);
    ag->addWidget(skipBox, 4, 1);

    level_ = new QComboBox(this);
    level_->setObjectName(QStringLiteral("AggressiveSave"));
    level_->addItems({QStringLiteral("None"), QStringLiteral("Normal - Every 5 Saves"), QStringLiteral("High - Every Save")});
    level_->setCurrentIndex(std::clamp(p.aggressiveSave, 0, 2));
    explain(level_, QStringLiteral("How often your changes are made safe on the disk: only when the file is "
                                   "closed, every 5 saves, or every save."));
    auto* levelLabel = new QLabel(QStringLiteral("Aggressive Saving Level"), this);
    levelLabel->setBuddy(level_);
    auto* levelRow = new QHBoxLayout;
    levelRow->addWidget(levelLabel);
    levelRow->addWidget(level_);
    levelRow->addStretch();

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(makeHelpButton(this, help::Preferences));

    auto* v = new QVBoxLayout(this);
    v->addWidget(adding);
    v->addLayout(levelRow);
    v->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &TPreferences::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

Preferences TPreferences::values() const
{
    Preferences p = Preferences::load(Settings());
    p.plugDate = plugDate_->isChecked();
    p.plugCityState = plugCityState_->isChecked();
    p.autoDupCheck = autoDup_->isChecked();
    p.defaultCountry = country_->text();
    for (int i = 0; i < carry_.size(); ++i)
        p.carry[size_t(i)] = carry_[i]->isChecked();
    for (int i = 0; i < skip_.size(); ++i)
        p.skip[size_t(i)] = skip_[i]->isChecked();
    p.aggressiveSave = level_->currentIndex();
    return p;
}

void TPreferences::accept()
{
    Settings s;
    values().saveAddingAndEditing(s);
    QDialog::accept();
}

} // namespace postavo
