#include "commands.h"

#include "addressfile.h"
#include "mainwindow.h"
#include "messageboxes.h"
#include "transferwindows.h"

#include <functional>

namespace postavo {

namespace {

const QString kNoFile = QStringLiteral("You need to have a database file open first");

// The imports work on the address file open alone: the main window lets it go, the window
// imports (into a staged copy that replaces the file only when complete), and the main window
// opens it again with the order and filter it had.
void runImport(TAddressMain& main, const QString& refusal, const std::function<void(AddressTable&)>& window)
{
    AddressBookController& c = main.controller();
    if (!c.isOpen()) {
        showInformation(kNoFile, &main);
        return;
    }
    if (c.editing())
        return;
    const QString path = c.currentPath();
    const QString order = c.currentOrder();
    main.runWorkWindow(TAddressMain::WorkKind::Utility, [&] {
        c.table().close();
        {
            AddressTable alone;
            QString error;
            if (alone.open(path, &error))
                window(alone);
            else
                showInformation(refusal, &main);
        }
        c.openFile(path);
        if (c.isOpen()) {
            c.setCurrentOrder(order);
            c.applyFilter();
            c.first();
        }
    });
}

} // namespace

void installTransferCommands(TAddressMain& main)
{
    main.setCommandHandler(Command::ImportAscii, [&main] {
        runImport(main, QStringLiteral("Unknown error. Unable to do ASCII import at this time"),
                  [&main](AddressTable& t) { transfer::runAsciiImportWindow(&main, t); });
    });
    main.setCommandHandler(Command::ImportDbf, [&main] {
        runImport(main, QStringLiteral("Unknown error. Unable to do DBF import at this time"),
                  [&main](AddressTable& t) { transfer::runDbfImportWindow(&main, t); });
    });
    for (const auto& [command, version] : {std::pair{Command::ImportV1, transfer::OlderVersion::V1},
                                           std::pair{Command::ImportV2, transfer::OlderVersion::V2}}) {
        const transfer::OlderVersion v = version;
        main.setCommandHandler(command, [&main, v] {
            runImport(main, QStringLiteral("Unknown error. Unable to do the import at this time"),
                      [&main, v](AddressTable& t) { transfer::runOlderImportWindow(&main, t, v); });
        });
    }
    main.setCommandHandler(Command::Export, [&main] {
        AddressBookController& c = main.controller();
        if (!c.isOpen()) {
            showInformation(kNoFile, &main);
            return;
        }
        if (c.visibleCount() == 0) {
            showInformation(QStringLiteral("No active records for current filter. Nothing to copy"), &main);
            return;
        }
        // A print-kind pass: the record that was current is current again afterwards.
        main.runWorkWindow(TAddressMain::WorkKind::Print, [&main, &c] { transfer::runCopyOutWindow(&main, c.table()); });
    });
}

} // namespace postavo
