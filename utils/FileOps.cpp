// Single-file operations on POSIX. On Linux a file's own permission bits do
// not guard its removal or replacement (the folder's do), so a read-only
// file needs no attribute change before it is deleted or overwritten.
#include "utils/FileOps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quorvantell::exports {

namespace {

bool IsNonDirectory(const char* path)
{
    struct stat st{};
    return lstat(path, &st) == 0 && !S_ISDIR(st.st_mode);
}

bool Exists(const char* path)
{
    struct stat st{};
    return lstat(path, &st) == 0;
}

// Opens an existing file for writing, or creates it (mode 0666 less the
// umask). created tells whether this call made it. O_NONBLOCK keeps a FIFO
// from blocking the open; ftruncate refuses it then.
int OpenForLength(const char* path, bool& created)
{
    created = false;
    int fd = open(path, O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        created = fd >= 0;
    }
    return fd;
}

}  // namespace

int32_t DeleteFileForced(const char* path)
{
    // unlink never follows a link and refuses folders (EISDIR).
    return path != nullptr && unlink(path) == 0 ? 1 : 0;
}

int32_t GetFileSize64(const char* path, int64_t* size)
{
    if (path == nullptr || size == nullptr)
        return 0;
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return 0;
    struct stat st{};
    const bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    close(fd);
    if (!ok)
        return 0;
    *size = st.st_size;
    return 1;
}

int32_t MoveFileReplace(const char* from, const char* to)
{
    if (from == nullptr || to == nullptr)
        return 0;
    if (std::strcmp(from, to) == 0)
        return 1;
    if (rename(from, to) == 0)
        return 1;
    // rename replaces files itself; it refuses only a folder moving onto a
    // file (ENOTDIR). Only then is the target removed for a second try, so a
    // move that fails for any other reason (missing source, other file
    // system) never costs the target.
    if (errno != ENOTDIR || !Exists(from) || !IsNonDirectory(to))
        return 0;
    if (unlink(to) != 0)
        return 0;
    return rename(from, to) == 0 ? 1 : 0;
}

int32_t SetFileLength(const char* path, int64_t length)
{
    if (path == nullptr || length < 0)
        return 0;
    bool created = false;
    const int fd = OpenForLength(path, created);
    if (fd < 0)
        return 0;
    const bool ok = ftruncate(fd, length) == 0;
    close(fd);
    // A file made only for a length that could not be set is not left behind.
    if (!ok && created)
        unlink(path);
    return ok ? 1 : 0;
}

int32_t SeekFile64(int32_t handle, int64_t position)
{
    return lseek(handle, position, SEEK_SET) == -1 ? 0 : 1;
}

}  // namespace quorvantell::exports
