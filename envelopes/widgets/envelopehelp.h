#pragma once
// The envelope windows' help topics, and the pieces of their dialogs they share.

class QDialog;
class QPushButton;
class QWidget;

namespace postavo::envelopes {

namespace help {
enum Topic : int {
    FeedMethod = 1017,
    EnvelopePrint = 1018,
    DesignScreen = 1080,
    EnvelopeSize = 1081,
    PrintEnvelope = 1082,
};
} // namespace help

// Adds the envelope topics to the help window (once).
void registerEnvelopeHelp();
// The mouse-help button: the pointer turns into "What's this?" until a control is clicked.
QPushButton* makeMouseHelpButton(QWidget* parent);

} // namespace postavo::envelopes
