#pragma once
// The import and export commands of postavo-db: import-ascii, import-dbf, import-vcard, export.
#include <string>

namespace postavo::tools {

// Runs `command` when it is one of the import and export commands; returns the exit status, or
// -1 when the command is not one of them.
int runTransferCommand(const std::string& command, int argc, char** argv);
extern const char* const kTransferUsage;

} // namespace postavo::tools
