#include "commands.h"

#include "labelsetupwindow.h"
#include "mainwindow.h"
#include "messageboxes.h"
#include "printers.h"

namespace postavo {

namespace {

// The printers every print command checks first. The built-in "PDF file" printer counts, so a
// machine without print queues still prints labels to PDF.
bool printersReady(QWidget* parent)
{
    const printing::TPrinters printers;
    if (printers.printers().isEmpty()) {
        showInformation(QStringLiteral("There are no installed printers.\r\nUnable to perform printer related operations"),
                        parent);
        return false;
    }
    if (printers.printerName().isEmpty()) {
        showInformation(
            QStringLiteral("There is no default printer selected.\r\nUnable to perform printer related operations"),
            parent);
        return false;
    }
    return true;
}

} // namespace

void installLabelCommands(TAddressMain& main)
{
    main.setCommandHandler(Command::PrintLabels, [&main] {
        if (!printersReady(&main))
            return;
        main.runWorkWindow(TAddressMain::WorkKind::Print, [&main] {
            labels::runLabelSetup(&main, main.controller().table(), main.controller().filterSet());
        });
    });
}

} // namespace postavo
