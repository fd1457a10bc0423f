// CliCommand: one command of velloran-cli - its name, operands, options and
// description (from which --help is made) and what it does.
#pragma once

#include "app/cli/CliArguments.h"

#include <string>
#include <vector>

namespace velloran::cli {

class CliSession;

class CliCommand {
public:
    virtual ~CliCommand() = default;

    virtual std::string Name() const = 0;
    // The operands as shown in the usage line ("LEFT RIGHT").
    virtual std::vector<std::string> Operands() const = 0;
    virtual std::string Description() const = 0;
    // Options of this command beyond the common ones.
    virtual std::vector<OptionSpec> Options() const { return {}; }

    // Parses the command's words and runs it; the exit status.
    int Run(const std::vector<std::string>& args);
    // "compare [--all] [--json] LEFT RIGHT"
    std::string Usage() const;
    // The command's part of --help.
    std::string Help() const;

protected:
    virtual int Execute(CliSession& session) = 0;
};

}  // namespace velloran::cli
