#include "commands.h"

#include "mainwindow.h"

namespace postavo {

// One line per subsystem; its install function lives in app/commands/<subsystem>.cpp.
void installSubsystemCommands(TAddressMain& main)
{
    installAddressBookCommands(main);
    installLabelCommands(main);
    installEnvelopeCommands(main);
    installLetterCommands(main);
    installUtilitiesCommands(main);
    installTransferCommands(main);
    installReportCommands(main);
    installDialerCommands(main);
}

} // namespace postavo
