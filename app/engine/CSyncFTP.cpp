// CSync: FTP mode - the scan of the local left tree and the server folder,
// and the upload of the left tree with its messages and warning lines.
#include "app/engine/AppError.h"
#include "app/engine/CSync.h"
#include "app/engine/Printable.h"
#include "app/engine/ProgramInfo.h"
#include "app/engine/ScanBatch.h"
#include "app/engine/SideScanner.h"
#include "app/ftp/FtpAddress.h"
#include "app/ftp/UploadPool.h"
#include "classlib/files/CFile.h"
#include "classlib/general/CGeneral.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <unordered_set>

namespace velloran {

namespace {

constexpr const char* kAllFiles = "*.*;";
// The server is listed in steps of 2 with a look every 10, and the bar wraps.
constexpr int32_t kServerStep = 2;
constexpr int32_t kServerInterval = 10;
// The left side counts five times over while the server is listed.
constexpr int64_t kServerWeight = 5;
constexpr int64_t kMinimumTotal = 200;
constexpr int32_t kUploadFolderInterval = 8;
constexpr int32_t kUploadFileInterval = 3;
constexpr std::chrono::milliseconds kWaitTurn{100};

constexpr const char* kConnectionError = "An error occurred with the FTP connection";
constexpr const char* kListingFailed = "Error getting list of files from FTP server.  No files were copied.";
constexpr const char* kUploadFailed = "Error occurred while copying files to FTP server.";

bool IsSsh(const std::string& server)
{
    const auto address = FtpAddress::Parse(server);
    return address && address->scheme == FtpScheme::Sftp;
}

// What the user needs to decide whether to trust the server: the key it
// offered. Empty when the connection failed for another reason.
std::string UntrustedKeyNote(const std::string& server, const std::string& key)
{
    if (key.empty())
        return std::string();
    return IsSsh(server) ? ": its host key " + key + " is not known and not trusted for this site"
                         : ": its certificate is not signed by a trusted authority and its key " + key +
                               " is not trusted for this site";
}

std::string TrustQuestion(const FtpSiteFields& site, const std::string& offered)
{
    const std::string server = Printable(site.Server);
    std::string what;
    if (!site.TrustedKey.empty())
        what = "The key of " + server + " has changed since you trusted it.";
    else if (IsSsh(site.Server))
        what = "The host key of " + server + " is not known yet.";
    else
        what = "The certificate of " + server + " is not signed by a trusted authority.";
    return what + " The server offers the key\n" + offered +
           "\nCompare it with the one the server's owner gave you. Trust this server?";
}

// Logs the session in to the site, trusting the site's key.
bool LogIn(CFTP& session, const FtpSiteFields& site)
{
    session.TrustKey(site.TrustedKey);
    return session.Connect(site.Server, site.Username, site.Passwd, site.Pasv != 0);
}

// The pairs an upload sends: left only, or newer on the left.
bool Sends(int32_t way)
{
    return way == 1 || way == 2;
}

}  // namespace

std::string CSync::ServerFolder() const
{
    const FtpSiteFields site = m_host.FtpSite();
    return CFTP::AddSlash(site.FTPDirs.empty() ? std::string() : site.FTPDirs.front());
}

void CSync::FtpScanErrorHandler(const std::exception& error)
{
    if (AppError::Is(error, AppError::kFtpError)) {
        LogError(error.what());
        m_host.ShowMessage(kConnectionError, kProgramTitle, quorvantell::MB_ICONWARNING);
    }
    ScanErrorHandler(error);
}

void CSync::ScanFTP(IStatusLabel& statusLabel, bool filterDots, bool SubDirs)
{
    try {
        ScanFtpSides(statusLabel, filterDots && Options.FilterDotFiles, SubDirs);
    } catch (const AppError&) {
        m_arrFile.Clear();
        m_arrDir.Clear();
        throw;
    }
}

void CSync::ScanFtpSides(IStatusLabel& statusLabel, bool filter, bool subDirs)
{
    const auto dots = filter ? SideScanner::DotFilter::LastElement : SideScanner::DotFilter::None;
    const ErrorHandler handler = [this](const std::exception& e) { FtpScanErrorHandler(e); };
    m_arrFile.Clear();
    m_arrDir.Clear();

    // The left tree, without the left-time offset: server times are UTC.
    SideScanner left;
    left.Start(rootFolder[0], dots, 0, subDirs);
    while (!left.WaitFor(kWaitTurn)) {
        m_host.DoEvents();
        CheckCancel(handler);
    }
    // The walk counted the whole tree only when it went into every folder.
    int32_t folders = static_cast<int32_t>(left.foundFolders), files = static_cast<int32_t>(left.foundFiles);
    if (!subDirs)
        Attempt([&] { quorvantell::CFile().CountFiles(rootFolder[0], folders, files); }, handler);
    const int64_t total = std::max((int64_t{folders} + files) * kServerWeight, kMinimumTotal);
    const double step = 99.0 / static_cast<double>(total);
    ResetProgress(0);
    int64_t n = 0;
    ReplaySide(statusLabel, 0, left, n, step, handler);

    BeginSideScan(statusLabel, 1);
    ScanBatch serverFiles, serverFolders;
    ListServer(dots, subDirs, n, step, serverFiles, serverFolders, handler);
    // What lies below a folder that could not be read, here or on the
    // server, is unknown, so nothing of either side there may pass for
    // one-sided.
    std::unordered_set<std::string> unreadable;
    LogUnreadable(rootFolder[0], left.unreadable, unreadable);
    LogUnreadable(ServerFolder(), m_FTP.UnreadFolders(), unreadable);
    for (ScanBatch* batch : {&left.files, &left.folders, &serverFiles, &serverFolders})
        batch->RemoveBelow(unreadable);
    Attempt([&] { m_arrFile.Load(left.files, serverFiles); }, handler);
    Attempt([&] { m_arrDir.Load(left.folders, serverFolders); }, handler);
    ResetProgress(100);
    m_host.DoEvents();
}

bool CSync::ConnectFtp()
{
    FtpSiteFields site = m_host.FtpSite();
    if (LogIn(m_FTP, site))
        return true;
    const std::string offered = m_FTP.UntrustedKey();
    if (offered.empty() ||
        !m_host.AskYesNo(TrustQuestion(site, offered), kProgramTitle, quorvantell::MB_ICONWARNING,
                         QuestionKind::TrustServer))
        return false;
    site.TrustedKey = offered;
    m_host.SetFtpSite(site);
    return LogIn(m_FTP, site);
}

void CSync::ListServer(SideScanner::DotFilter dots, bool subDirs, int64_t& n, double step, ScanBatch& files,
                       ScanBatch& folders, const ErrorHandler& handler)
{
    const FtpSiteFields site = m_host.FtpSite();
    const std::string serverFolder = ServerFolder();
    Attempt(
        [&] {
            if (!ConnectFtp())
                throw AppError(AppError::kFtpError, "Error connecting to FTP server " + site.Server +
                                                        UntrustedKeyNote(site.Server, m_FTP.UntrustedKey()));
        },
        handler);
    Attempt([&] { m_FTP.FindFilesInit(serverFolder, kAllFiles, subDirs); }, handler);

    const auto count = [&] {
        n += kServerStep;
        if (n % kServerInterval != 0)
            return;
        ProgressStep(n, kServerInterval, step, handler);
        if (std::lround(step * static_cast<double>(n)) > 99)
            n = 0;
    };
    n += n % 2;
    std::string name;
    int64_t modified = 0, size = 0, newestDate = 0, newestSize = 0;
    std::string newestName;
    int32_t dirs = 0;
    for (bool more = true; more;) {
        // A call that failed and was passed over hands out no file.
        bool got = false;
        Attempt([&] { got = more = m_FTP.GetNextFile(name, modified, size, dirs); }, handler);
        if (!got || SideScanner::Filtered(dots, name, false))
            continue;
        Attempt([&] { files.Add(name, modified, size); }, handler);
        if (modified > newestDate) {
            newestName = name;
            newestDate = modified;
            newestSize = size;
        }
        count();
    }
    newestFile[1].SetFile(1, newestName);
    newestFile[1].SetFileDate(1, newestDate);
    newestFile[1].SetSize(1, newestSize);
    // Folders are never left out: the last element of a folder path is empty.
    for (int32_t i = 1; i <= dirs; ++i) {
        Attempt([&] { folders.Add(m_FTP.DirBuf(i), 0, 0); }, handler);
        count();
    }
    LogSkippedNames(serverFolder);
    Attempt(
        [&] {
            files.Sort();
            folders.Sort();
        },
        handler);
}

void CSync::LogSkippedNames(const std::string& serverFolder)
{
    for (const std::string& entry : m_FTP.SkippedNames())
        LogWarning("Skipped the server entry \"" + Printable(entry) + "\" in " + Printable(serverFolder) +
                   ": a name that is not a file name");
}

void CSync::UploadErrorHandler(const std::exception& error, bool confirmed)
{
    const bool listing = AppError::Is(error, AppError::kFtpError);
    const bool transfer = AppError::Is(error, AppError::kUploadFailed);
    // A listing error is in the log already, from the scan.
    if (transfer)
        LogError(error.what());
    if (listing || transfer)
        m_host.ShowMessage(listing ? kListingFailed : kUploadFailed, kProgramTitle, quorvantell::MB_ICONINFORMATION);
    if (listing || transfer || (confirmed && AppError::Is(error, AppError::kCancelRequest)))
        throw dynamic_cast<const AppError&>(error);
    ConfirmCancel(quorvantell::MB_ICONWARNING);
}

void CSync::UploadStep(int64_t n, int32_t interval, double step, const ErrorHandler& handler, UploadPool* pool)
{
    AdvanceActivity();
    HoldForCancel(pool);
    CheckCancel(handler);
    if (pool != nullptr)
        pool->Release();
    if (n % interval != 0)
        return;
    SetProgress(static_cast<int32_t>(std::lround(step * static_cast<double>(n))));
    m_host.DoEvents();
    HoldForCancel(pool);
}

void CSync::HoldForCancel(UploadPool* pool)
{
    // No file starts after a cancel request, and the question waits for
    // the transfers under way, so the answer finds every file whole.
    if (pool != nullptr && Cancel)
        pool->Hold();
}

bool CSync::DoCopyFTP()
{
    progressBar = &m_host.ProgressBar();
    const bool completed = RunWorker([this] { return CopyToFTP(); });
    if (completed && modeFTP)
        m_FTP.Disconnect();
    return completed;
}

bool CSync::CopyToFTP()
{
    const ErrorHandler afterScan = [this](const std::exception& e) { UploadErrorHandler(e, true); };
    const ErrorHandler handler = [this](const std::exception& e) { UploadErrorHandler(e, false); };
    IStatusLabel& statusLabel = m_host.StatusLabel();
    const bool subDirs = m_host.FtpSite().SubDirs != 0;
    Attempt([&] { ScanFTP(statusLabel, false, subDirs); }, afterScan);
    // Nothing is sent while part of the server is unknown: it could hold
    // newer copies of what would go out.
    Attempt(
        [&] {
            if (!m_FTP.UnreadFolders().empty())
                throw AppError(AppError::kFtpError, "Server folders could not be read");
        },
        afterScan);
    Attempt([&] { CompareLists(statusLabel); }, afterScan);

    const int32_t nFiles = m_arrFile.nVells(), nFolders = m_arrDir.nVells();
    const double step = nFiles + nFolders != 0 ? 99.0 / (nFiles + nFolders) : 0.0;
    statusLabel.SetCaption("Copying files from left folder...");
    ResetProgress(0);
    m_host.DoEvents();
    const std::string serverFolder = ServerFolder();
    int64_t n = 0;
    MakeServerFolders(serverFolder, n, step, handler);
    UploadFiles(serverFolder, n, step, handler);
    SetProgress(100);
    return true;
}

void CSync::MakeServerFolders(const std::string& serverFolder, int64_t& n, double step, const ErrorHandler& handler)
{
    // In list order, so every parent exists before its subfolders and files.
    for (int32_t i = 0; i < m_arrDir.nVells(); ++i) {
        if (m_arrDir.SyncWayAt(i) == 1) {
            Attempt(
                [&] {
                    const std::string remote = serverFolder + std::string(m_arrDir.FileAt(i, 0));
                    if (!m_FTP.CreateDir(CFTP::StripSlash(remote)))
                        throw AppError(AppError::kUploadFailed, "Error creating folder " + remote);
                },
                handler);
        }
        UploadStep(++n, kUploadFolderInterval, step, handler);
    }
}

void CSync::UploadFiles(const std::string& serverFolder, int64_t& n, double step, const ErrorHandler& handler)
{
    // Results come in list order whoever sent the file, so every message
    // and warning line stands where a one-by-one upload puts it.
    const std::unique_ptr<UploadPool> pool = StartUploadPool(serverFolder);
    for (int32_t i = 0; i < m_arrFile.nVells(); ++i) {
        const int32_t way = m_arrFile.SyncWayAt(i);
        const std::string relative(m_arrFile.FileAt(i, 0));
        const std::string remote = serverFolder + relative;
        if (Sends(way)) {
            Attempt(
                [&] {
                    // PutFile stamps the file with its local time before it
                    // takes the final name.
                    const bool sent = pool ? pool->NextSent() : m_FTP.PutFile(rootFolder[0] + relative, remote);
                    if (!sent)
                        throw AppError(AppError::kUploadFailed, "Error writing file " + remote);
                },
                handler);
        } else if (way == 5) {
            LogWarning("The file \"" + remote + "\" has the same file change date on each side but different sizes!");
        }
        UploadStep(++n, kUploadFileInterval, step, handler, pool.get());
    }
}

std::unique_ptr<UploadPool> CSync::StartUploadPool(const std::string& serverFolder)
{
    std::vector<UploadPool::Upload> uploads;
    for (int32_t i = 0; i < m_arrFile.nVells(); ++i) {
        if (Sends(m_arrFile.SyncWayAt(i))) {
            const std::string relative(m_arrFile.FileAt(i, 0));
            uploads.push_back({rootFolder[0] + relative, serverFolder + relative});
        }
    }
    const size_t sessions = std::min(static_cast<size_t>(std::clamp(FTPConnections, 1, kMaxFTPConnections)),
                                     uploads.size());
    if (sessions < 2)
        return nullptr;
    // The further sessions log in on the pool's threads, from a copy of the
    // site made here: the host is only ever asked on this thread.
    const FtpSiteFields site = m_host.FtpSite();
    return std::make_unique<UploadPool>(
        m_FTP, static_cast<int32_t>(sessions), [site](CFTP& session) { return LogIn(session, site); },
        std::move(uploads), Cancel);
}

}  // namespace velloran
