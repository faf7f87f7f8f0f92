#pragma once
// postavo-db record-text: a record as the text "Copy To Clipboard" puts on the clipboard.
#include <string>

namespace postavo::tools {

// Runs `command` when it is "record-text"; returns the exit status, or -1 for another command.
int runRecordTextCommand(const std::string& command, int argc, char** argv);
extern const char* const kRecordTextUsage;

} // namespace postavo::tools
