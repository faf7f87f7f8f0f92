#pragma once
// The main window's commands that open the windows of other subsystems (labels, envelopes,
// letters, reports, utilities, imports and exports, browse, dialer). Each subsystem installs its
// handlers from a file of its own in this folder, so the address book never depends on them.

namespace postavo {

class TAddressMain;

// Installs every subsystem's command handlers on the main window; called once at start-up.
void installSubsystemCommands(TAddressMain& main);

// Address book: "Search", "Browse", "Search Memo", "Find Next", "Copy To Clipboard"
// (app/commands/addressbook.cpp).
void installAddressBookCommands(TAddressMain& main);

// Labels: "Print Labels" (app/commands/labels.cpp).
void installLabelCommands(TAddressMain& main);
// envelopes.cpp: "Print &Envelopes" and the "Envelopes" button.
void installEnvelopeCommands(TAddressMain& main);
// letters.cpp: "Print Le&tters" and the "Letters" button.
void installLetterCommands(TAddressMain& main);
// utilities.cpp: the maintenance commands of the Utilities menu.
void installUtilitiesCommands(TAddressMain& main);

// Imports and export: "Import from &ASCII File", "Import from &DBF File", the older versions'
// imports and "&Export " (app/commands/transfer.cpp).
void installTransferCommands(TAddressMain& main);
// Reports: "Print Reports", "Print Current Record", "Count Zip Codes" (reports.cpp).
void installReportCommands(TAddressMain& main);

// Dialer: "Dial Phone 1", "Dial Phone 2" (app/commands/dialer.cpp).
void installDialerCommands(TAddressMain& main);

} // namespace postavo
