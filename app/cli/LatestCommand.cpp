// LatestCommand: the latest-timestamp survey.
#include "app/cli/LatestCommand.h"

#include "app/cli/CliSession.h"
#include "app/cli/ExitStatus.h"
#include "app/cli/FtpTarget.h"

namespace velloran::cli {

std::vector<OptionSpec> LatestCommand::Options() const
{
    // The survey always reads every subfolder.
    return FtpTarget::Options(false);
}

int LatestCommand::Execute(CliSession& session)
{
    const std::vector<std::string>& folders = session.Arguments().Operands();
    if (!session.UseSides(folders[0], folders[1]))
        return kExitError;
    session.Host().SetInformationToStdout(true);
    const bool shown = session.Sync().GetLatest();
    session.Host().SetInformationToStdout(false);
    // Server entries the scan had to skip are warning lines.
    if (!session.Sync().errLog.empty())
        session.Host().ShowErrorLog(session.Sync().errLog);
    if (shown)
        return session.StatusOfLog();
    return session.Host().CancelConfirmed() ? kExitCancelled : kExitError;
}

}  // namespace velloran::cli
