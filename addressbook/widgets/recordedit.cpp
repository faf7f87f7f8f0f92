#include "recordedit.h"
#include "typingmode.h"

#include <QKeyEvent>

namespace postavo {

TRecordEdit::TRecordEdit(const QString& fieldName, QWidget* parent) : QLineEdit(parent), field_(fieldName)
{
    setObjectName(fieldName);
}

void TRecordEdit::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Insert && e->modifiers() == Qt::NoModifier) {
        setInsertToggle(!insertToggle());
        e->accept();
        return;
    }
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && e->modifiers() == Qt::NoModifier) {
        emit enterPressed();
        e->accept();
        return;
    }
    if (!isReadOnly() && typingOverwrites(insertToggle(), e->key(), e->text(), e->modifiers())
        && !hasSelectedText() && cursorPosition() < text().size()) {
        setSelection(cursorPosition(), 1);
    }
    if (upper_ && !e->text().isEmpty() && e->text().at(0).isLetter()) {
        QKeyEvent up(e->type(), e->key(), e->modifiers(), e->text().toUpper(), e->isAutoRepeat(), ushort(e->count()));
        QLineEdit::keyPressEvent(&up);
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TRecordEdit::mouseDoubleClickEvent(QMouseEvent* e)
{
    emit doubleClicked();
    QLineEdit::mouseDoubleClickEvent(e);
}

} // namespace postavo
