#pragma once
// Connects the design model to the screen: the text and object dialogs become windows and read
// or write errors of layout files show in a message box. The surface on screen calls it when it
// is made; calling it again changes nothing.

namespace postavo::design {

void useDesignWindows();

} // namespace postavo::design
