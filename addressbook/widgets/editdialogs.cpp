#include "editdialogs.h"

#include "dialogkit.h"
#include "helptopics.h"
#include "messageboxes.h"
#include "settings.h"
#include "textguard.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace postavo {

// ---------------------------------------------------------------- New Record

TNewRecordPrompt::TNewRecordPrompt(const NewRecordPrompt& p, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TNewRecordPrompt"));
    setWindowTitle(QStringLiteral("New Record"));
    enableWhatsThis(this);
    auto* form = new QFormLayout;
    last_ = new QLineEdit(this);
    last_->setObjectName(QStringLiteral("LastName"));
    last_->setMaxLength(p.lastWidth);
    first_ = new QLineEdit(this);
    first_->setObjectName(QStringLiteral("FirstName"));
    first_->setMaxLength(p.firstWidth);
    zip_ = new QLineEdit(this);
    zip_->setObjectName(QStringLiteral("Zip"));
    zip_->setMaxLength(p.zipWidth);
    explain(last_, QStringLiteral("With the first name, checked against the names already in the file."));
    explain(zip_, QStringLiteral("City and state are taken from a record of this file with this code."));
    zipShown_ = p.askZip;
    if (p.askNames) {
        form->addRow(QStringLiteral("Last Name"), last_);
        form->addRow(QStringLiteral("First Name"), first_);
    } else {
        last_->hide();
        first_->hide();
    }
    if (p.askZip)
        form->addRow(QStringLiteral("Zip Code or Postal Code"), zip_);
    else
        zip_->hide();
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("RefusedNote"));
    note_->setWordWrap(true);
    note_->hide();
    for (QLineEdit* e : {last_, first_, zip_}) {
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 16);
        guardCp1252(e, [this](const QStringList& chars) {
            note_->setText(refusedCharactersNote(chars));
            note_->show();
            QApplication::beep();
        });
    }

    auto* ok = new QPushButton(QStringLiteral("Ok [PgDn]"), this);
    ok->setObjectName(QStringLiteral("Ok"));
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(makeHelpButton(this, help::NewRecord));
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addWidget(note_);
    v->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(last_, &QLineEdit::returnPressed, first_, qOverload<>(&QWidget::setFocus));
    connect(first_, &QLineEdit::returnPressed, this, [this] {
        if (zipShown_)
            zip_->setFocus();
        else
            accept();
    });
    connect(zip_, &QLineEdit::returnPressed, this, &QDialog::accept);
    first_->installEventFilter(this);
    (p.askNames ? last_ : zip_)->setFocus();
}

bool TNewRecordPrompt::eventFilter(QObject* o, QEvent* e)
{
    // Leaving the first-name box goes on when there is no zip to ask for.
    if (o == first_ && e->type() == QEvent::FocusOut && !zipShown_ && isVisible()) {
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        if (reason == Qt::TabFocusReason)
            QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
    }
    return QDialog::eventFilter(o, e);
}

void TNewRecordPrompt::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_PageDown) {
        accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

NewRecordAnswer TNewRecordPrompt::answer() const
{
    NewRecordAnswer a;
    if (!last_->isHidden()) {
        a.last = last_->text();
        a.first = first_->text();
    }
    if (zipShown_)
        a.zip = zip_->text();
    return a;
}

// ---------------------------------------------------------------- Select a Date

TSelectDate::TSelectDate(const QDate& start, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TSelectDate"));
    setWindowTitle(QStringLiteral("Select a Date"));
    enableWhatsThis(this);
    chosen_ = new QLabel(this);
    chosen_->setObjectName(QStringLiteral("ChosenDate"));
    chosen_->setAlignment(Qt::AlignCenter);
    QFont f = chosen_->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.15);
    chosen_->setFont(f);
    calendar_ = new QCalendarWidget(this);
    calendar_->setObjectName(QStringLiteral("Calendar"));
    calendar_->setFirstDayOfWeek(Qt::Sunday);
    calendar_->setGridVisible(true);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar_->setSelectedDate(start.isValid() ? start : QDate::currentDate());

    auto step = [this](const char* caption, const char* name, std::function<QDate(QDate)> f) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, f] { setDate(f(calendar_->selectedDate())); });
        return b;
    };
    auto* nav = new QHBoxLayout;
    nav->addWidget(step("Year-", "YearBack", [](QDate d) { return d.addYears(-1); }));
    nav->addWidget(step("Month-", "MonthBack", [](QDate d) { return d.addMonths(-1); }));
    nav->addWidget(step("Today", "Today", [](QDate) { return QDate::currentDate(); }));
    nav->addWidget(step("Month +", "MonthForward", [](QDate d) { return d.addMonths(1); }));
    nav->addWidget(step("Year+", "YearForward", [](QDate d) { return d.addYears(1); }));

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* none = new QPushButton(QStringLiteral("No Date"), this);
    none->setObjectName(QStringLiteral("NoDate"));
    explain(none, QStringLiteral("Empties the record's date."));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(none);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(makeHelpButton(this, help::SelectDate));

    auto* v = new QVBoxLayout(this);
    v->addWidget(chosen_);
    v->addLayout(nav);
    v->addWidget(calendar_, 1);
    v->addLayout(buttons);
    connect(calendar_, &QCalendarWidget::selectionChanged, this, &TSelectDate::showChosen);
    connect(calendar_, &QCalendarWidget::activated, this, [this] { done(Chosen); });
    connect(ok, &QPushButton::clicked, this, [this] { done(Chosen); });
    connect(cancel, &QPushButton::clicked, this, [this] { done(Cancelled); });
    connect(none, &QPushButton::clicked, this, [this] { done(NoDate); });
    showChosen();
}

QDate TSelectDate::date() const { return calendar_->selectedDate(); }

void TSelectDate::setDate(const QDate& d)
{
    calendar_->setSelectedDate(d);
    calendar_->setCurrentPage(d.year(), d.month());
}

void TSelectDate::showChosen() { chosen_->setText(QLocale().toString(calendar_->selectedDate(), QLocale::LongFormat)); }

// ---------------------------------------------------------------- Getting Started

QString TGettingStarted::pageHtml()
{
    auto link = [](const char* text) {
        return QStringLiteral("<a href='start:%1'>%1</a>").arg(QString::fromLatin1(text));
    };
    return QStringLiteral("<h2>Welcome to Postavo</h2>"
                          "<p>Postavo keeps your mailing lists and prints labels, envelopes, letters and reports from them. "
                          "Your first address file is already open: you can start typing addresses right away.</p>"
                          "<table cellpadding='4'>")
           + QStringLiteral("<tr><td>%1</td><td>Create a new address file for another mailing list.</td></tr>").arg(link("NEW"))
           + QStringLiteral("<tr><td>%1</td><td>Bring in records from a dBASE table.</td></tr>").arg(link("DBASE"))
           + QStringLiteral("<tr><td>%1</td><td>Bring in records from a comma-delimited text file.</td></tr>").arg(link("ASCII"))
           + QStringLiteral("<tr><td>%1</td><td>Add a record.</td></tr>").arg(link("ADD"))
           + QStringLiteral("<tr><td>%1</td><td>Change a record.</td></tr>").arg(link("CHANGE"))
           + QStringLiteral("<tr><td>%1</td><td>Find records: sort orders and filters.</td></tr>").arg(link("FIND"))
           + QStringLiteral("<tr><td>%1</td><td>Delete a record.</td></tr>").arg(link("DELETE"))
           + QStringLiteral("</table><p>%1 &middot; %2</p>").arg(link("FREQUENTLY ASKED QUESTIONS"), link("TECHNICAL SUPPORT"));
}

TGettingStarted::TGettingStarted(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TGettingStarted"));
    setWindowTitle(QStringLiteral("Getting Started"));
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    auto* title = new QLabel(QStringLiteral("Getting Started"), frame);
    QFont tf = title->font();
    tf.setBold(true);
    tf.setPointSizeF(tf.pointSizeF() * 1.2);
    title->setFont(tf);
    auto* page = new QTextBrowser(frame);
    page->setObjectName(QStringLiteral("Page"));
    page->setOpenLinks(false);
    page->setHtml(pageHtml());
    connect(page, &QTextBrowser::anchorClicked, this, [](const QUrl& url) {
        if (const int topic = gettingStartedLinkTopic(url.path(QUrl::FullyDecoded)))
            showHelpTopic(topic);
    });
    dontShow_ = new QCheckBox(QStringLiteral("Do not show this screen at start up"), frame);
    dontShow_->setObjectName(QStringLiteral("DontShow"));
    dontShow_->setChecked(keys::GettingStarted.read(Settings()));
    auto* ok = new QPushButton(QStringLiteral("Ok"), frame);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(dontShow_);
    row->addStretch();
    row->addWidget(ok);
    auto* fv = new QVBoxLayout(frame);
    fv->addWidget(title);
    fv->addWidget(page, 1);
    fv->addLayout(row);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(frame);
    resize(560, 440);
}

void TGettingStarted::done(int r)
{
    Settings s;
    keys::GettingStarted.write(s, dontShow_->isChecked());
    QDialog::done(r);
}

void showAbout(QWidget* parent)
{
    QMessageBox::about(parent, QStringLiteral("About Postavo"),
                       QStringLiteral("<h3>Postavo</h3><p>Version %1</p><p>Mailing lists, labels, envelopes, letters and reports.</p>")
                           .arg(QApplication::applicationVersion().isEmpty() ? QStringLiteral(POSTAVO_VERSION_TEXT)
                                                                             : QApplication::applicationVersion()));
}

} // namespace postavo
