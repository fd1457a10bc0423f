// RunReport: error window and log file after an operation.
#include "app/engine/RunReport.h"

#include "app/engine/CSync.h"
#include "app/engine/Printable.h"
#include "classlib/files/FileTime.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace velloran {

namespace {

constexpr const char* kStars = "***********";

}  // namespace

quorvantell::DateTime RunReport::Now()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return quorvantell::ClassLibrary::Shared().General->FileTimeToDate(quorvantell::FileTimeFromTimespec(now));
}

std::string RunReport::PlatformLineEnds(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string RunReport::LogBlock(const std::string& description, const quorvantell::DateTime& started,
                                const quorvantell::DateTime& ended, const std::string& errLog)
{
    const std::string errors = errLog.empty() ? std::string("No errors encountered\r\n") : errLog;
    return std::string(kStars) + "Start Sync " + Printable(description) + " at " + started.ToString() + kStars +
           "\r\n" + "\r\n" + errors + "\r\n" + kStars + "End Sync at " + ended.ToString() + kStars + "\r\n" + "\r\n";
}

bool RunReport::Show(const std::string& description, const quorvantell::DateTime& started)
{
    ISyncHost& host = m_sync.Host();
    if (!m_sync.errLog.empty())
        host.ShowErrorLog(m_sync.errLog);
    if (m_sync.OLogFile.empty() ||
        AppendToLogFile(PlatformLineEnds(LogBlock(description, started, Now(), m_sync.errLog))))
        return true;
    host.ShowMessage(
        "Error writing to log file.  Check that the filename is correct and the disk is not write protected.",
        "Error saving log", quorvantell::MB_ICONERROR);
    return false;
}

// Only a regular file is a log: a FIFO would block the open or the write
// until some reader came, and a device (a terminal, /dev/full) keeps
// nothing. Whatever the path names is checked before the open and what was
// opened after it; O_NONBLOCK keeps a FIFO put there in between from
// blocking the open.
bool RunReport::AppendToLogFile(const std::string& block) const
{
    const char* path = m_sync.OLogFile.c_str();
    struct stat st{};
    if (stat(path, &st) == 0 && !S_ISREG(st.st_mode))
        return false;
    const int fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    for (size_t done = 0; ok && done < block.size();) {
        const ssize_t n = write(fd, block.data() + done, block.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        done += ok ? static_cast<size_t>(n) : 0;
    }
    return close(fd) == 0 && ok;
}

}  // namespace velloran
