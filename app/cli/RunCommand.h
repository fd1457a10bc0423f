// RunCommand: "run SCRIPT" - runs a script file as the main window does.
#pragma once

#include "app/cli/CliCommand.h"

namespace velloran::cli {

class RunCommand : public CliCommand {
public:
    std::string Name() const override { return "run"; }
    std::vector<std::string> Operands() const override { return {"SCRIPT"}; }
    std::string Description() const override
    {
        return "Run a script file: blocks of four lines (left folder, right folder, action 1 to 5, Y to ask first "
               "or N), optionally ended by a line Q. Without a terminal and without --yes a Y block is not run; a "
               "warning line names each job not run.";
    }

protected:
    int Execute(CliSession& session) override;
};

}  // namespace velloran::cli
