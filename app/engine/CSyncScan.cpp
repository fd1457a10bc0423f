// CSync: the folder check, the local scan of both trees, the comparison and
// the latest-timestamp survey.
#include "app/engine/AppError.h"
#include "app/engine/CSync.h"
#include "app/engine/Printable.h"
#include "app/engine/ProgramInfo.h"
#include "app/engine/SideScanner.h"
#include "classlib/files/CFile.h"
#include "classlib/files/FileTime.h"
#include "classlib/files/FolderChain.h"
#include "classlib/general/CGeneral.h"
#include "classlib/misc/CWaitCursor.h"

#include <chrono>

namespace velloran {

namespace {

using quorvantell::kTicksPerMillisecond;

constexpr int32_t kScanInterval = 20;
constexpr int32_t kFolderCompareInterval = 30;
constexpr int64_t kLocalTolerance = 2000 * kTicksPerMillisecond;
// How often the user interface gets a turn while the trees are read.
constexpr std::chrono::milliseconds kWaitTurn{100};

const char* SideName(int32_t side)
{
    return side == 0 ? "left" : "right";
}

}  // namespace

bool CSync::checkFoldersValid()
{
    const quorvantell::CFile file;
    // The right tree is hidden in FTP mode; its folder says nothing then.
    if (!modeFTP && m_host.SelectedFoldersSame()) {
        m_host.ShowMessage("Both selected folders are the same!", kProgramTitle, quorvantell::MB_ICONWARNING);
        return false;
    }
    for (int32_t side = 0; side <= 1; ++side) {
        if (side == 1 && modeFTP)
            return true;
        const std::string path = m_host.SelectedFolder(side);
        rootFolder[side] = path;
        if (!file.DirExists(path)) {
            m_host.ShowMessage("The folder " + Printable(path) + " does not exist or is a virtual folder",
                               kProgramTitle, quorvantell::MB_ICONERROR);
            return false;
        }
        rootFolder[side] = file.AddSlash(path);
    }
    return true;
}

bool CSync::checkFoldersSeparate()
{
    if (!quorvantell::FoldersOverlap(rootFolder[0], rootFolder[1]))
        return true;
    // Copying a folder into itself would never end, and deleting from one
    // what a folder inside it lacks would delete that folder's own files.
    m_host.ShowMessage("The folders " + Printable(rootFolder[0]) + " and " + Printable(rootFolder[1]) +
                           " overlap: they are the same folder or one lies inside the other. Choose two separate "
                           "folders.",
                       kProgramTitle, quorvantell::MB_ICONWARNING);
    return false;
}

void CSync::ScanLocal(IStatusLabel& statusLabel, bool filterDots)
{
    try {
        ScanSides(statusLabel, filterDots && Options.FilterDotFiles);
    } catch (const AppError&) {
        m_arrFile.Clear();
        m_arrDir.Clear();
        throw;
    }
}

void CSync::ScanSides(IStatusLabel& statusLabel, bool filter)
{
    const ErrorHandler handler = [this](const std::exception& e) { ScanErrorHandler(e); };
    m_arrFile.Clear();
    m_arrDir.Clear();

    // Both trees are read at once; the counts the progress needs come from
    // the same walk, so each tree is read only once.
    const auto dots = filter ? SideScanner::DotFilter::AnyElement : SideScanner::DotFilter::None;
    SideScanner sides[2];
    for (int32_t side = 0; side <= 1; ++side)
        sides[side].Start(rootFolder[side], dots, TimeOffset(side));
    // A Cancel pressed while the trees are read is asked about at once; on
    // Yes the walks stop as the scanners go out of scope.
    while (!sides[0].WaitFor(kWaitTurn) || !sides[1].WaitFor(kWaitTurn)) {
        m_host.DoEvents();
        CheckCancel(handler);
    }

    const int64_t total = sides[0].foundFiles + sides[0].foundFolders + sides[1].foundFiles + sides[1].foundFolders;
    const double step = total != 0 ? 99.0 / static_cast<double>(total) : 0.0;
    ResetProgress(0);
    int64_t n = 0;
    for (int32_t side = 0; side <= 1; ++side)
        ReplaySide(statusLabel, side, sides[side], n, step, handler);
    std::unordered_set<std::string> unreadable;
    for (int32_t side = 0; side <= 1; ++side)
        LogUnreadable(rootFolder[side], sides[side].unreadable, unreadable);
    for (SideScanner& side : sides) {
        side.files.RemoveBelow(unreadable);
        side.folders.RemoveBelow(unreadable);
    }
    Attempt([&] { m_arrFile.Load(sides[0].files, sides[1].files); }, handler);
    Attempt([&] { m_arrDir.Load(sides[0].folders, sides[1].folders); }, handler);
    ResetProgress(100);
    m_host.DoEvents();
}

void CSync::LogUnreadable(const std::string& root, const std::vector<std::string>& folders,
                          std::unordered_set<std::string>& unreadable)
{
    for (const std::string& folder : folders) {
        LogError("Error reading folder " + Printable(root + folder));
        unreadable.insert(folder);
    }
}

void CSync::BeginSideScan(IStatusLabel& statusLabel, int32_t side)
{
    newestFile[side] = CVell();
    statusLabel.SetCaption(std::string("Searching for files from ") + SideName(side) + " folder...");
    m_host.DoEvents();
}

void CSync::ReplaySide(IStatusLabel& statusLabel, int32_t side, SideScanner& scanned, int64_t& n, double step,
                       const ErrorHandler& handler)
{
    BeginSideScan(statusLabel, side);
    for (const bool folders : {false, true}) {
        const int64_t kept = folders ? scanned.keptFolders : scanned.keptFiles;
        size_t failure = 0;
        const auto failuresUpTo = [&](int64_t position) {
            for (; failure < scanned.failures.size(); ++failure) {
                const SideScanner::Failure& f = scanned.failures[failure];
                if (f.folders != folders)
                    continue;
                if (f.counted > position)
                    break;
                Attempt([&] { throw std::runtime_error(f.description); }, handler);
            }
        };
        for (int64_t k = 1; k <= kept; ++k) {
            failuresUpTo(k);
            ProgressStep(++n, kScanInterval, step, handler);
        }
        failuresUpTo(INT64_MAX);
    }
    newestFile[side].SetFile(side, scanned.newestName);
    newestFile[side].SetFileDate(side, scanned.newestDate);
    newestFile[side].SetSize(side, scanned.newestSize);
}

void CSync::CompareLists(IStatusLabel& statusLabel)
{
    const ErrorHandler handler = [this](const std::exception& e) { ScanErrorHandler(e); };
    statusLabel.SetCaption("Analysing file info...");
    m_host.DoEvents();
    const int64_t tolerance =
        modeFTP ? int64_t{Options.FTPTolerance} * 1000 * kTicksPerMillisecond : kLocalTolerance;
    const bool ignoreNewer = modeFTP && Options.IgnoreNewerOnServer;
    const int32_t nFiles = m_arrFile.nVells(), nFolders = m_arrDir.nVells();
    const double step = nFiles + nFolders != 0 ? 99.0 / (nFiles + nFolders) : 0.0;
    int64_t n = 0;

    for (int32_t i = 0; i < nFolders; ++i) {
        if (m_arrDir.FileAt(i, 0).empty())
            m_arrDir.SetSyncWayAt(i, 4);
        else if (m_arrDir.FileAt(i, 1).empty())
            m_arrDir.SetSyncWayAt(i, 1);
        ProgressStep(++n, kFolderCompareInterval, step, handler);
    }
    for (int32_t i = 0; i < nFiles; ++i) {
        if (m_arrFile.FileAt(i, 0).empty()) {
            m_arrFile.SetSyncWayAt(i, 4);
        } else if (m_arrFile.FileAt(i, 1).empty()) {
            m_arrFile.SetSyncWayAt(i, 1);
        } else {
            const int64_t diff = quorvantell::TickDifference(m_arrFile.FileDateAt(i, 0), m_arrFile.FileDateAt(i, 1));
            if (diff > tolerance)
                m_arrFile.SetSyncWayAt(i, 2);
            else if (diff < -tolerance && !ignoreNewer)
                m_arrFile.SetSyncWayAt(i, 3);
            else if (m_arrFile.SizeAt(i, 0) != m_arrFile.SizeAt(i, 1))
                m_arrFile.SetSyncWayAt(i, 5);
        }
        ProgressStep(++n, kScanInterval, step, handler);
    }
    m_arrFile.ReIndex();
    ResetProgress(100);
    m_host.DoEvents();
}

void CSync::ScanAndCompare(IStatusLabel& statusLabel)
{
    if (modeFTP)
        ScanFTP(statusLabel, true, m_host.FtpSite().SubDirs != 0);
    else
        ScanLocal(statusLabel, true);
    CompareLists(statusLabel);
}

std::string CSync::LatestReport() const
{
    std::string text;
    for (int32_t side = 0; side <= 1; ++side) {
        const CVell& newest = newestFile[side];
        const std::string name = SideName(side);
        if (!newest.File(side).empty()) {
            text += "The newest file on the " + name + " is " + "\r\n" + Printable(newest.File(side)) + "\r\n" +
                    "modified " + newest.ConvertedDate(side).ToString() + "\r\n" + "\r\n";
        } else {
            text += "There are no files on the " + name + "\r\n" + "\r\n";
        }
    }
    const int64_t diff = quorvantell::TickDifference(newestFile[0].FileDate(0), newestFile[1].FileDate(1));
    if (diff > kLocalTolerance)
        text += "The newest side is the left";
    else if (diff < -kLocalTolerance)
        text += "The newest side is the right";
    else
        text += "Both sides are the same";
    return text;
}

bool CSync::GetLatest()
{
    quorvantell::CWaitCursor wait;
    wait.Restore();
    progressBar = &m_host.ProgressBar();
    IStatusLabel& statusLabel = m_host.StatusLabel();
    bool shown = false;
    try {
        if (modeFTP)
            ScanFTP(statusLabel, true, true);
        else
            ScanLocal(statusLabel, true);
        const std::string report = LatestReport();
        if (modeFTP)
            m_FTP.Disconnect();
        m_host.ShowMessage(report, kProgramTitle, quorvantell::MB_ICONINFORMATION);
        shown = true;
    } catch (const AppError& error) {
        if (error.Number == AppError::kCancelRequest)
            m_host.ShowMessage("Cancelled by user.", kProgramTitle, quorvantell::MB_ICONINFORMATION);
    } catch (const std::exception&) {
        // The scan's own handler has dealt with it.
    }
    ResetProgress(0);
    statusLabel.SetCaption("");
    return shown;
}

}  // namespace velloran
