#pragma once
// The address-file commands of postavo-db: create-address, filter.
#include <string>

namespace postavo::tools {

// Runs `command` when it is one of the address-file commands; returns the exit status, or -1
// when the command is not one of them.
int runAddressCommand(const std::string& command, int argc, char** argv);
extern const char* const kAddressUsage;

} // namespace postavo::tools
