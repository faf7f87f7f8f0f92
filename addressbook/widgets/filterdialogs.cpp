#include "filterdialogs.h"

#include "addressbookcontroller.h"
#include "dialogkit.h"
#include "helptopics.h"
#include "messageboxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace postavo {

namespace {
// The query boxes in query order, with the field whose main-window label they take.
const char* const kQueryFields[kQueryValueCount] = {"LNAME", "FNAME", "TITLE", "ORG", "STREET", "STREET2",
                                                    "ZIP", "CITY", "STATE", "COUNTRY", "PHONE", "PHONE2",
                                                    "FAX", "EMAIL", "DATE", "CODES", "USER1", "USER2"};
// Where each box sits: the same column and row as its field in the main window's form.
struct Place {
    int row, col;
};
const Place kPlaces[kQueryValueCount] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {3, 0}, {6, 0}, {4, 0}, {5, 0},
                                         {7, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {8, 0}, {6, 1}, {7, 1}, {8, 1}};
} // namespace

TAddressFilter::TAddressFilter(AddressBookController& c, const QMap<QString, QString>& captions, QWidget* parent)
    : QDialog(parent), c_(c), remembered_(c.query())
{
    setObjectName(QStringLiteral("TAddressFilter"));
    setWindowTitle(QStringLiteral("Address Filter"));
    enableWhatsThis(this);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    for (int i = 0; i < kQueryValueCount; ++i) {
        const QString field = QString::fromLatin1(kQueryFields[i]);
        auto* box = new QLineEdit(this);
        box->setObjectName(field);
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 12);
        auto* label = new QLabel(captions.value(field, field), this);
        label->setBuddy(box);
        grid->addWidget(label, kPlaces[i].row, kPlaces[i].col * 2, Qt::AlignRight);
        grid->addWidget(box, kPlaces[i].row, kPlaces[i].col * 2 + 1);
        explain(box, QStringLiteral("Records whose field begins with this text. $text: contains the text; "
                                    ">, >=, <, <= compare; ; means or, + and, ^ and not."));
        boxes_ << box;
    }
    QLineEdit* date = boxes_[14];
    date->setToolTip(QStringLiteral("Note: enter dates in the form: YYYYMMDD\n(i.e. 19970428 for April 28, 1997)"));
    date->installEventFilter(this);
    dateFormat_ = new QLabel(QStringLiteral("(YYYYMMDD)"), this);
    dateFormat_->setObjectName(QStringLiteral("DateFormat"));
    dateFormat_->hide();
    grid->addWidget(dateFormat_, kPlaces[14].row + 1, 1);
    tagged_ = new QCheckBox(QStringLiteral("Tagged"), this);
    tagged_->setObjectName(QStringLiteral("Tagged"));
    reverse_ = new QCheckBox(QStringLiteral("Reverse"), this);
    reverse_->setObjectName(QStringLiteral("Reverse"));
    explain(tagged_, QStringLiteral("Only records that are tagged."));
    explain(reverse_, QStringLiteral("The records that do NOT match the filter."));
    auto* switches = new QHBoxLayout;
    switches->addWidget(tagged_);
    switches->addWidget(reverse_);
    switches->addStretch();
    grid->addLayout(switches, 10, 1, 1, 3);

    matches_ = new QLabel(this);
    matches_->setObjectName(QStringLiteral("Matches"));
    QFont mf = matches_->font();
    mf.setBold(true);
    matches_->setFont(mf);
    auto* hint = new QLabel(QStringLiteral(
        "Hint: to look for only part of a value, first type in a $ and then the value to look for. As an "
        "example, to find all records containing the code letter C in the Codes field, type in $C. Right click "
        "on any field or press HELP for more helpful tips"), this);
    hint->setWordWrap(true);

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* testButton = new QPushButton(QStringLiteral("Test"), this);
    testButton->setObjectName(QStringLiteral("Test"));
    auto* clearButton = new QPushButton(QStringLiteral("Clear"), this);
    clearButton->setObjectName(QStringLiteral("Clear"));
    explain(testButton, QStringLiteral("Applies the filter now and counts the matching records."));
    explain(clearButton, QStringLiteral("Empties every box and shows all records."));
    for (QPushButton* b : {testButton, clearButton, cancel})
        b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(testButton);
    buttons->addWidget(clearButton);
    buttons->addWidget(matches_, 1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(makeHelpButton(this, help::Filter));

    auto* v = new QVBoxLayout(this);
    v->addLayout(grid);
    v->addWidget(hint);
    v->addLayout(buttons);

    connect(testButton, &QPushButton::clicked, this, &TAddressFilter::test);
    connect(clearButton, &QPushButton::clicked, this, &TAddressFilter::clear);
    connect(ok, &QPushButton::clicked, this, &TAddressFilter::accept);
    connect(cancel, &QPushButton::clicked, this, &TAddressFilter::reject);
    setBoxes(remembered_);
    resize(720, sizeHint().height());
}

QLineEdit* TAddressFilter::box(const QString& field) const
{
    for (int i = 0; i < kQueryValueCount; ++i)
        if (field.compare(QLatin1String(kQueryFields[i]), Qt::CaseInsensitive) == 0)
            return boxes_[i];
    return nullptr;
}

QueryValues TAddressFilter::boxes() const
{
    QueryValues q;
    for (int i = 0; i < kQueryValueCount; ++i)
        q.values[size_t(i)] = boxes_[i]->text();
    q.taggedOnly = tagged_->isChecked();
    q.reverse = reverse_->isChecked();
    return q;
}

void TAddressFilter::setBoxes(const QueryValues& q)
{
    for (int i = 0; i < kQueryValueCount; ++i)
        boxes_[i]->setText(q.values[size_t(i)]);
    tagged_->setChecked(q.taggedOnly);
    reverse_->setChecked(q.reverse);
}

QString TAddressFilter::matchLine() const { return matches_->text(); }

void TAddressFilter::test()
{
    matches_->setText(QStringLiteral("Searching..."));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    matches_->setText(c_.testFilter(boxes()));
}

void TAddressFilter::clear()
{
    setBoxes(QueryValues{});
    test();
}

void TAddressFilter::accept()
{
    test();
    QDialog::accept();
}

void TAddressFilter::reject()
{
    c_.setQuery(remembered_);
    QDialog::reject();
}

bool TAddressFilter::eventFilter(QObject* o, QEvent* e)
{
    if (o == boxes_[14]) {
        if (e->type() == QEvent::FocusIn)
            dateFormat_->show();
        else if (e->type() == QEvent::FocusOut)
            dateFormat_->hide();
    }
    return QDialog::eventFilter(o, e);
}

// ---------------------------------------------------------------- Tagging

TTagging::TTagging(AddressBookController& c, QWidget* parent) : QDialog(parent), c_(c)
{
    setObjectName(QStringLiteral("TTagging"));
    setWindowTitle(QStringLiteral("Tagging"));
    label_ = new QLabel(QStringLiteral("Tagging Records"), this);
    label_->setObjectName(QStringLiteral("State"));
    QFont f = label_->font();
    f.setBold(true);
    label_->setFont(f);
    progress_ = new QLabel(this);
    progress_->setObjectName(QStringLiteral("Progress"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    ok_->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    buttons->addWidget(ok_);
    auto* v = new QVBoxLayout(this);
    v->addWidget(label_);
    v->addWidget(progress_);
    v->addLayout(buttons);
    setMinimumWidth(320);
    connect(cancel_, &QPushButton::clicked, this, &TTagging::cancelClicked);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void TTagging::cancelClicked()
{
    if (askYesNo(QStringLiteral("Cancel Tagging?"), QStringLiteral("CANCEL"), this))
        stop_ = true;
}

void TTagging::reject()
{
    if (!finished_) {
        cancelClicked();
        return;
    }
    QDialog::reject();
}

void TTagging::run()
{
    const TagAllResult r = c_.tagAll([this](quint32 n) {
        progress_->setText(QString::number(n) + QStringLiteral(" tagged"));
        QCoreApplication::processEvents();
        return !stop_;
    });
    label_->setText(r.cancelled ? QStringLiteral("Cancelled before completion") : QStringLiteral("Complete"));
    if (r.failed)
        label_->setText(QStringLiteral("Stopped: a record could not be tagged"));
    progress_->clear();
    cancel_->hide();
    ok_->show();
    ok_->setDefault(true);
    ok_->setFocus();
    finished_ = true;
}

} // namespace postavo
