// CliSession: one run of velloran-cli - the host, the engine with the
// stored settings (read, never written) and the command line's overrides
// for this run only, and the helpers the commands share.
#pragma once

#include "app/cli/CliArguments.h"
#include "app/cli/CliHost.h"
#include "app/engine/CSync.h"

#include <string>
#include <vector>

namespace velloran::cli {

class CliSession {
public:
    // The options every command accepts.
    static const std::vector<OptionSpec>& CommonOptions();

    // Loads the settings and applies the common options; raises UsageError
    // for a bad option value.
    explicit CliSession(const CliArguments& arguments);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    CSync& Sync() { return m_sync; }
    CliHost& Host() { return m_host; }
    const CliArguments& Arguments() const { return m_arguments; }

    // Names the two folders and runs the engine's folder check.
    bool UseFolders(const std::string& left, const std::string& right);
    // The exit status that errLog calls for: error lines 2, only warnings 1.
    int StatusOfLog() const;

private:
    void LoadSettings();
    void ApplyOverrides();

    CliArguments m_arguments;
    CliHost m_host;
    CSync m_sync{m_host};
};

}  // namespace velloran::cli
