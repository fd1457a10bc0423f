// LatestCommand: "latest [--passive] [--password-file=FILE] LEFT RIGHT" -
// which side holds the most recently changed file; the report goes to
// stdout. RIGHT may be an ftp:// address.
#pragma once

#include "app/cli/CliCommand.h"

namespace velloran::cli {

class LatestCommand : public CliCommand {
public:
    std::string Name() const override { return "latest"; }
    std::vector<std::string> Operands() const override { return {"LEFT", "RIGHT"}; }
    std::string Description() const override
    {
        return "Report the newest file of each side and which side is newer (files less than 2 seconds apart "
               "count as the same time; the dot-file setting applies). RIGHT may be an ftp:// address; the "
               "survey reads every subfolder.";
    }
    std::vector<OptionSpec> Options() const override;

protected:
    int Execute(CliSession& session) override;
};

}  // namespace velloran::cli
