#include "searchwindows.h"

#include "addressbookcontroller.h"
#include "dialogkit.h"
#include "helptopics.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace postavo {

TSearchBox::TSearchBox(const QString& currentSortCaption, QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Search"));
    enableWhatsThis(this);
    auto* v = new QVBoxLayout(this);
    auto* orderLabel = new QLabel(QStringLiteral("Search &Order"), this);
    order_ = new QComboBox(this);
    order_->addItems(searchOrderCaptions());
    orderLabel->setBuddy(order_);
    const QString current = QString(currentSortCaption).remove(QLatin1Char('&'));
    if (const int i = order_->findText(current); i >= 0)
        order_->setCurrentIndex(i);
    explain(order_, QStringLiteral("The sort order to search in; it becomes the window's order."));
    prompt_ = new QLabel(searchPrompt(order_->currentText()), this);
    text_ = new QLineEdit(this);
    prompt_->setBuddy(text_);
    explain(text_, QStringLiteral("The beginning of the value to find; letter case does not matter."));
    connect(order_, &QComboBox::currentTextChanged, this, [this](const QString& caption) {
        prompt_->setText(searchPrompt(caption));
        text_->setFocus();
    });
    v->addWidget(orderLabel);
    v->addWidget(order_);
    v->addWidget(prompt_);
    v->addWidget(text_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    buttons->addButton(makeHelpButton(this, help::Finding), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    v->addWidget(buttons);
    text_->setFocus();
}

QString TSearchBox::order() const { return order_->currentText(); }
QString TSearchBox::text() const { return text_->text(); }

TPVWSearching::TPVWSearching(const QString& text, QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Searching"));
    setModal(true);
    auto* v = new QVBoxLayout(this);
    v->addWidget(new QLabel(QStringLiteral("Searching for: ") + text, this));
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    v->addWidget(bar_);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(cancel, &QPushButton::clicked, this, [this] { cancelled_ = true; });
    v->addWidget(cancel, 0, Qt::AlignHCenter);
}

bool TPVWSearching::step(int percent)
{
    bar_->setValue(percent);
    QApplication::processEvents();
    return !cancelled_;
}

void TPVWSearching::reject()
{
    cancelled_ = true;  // Esc and the close box cancel like the button
}

MemoSearchResult runMemoSearch(MemoSearch& search, AddressBookController& controller, bool fromFirst,
                               const QString& text, QWidget* parent)
{
    TPVWSearching w(fromFirst ? text : search.text(), parent);
    w.show();
    QApplication::processEvents();
    auto step = [&w](int p) { return w.step(p); };
    return fromFirst ? search.start(controller, text, step) : search.findNext(controller, step);
}

TCopyRecordDialog::TCopyRecordDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Copy Record To Clipboard"));
    auto* v = new QVBoxLayout(this);
    const char* captions[] = {"Name, Organization, Title", "Address", "Phone Numbers", "Codes",
                              "Comments 1 && 2"};
    for (int i = 0; i < 5; ++i) {
        boxes_[i] = new QCheckBox(QString::fromLatin1(captions[i]), this);
        boxes_[i]->setChecked(true);
        v->addWidget(boxes_[i]);
    }
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    v->addWidget(buttons);
}

RecordTextGroups TCopyRecordDialog::groups() const
{
    return {boxes_[0]->isChecked(), boxes_[1]->isChecked(), boxes_[2]->isChecked(), boxes_[3]->isChecked(),
            boxes_[4]->isChecked()};
}

} // namespace postavo
