// CliSession: one run of velloran-cli - the host, the engine with the
// stored settings (read, never written) and the command line's overrides
// for this run only, and the helpers the commands share.
#pragma once

#include "app/cli/CliArguments.h"
#include "app/cli/CliHost.h"
#include "app/engine/CSync.h"

#include <functional>
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

    // Names the two local folders and runs the engine's folder check.
    // Raises UsageError for an ftp:// address.
    bool UseFolders(const std::string& left, const std::string& right);
    // The same for a right side that may be an ftp:// address, which puts
    // the engine in FTP mode with the address as its FTP site (--passive
    // and --no-subdirs apply). Raises UsageError for a malformed address.
    bool UseSides(const std::string& left, const std::string& right);
    // The right side as the user sees it: the folder, or the ftp:// address
    // without user and password.
    std::string RightSide() const;
    // The exit status that errLog calls for: error lines 2, only warnings 1.
    int StatusOfLog() const;
    // Runs a whole-tree operation as a sync button does: errLog emptied,
    // "Operation completed successfully" when it ran to its end, then the
    // end-of-run report under `description`. The exit status.
    int RunOperation(const std::function<bool()>& operation, const std::string& description);

private:
    void LoadSettings();
    void ApplyOverrides();
    bool UseFtpSite(const std::string& left, const std::string& url);

    CliArguments m_arguments;
    CliHost m_host;
    CSync m_sync{m_host};
    std::string m_ftpAddress;
};

}  // namespace velloran::cli
