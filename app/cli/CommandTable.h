// CommandTable: the commands of velloran-cli, the program's --help made
// from their descriptions, and the entry that picks and runs a command.
#pragma once

#include "app/cli/CliCommand.h"

#include <memory>
#include <string>
#include <vector>

namespace velloran::cli {

class CommandTable {
public:
    static const std::vector<std::unique_ptr<CliCommand>>& Commands();
    // Null for an unknown name.
    static CliCommand* Find(const std::string& name);
    static std::string Help();
    // Runs the command line (without the program name); the exit status.
    static int Main(const std::vector<std::string>& args);
};

}  // namespace velloran::cli
