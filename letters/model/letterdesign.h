#pragma once
// The letter editor's rules that need no window: the caption of its default-font command and
// the words of its questions and commands.

#include "settings.h"

#include <QString>

namespace postavo::letters {

// "&Default Font: Arial, 10 pt " then ", bold" and ", italic" as they apply.
QString defaultFontCaption(const DefaultFont& font);
// "&Word Wrap is ON" / "&Word Wrap is OFF".
QString wordWrapCaption(bool on);

inline constexpr const char* kDesignerCaption = "Letter Designer";
inline constexpr const char* kPageBreakQuestion = "Insert a page break?";
inline constexpr const char* kPageBreakTitle = "PAGE BREAK";

} // namespace postavo::letters
