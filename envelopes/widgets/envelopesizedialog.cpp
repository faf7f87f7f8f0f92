#include "envelopesizedialog.h"

#include "dialogkit.h"
#include "envelopehelp.h"
#include "envelopesizes.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace postavo::envelopes {

TChooseEnvelopeLayout::TChooseEnvelopeLayout(int code, QWidget* parent) : QDialog(parent), given_(code)
{
    registerEnvelopeHelp();
    setWindowTitle(QStringLiteral("Envelope Size"));
    enableWhatsThis(this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("Sizes"));
    for (const EnvelopeSize& s : envelopeSizes())
        list_->addItem(QString::fromLatin1(s.caption));
    list_->setCurrentRow(chooserIndexForCode(code));
    explain(list_, QStringLiteral("The envelope sizes; the layout takes the one you select."));
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(makeHelpButton(this, help::EnvelopeSize));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    resize(360, 380);
}

int TChooseEnvelopeLayout::chosenCode() const
{
    return chooserResult(list_->currentItem() && list_->currentItem()->isSelected() ? list_->currentRow() : -1, given_);
}

std::optional<int> TChooseEnvelopeLayout::choose(int code, QWidget* parent)
{
    TChooseEnvelopeLayout d(code, parent);
    if (d.exec() != QDialog::Accepted)
        return std::nullopt;
    return d.chosenCode();
}

} // namespace postavo::envelopes
