// UploadCommand: "upload [--passive] [--no-subdirs] [--password-file=FILE]
// [--connections=N] LOCAL URL" - the FTP-mode copy of the main window's first sync button: the files of LOCAL that the
// server folder lacks or holds older are sent and stamped with their local
// time, missing folders made first; then the end-of-run report.
#pragma once

#include "app/cli/CliCommand.h"

namespace velloran::cli {

class UploadCommand : public CliCommand {
public:
    std::string Name() const override { return "upload"; }
    std::vector<std::string> Operands() const override { return {"LOCAL", "URL"}; }
    std::string Description() const override;
    std::vector<OptionSpec> Options() const override;

protected:
    int Execute(CliSession& session) override;
};

}  // namespace velloran::cli
