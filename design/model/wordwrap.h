#pragma once
// Lines as a multi-line edit box with word wrap shows them: every line break starts a line, and
// a line too long for the box is broken after the last whole word that fits (a word longer than
// the whole line is broken inside). The box's inner margins are kept here, in one place.

#include <QFont>
#include <QString>
#include <QStringList>

namespace postavo::design {

// Pixels an edit box keeps clear on its left and on its right: its text is that much narrower
// than the box itself.
inline constexpr int kEditBoxMargin = 2;

// The lines of `text` (line breaks CR LF, LF or CR) in a box `boxWidth` pixels wide; with
// `wrap` false only the line breaks count.
QStringList editBoxLines(const QString& text, const QFont& font, int boxWidth, bool wrap = true);
// The same for a list of lines.
QStringList editBoxLines(const QStringList& lines, const QFont& font, int boxWidth, bool wrap = true);

} // namespace postavo::design
