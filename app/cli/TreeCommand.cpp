// TreeCommand: copy, delete or update, with the end-of-run report.
#include "app/cli/TreeCommand.h"

#include "app/cli/CliSession.h"
#include "app/cli/ExitStatus.h"
#include "app/engine/SyncActions.h"

namespace velloran::cli {

int TreeCommand::Execute(CliSession& session)
{
    const std::vector<std::string>& folders = session.Arguments().Operands();
    // Overlapping folders are refused before anything runs or is logged.
    if (!session.UseFolders(folders[0], folders[1]) || !session.Sync().checkFoldersSeparate())
        return kExitError;
    return session.RunOperation([&] { return SyncActions(session.Sync()).RunAction(m_action); },
                                folders[0] + " " + SyncActions::Tag(m_action) + " " + folders[1]);
}

}  // namespace velloran::cli
