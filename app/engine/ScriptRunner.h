// ScriptRunner: runs a script file (".velloran"): blocks of four lines -
// left folder, right folder, action 1..5, "Y" (ask first) or "N" - and an
// optional quit line "Q". The main window hosts it for its command line and
// its "Run script" command; velloran-cli runs it headless. Folder selection,
// the controls and the FTP-mode switch go through the engine's host.
#pragma once

#include "app/engine/SyncActions.h"
#include "classlib/general/DateTime.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velloran {

class CSync;
class ScriptReader;

class ScriptRunner {
public:
    // How the last run ended.
    enum class Outcome {
        Refused,         // another operation was running
        Completed,       // read to its end or to the quit line
        FolderRejected,  // a folder could not be found or the folder check failed
        Corrupt,         // unreadable, cut short, bad action number or flag
        Cancelled,       // the user cancelled an action
    };

    explicit ScriptRunner(CSync& sync) : m_sync(sync), m_actions(sync) {}

    // Runs the script at FileName.
    void Read(const std::string& FileName);

    Outcome LastOutcome() const { return m_outcome; }
    // The run's success flag: every action ran to its end and none was declined.
    bool Succeeded() const { return m_success; }
    // An action that ran returned false.
    bool ActionFailed() const { return m_actionFailed; }
    // The jobs whose question was answered No, each as "Job N (LEFT TAG
    // RIGHT)", N counting the script's blocks from 1. A declined job is no
    // error: it logs nothing, so it neither opens the error window nor keeps
    // a quit line from closing the program.
    const std::vector<std::string>& DeclinedJobs() const { return m_declinedJobs; }
    // False when the log file was set but could not be appended to.
    bool LogWritten() const { return m_logWritten; }
    // The run ended at a quit line.
    bool QuitRead() const { return m_quit; }

private:
    // Runs the blocks; returns normally at the end, a quit line or a
    // rejected folder, raises on anything the error end reports.
    void RunBlocks(ScriptReader& reader, const std::string& path);
    // Selects the folder in the tree of `side` and tells whether the tree
    // shows it now.
    bool SelectFolder(int32_t side, const std::string& folder);
    void RejectFolder(const std::string& path, const std::string& folder);
    void Finish(const std::string& path, bool showSuccess);

    CSync& m_sync;
    SyncActions m_actions;
    Outcome m_outcome = Outcome::Completed;
    bool m_success = true;
    bool m_actionFailed = false;
    std::vector<std::string> m_declinedJobs;
    bool m_logWritten = true;
    bool m_quit = false;
    quorvantell::DateTime m_started;
};

}  // namespace velloran
