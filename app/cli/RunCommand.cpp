// RunCommand: the script runner, headless.
#include "app/cli/RunCommand.h"

#include "app/cli/CliSession.h"
#include "app/cli/ExitStatus.h"
#include "app/engine/ScriptRunner.h"

namespace velloran::cli {

int RunCommand::Execute(CliSession& session)
{
    ScriptRunner runner(session.Sync());
    runner.Read(session.Arguments().Operands()[0]);
    switch (runner.LastOutcome()) {
    case ScriptRunner::Outcome::Cancelled:
        return kExitCancelled;
    case ScriptRunner::Outcome::Completed:
        break;
    default:
        return kExitError;
    }
    const int logged = session.StatusOfLog();
    // An action that stopped without a logged error (a declined question is
    // not a failure).
    if (!runner.Succeeded() && !runner.AnyDeclined())
        return kExitError;
    return logged;
}

}  // namespace velloran::cli
