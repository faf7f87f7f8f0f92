#pragma once
// The data-maintenance commands of postavo-db: check-states, duplicates, convert-case, replace,
// delete-records. They run the same passes as the Utilities windows.
#include <string>

namespace postavo::tools {

// Runs `command` when it is one of the maintenance commands; returns the exit status (0 done,
// 1 failed, 2 wrong arguments), or -1 when the command is not one of them.
int runMaintenanceCommand(const std::string& command, int argc, char** argv);
extern const char* const kMaintenanceUsage;

} // namespace postavo::tools
