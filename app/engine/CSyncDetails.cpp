// CSync: filling the file details window - the scan and comparison of the
// current mode, then one row per file or folder pair in each list, with
// state images, icons and the dimmed placeholders of the difference view.
#include "app/engine/AppError.h"
#include "app/engine/CSync.h"
#include "app/engine/IDetailsWindow.h"
#include "app/engine/ProgramInfo.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"
#include "classlib/misc/CWaitCursor.h"

#include <cmath>

namespace velloran {

namespace {

constexpr int32_t kFillInterval = 15;
constexpr const char* kDotNote = "  Files beginning with '.' are not shown but will be sync'ed";

quorvantell::CGeneral& General()
{
    return *quorvantell::ClassLibrary::Shared().General;
}

// The state image of a pair's rows by its verdict: 1 one side only, 3 left
// newer, 4 right newer, 5 same time but another size, none when equal.
int32_t StateImageOf(int32_t syncWay)
{
    switch (syncWay) {
    case 1:
    case 4:
        return 1;
    case 2:
        return 3;
    case 3:
        return 4;
    case 5:
        return 5;
    default:
        return 0;
    }
}

}  // namespace

// One row for side `side` of the pair at position i of `list`; folders and
// one-sided files without details show their name only.
void CSync::AddDetailsRow(IDetailsList& rows, bool folder, int32_t i, int32_t side, bool withDetails)
{
    const CVellList& list = folder ? m_arrDir : m_arrFile;
    const std::string key = (folder ? "D" : "F") + std::to_string(i);
    const std::string name(list.FileAt(i, side));
    if (withDetails && !folder) {
        const int64_t size = list.SizeAt(i, side), time = list.FileDateAt(i, side);
        rows.AddItem(key, name, General().ConvertBytes(static_cast<double>(size)),
                     General().FileTimeToDate(time).ToString());
        rows.SetSortValues(key, size, time);
    } else {
        rows.AddItem(key, name, "", "");
    }
    if (folder)
        rows.SetTag(key, "D");
    // The server's names take the icon of their type; its folders a folder's.
    if (side == 0 || !modeFTP)
        rows.SetFileIcon(key, rootFolder[side] + name);
    else if (folder)
        rows.SetFileIcon(key, rootFolder[0]);
    else
        rows.SetFileIconByExt(key, name);
    rows.SetStateImage(key, StateImageOf(list.SyncWayAt(i)));
}

// The dimmed row standing for what a side lacks, beside the real one.
void CSync::AddPlaceholder(IDetailsWindow& window, bool folder, int32_t i, int32_t present)
{
    const CVellList& list = folder ? m_arrDir : m_arrFile;
    const std::string key = (folder ? "D" : "F") + std::to_string(i);
    IDetailsList& rows = window.List(1 - present);
    rows.AddItem(key, std::string(list.FileAt(i, present)), "", "");
    if (folder)
        rows.SetTag(key, "D");
    rows.SetIcon(key, window.List(present).Icon(key));
    rows.SetStateImage(key, 2);
    rows.SetState(key, General().ShadeColor(Options.TextColor), General().ShadeColor(Options.BackgroundColor));
}

void CSync::AddPairRows(IDetailsWindow& window, bool folder, int32_t i, bool showAll, bool diffOnly)
{
    const int32_t way = (folder ? m_arrDir : m_arrFile).SyncWayAt(i);
    if (way == 1 || way == 4) {
        const int32_t present = way == 1 ? 0 : 1;
        AddDetailsRow(window.List(present), folder, i, present, Options.ShowOneSidedDetails);
        if (diffOnly)
            AddPlaceholder(window, folder, i, present);
        return;
    }
    // Folders differ only by being on one side.
    if ((way == 0 || folder) && !showAll)
        return;
    for (int32_t side = 0; side <= 1; ++side)
        AddDetailsRow(window.List(side), folder, i, side, true);
}

void CSync::FillLists(IDetailsWindow& window, bool showAll, bool diffOnly)
{
    const ErrorHandler handler = [this](const std::exception& e) { ScanErrorHandler(e); };
    window.StatusLabel().SetCaption("Populating window...");
    m_host.DoEvents();
    window.ShowCover(true);
    const int32_t nFolders = m_arrDir.nVells(), nFiles = m_arrFile.nVells();
    const double step = nFolders + nFiles != 0 ? 99.0 / (nFolders + nFiles) : 0.0;
    for (int32_t side = 0; side <= 1; ++side)
        window.List(side).PreAllocate(nFolders + nFiles);
    bool cancelled = false;
    try {
        for (int32_t i = 0; i < nFolders; ++i)
            Attempt([&] { AddPairRows(window, true, i, showAll, diffOnly); }, handler);
        for (int32_t i = 0; i < nFiles; ++i) {
            Attempt([&] { AddPairRows(window, false, i, showAll, diffOnly); }, handler);
            if (i % kFillInterval == 0) {
                CheckCancel(handler);
                SetProgress(static_cast<int32_t>(std::lround(step * (nFolders + i))));
                m_host.DoEvents();
            }
        }
    } catch (const AppError& error) {
        // A confirmed cancel stops the filling; what is listed stays, and
        // the window stays open for a look at it.
        if (error.Number != AppError::kCancelRequest)
            throw;
        cancelled = true;
    }
    window.ShowCover(false);
    const bool rows = window.List(0).Count() + window.List(1).Count() > 0;
    std::string status = cancelled ? "Cancelled by user."
                         : rows    ? "Done."
                         : diffOnly ? "No differences found."
                                    : "No files found.";
    if (Options.FilterDotFiles)
        status += kDotNote;
    window.StatusLabel().SetCaption(status);
    window.EnableSync(rows);
    ResetProgress(0);
}

void CSync::PopulateList(IDetailsWindow& window, bool DiffOnly)
{
    quorvantell::CWaitCursor wait;
    wait.Restore();
    progressBar = &window.ProgressBar();
    window.EnableSync(false);
    window.SetCloseCaption("&Cancel");
    detailsRunning = true;
    try {
        for (int32_t side = 0; side <= 1; ++side)
            window.List(side).Clear();
        window.RestoreIfMinimised();
        window.SetFolderCaption(0, rootFolder[0]);
        IStatusLabel& status = window.StatusLabel();
        status.SetCaption("Counting files");
        if (modeFTP) {
            const FtpSiteFields site = m_host.FtpSite();
            // A server field naming its scheme keeps it: the caption is the
            // address the sync dialog sends to.
            const bool schemed = site.Server.find("://") != std::string::npos;
            window.SetFolderCaption(1, (schemed ? "" : "ftp://") + site.Server + ServerFolder());
            ScanFTP(status, true, site.SubDirs != 0);
        } else {
            window.SetFolderCaption(1, rootFolder[1]);
            ScanLocal(status, true);
        }
        CompareLists(status);
        FillLists(window, !DiffOnly, DiffOnly);
    } catch (const std::exception& error) {
        // The listing error has been shown by the FTP scan.
        if (AppError::Is(error, AppError::kCancelRequest))
            m_host.ShowMessage("Cancelled by user.", kProgramTitle, quorvantell::MB_ICONINFORMATION);
        else if (!AppError::Is(error, AppError::kFtpError))
            m_host.ShowMessage(error.what(), kProgramTitle, quorvantell::MB_ICONWARNING);
        detailsRunning = false;
        window.Unload();
        return;
    }
    for (int32_t side = 0; side <= 1; ++side)
        window.List(side).SelectFirst();
    detailsRunning = false;
    window.SetCloseCaption("&Close");
}

}  // namespace velloran
