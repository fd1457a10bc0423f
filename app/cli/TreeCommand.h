// TreeCommand: "copy FROM TO", "delete MASTER TARGET" and "update MASTER
// TARGET" - one whole-tree operation of the engine with the first folder as
// side 0, followed by the end-of-run report (error log on stderr, a block in
// the log file when one is set).
#pragma once

#include "app/cli/CliCommand.h"

#include <cstdint>

namespace velloran::cli {

class TreeCommand : public CliCommand {
public:
    // action: the sync action run with side 0 as the first folder
    // (0 copy, 2 delete, 4 update; SyncActions).
    TreeCommand(std::string name, std::vector<std::string> operands, std::string description, int32_t action)
        : m_name(std::move(name)), m_operands(std::move(operands)), m_description(std::move(description)),
          m_action(action)
    {
    }

    std::string Name() const override { return m_name; }
    std::vector<std::string> Operands() const override { return m_operands; }
    std::string Description() const override { return m_description; }

protected:
    int Execute(CliSession& session) override;

private:
    std::string m_name;
    std::vector<std::string> m_operands;
    std::string m_description;
    int32_t m_action;
};

}  // namespace velloran::cli
