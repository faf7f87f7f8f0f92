// "Print &Envelopes" (Ctrl+E) and the "Envelopes" button: the envelope window on the main window's
// address table.
#include "commands.h"

#include "envelopewindow.h"
#include "mainwindow.h"

namespace postavo {

void installEnvelopeCommands(TAddressMain& main)
{
    main.setCommandHandler(Command::PrintEnvelopes, [&main] {
        main.runWorkWindow(TAddressMain::WorkKind::Print, [&main] {
            envelopes::TPVEnvelopes window(main.controller().table(), &main);
            window.exec();
        });
    });
}

} // namespace postavo
