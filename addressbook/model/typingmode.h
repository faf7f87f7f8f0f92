#pragma once
// Typing into a record field: the Insert key's toggle, shared by every field as the keyboard's
// own is, and whether a key press overwrites the character at the cursor.

#include <QString>
#include <QtCore/qnamespace.h>

namespace postavo {

// Off, the starting state, means typing overwrites.
bool insertToggle();
void setInsertToggle(bool on);

// Whether a key press should first select the character at the cursor so that typing
// overwrites it: a key that types text, with no Ctrl or Alt, that is not one of the keys
// the field uses for moving and editing.
bool typingOverwrites(bool insertOn, int qtKey, const QString& text, Qt::KeyboardModifiers mods);

} // namespace postavo
