// "Print Le&tters" (Ctrl+T) and the "Letters" button: the letters window on the main window's
// address table, when the table has a record to print.
#include "commands.h"

#include "addressbookcontroller.h"
#include "addressfile.h"
#include "letterswindow.h"
#include "mainwindow.h"

namespace postavo {

void installLetterCommands(TAddressMain& main)
{
    main.setCommandHandler(Command::PrintLetters, [&main] {
        AddressTable& table = main.controller().table();
        if (!table.isOpen() || table.visibleCount() == 0)
            return;
        main.runWorkWindow(TAddressMain::WorkKind::Print, [&main, &table] {
            letters::TPVLetters window(table, main.controller().filterSet(), &main);
            window.exec();
        });
    });
}

} // namespace postavo
