#pragma once
// Small pieces every dialog of the address book uses: the Help button, "What's this?" texts.

#include <QString>

class QDialog;
class QPushButton;
class QWidget;

namespace postavo {

// A "Help" button that opens the help window at `topic`.
QPushButton* makeHelpButton(QWidget* parent, int topic);
// Turns on the title bar's "What's this?" button of a dialog.
void enableWhatsThis(QDialog* dialog);
// Sets the "What's this?" text (and the tool tip) of a control.
void explain(QWidget* w, const QString& text);

} // namespace postavo
