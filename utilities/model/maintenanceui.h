#pragma once
// The questions and messages of the maintenance windows. The windows answer them with message
// boxes; tests answer them from a script.

#include <QString>

namespace postavo {

class MaintenanceUi {
public:
    virtual ~MaintenanceUi() = default;
    virtual void showInformation(const QString& text) = 0;
    virtual bool askYesNo(const QString& text, const QString& caption) = 0;
    virtual bool askYesNoDefaultNo(const QString& text, const QString& caption) = 0;
};

// The help topics of the maintenance windows (added to the help window's topics once).
namespace help {
enum MaintenanceTopic : int {
    StateZipCheck = 80,
    DuplicateCheck = 81,
    ConvertCase = 82,
    DeleteRecords = 83,
    SearchReplace = 84,
};
}
void registerMaintenanceHelp();

} // namespace postavo
