#include "textguard.h"

#include "cp1252.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>

namespace postavo {

Cp1252Validator::Cp1252Validator(std::function<void(const QStringList&)> onRefused, QObject* parent)
    : QValidator(parent), onRefused_(std::move(onRefused))
{
}

QValidator::State Cp1252Validator::validate(QString& input, int& pos) const
{
    (void)pos;
    const QStringList outside = charactersOutsideCp1252(input);
    if (outside.isEmpty())
        return Acceptable;
    if (onRefused_)
        onRefused_(outside);
    return Invalid;
}

void guardCp1252(QLineEdit* box, std::function<void(const QStringList&)> onRefused)
{
    box->setValidator(new Cp1252Validator(std::move(onRefused), box));
}

QString refusedCharactersNote(const QStringList& characters)
{
    return QStringLiteral("Not typed: %1. An address file holds Windows-1252 text, which has no room for %2.")
        .arg(describeCharacters(characters),
             characters.size() == 1 ? QStringLiteral("it") : QStringLiteral("them"));
}

TMemoEdit::TMemoEdit(QWidget* parent) : QPlainTextEdit(parent) {}

bool TMemoEdit::refuses(const QString& text)
{
    const QStringList outside = charactersOutsideCp1252(text);
    if (outside.isEmpty())
        return false;
    emit refused(outside);
    return true;
}

void TMemoEdit::keyPressEvent(QKeyEvent* e)
{
    if (!isReadOnly() && !e->text().isEmpty() && refuses(e->text())) {
        e->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void TMemoEdit::inputMethodEvent(QInputMethodEvent* e)
{
    if (!isReadOnly() && refuses(e->commitString())) {
        // The composition is dropped whole; nothing of it reaches the text.
        QInputMethodEvent none;
        QPlainTextEdit::inputMethodEvent(&none);
        e->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(e);
}

void TMemoEdit::insertFromMimeData(const QMimeData* source)
{
    if (!isReadOnly() && source && source->hasText() && refuses(source->text()))
        return;
    QPlainTextEdit::insertFromMimeData(source);
}

} // namespace postavo
