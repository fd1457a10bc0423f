// UploadCommand: the upload of a local tree to an FTP server folder.
#include "app/cli/UploadCommand.h"

#include "app/cli/CliSession.h"
#include "app/cli/ExitStatus.h"
#include "app/cli/FtpTarget.h"
#include "app/engine/AppError.h"
#include "app/engine/ProgramInfo.h"
#include "app/engine/RunReport.h"
#include "app/engine/SyncActions.h"
#include "classlib/general/CGeneral.h"

#include <algorithm>

namespace velloran::cli {

std::string UploadCommand::Description() const
{
    return "Upload LOCAL to the FTP server folder URL (see \"FTP\" below): files missing on the server or more "
           "than the FTP tolerance newer in LOCAL are sent and stamped with their local time, missing folders "
           "are made first. Files newer on the server are kept; the same time with another size is kept and "
           "logged as a warning. The first failed transfer ends the upload.";
}

std::vector<OptionSpec> UploadCommand::Options() const
{
    return FtpTarget::Options(true);
}

int UploadCommand::Execute(CliSession& session)
{
    const std::vector<std::string>& operands = session.Arguments().Operands();
    if (!FtpTarget::IsUrl(operands[1]))
        throw UsageError("upload sends to an FTP server: URL is ftp://[user[:password]@]host[:port]/dir/");
    if (!session.UseSides(operands[0], operands[1]))
        return kExitError;
    CSync& sync = session.Sync();
    CliHost& host = session.Host();
    sync.syncRunning = true;
    sync.errLog.clear();
    const quorvantell::DateTime started = RunReport::Now();
    bool completed = false, cancelled = false;
    try {
        completed = sync.DoCopyFTP();
    } catch (const AppError& error) {
        if (error.Number != AppError::kCancelRequest)
            throw;
        cancelled = true;
    }
    host.EndProgressLine();
    if (completed)
        host.ShowMessage("Operation completed successfully", kProgramTitle, quorvantell::MB_ICONINFORMATION);
    const FtpSiteFields site = host.FtpSite();
    RunReport(sync).Show(operands[0] + " " + SyncActions::Tag(0) + " " + site.Server + " in directory " +
                             site.FTPDirs.front(),
                         started);
    sync.syncRunning = false;
    if (cancelled)
        return kExitCancelled;
    return completed ? session.StatusOfLog() : std::max(session.StatusOfLog(), int{kExitError});
}

}  // namespace velloran::cli
