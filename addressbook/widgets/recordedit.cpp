#include "recordedit.h"

#include <QKeyEvent>

namespace postavo {

namespace {
bool g_insert = false;
} // namespace

bool insertToggle() { return g_insert; }
void setInsertToggle(bool on) { g_insert = on; }

bool typingOverwrites(bool insertOn, int qtKey, const QString& text, Qt::KeyboardModifiers mods)
{
    if (insertOn || text.isEmpty())
        return false;
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    // Control characters, and the moving, editing and function keys, never overwrite.
    if (text.at(0).unicode() < 32 || text.at(0).unicode() == 127)
        return false;
    if (qtKey >= Qt::Key_Escape && qtKey <= Qt::Key_ScrollLock)  // Esc..Scroll Lock, arrows, Home...
        return false;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F35)
        return false;
    return true;
}

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
