// ScriptRunner: reading and running a script file.
#include "app/engine/ScriptRunner.h"

#include "app/engine/AppError.h"
#include "app/engine/CSync.h"
#include "app/engine/Printable.h"
#include "app/engine/ProgramInfo.h"
#include "app/engine/RunReport.h"
#include "app/engine/ScriptReader.h"
#include "classlib/files/CFile.h"
#include "classlib/general/CGeneral.h"
#include "classlib/misc/CWaitCursor.h"

namespace velloran {

namespace {

constexpr const char* kPleaseWait =
    "Please wait for the current operation to be completed before starting another operation";

// A path in quotes, as one line whatever bytes it holds.
std::string Quoted(const std::string& text)
{
    return "\"" + Printable(text) + "\"";
}

// The script's contents are wrong: the error end reports it as corrupt.
struct CorruptScript : std::runtime_error {
    CorruptScript() : std::runtime_error("corrupt script") {}
};

}  // namespace

void ScriptRunner::Read(const std::string& FileName)
{
    quorvantell::CWaitCursor wait;
    wait.Restore();
    ISyncHost& host = m_sync.Host();
    if (m_sync.syncRunning) {
        host.ShowMessage(kPleaseWait, kProgramTitle, quorvantell::MB_ICONWARNING);
        m_outcome = Outcome::Refused;
        return;
    }
    if (m_sync.modeFTP)
        host.SwitchFTPMode();
    m_sync.syncRunning = true;
    m_started = RunReport::Now();
    host.DoEvents();
    m_outcome = Outcome::Completed;
    m_success = true;
    m_actionFailed = false;
    m_declinedJobs.clear();
    m_logWritten = true;
    m_quit = false;

    if (!quorvantell::CFile().FileExists(FileName))
        host.ShowMessage("The command file " + Quoted(FileName) + " could not be found", kProgramTitle,
                         quorvantell::MB_ICONWARNING);
    host.EnableControls(false);
    host.SetExitCaption("&Cancel");
    m_sync.errLog.clear();

    try {
        ScriptReader reader;
        if (!reader.Open(FileName))
            throw std::runtime_error("File not found");
        RunBlocks(reader, FileName);
    } catch (const std::exception& error) {
        const auto* app = dynamic_cast<const AppError*>(&error);
        if (app != nullptr && app->Number == AppError::kCancelRequest) {
            m_outcome = Outcome::Cancelled;
        } else {
            m_outcome = Outcome::Corrupt;
            host.ShowMessage("The command file " + Quoted(FileName) + " was corrupt or incorrect", kProgramTitle,
                             quorvantell::MB_ICONWARNING);
        }
        m_success = false;
        Finish(FileName, false);
        return;
    }
    Finish(FileName, m_success && !m_quit);
}

void ScriptRunner::RunBlocks(ScriptReader& reader, const std::string& path)
{
    for (int job = 1; !reader.AtEnd(); ++job) {
        const std::string left = reader.ReadLine();
        if (left == "Q") {
            m_quit = true;
            return;
        }
        if (!SelectFolder(0, left))
            return RejectFolder(path, left);
        const std::string right = reader.ReadLine();
        if (!SelectFolder(1, right))
            return RejectFolder(path, right);
        // Every action is a whole-tree operation: two folders that overlap
        // end the run as folders that fail the check do.
        if (!m_sync.checkFoldersValid() || !m_sync.checkFoldersSeparate()) {
            m_outcome = Outcome::FolderRejected;
            m_success = false;
            return;
        }
        const int64_t action = reader.ReadNumber();
        if (action < 1 || action > 5)
            throw CorruptScript();
        const std::string flag = reader.ReadLine();
        const auto index = static_cast<int32_t>(action - 1);
        bool result = false, declined = false;
        if (flag == "Y") {
            result = m_actions.RunSyncAction(index);
            declined = m_actions.Declined();
        } else if (flag == "N") {
            result = m_actions.RunAction(index);
        } else {
            throw CorruptScript();
        }
        if (declined)
            m_declinedJobs.push_back("Job " + std::to_string(job) + " (" + Printable(left) + " " +
                                     SyncActions::Tag(index) + " " + Printable(right) + ")");
        m_actionFailed = m_actionFailed || (!result && !declined);
        m_success = m_success && result;
    }
}

bool ScriptRunner::SelectFolder(int32_t side, const std::string& folder)
{
    ISyncHost& host = m_sync.Host();
    host.SetSelectedFolder(side, folder);
    return quorvantell::CFile().PathsSame(folder, host.SelectedFolder(side));
}

void ScriptRunner::RejectFolder(const std::string& path, const std::string& folder)
{
    const std::string text = "The command file " + Quoted(path) + " contains the folder " + Quoted(folder) +
                             " which could not be found";
    m_sync.Host().ShowMessage(text, kProgramTitle, quorvantell::MB_ICONWARNING);
    m_sync.errLog += text + "\r\n";
    m_outcome = Outcome::FolderRejected;
    m_success = false;
}

void ScriptRunner::Finish(const std::string& path, bool showSuccess)
{
    ISyncHost& host = m_sync.Host();
    host.StatusLabel().SetCaption("Done.");
    host.ProgressBar().SetValue(100);
    host.SetExitCaption("E&xit");
    host.EnableControls(true);
    host.DoEvents();
    if (showSuccess)
        host.ShowMessage("Operation completed successfully", kProgramTitle, quorvantell::MB_ICONINFORMATION);
    m_logWritten = RunReport(m_sync).Show("Script " + path, m_started);
    host.ActivityBar().SetValue(0);
    host.ProgressBar().SetValue(0);
    host.DoEvents();
    m_sync.syncRunning = false;
    if (m_sync.errLog.empty() && m_quit)
        host.UnloadMain();
}

}  // namespace velloran
