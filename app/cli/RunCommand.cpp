// RunCommand: the script runner, headless.
#include "app/cli/RunCommand.h"

#include "app/cli/CliSession.h"
#include "app/cli/ExitStatus.h"
#include "app/engine/ProgramInfo.h"
#include "app/engine/ScriptRunner.h"
#include "classlib/general/CGeneral.h"

#include <algorithm>

namespace velloran::cli {

int RunCommand::Execute(CliSession& session)
{
    ScriptRunner runner(session.Sync());
    runner.Read(session.Arguments().Operands()[0]);
    // A job that did not run is worth a line of its own: a script from cron
    // must not look as if it had done everything.
    for (const std::string& job : runner.DeclinedJobs())
        session.Host().ShowMessage(job + " was not run: its question was answered No", kProgramTitle,
                                   quorvantell::MB_ICONWARNING);
    switch (runner.LastOutcome()) {
    case ScriptRunner::Outcome::Cancelled:
        return kExitCancelled;
    case ScriptRunner::Outcome::Completed:
        break;
    default:
        return kExitError;
    }
    if (runner.ActionFailed() || !runner.LogWritten())
        return kExitError;
    return std::max(session.StatusOfLog(), runner.DeclinedJobs().empty() ? int{kExitClean} : int{kExitReport});
}

}  // namespace velloran::cli
