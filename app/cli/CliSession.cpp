// CliSession: settings, overrides and shared command helpers.
#include "app/cli/CliSession.h"

#include "app/cli/ExitStatus.h"
#include "app/cli/FtpTarget.h"
#include "app/ftp/ServerKey.h"
#include "app/engine/AppError.h"
#include "app/engine/ProgramInfo.h"
#include "app/engine/RunReport.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/EventPump.h"

#include <algorithm>
#include <limits>

namespace velloran::cli {

namespace {

bool ParseInteger(const std::string& text, long long& value)
{
    if (text.empty())
        return false;
    size_t used = 0;
    try {
        value = std::stoll(text, &used);
    } catch (const std::exception&) {
        return false;
    }
    return used == text.size();
}

}  // namespace

const std::vector<OptionSpec>& CliSession::CommonOptions()
{
    static const std::vector<OptionSpec> options = {
        {"time-offset", "MINUTES", "minutes added to left-side file times (LeftTimeOffset)"},
        {"filter-dot-files", "", "leave names beginning with \".\" out of comparisons (FilterDotFiles)"},
        {"on-error", "ask|ignore|stop", "what a failed copy or delete does (ErrorAction)"},
        {"yes", "", "answer Yes to every question"},
    };
    return options;
}

CliSession::CliSession(const CliArguments& arguments) : m_arguments(arguments)
{
    m_host.Attach(m_sync);
    m_host.SetAnswerYes(arguments.Has("yes"));
    LoadSettings();
    ApplyOverrides();
    // The class library's long loops (a copy between its blocks) turn the
    // event loop too, so Ctrl-C reaches a copy of a large file.
    quorvantell::EventPump::Set([this] { m_host.DoEvents(); });
}

CliSession::~CliSession()
{
    quorvantell::EventPump::Set(nullptr);
}

void CliSession::LoadSettings()
{
    // The store is opened read-only (see main): a missing or damaged one
    // gives the defaults. Priority is left to whoever starts the program
    // (nice, cron), so the priority settings are not applied here.
    m_sync.Init();
}

void CliSession::ApplyOverrides()
{
    OptionsRecord& options = m_sync.Options;
    if (m_arguments.Has("time-offset")) {
        long long minutes = 0;
        if (!ParseInteger(m_arguments.Value("time-offset"), minutes) ||
            minutes < std::numeric_limits<int16_t>::min() || minutes > std::numeric_limits<int16_t>::max())
            throw UsageError("--time-offset needs a whole number of minutes from -32768 to 32767");
        options.LeftTimeOffset = static_cast<int16_t>(minutes);
    }
    if (m_arguments.Has("filter-dot-files"))
        options.FilterDotFiles = true;
    if (m_arguments.Has("on-error")) {
        const std::string policy = m_arguments.Value("on-error");
        if (policy == "ask")
            options.ErrorAction = 0;
        else if (policy == "ignore")
            options.ErrorAction = 1;
        else if (policy == "stop")
            options.ErrorAction = 2;
        else
            throw UsageError("--on-error is ask, ignore or stop");
    }
    if (m_arguments.Has("connections")) {
        long long count = 0;
        if (!ParseInteger(m_arguments.Value("connections"), count) || count < 1 ||
            count > CSync::kMaxFTPConnections)
            throw UsageError("--connections needs a whole number of sessions from 1 to " +
                             std::to_string(CSync::kMaxFTPConnections));
        m_sync.FTPConnections = static_cast<int32_t>(count);
    }
}

bool CliSession::UseFolders(const std::string& left, const std::string& right)
{
    if (FtpTarget::IsUrl(left) || FtpTarget::IsUrl(right))
        throw UsageError("an ftp:// address is taken by compare, latest and upload, as the right side");
    m_host.SetFolders(left, right);
    return m_sync.checkFoldersValid();
}

bool CliSession::UseSides(const std::string& left, const std::string& right)
{
    return FtpTarget::IsUrl(right) && !FtpTarget::IsUrl(left) ? UseFtpSite(left, right) : UseFolders(left, right);
}

bool CliSession::UseFtpSite(const std::string& left, const std::string& url)
{
    FtpTarget target = FtpTarget::Parse(url);
    if (target.hasPassword)
        m_host.ShowMessage("The password in the ftp:// address can be read by every user of this computer in the "
                           "process list while the program runs; give it with --password-file FILE or in "
                           "VELLORAN_FTP_PASSWORD instead",
                           kProgramTitle, quorvantell::MB_ICONWARNING);
    target.ResolvePassword(m_arguments);
    FtpSiteFields site;
    site.Server = target.server;
    site.Username = target.user;
    site.Passwd = target.password;
    site.FTPDirs = {target.folder};
    site.Pasv = m_arguments.Has("passive") ? 1 : 0;
    site.SubDirs = m_arguments.Has("no-subdirs") ? 0 : 1;
    if (m_arguments.Has("trust-fingerprint")) {
        site.TrustedKey = m_arguments.Value("trust-fingerprint");
        if (ServerKey::CurlPin(site.TrustedKey).empty())
            throw UsageError("--trust-fingerprint takes a key fingerprint as SHA256:<43 base64 characters>");
    }
    m_host.SetFtpSite(site);
    m_host.SetFolders(left, std::string());
    m_sync.modeFTP = true;
    m_ftpAddress = target.Display();
    return m_sync.checkFoldersValid();
}

std::string CliSession::RightSide() const
{
    return m_sync.modeFTP ? m_ftpAddress : m_sync.rootFolder[1];
}

int CliSession::StatusOfLog() const
{
    const std::string& log = m_sync.errLog;
    bool warnings = false;
    for (size_t start = 0; start < log.size();) {
        size_t end = log.find("\r\n", start);
        if (end == std::string::npos)
            end = log.size();
        if (log.compare(start, 9, "Warning: ") == 0)
            warnings = true;
        else if (end > start)
            return kExitError;
        start = end + 2;
    }
    return warnings ? kExitReport : kExitClean;
}

int CliSession::RunOperation(const std::function<bool()>& operation, const std::string& description)
{
    m_sync.syncRunning = true;
    m_sync.errLog.clear();
    const quorvantell::DateTime started = RunReport::Now();
    bool completed = false, cancelled = false;
    try {
        completed = operation();
    } catch (const AppError& error) {
        if (error.Number != AppError::kCancelRequest)
            throw;
        cancelled = true;
    }
    m_host.EndProgressLine();
    if (completed)
        m_host.ShowMessage("Operation completed successfully", kProgramTitle, quorvantell::MB_ICONINFORMATION);
    const bool logWritten = RunReport(m_sync).Show(description, started);
    m_sync.syncRunning = false;
    if (cancelled)
        return kExitCancelled;
    return completed && logWritten ? StatusOfLog() : std::max(StatusOfLog(), int{kExitError});
}

}  // namespace velloran::cli
