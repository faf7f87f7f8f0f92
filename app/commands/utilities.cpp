// The Utilities menu's data maintenance windows.
#include "commands.h"

#include "mainwindow.h"
#include "maintenancekit.h"
#include "utilitylaunch.h"

namespace postavo {

void installUtilitiesCommands(TAddressMain& main)
{
    using Work = TAddressMain::WorkKind;
    auto utility = [&main](void (*open)(AddressBookController&, MaintenanceUi&, QWidget*)) {
        return [&main, open] {
            MessageBoxUi ui(&main);
            main.runWorkWindow(Work::Utility, [&] { open(main.controller(), ui, &main); });
        };
    };
    main.setCommandHandler(Command::CheckStateZip, [&main, utility] {
        MessageBoxUi ui(&main);
        if (!stateTableMissing(ui))
            utility(&openStateZipCheck)();
    });
    main.setCommandHandler(Command::CheckDuplicates, utility(&openDuplicateCheck));
    main.setCommandHandler(Command::ConvertCase, [&main, utility] {
        // Convert Case returns to the record that was current.
        const quint32 recno = main.controller().table().recNo();
        utility(&openConvertCase)();
        main.controller().goTo(recno);
    });
    main.setCommandHandler(Command::DeleteRecords, [&main, utility] {
        utility(&openDeleteRecords)();
        main.controller().first();
    });
    main.setCommandHandler(Command::SearchReplace, [&main, utility] {
        utility(&openSearchReplace)();
        main.controller().first();
    });
}

} // namespace postavo
