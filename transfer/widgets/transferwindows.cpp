#include "transferwindows.h"

#include "copyoutwindow.h"
#include "importwindows.h"

namespace postavo::transfer {

void runAsciiImportWindow(QWidget* parent, AddressTable& table)
{
    TAsciiImport w(table, parent);
    w.exec();
}

void runDbfImportWindow(QWidget* parent, AddressTable& table)
{
    TDBFImport w(table, parent);
    w.exec();
}

void runOlderImportWindow(QWidget* parent, AddressTable& table, OlderVersion version)
{
    TImportOlder w(table, version, parent);
    w.exec();
}

void runCopyOutWindow(QWidget* parent, AddressTable& table)
{
    TCopyOut w(table, parent);
    w.exec();
}

} // namespace postavo::transfer
