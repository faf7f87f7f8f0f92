// Postavo start-up: one running copy per program folder, then the main window.

#include "commands.h"
#include "identity.h"
#include "mainwindow.h"
#include "programfolder.h"
#include "shippedtables.h"
#include "singlecopy.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    postavo::setApplicationIdentity(QStringLiteral(POSTAVO_VERSION));

    postavo::SingleCopy single(QApplication::applicationFilePath());
    switch (single.start()) {
    case postavo::SingleCopy::Outcome::Other:
        return 0;
    case postavo::SingleCopy::Outcome::Failed:
        QMessageBox::critical(nullptr, QStringLiteral("Postavo"), single.errorString());
        return 1;
    case postavo::SingleCopy::Outcome::First:
        break;
    }

    QString error;
    if (!postavo::ProgramFolder::ensureFolders(&error)) {
        QMessageBox::critical(nullptr, QStringLiteral("Postavo"), error);
        return 1;
    }
    // Label stock and states come with the program; a missing one is simply put back.
    postavo::installShippedTables(postavo::ProgramFolder::sysdataPath(), postavo::shippedTablesDir(), &error);

    postavo::TAddressMain window;
    postavo::installSubsystemCommands(window);
    QObject::connect(&single, &postavo::SingleCopy::activationRequested, &window,
                     &postavo::TAddressMain::bringToFront);
    window.show();
    return app.exec();
}
