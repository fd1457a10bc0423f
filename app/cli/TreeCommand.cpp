// TreeCommand: copy, delete or update, with the end-of-run report.
#include "app/cli/TreeCommand.h"

#include "app/cli/CliSession.h"
#include "app/cli/ExitStatus.h"
#include "app/engine/AppError.h"
#include "app/engine/ProgramInfo.h"
#include "app/engine/RunReport.h"
#include "app/engine/SyncActions.h"
#include "classlib/general/CGeneral.h"

#include <algorithm>

namespace velloran::cli {

int TreeCommand::Execute(CliSession& session)
{
    const std::vector<std::string>& folders = session.Arguments().Operands();
    if (!session.UseFolders(folders[0], folders[1]))
        return kExitError;
    CSync& sync = session.Sync();
    CliHost& host = session.Host();
    sync.syncRunning = true;
    sync.errLog.clear();
    const quorvantell::DateTime started = RunReport::Now();
    bool completed = false, cancelled = false;
    try {
        completed = SyncActions(sync).RunAction(m_action);
    } catch (const AppError& error) {
        if (error.Number != AppError::kCancelRequest)
            throw;
        cancelled = true;
    }
    host.EndProgressLine();
    if (completed)
        host.ShowMessage("Operation completed successfully", kProgramTitle, quorvantell::MB_ICONINFORMATION);
    RunReport(sync).Show(folders[0] + " " + SyncActions::Tag(m_action) + " " + folders[1], started);
    sync.syncRunning = false;
    if (cancelled)
        return kExitCancelled;
    return completed ? session.StatusOfLog() : std::max(session.StatusOfLog(), int{kExitError});
}

}  // namespace velloran::cli
