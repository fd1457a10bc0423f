// CompareCommand: "compare [--all] [--json] LEFT RIGHT" - scans and compares
// the two folders (RIGHT may be an ftp:// address) as the details window
// does and prints the differences (every pair with --all), folders first,
// then files, in list order.
#pragma once

#include "app/cli/CliCommand.h"

namespace velloran {
class CVellList;
}

namespace velloran::cli {

class CompareCommand : public CliCommand {
public:
    std::string Name() const override { return "compare"; }
    std::vector<std::string> Operands() const override { return {"LEFT", "RIGHT"}; }
    std::string Description() const override;
    std::vector<OptionSpec> Options() const override;

    // The short verdict mark of a syncWay in the text output.
    static const char* Mark(int32_t syncWay);

protected:
    int Execute(CliSession& session) override;

private:
    static void PrintText(CVellList& list, bool all);
    static void PrintJson(CVellList& list, bool folders, bool all, bool& first);
};

}  // namespace velloran::cli
