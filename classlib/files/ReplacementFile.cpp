// ReplacementFile: write aside, then link or rename into place.
#include "classlib/files/ReplacementFile.h"

#include "utils/QuorvantellUtils.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string>

namespace quorvantell {

namespace {

constexpr int kAttempts = 16;

// ".<16 random hex digits>.velloran-tmp": hidden, recognisable, unique.
std::string UniqueTempName()
{
    unsigned long long value = 0;
    if (getrandom(&value, sizeof value, 0) != static_cast<ssize_t>(sizeof value))
        value ^= static_cast<unsigned long long>(getpid()) << 32 ^ static_cast<unsigned long long>(clock());
    char name[64];
    std::snprintf(name, sizeof name, ".%016llx%s", value, kCopyTempSuffix);
    return name;
}

// The path through which an unnamed file can be linked into a folder.
std::string ProcPath(int fd)
{
    return "/proc/self/fd/" + std::to_string(fd);
}

// Links the open file into the folder under name; EEXIST when taken.
bool LinkAs(int fd, int dirFd, const std::string& name)
{
    if (linkat(AT_FDCWD, ProcPath(fd).c_str(), dirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    // Without /proc, AT_EMPTY_PATH does the same where the process may use it.
    return errno != EEXIST && linkat(fd, "", dirFd, name.c_str(), AT_EMPTY_PATH) == 0;
}

// Whether unnamed files can be linked here at all (they need /proc or a
// privilege); otherwise every copy starts with a named file.
bool CanLinkUnnamed()
{
    static const bool can = access("/proc/self/fd", X_OK) == 0;
    return can;
}

}  // namespace

ReplacementFile::~ReplacementFile()
{
    Discard();
}

bool ReplacementFile::Create(int dirFd, mode_t mode)
{
    Discard();
    m_dirFd = dirFd;
    if (CanLinkUnnamed()) {
        m_fd = UniqueFd(openat(dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
        if (m_fd.Valid())
            return true;
        // File systems without unnamed files say so in several ways.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOENT)
            return false;
    }
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::string name = UniqueTempName();
        m_fd = UniqueFd(openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (m_fd.Valid()) {
            m_tempName = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool ReplacementFile::LinkUnique()
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::string name = UniqueTempName();
        if (LinkAs(m_fd.Get(), m_dirFd, name)) {
            m_tempName = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool ReplacementFile::Commit(const std::string& name)
{
    if (!m_fd.Valid()) {
        errno = EBADF;
        return false;
    }
    if (m_tempName.empty()) {
        // A new target gets the complete file in one step.
        if (LinkAs(m_fd.Get(), m_dirFd, name)) {
            if (m_fd.Close())
                return true;
            const int error = errno;
            unlinkat(m_dirFd, name.c_str(), 0);  // it was new: nothing was there before
            errno = error;
            return false;
        }
        // An existing one is replaced by a rename from a unique name.
        if (errno != EEXIST || !LinkUnique()) {
            const int error = errno;
            Discard();
            errno = error;
            return false;
        }
    }
    // A delayed write error can show only when the file is closed, and it
    // must show before the old target is replaced.
    if (m_fd.Close() && renameat(m_dirFd, m_tempName.c_str(), m_dirFd, name.c_str()) == 0) {
        m_tempName.clear();
        return true;
    }
    const int error = errno;
    Discard();
    errno = error;
    return false;
}

void ReplacementFile::Discard()
{
    m_fd.Reset();
    if (!m_tempName.empty())
        unlinkat(m_dirFd, m_tempName.c_str(), 0);
    m_tempName.clear();
}

}  // namespace quorvantell
