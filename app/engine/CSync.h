// CSync: the sync controller. It owns the two pair lists, the settings, the
// FTP session, the error text of the running operation and the flags the
// windows share with it. It scans and compares the two folders, runs the
// whole-tree copy, delete and update with the error policy, reports the
// newest files, and loads and saves the settings and the FTP site. It
// reaches the user only through its ISyncHost.
//
// Long routines end on the user's cancel request by raising AppError with
// AppError::kCancelRequest; every other failure is a result, a message or a
// line in errLog.
#pragma once

#include "app/engine/CVell.h"
#include "app/engine/CVellList.h"
#include "app/engine/ISyncHost.h"
#include "app/engine/OptionsRecord.h"
#include "app/engine/SideScanner.h"
#include "app/ftp/CFTP.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace quorvantell {
class CRegistry;
class FolderChain;
struct FolderEntry;
}

namespace velloran {

class IDetailsList;
class IDetailsWindow;
class UploadPool;

class CSync {
public:
    explicit CSync(ISyncHost& host);
    CSync(const CSync&) = delete;
    CSync& operator=(const CSync&) = delete;

    // ---- Settings and lifetime ----
    // Loads the settings and the FTP site and applies the window switches.
    void Init();
    // Saves the settings when SaveOnExit is set.
    void Terminate();
    // Process and main-thread priority from ProcessPriority and ThreadPriority.
    // The first time the system refuses one (raising needs privilege) the
    // user is told; the priority in effect is utils::GetOwnPriority's.
    // Raises quorvantell::UtilsMissing when the utility library is missing.
    void SetPriority();
    void SetTrayIcon();
    void CheckWindowsOnTop();

    // ---- Scan and comparison ----
    // Checks the two selected folders and sets rootFolder; shows the reason
    // and returns false when they cannot be used.
    bool checkFoldersValid();
    // Checks that the two folders of a whole-tree operation (rootFolder,
    // set by checkFoldersValid) are apart: neither is the other, under any
    // name, nor lies inside it. Shows why and returns false when they are not.
    bool checkFoldersSeparate();
    // Both local trees into m_arrFile and m_arrDir, read at the same time on
    // two worker threads. Raises the cancel request; a cancelled scan leaves
    // the lists empty.
    void ScanLocal(IStatusLabel& statusLabel, bool filterDots);
    // The local left tree (read on a worker thread) and the server folder
    // of the FTP site (listed through m_FTP) into the lists; the connection
    // stays open for the caller to end. Without SubDirs only the two top
    // folders are read. Raises the cancel request and, after "An error
    // occurred with the FTP connection" and its error line in errLog,
    // AppError::kFtpError; either leaves the lists empty. Server entries the
    // listing skipped become warning lines in errLog; server folders it
    // could not read become error lines, and what lies below them is left
    // out of both sides.
    void ScanFTP(IStatusLabel& statusLabel, bool filterDots, bool SubDirs);
    // syncWay of every pair.
    void CompareLists(IStatusLabel& statusLabel);
    // The scan of the current mode as the details lists are filled from it
    // (dot files left out when FilterDotFiles is set; in FTP mode the
    // site's SubDirs), then the comparison. The FTP connection stays open.
    void ScanAndCompare(IStatusLabel& statusLabel);

    // ---- Whole-tree operations (side 0 left, 1 right) ----
    // True when the operation ran to its end; false, after its message, for
    // two folders that are not apart (checkFoldersSeparate); raises the
    // cancel request after "Cancelled by user." was shown.
    bool DoCopy(int32_t fromIdx, int32_t toIdx);
    bool DoDelete(int32_t fromIdx, int32_t toIdx);
    bool DoUpdate(int32_t fromIdx, int32_t toIdx);
    // FTP mode: uploads the left files that are missing or newer on the
    // server into the site's folder, creating missing folders first. True
    // when the upload ran to its end; false after its message and an error
    // line in errLog when the server could not be listed, wholly or in part
    // (then nothing is sent), or a transfer failed (the first failure ends
    // the upload). Raises the cancel request after "Cancelled by user.".
    bool DoCopyFTP();

    // ---- The file details window ----
    // Scans and compares the two folders of the current mode and fills the
    // window's two lists: the differences only, or every pair. Cancelling
    // or an error during the scan ends with a message and closes the
    // window; a cancel while the lists fill leaves them as far as they got.
    void PopulateList(IDetailsWindow& window, bool DiffOnly);

    // ---- Latest-timestamp survey ----
    // Scans and shows which side holds the newest file. True when the
    // report was shown (false after a cancel or a failed scan).
    bool GetLatest();
    // The survey's text from newestFile.
    std::string LatestReport() const;

    // ---- State shared with the windows ----
    bool Cancel = false;
    bool syncRunning = false;
    bool detailsRunning = false;  // PopulateList is filling the details window
    bool modeFTP = false;
    std::string errLog;
    std::string rootFolder[2];
    CVell newestFile[2];
    CVellList m_arrFile;
    CVellList m_arrDir;
    // The FTP session of FTP mode; the main window's site fields say where to.
    CFTP m_FTP;
    IProgressControl* progressBar = nullptr;

    // The settings record and the five string settings.
    OptionsRecord Options;
    std::string ConsoleFont;
    std::string OthFont;
    std::string OLogFile;
    std::string lastFileDir;
    std::string lastLogDir;
    // FTP mode: how many files an upload sends at once, each over a session
    // of its own (1..kMaxFTPConnections); stored beside the record.
    static constexpr int32_t kMaxFTPConnections = 8;
    static constexpr int32_t kDefaultFTPConnections = 4;
    int32_t FTPConnections = kDefaultFTPConnections;

    ISyncHost& Host() const { return m_host; }

private:
    // What a routine's error handler decides: it returns to resume after
    // the failed statement, or raises the cancel request.
    using ErrorHandler = std::function<void(const std::exception&)>;

    // Runs one statement of a long routine; an error goes to the handler.
    void Attempt(const std::function<void()>& statement, const ErrorHandler& handler);
    // The handler of the scans and the comparison.
    void ScanErrorHandler(const std::exception& error);
    // The FTP scan's handler: a listing error is shown, then passed on.
    void FtpScanErrorHandler(const std::exception& error);
    // The second half of PopulateList: the rows of both lists.
    void FillLists(IDetailsWindow& window, bool showAll, bool diffOnly);
    void AddPairRows(IDetailsWindow& window, bool folder, int32_t i, bool showAll, bool diffOnly);
    void AddDetailsRow(IDetailsList& rows, bool folder, int32_t i, int32_t side, bool withDetails);
    void AddPlaceholder(IDetailsWindow& window, bool folder, int32_t i, int32_t present);
    // The upload's handler. A cancel request that comes out of the scan or
    // the comparison has been confirmed there and is passed on unasked.
    void UploadErrorHandler(const std::exception& error, bool confirmed);
    // The handler of the tree walks; icon differs between copy and delete.
    void TreeErrorHandler(const std::exception& error, uint32_t icon);
    // Clears Cancel and asks the cancel question; Yes raises the cancel request.
    void ConfirmCancel(uint32_t icon);
    // Every interval-th item: cancel check, progress value, event-loop turn.
    void ProgressStep(int64_t n, int32_t interval, double step, const ErrorHandler& handler);
    // Raises the cancel request through the handler when Cancel is set.
    void CheckCancel(const ErrorHandler& handler);
    // The progress value, set only when it changes (the steps) or always.
    void SetProgress(int32_t value);
    void ResetProgress(int32_t value);
    void AdvanceActivity();
    // Runs a whole-tree worker with the wrappers' error reporting.
    bool RunWorker(const std::function<bool()>& worker);

    void ScanSides(IStatusLabel& statusLabel, bool filter);
    // A new newest file for the side, its caption and an event-loop turn.
    void BeginSideScan(IStatusLabel& statusLabel, int32_t side);
    // The progress, failures and newest file of a side read by a worker,
    // replayed in the order the user would have seen them.
    void ReplaySide(IStatusLabel& statusLabel, int32_t side, SideScanner& scanned, int64_t& n, double step,
                    const ErrorHandler& handler);
    void ScanFtpSides(IStatusLabel& statusLabel, bool filter, bool subDirs);
    // Connects to the FTP site; a TLS server's key no authority vouches for
    // is asked about once and, when the user trusts it, kept with the site.
    bool ConnectFtp();
    // The server side of ScanFTP into the two batches, n counting on.
    void ListServer(SideScanner::DotFilter dots, bool subDirs, int64_t& n, double step, ScanBatch& files,
                    ScanBatch& folders, const ErrorHandler& handler);
    // One error line per folder of root a scan could not read (relative,
    // "" for the root); each joins unreadable.
    void LogUnreadable(const std::string& root, const std::vector<std::string>& folders,
                       std::unordered_set<std::string>& unreadable);
    // One warning line in errLog per server entry the listing skipped.
    void LogSkippedNames(const std::string& serverFolder);
    // The server folder of the FTP site: its folder field ending in "/".
    std::string ServerFolder() const;
    bool CopyToFTP();
    // The upload's two passes: the missing server folders, in list order,
    // then the files, n counting on.
    void MakeServerFolders(const std::string& serverFolder, int64_t& n, double step, const ErrorHandler& handler);
    void UploadFiles(const std::string& serverFolder, int64_t& n, double step, const ErrorHandler& handler);
    // The sessions that send the files when FTPConnections allows more than
    // one and there is more than one file; null: they go one by one over
    // m_FTP on this thread.
    std::unique_ptr<UploadPool> StartUploadPool(const std::string& serverFolder);
    // After each folder or file of the upload: activity, cancel check and,
    // every interval-th item, the progress value. A cancel request holds
    // the pool until it has been answered.
    void UploadStep(int64_t n, int32_t interval, double step, const ErrorHandler& handler,
                    UploadPool* pool = nullptr);
    void HoldForCancel(UploadPool* pool);

    // The progress of a tree walk: the counter and the step at every
    // interval-th entry, with the walk's error handler.
    struct TreeProgress {
        CSync* sync;
        int32_t interval;
        double step;
        int64_t& n;
        ErrorHandler handler;
        void Step() const { sync->ProgressStep(++n, interval, step, handler); }
    };
    // One entry of a walked folder (its descriptor given); false stops the walk.
    using TreeVisit =
        std::function<bool(const std::string& folder, int folderFd, const quorvantell::FolderEntry& entry)>;

    // The start the tree workers share: "Counting files", the progress step
    // from the counts of countedRoot (a folder weighs folderWeight entries),
    // the worker's caption, progress 0. Returns the step.
    double BeginTreeWalk(const std::string& countedRoot, int64_t folderWeight, const std::string& caption,
                         const ErrorHandler& handler);
    // Opens the roots of the walked tree and of the other one, each kept
    // from entering the other; false when the error policy says stop after
    // the other root could not be opened.
    bool OpenTrees(quorvantell::FolderChain& walked, const std::string& walkedRoot,
                   quorvantell::FolderChain& other, const std::string& otherRoot);
    // Walks the tree breadth first; queue receives the folders walked, ""
    // (the root) first. A folder that cannot be read is an error line.
    // False when visit or the error policy stopped the walk.
    bool WalkTree(quorvantell::FolderChain& tree, const std::string& root, const TreeProgress& progress,
                  std::vector<std::string>& queue, const TreeVisit& visit);
    bool CopyTree(int32_t fromIdx, int32_t toIdx);
    bool DeleteTree(int32_t fromIdx, int32_t toIdx);
    // The target folder `made` (relative) of CopyTree, made where missing;
    // one that cannot be made or used is an error line and joins unusable.
    // False when the error policy says stop.
    bool MakeTargetFolder(quorvantell::FolderChain& targetTree, const std::string& targetRoot,
                          const std::string& made, bool parentUsable, std::unordered_set<std::string>& unusable);
    // One source file of CopyTree into the open target folder (-1: not
    // usable, the copy fails without a try); false when the error policy
    // says stop. interrupted: Cancel stopped the copy, nothing was reported.
    bool CopyOne(int sourceFd, int targetFd, const std::string& folder, const quorvantell::FolderEntry& source,
                 int32_t fromIdx, int32_t toIdx, bool& interrupted);
    // The second pass of DeleteTree: the target's folders the master lacks.
    bool DeleteFolders(quorvantell::FolderChain& targetTree, quorvantell::FolderChain& masterTree,
                       const std::vector<std::string>& queue, const TreeProgress& progress, int32_t toIdx);
    // What the comparison adds to a side's file times: LeftTimeOffset on the left.
    int64_t TimeOffset(int32_t side) const;
    bool ReportError(const std::string& text);
    void LogWarning(const std::string& text);
    // An error line that asks nothing (the error policy is not consulted).
    void LogError(const std::string& text);

    void LoadSettings();
    void LoadSites();
    void SaveSettings();
    void SaveSite();
    quorvantell::CRegistry& Registry() const;

    ISyncHost& m_host;
    bool m_priorityRefusalTold = false;
};

}  // namespace velloran
