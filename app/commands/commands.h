#pragma once
// The main window's commands that open the windows of other subsystems (labels, envelopes,
// letters, reports, utilities, imports and exports, browse, dialer). Each subsystem installs its
// handlers from a file of its own in this folder, so the address book never depends on them.

namespace postavo {

class TAddressMain;

// Installs every subsystem's command handlers on the main window; called once at start-up.
void installSubsystemCommands(TAddressMain& main);

// Reports: "Print Reports", "Print Current Record", "Count Zip Codes" (reports.cpp).
void installReportCommands(TAddressMain& main);

} // namespace postavo
