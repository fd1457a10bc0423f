// frmMain: what the menus and buttons do - the sync buttons and their end of
// run, the view buttons, scripts, the latest timestamps, FTP mode, the recent
// folders, help and the trees' popup.
#include "app/shell/frmMain.h"

#include "app/engine/AppError.h"
#include "app/engine/CSync.h"
#include "app/engine/FtpFolderHistory.h"
#include "app/engine/ProgramInfo.h"
#include "app/engine/RunReport.h"
#include "app/engine/SyncActions.h"
#include "app/shell/HelpFile.h"
#include "app/shell/frmAbout.h"
#include "app/shell/frmMainControls.h"
#include "app/windows/frmDetails.h"
#include "app/windows/frmLog.h"
#include "app/windows/frmOptions.h"
#include "classlib/files/CFile.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"
#include "classlib/misc/CComDialogs.h"
#include "classlib/misc/CWaitCursor.h"
#include "controls/XPButton.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>

namespace velloran {

namespace {

constexpr const char* kPleaseWait =
    "Please wait for the current operation to be completed before starting another operation";

quorvantell::SharedInstances& Library()
{
    return quorvantell::ClassLibrary::Shared();
}

}  // namespace

void frmMain::FileMenu(int index)
{
    switch (index) {
    case 0:
    case 1:
        ViewFiles(index == 1);
        break;
    case 3:
        RunScriptChosen();
        break;
    case 7:
        // While an operation runs the button reads "&Cancel".
        if (m_sync->syncRunning)
            m_sync->Cancel = true;
        else
            close();
        break;
    default:
        break;
    }
}

void frmMain::ViewFiles(bool DiffOnly)
{
    if (!m_sync->checkFoldersValid())
        return;
    if (m_sync->modeFTP)
        NormaliseFtpDirectory();
    setEnabled(false);
    frmDetails& details = frmDetails::Open(this, *m_sync);
    details.Init(DiffOnly, m_sync->modeFTP);
    details.show();
    DoEvents();
    m_sync->PopulateList(details, DiffOnly);
    AddFoldersToRecent();
    setEnabled(true);
}

void frmMain::RunScriptChosen()
{
    quorvantell::OFNINFO chosen;
    const std::string filter = std::string("Velloran Script") + '\0' + "*.velloran" + '\0' +
                               Library().ComDialogs->filterAllFiles();
    if (!Library().ComDialogs->OpenFile(this, "", m_sync->lastFileDir, filter, 0, "", "Choose a script file", chosen) ||
        chosen.FileName.empty())
        return;
    m_sync->lastFileDir = chosen.PathName;
    Read(chosen.PathName + chosen.FileName.front());
}

void frmMain::ToolsMenu(int index)
{
    switch (index) {
    case 0:
        GetLatestTimestamps();
        break;
    case 2:
        ToggleFtpMode();
        break;
    case 4:
        frmOptions::Show(*this);
        break;
    default:
        break;
    }
}

void frmMain::GetLatestTimestamps()
{
    m_sync->syncRunning = true;
    if (m_sync->checkFoldersValid() &&
        AskYesNo("Are you sure you wish to search the selected folders for the latest file change date?  This may "
                 "take a while.",
                 "Get latest file change timestamps in folder tree", quorvantell::MB_ICONQUESTION,
                 QuestionKind::Confirm)) {
        EnableControls(false);
        SetExitCaption("&Cancel");
        m_sync->GetLatest();
        SetExitCaption("E&xit");
        EnableControls(true);
    }
    m_sync->syncRunning = false;
}

void frmMain::ToggleFtpMode()
{
    Controls& c = *m_controls;
    const bool ftp = m_sync->modeFTP;
    c.ftpMode->setChecked(!ftp);
    c.pic[2]->setVisible(!ftp);
    c.ftv[1]->setVisible(ftp);
    m_sync->modeFTP = !ftp;
}

void frmMain::HelpMenu(int index)
{
    if (index == 0)
        OpenHelp(this, m_helpFile);
    else if (index == 5)
        frmAbout::Show(this);
}

void frmMain::WebMenu(int index)
{
    using quorvantell::eHelpWeb;
    static const eHelpWeb pages[] = {eHelpWeb::Main,     eHelpWeb::Community, eHelpWeb::Main, eHelpWeb::FAQ,
                                     eHelpWeb::Main,     eHelpWeb::Bugs,      eHelpWeb::Feedback};
    if (index >= 0 && index < 7)
        Library().General->HelpWeb(pages[index]);
}

void frmMain::NormaliseFtpDirectory()
{
    Controls& c = *m_controls;
    std::vector<std::string> history;
    for (int i = 0; i < c.cbo->count(); ++i)
        history.push_back(Bytes(c.cbo->itemText(i)));
    FtpFolderHistory::Remember(Bytes(c.cbo->currentText()), history);
    FtpSiteFields site = FtpSite();
    site.FTPDirs = history;
    SetFtpSite(site);
}

void frmMain::SyncClicked(int index)
{
    quorvantell::CWaitCursor wait;
    wait.Restore();
    if (m_sync->modeFTP) {
        NormaliseFtpDirectory();
        if (index != 0) {
            ShowMessage("This automatic synchronisation function is not available in FTP mode", kProgramTitle,
                        quorvantell::MB_ICONWARNING);
            return;
        }
    }
    if (m_sync->syncRunning) {
        ShowMessage(kPleaseWait, kProgramTitle, quorvantell::MB_ICONWARNING);
        return;
    }
    if (!m_sync->checkFoldersValid())
        return;
    m_sync->syncRunning = true;
    const quorvantell::DateTime started = RunReport::Now();
    EnableControls(false);
    SetExitCaption("&Cancel");
    m_sync->errLog.clear();
    bool result = false;
    // The engine has shown and logged its own failures, a cancel included.
    try {
        SyncActions actions(*m_sync);
        result = m_sync->modeFTP ? actions.RunFTPCopy() : actions.RunSyncAction(index);
    } catch (const std::exception&) {
        result = false;
    }
    FinishOperation(result, index, started);
}

void frmMain::FinishOperation(bool result, int index, const quorvantell::DateTime& started)
{
    Controls& c = *m_controls;
    AddFoldersToRecent();
    c.lbl[2]->setText(QStringLiteral("Done."));
    c.progbar[0]->setValue(100);
    SetExitCaption("E&xit");
    EnableControls(true);
    DoEvents();
    if (result)
        ShowMessage("Operation completed successfully", kProgramTitle, quorvantell::MB_ICONINFORMATION);
    const std::string tag = SyncActions::Tag(index);
    const std::string right = m_sync->modeFTP ? Bytes(c.txt[0]->text()) + " in directory " + Bytes(c.cbo->currentText())
                                              : SelectedFolder(1);
    RunReport(*m_sync).Show(SelectedFolder(0) + " " + tag + " " + right, started);
    c.progbar[1]->setValue(0);
    c.progbar[0]->setValue(0);
    DoEvents();
    m_sync->syncRunning = false;
}

void frmMain::AddFoldersToRecent()
{
    AddRecentFolder(SelectedFolder(0));
    // The right tree keeps its folder while hidden, but it is not used then.
    if (!m_sync->modeFTP)
        AddRecentFolder(SelectedFolder(1));
}

void frmMain::LoadRecentFolders()
{
    recentFiles.Init(m_controls->mnuRecent, m_sync->Options.RecentCount, true, false, false);
    connect(&recentFiles, &CRecentFiles::Clicked, this, &frmMain::RecentChosen, Qt::UniqueConnection);
}

void frmMain::SaveRecentFolders()
{
    recentFiles.Save();
}

void frmMain::AddRecentFolder(const std::string& folder)
{
    if (!folder.empty())
        recentFiles.Add(quorvantell::CFile().AddSlash(folder));
}

void frmMain::RecentChosen(const std::string& folder)
{
    SetSelectedFolder(0, folder);
    recentFiles.Add(folder);
}

void frmMain::ShowErrorLog(const std::string& text)
{
    frmLog::ShowErrors(this, *m_sync, text);
}

void frmMain::OpenTreeFolder()
{
    quorvantell::CFile().RunDocument(m_controls->ftv[m_controls->popupTree]->Path(),
                                     quorvantell::CFile::SW_SHOWNORMAL);
}

}  // namespace velloran
