// SyncActions: the five synchronisation actions of the main window's sync
// buttons and of script files (index 0..4: copy left to right, copy right
// to left, delete from the right, delete from the left, update the right),
// with the question that confirms each and the tag that names it in logs.
#pragma once

#include <cstdint>
#include <string>

namespace velloran {

class CSync;

class SyncActions {
public:
    explicit SyncActions(CSync& sync) : m_sync(sync) {}

    // Asks the action's question; runs the engine call on Yes and returns
    // its result, false on No. Raises the engine's cancel request.
    bool RunSyncAction(int32_t index);
    // The engine call of the action without asking.
    bool RunAction(int32_t index);
    // FTP mode: asks the upload's question and runs the upload on Yes; false
    // on No.
    bool RunFTPCopy();
    // Whether the last RunSyncAction was answered No.
    bool Declined() const { return m_declined; }

    // The question and its caption for the action, with the two folders
    // selected now.
    std::string Question(int32_t index) const;
    // The upload's question, with the left folder and the FTP site's server
    // and folder.
    std::string FtpQuestion() const;
    static std::string Caption(int32_t index);
    // "+>", "<+", ">-", "-<", "±>": the action in a log description.
    static std::string Tag(int32_t index);

private:
    CSync& m_sync;
    bool m_declined = false;
};

}  // namespace velloran
