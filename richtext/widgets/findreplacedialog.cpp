#include "findreplacedialog.h"

#include "richtextedit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace postavo::richtext {

FindReplaceDialog::FindReplaceDialog(RichTextEdit* edit, bool replace, QWidget* parent)
    : QDialog(parent), edit_(edit)
{
    setWindowTitle(replace ? QStringLiteral("Replace") : QStringLiteral("Find"));
    find_ = new QLineEdit(this);
    replace_ = new QLineEdit(this);
    matchCase_ = new QCheckBox(QStringLiteral("Match &case"), this);
    wholeWord_ = new QCheckBox(QStringLiteral("&Whole words only"), this);
    message_ = new QLabel(this);
    const QString selected = edit->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        find_->setText(selected);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Fi&nd what:"), find_);
    if (replace)
        form->addRow(QStringLiteral("Re&place with:"), replace_);
    else
        replace_->hide();
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* next = buttons->addButton(QStringLiteral("&Find Next"), QDialogButtonBox::ActionRole);
    next->setDefault(true);
    connect(next, &QPushButton::clicked, this, &FindReplaceDialog::findNext);
    if (replace) {
        connect(buttons->addButton(QStringLiteral("&Replace"), QDialogButtonBox::ActionRole), &QPushButton::clicked,
                this, &FindReplaceDialog::replaceOne);
        connect(buttons->addButton(QStringLiteral("Replace &All"), QDialogButtonBox::ActionRole),
                &QPushButton::clicked, this, &FindReplaceDialog::replaceAll);
    }
    connect(buttons->addButton(QDialogButtonBox::Close), &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(matchCase_);
    layout->addWidget(wholeWord_);
    layout->addWidget(message_);
    layout->addWidget(buttons);
}

QTextDocument::FindFlags FindReplaceDialog::flags() const
{
    QTextDocument::FindFlags f;
    if (matchCase_->isChecked())
        f |= QTextDocument::FindCaseSensitively;
    if (wholeWord_->isChecked())
        f |= QTextDocument::FindWholeWords;
    return f;
}

bool FindReplaceDialog::findNext()
{
    const bool found = edit_->find(find_->text(), flags());
    message_->setText(found ? QString() : QStringLiteral("The text was not found."));
    return found;
}

bool FindReplaceDialog::replaceOne()
{
    const bool found = edit_->replace(find_->text(), replace_->text(), flags());
    message_->setText(found ? QString() : QStringLiteral("The text was not found."));
    return found;
}

int FindReplaceDialog::replaceAll()
{
    const int count = edit_->replaceAll(find_->text(), replace_->text(), flags());
    message_->setText(count == 1 ? QStringLiteral("1 replacement made.")
                                 : QStringLiteral("%1 replacements made.").arg(count));
    return count;
}

} // namespace postavo::richtext
