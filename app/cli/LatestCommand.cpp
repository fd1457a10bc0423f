// LatestCommand: the latest-timestamp survey.
#include "app/cli/LatestCommand.h"

#include "app/cli/CliSession.h"
#include "app/cli/ExitStatus.h"

namespace velloran::cli {

int LatestCommand::Execute(CliSession& session)
{
    const std::vector<std::string>& folders = session.Arguments().Operands();
    if (!session.UseFolders(folders[0], folders[1]))
        return kExitError;
    session.Host().SetInformationToStdout(true);
    const bool shown = session.Sync().GetLatest();
    session.Host().SetInformationToStdout(false);
    if (shown)
        return kExitClean;
    return session.Host().CancelConfirmed() ? kExitCancelled : kExitError;
}

}  // namespace velloran::cli
