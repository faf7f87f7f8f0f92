#include "spellcheckdialog.h"

#include "richtextedit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace postavo::richtext {

SpellCheckDialog::SpellCheckDialog(RichTextEdit* edit, SpellChecker* checker, QWidget* parent)
    : QDialog(parent), edit_(edit), run_(edit->document(), checker)
{
    setWindowTitle(QStringLiteral("Spell Check"));
    word_ = new QLineEdit(this);
    word_->setReadOnly(true);
    replaceWith_ = new QLineEdit(this);
    suggestions_ = new QListWidget(this);
    replaceButton_ = new QPushButton(QStringLiteral("Replace "), this);
    skipButton_ = new QPushButton(QStringLiteral("&Skip Word"), this);
    addButton_ = new QPushButton(QStringLiteral("&Add Word"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    replaceButton_->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Possible spelling error"), this), 0, 0);
    grid->addWidget(word_, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Replace with"), this), 2, 0);
    grid->addWidget(replaceWith_, 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("Possible replacements"), this), 4, 0);
    grid->addWidget(suggestions_, 5, 0, 4, 1);
    grid->addWidget(replaceButton_, 1, 1);
    grid->addWidget(skipButton_, 3, 1);
    grid->addWidget(addButton_, 5, 1);
    grid->addWidget(cancel, 6, 1);
    grid->setRowStretch(8, 1);

    connect(replaceButton_, &QPushButton::clicked, this, &SpellCheckDialog::replaceWord);
    connect(skipButton_, &QPushButton::clicked, this, &SpellCheckDialog::skipWord);
    connect(addButton_, &QPushButton::clicked, this, &SpellCheckDialog::addWord);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(suggestions_, &QListWidget::currentTextChanged, replaceWith_, &QLineEdit::setText);
    connect(suggestions_, &QListWidget::itemDoubleClicked, this, &SpellCheckDialog::replaceWord);
}

bool SpellCheckDialog::start()
{
    if (!run_.next())
        return false;
    showCurrent();
    return true;
}

void SpellCheckDialog::showCurrent()
{
    const Misspelling& m = run_.current();
    QTextCursor c(edit_->document());
    c.setPosition(m.start);
    c.setPosition(m.start + m.length, QTextCursor::KeepAnchor);
    edit_->setTextCursor(c);
    word_->setText(m.word);
    suggestions_->clear();
    const QStringList list = run_.suggestions();
    suggestions_->addItems(list);
    replaceWith_->setText(list.value(0, m.word));
    if (!list.isEmpty())
        suggestions_->setCurrentRow(0);
    replaceWith_->setFocus();
    replaceWith_->selectAll();
}

void SpellCheckDialog::advance()
{
    if (run_.next())
        showCurrent();
    else
        accept();
}

void SpellCheckDialog::replaceWord()
{
    if (!run_.current().isValid())
        return;
    run_.replace(replaceWith_->text());
    ++replacements_;
    advance();
}

void SpellCheckDialog::skipWord()
{
    run_.skip();
    advance();
}

void SpellCheckDialog::addWord()
{
    QString error;
    if (!run_.addWord(&error))
        QMessageBox::warning(this, windowTitle(), error);
    advance();
}

int SpellCheckDialog::check(RichTextEdit* edit, SpellChecker* checker, QWidget* parent)
{
    SpellCheckDialog dialog(edit, checker, parent);
    const bool any = dialog.start();
    if (any && dialog.exec() != QDialog::Accepted)
        return dialog.replacements();
    QMessageBox::information(parent, QStringLiteral("Spell Check"), QStringLiteral("The spelling check is complete."));
    return dialog.replacements();
}

} // namespace postavo::richtext
