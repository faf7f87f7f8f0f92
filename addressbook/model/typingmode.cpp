#include "typingmode.h"

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

} // namespace postavo
