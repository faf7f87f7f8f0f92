#include "commands.h"

#include "layoutchooserwindow.h"
#include "mainwindow.h"

namespace postavo {

void installLabelCommands(TAddressMain& main)
{
    main.setCommandHandler(Command::PrintLabels, [&main] {
        main.runWorkWindow(TAddressMain::WorkKind::Print,
                           [&main] { labels::runLabelLayouts(&main, &main.controller().table()); });
    });
}

} // namespace postavo
