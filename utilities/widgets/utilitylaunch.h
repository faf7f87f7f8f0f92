#pragma once
// Opening the maintenance windows over the address book's table: what each sets up before its
// window shows and puts back after it closes (beyond the order and filter the main window
// restores after every utility).

class QWidget;

namespace postavo {

class AddressBookController;
class MaintenanceUi;

// Each shows its window modally and returns when it closes.
void openStateZipCheck(AddressBookController& c, MaintenanceUi& ui, QWidget* parent);
void openDuplicateCheck(AddressBookController& c, MaintenanceUi& ui, QWidget* parent);
void openConvertCase(AddressBookController& c, MaintenanceUi& ui, QWidget* parent);
void openDeleteRecords(AddressBookController& c, MaintenanceUi& ui, QWidget* parent);
void openSearchReplace(AddressBookController& c, MaintenanceUi& ui, QWidget* parent);

// The state check cannot start without sysdata/CSZ.DBF: true (with the message shown) when it is
// missing.
bool stateTableMissing(MaintenanceUi& ui);

} // namespace postavo
