#include "bulkeditwindows.h"

#include "addressfile.h"
#include "dialogkit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace postavo {

namespace {

QGroupBox* radioGroup(const QString& title, const QStringList& captions, QRadioButton** out, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    auto* l = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (int i = 0; i < captions.size(); ++i) {
        out[i] = new QRadioButton(captions[i], box);
        group->addButton(out[i], i);
        l->addWidget(out[i]);
    }
    out[0]->setChecked(true);
    return box;
}

QProgressBar* makeBar(QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setRange(0, 100);
    bar->setValue(0);
    return bar;
}

// The user is told what a cancelled or failed pass changed.
void reportStopped(MaintenanceUi& ui, const BulkOutcome& o, const QString& verb)
{
    if (o.cancelled || !o.error.isEmpty())
        ui.showInformation(bulk::stoppedText(o, verb));
}

} // namespace

// ================================================================ Convert Case

TConvertCaseWindow::TConvertCaseWindow(AddressTable& table, MaintenanceUi& ui, const QString& filterText, QWidget* parent)
    : QDialog(parent), table_(table), ui_(ui), filter_(filterText), progress_(nullptr, nullptr)
{
    registerMaintenanceHelp();
    setObjectName(QStringLiteral("TConvertCaseWindow"));
    setWindowTitle(QStringLiteral("Convert Case"));
    enableWhatsThis(this);
    options_ = new QWidget(this);
    auto* fields = new QGroupBox(QStringLiteral("Which fields should be converted ?"), options_);
    auto* grid = new QGridLayout(fields);
    int i = 0;
    for (const BulkField& f : caseConversionFields()) {
        auto* b = new QCheckBox(QString::fromLatin1(f.caption), fields);
        b->setChecked(true);
        boxes_[QString::fromLatin1(f.field)] = b;
        grid->addWidget(b, i % 8, i / 8);
        ++i;
    }
    all_ = new QCheckBox(QStringLiteral("All"), fields);
    all_->setChecked(true);
    grid->addWidget(all_, i % 8, i / 8);
    connect(all_, &QCheckBox::clicked, this, [this](bool on) {
        for (auto& [name, box] : boxes_)
            box->setChecked(on);
    });
    auto* scope = radioGroup(QStringLiteral("Records"),
                             {QStringLiteral("Current Record Only"), QStringLiteral("All Records"),
                              QStringLiteral("All Records Matching Filter")},
                             scopes_, options_);
    scopes_[2]->setEnabled(!filter_.isEmpty());
    auto* how = radioGroup(QStringLiteral("Conversion"),
                           {QStringLiteral("Uppercase"), QStringLiteral("First letter capitalized"),
                            QStringLiteral("Lowercase")},
                           conversions_, options_);
    auto* side = new QVBoxLayout;
    side->addWidget(scope);
    side->addWidget(how);
    side->addStretch();
    auto* ol = new QHBoxLayout(options_);
    ol->setContentsMargins(0, 0, 0, 0);
    ol->addWidget(fields);
    ol->addLayout(side);

    bar_ = makeBar(this);
    bar_->hide();
    progress_ = PassDisplay(bar_, nullptr);
    convert_ = makeButton(QStringLiteral("Convert"), this, QStringLiteral("Converts the ticked fields."));
    auto* cancel = makeButton(QStringLiteral("Cancel"), this);
    connect(convert_, &QPushButton::clicked, this, &TConvertCaseWindow::convert);
    connect(cancel, &QPushButton::clicked, this, &TConvertCaseWindow::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(convert_);
    buttons->addWidget(cancel);
    buttons->addWidget(makeHelpButton(this, help::ConvertCase));
    auto* l = new QVBoxLayout(this);
    l->addWidget(options_);
    l->addWidget(bar_);
    l->addLayout(buttons);
}

void TConvertCaseWindow::setScope(Scope s) { scopes_[int(s)]->setChecked(true); }

void TConvertCaseWindow::setConversion(CaseConversion c)
{
    conversions_[c == CaseConversion::Upper ? 0 : c == CaseConversion::Capitalise ? 1 : 2]->setChecked(true);
}

void TConvertCaseWindow::convert()
{
    if (running_)
        return;
    QStringList fields;
    for (const BulkField& f : caseConversionFields())
        if (boxes_.at(QString::fromLatin1(f.field))->isChecked())
            fields << QString::fromLatin1(f.field);
    if (fields.isEmpty()) {
        ui_.showInformation(QString::fromLatin1(bulk::kNoFieldsChecked));
        return;
    }
    if (!ui_.askYesNoDefaultNo(QString::fromLatin1(bulk::kConvertQuestion), QString::fromLatin1(bulk::kConvertCaption)))
        return;
    const CaseConversion how = conversions_[0]->isChecked()   ? CaseConversion::Upper
                               : conversions_[1]->isChecked() ? CaseConversion::Capitalise
                                                              : CaseConversion::Lower;
    const bool current = scopes_[0]->isChecked();
    const QString remembered = table_.filter();
    const quint32 here = table_.recNo();
    if (scopes_[1]->isChecked())
        table_.setFilter(QStringLiteral("!ISDEL"));  // every record that is not deleted
    running_ = true;
    options_->hide();
    if (!current)
        bar_->show();
    progress_.reset();
    outcome_ = convertCaseOfRecords(table_, fields, how, current, progress_.step());
    running_ = false;
    table_.setFilter(remembered);
    table_.goTo(here);
    reportStopped(ui_, outcome_, QStringLiteral("converted"));
    accept();
}

void TConvertCaseWindow::reject()
{
    if (running_) {
        if (ui_.askYesNo(QString::fromLatin1(bulk::kCancelConversion), QStringLiteral("Cancel")))
            progress_.requestCancel();
        return;
    }
    QDialog::reject();
}

// ================================================================ Delete Records

TDeleteRecordsWindow::TDeleteRecordsWindow(AddressTable& table, MaintenanceUi& ui, const QString& filterText,
                                           QWidget* parent)
    : QDialog(parent), table_(table), ui_(ui), filter_(filterText), progress_(nullptr, nullptr)
{
    registerMaintenanceHelp();
    setObjectName(QStringLiteral("TDeleteRecordsWindow"));
    setWindowTitle(QStringLiteral("Delete Records"));
    enableWhatsThis(this);
    options_ = radioGroup(QString(),
                          {QStringLiteral("Delete &All Records"), QStringLiteral("Delete Records matching current &Filter"),
                           QStringLiteral("Delete Records which do &NOT match current Filter")},
                          choices_, this);
    choices_[1]->setEnabled(!filter_.isEmpty());
    choices_[2]->setEnabled(!filter_.isEmpty());
    progressPanel_ = new QWidget(this);
    auto* pl = new QVBoxLayout(progressPanel_);
    pl->addWidget(new QLabel(QString::fromLatin1(bulk::kDeleting), progressPanel_));
    bar_ = makeBar(progressPanel_);
    pl->addWidget(bar_);
    progressPanel_->hide();
    progress_ = PassDisplay(bar_, nullptr);
    auto* go = makeButton(QStringLiteral("Delete Now"), this, QStringLiteral("Deletes the chosen records."));
    auto* cancel = makeButton(QStringLiteral("Cancel"), this);
    connect(go, &QPushButton::clicked, this, &TDeleteRecordsWindow::deleteNow);
    connect(cancel, &QPushButton::clicked, this, &TDeleteRecordsWindow::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(go);
    buttons->addWidget(cancel);
    buttons->addWidget(makeHelpButton(this, help::DeleteRecords));
    auto* l = new QVBoxLayout(this);
    l->addWidget(options_);
    l->addWidget(progressPanel_);
    l->addLayout(buttons);
}

void TDeleteRecordsWindow::setChoice(DeleteChoice c) { choices_[int(c)]->setChecked(true); }

void TDeleteRecordsWindow::deleteNow()
{
    if (running_ || !ui_.askYesNo(QString::fromLatin1(bulk::kDeleteQuestion), QString::fromLatin1(bulk::kDeleteCaption)))
        return;
    const DeleteChoice choice = choices_[0]->isChecked()   ? DeleteChoice::All
                                : choices_[1]->isChecked() ? DeleteChoice::MatchingFilter
                                                           : DeleteChoice::NotMatchingFilter;
    running_ = true;
    options_->hide();
    progressPanel_->show();
    progress_.reset();
    outcome_ = deleteRecords(table_, choice, filter_, progress_.step());
    running_ = false;
    if (outcome_.cancelled || !outcome_.error.isEmpty()) {
        reportStopped(ui_, outcome_, QStringLiteral("deleted"));
    } else {
        ui_.showInformation(bulk::deletedText(outcome_.changed));
        ui_.showInformation(QString::fromLatin1(bulk::kRebuildAdvice));
    }
    accept();
}

void TDeleteRecordsWindow::reject()
{
    if (running_) {
        if (ui_.askYesNo(QString::fromLatin1(bulk::kCancelDeleting), QStringLiteral("CANCEL")))
            progress_.requestCancel();
        return;
    }
    QDialog::reject();
}

// ================================================================ Search and Replace

TSearchReplaceWindow::TSearchReplaceWindow(AddressTable& table, MaintenanceUi& ui, const QString& filterText,
                                           QWidget* parent)
    : QDialog(parent), table_(table), ui_(ui), filter_(filterText), progress_(nullptr, nullptr)
{
    registerMaintenanceHelp();
    setObjectName(QStringLiteral("TSearchReplaceWindow"));
    setWindowTitle(QStringLiteral("Search and Replace"));
    enableWhatsThis(this);
    options_ = new QWidget(this);
    field_ = new QComboBox(options_);
    for (const ReplaceTarget& t : replaceTargets())
        field_->addItem(QString::fromLatin1(t.caption), QString::fromLatin1(t.field));
    QRadioButton* tests[2];
    auto* where = radioGroup(QStringLiteral("Where the field value:"),
                             {QStringLiteral("Is exactly equal to  (leave empty for blank)"), QStringLiteral("Contains")},
                             tests, options_);
    exact_ = tests[0];
    contains_ = tests[1];
    find_ = new QLineEdit(where);
    find_->setObjectName(QStringLiteral("FindBox"));
    caseSensitive_ = new QCheckBox(QStringLiteral("Case sensitive"), where);
    caseSensitive_->setChecked(true);
    where->layout()->addWidget(find_);
    where->layout()->addWidget(caseSensitive_);
    QRadioButton* actions[2];
    auto* action = radioGroup(QStringLiteral("And do this action:"),
                              {QStringLiteral("Replace the whole field with"),
                               QStringLiteral("Replace only the matching text with")},
                              actions, options_);
    whole_ = actions[0];
    matching_ = actions[1];
    with_ = new QLineEdit(action);
    with_->setObjectName(QStringLiteral("WithBox"));
    action->layout()->addWidget(with_);
    QRadioButton* scopes[2];
    auto* using_ = radioGroup(QStringLiteral("Using:"),
                              {QStringLiteral("All Records"), QStringLiteral("Records matching current Filter")}, scopes,
                              options_);
    allRecords_ = scopes[0];
    useFilter_ = scopes[1];
    useFilter_->setEnabled(!filter_.isEmpty());
    auto* ol = new QVBoxLayout(options_);
    ol->setContentsMargins(0, 0, 0, 0);
    ol->addWidget(new QLabel(QStringLiteral("Search for field:"), options_));
    ol->addWidget(field_);
    ol->addWidget(where);
    ol->addWidget(action);
    ol->addWidget(using_);
    connect(field_, &QComboBox::currentIndexChanged, this, &TSearchReplaceWindow::fieldChosen);
    fieldChosen();

    progressPanel_ = new QWidget(this);
    auto* pl = new QVBoxLayout(progressPanel_);
    pl->addWidget(new QLabel(QString::fromLatin1(bulk::kReplacing), progressPanel_));
    bar_ = makeBar(progressPanel_);
    pl->addWidget(bar_);
    progressPanel_->hide();
    progress_ = PassDisplay(bar_, nullptr);
    auto* go = makeButton(QStringLiteral("Replace "), this, QStringLiteral("Finds the records and replaces their values."));
    auto* cancel = makeButton(QStringLiteral("Cancel"), this);
    connect(go, &QPushButton::clicked, this, &TSearchReplaceWindow::replace);
    connect(cancel, &QPushButton::clicked, this, &TSearchReplaceWindow::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(go);
    buttons->addWidget(cancel);
    buttons->addWidget(makeHelpButton(this, help::SearchReplace));
    auto* l = new QVBoxLayout(this);
    l->addWidget(options_);
    l->addWidget(progressPanel_);
    l->addLayout(buttons);
}

void TSearchReplaceWindow::fieldChosen()
{
    // Both boxes take at most the field's width; a narrower field cuts what they hold.
    const int width = std::max(1, table_.fieldWidth(field_->currentData().toString()));
    for (QLineEdit* e : {find_, with_}) {
        if (e->text().size() > width)
            e->setText(e->text().left(width));
        e->setMaxLength(width);
    }
}

ReplaceRequest TSearchReplaceWindow::request() const
{
    ReplaceRequest r;
    r.field = field_->currentData().toString();
    r.exact = exact_->isChecked();
    r.find = find_->text();
    r.caseSensitive = caseSensitive_->isChecked();
    r.wholeField = whole_->isChecked();
    r.with = with_->text();
    r.scopeFilter = useFilter_->isChecked() ? filter_ : QString();
    return r;
}

void TSearchReplaceWindow::setRequest(const ReplaceRequest& r)
{
    field_->setCurrentIndex(std::max(0, field_->findData(r.field.toUpper())));
    (r.exact ? exact_ : contains_)->setChecked(true);
    find_->setText(r.find);
    caseSensitive_->setChecked(r.caseSensitive);
    (r.wholeField ? whole_ : matching_)->setChecked(true);
    with_->setText(r.with);
    (r.scopeFilter.isEmpty() || filter_.isEmpty() ? allRecords_ : useFilter_)->setChecked(true);
}

void TSearchReplaceWindow::replace()
{
    if (running_)
        return;
    const ReplaceRequest r = request();
    if (const QString problem = checkReplaceRequest(r, table_); !problem.isEmpty()) {
        ui_.showInformation(problem);
        return;
    }
    if (!ui_.askYesNo(replaceConfirmation(r), QString::fromLatin1(bulk::kReplaceCaption)))
        return;
    running_ = true;
    options_->hide();
    progressPanel_->show();
    progress_.reset();
    const ReplacePlan plan = planReplacement(table_, r, progress_.step());
    outcome_ = {};
    outcome_.total = plan.matched();
    bool apply = plan.error.isEmpty() && !plan.cancelled;
    if (apply && !plan.tooLong.empty()) {
        // Never cut a value to fit: the user decides whether the others go ahead.
        const QString question =
            QStringLiteral("%1 of the %2 records found would get a value longer than %3 holds (%4 characters).\r\n"
                           "Replace the other records and leave these %1 unchanged?")
                .arg(plan.tooLong.size())
                .arg(plan.matched())
                .arg(field_->currentText())
                .arg(plan.width);
        apply = ui_.askYesNoDefaultNo(question, QString::fromLatin1(bulk::kReplaceCaption));
        if (!apply)
            ui_.showInformation(QStringLiteral("Nothing was replaced."));
    }
    if (apply)
        outcome_ = applyReplacement(table_, plan, progress_.step());
    running_ = false;
    if (!plan.error.isEmpty()) {
        ui_.showInformation(plan.error);
    } else if (plan.cancelled) {
        ui_.showInformation(QStringLiteral("The search was cancelled; nothing was replaced."));
    } else if (apply) {
        if (outcome_.cancelled || !outcome_.error.isEmpty()) {
            reportStopped(ui_, outcome_, QStringLiteral("changed"));
        } else {
            QString done = bulk::replacedText(outcome_.changed);
            if (!plan.tooLong.empty())
                done += QStringLiteral("\r\n") + tooLongText(plan, field_->currentText());
            ui_.showInformation(done);
            ui_.showInformation(QString::fromLatin1(bulk::kReplacementDone));
        }
    }
    accept();
}

void TSearchReplaceWindow::reject()
{
    if (running_) {
        if (ui_.askYesNo(QString::fromLatin1(bulk::kCancelReplacing), QStringLiteral("CANCEL")))
            progress_.requestCancel();
        return;
    }
    QDialog::reject();
}

} // namespace postavo
