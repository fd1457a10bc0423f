// SyncActions: confirming and running one of the five actions.
#include "app/engine/SyncActions.h"

#include "app/engine/CSync.h"
#include "app/engine/Printable.h"
#include "classlib/general/CGeneral.h"

#include <stdexcept>

namespace velloran {

namespace {

constexpr const char* kWarning = "Warning: You are about to make permanent changes to your file system.\r\n\r\n";

void CheckIndex(int32_t index)
{
    if (index < 0 || index > 4)
        throw std::out_of_range("A synchronisation action is 0 to 4, not " + std::to_string(index));
}

}  // namespace

std::string SyncActions::Caption(int32_t index)
{
    CheckIndex(index);
    return index <= 1 ? "Copy files" : (index <= 3 ? "Delete files" : "Sync folders");
}

std::string SyncActions::Tag(int32_t index)
{
    CheckIndex(index);
    static const char* const tags[] = {"+>", "<+", ">-", "-<", "\xC2\xB1>"};
    return tags[index];
}

std::string SyncActions::Question(int32_t index) const
{
    CheckIndex(index);
    // Each folder on a line of its own, whatever bytes its name holds.
    const std::string folder[2] = {Printable(m_sync.Host().SelectedFolder(0)),
                                   Printable(m_sync.Host().SelectedFolder(1))};
    std::string middle;
    if (index <= 1) {
        middle = "Do you wish to copy files from\r\n" + folder[index] + "\r\n\r\nto update\r\n" +
                 folder[1 - index];
    } else if (index <= 3) {
        middle = "Do you wish to delete files from\r\n" + folder[3 - index] + "\r\n\r\nif they don't exist in\r\n" +
                 folder[index - 2];
    } else {
        middle = "Do you wish to copy files to and delete files from the folder\r\n" + folder[1] +
                 "\r\n\r\nto make it identical to\r\n" + folder[0];
    }
    return kWarning + middle + "?";
}

std::string SyncActions::FtpQuestion() const
{
    const ISyncHost& host = m_sync.Host();
    const FtpSiteFields site = host.FtpSite();
    return kWarning + std::string("Do you wish to copy files from\r\n") + Printable(host.SelectedFolder(0)) +
           "\r\n\r\nto update\r\n" + Printable(site.Server) + " in directory " +
           Printable(site.FTPDirs.empty() ? std::string() : site.FTPDirs.front()) + "?";
}

bool SyncActions::RunFTPCopy()
{
    m_declined = !m_sync.Host().AskYesNo(FtpQuestion(), Caption(0), quorvantell::MB_ICONQUESTION, QuestionKind::Confirm);
    return !m_declined && m_sync.DoCopyFTP();
}

bool SyncActions::RunSyncAction(int32_t index)
{
    m_declined = !m_sync.Host().AskYesNo(Question(index), Caption(index), quorvantell::MB_ICONQUESTION,
                                         QuestionKind::Confirm);
    return !m_declined && RunAction(index);
}

bool SyncActions::RunAction(int32_t index)
{
    CheckIndex(index);
    switch (index) {
    case 0: return m_sync.DoCopy(0, 1);
    case 1: return m_sync.DoCopy(1, 0);
    case 2: return m_sync.DoDelete(0, 1);
    case 3: return m_sync.DoDelete(1, 0);
    default: return m_sync.DoUpdate(0, 1);
    }
}

}  // namespace velloran
