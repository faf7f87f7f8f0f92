#pragma once
// What the main window's import and export commands run: each window modally on an address
// table. The imports want the address file open alone; the export works on the main window's
// table under its filter and order.

#include "dbfimport.h"

class QWidget;

namespace postavo {
class AddressTable;
}

namespace postavo::transfer {

void runAsciiImportWindow(QWidget* parent, AddressTable& table);
void runDbfImportWindow(QWidget* parent, AddressTable& table);
void runOlderImportWindow(QWidget* parent, AddressTable& table, OlderVersion version);
void runCopyOutWindow(QWidget* parent, AddressTable& table);

} // namespace postavo::transfer
