// CopyFileAt: the transactional copy of one file.
#include "classlib/files/FileCopy.h"

#include "classlib/files/ReplacementFile.h"
#include "classlib/files/UniqueFd.h"
#include "classlib/general/EventPump.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace quorvantell {

namespace {

// One block of a copy: the unit between two event-loop turns and cancel checks.
constexpr size_t kCopyBlock = 10'485'760;

bool WriteAll(int dst, const char* data, ssize_t n)
{
    for (ssize_t done = 0; done < n;) {
        const ssize_t w = write(dst, data + done, static_cast<size_t>(n - done));
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        done += w;
    }
    return true;
}

// Moves the data in blocks, turning the event loop and checking Cancel before
// each block. copy_file_range lets the kernel move the data; where it cannot
// (another file system on an old kernel, special mounts) read/write does.
CopyOutcome CopyData(int src, int dst, bool& Cancel)
{
    std::unique_ptr<char[]> buffer;
    bool useKernelCopy = true;
    while (!Cancel) {
        ssize_t n = -1;
        if (useKernelCopy) {
            n = copy_file_range(src, nullptr, dst, nullptr, kCopyBlock, 0);
            if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                useKernelCopy = false;
                continue;
            }
        } else {
            if (!buffer)
                buffer.reset(new char[kCopyBlock]);
            n = read(src, buffer.get(), kCopyBlock);
            if (n > 0 && !WriteAll(dst, buffer.get(), n))
                return CopyOutcome::Failed;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return CopyOutcome::Failed;
        EventPump::DoEvents();
        if (n == 0)
            return CopyOutcome::Copied;
    }
    return CopyOutcome::Cancelled;
}

// Whether the source is still the file whose data was read: size, content
// time and change time as before.
bool Unchanged(const struct stat& before, int src)
{
    struct stat after{};
    return fstat(src, &after) == 0 && after.st_size == before.st_size &&
           after.st_mtim.tv_sec == before.st_mtim.tv_sec && after.st_mtim.tv_nsec == before.st_mtim.tv_nsec &&
           after.st_ctim.tv_sec == before.st_ctim.tv_sec && after.st_ctim.tv_nsec == before.st_ctim.tv_nsec;
}

// Gives the finished file the source's mode and times as far as its file
// system allows: one that keeps neither (FUSE mounts, FAT with special bits)
// still gets the data, as cp -p does.
void FinishTarget(int dst, const struct stat& source)
{
    const timespec times[2] = {source.st_atim, source.st_mtim};
    fchmod(dst, source.st_mode & 07777);
    futimens(dst, times);
}

}  // namespace

CopyOutcome CopyFileAt(int fromDir, const std::string& fromName, int toDir, const std::string& toName, bool& Cancel)
{
    // O_NONBLOCK keeps a FIFO from blocking the open; only a regular file is
    // copied, and it is read with the flag cleared again (a FUSE file system
    // may heed it).
    UniqueFd source(openat(fromDir, fromName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st{};
    if (!source.Valid() || fstat(source.Get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        fcntl(source.Get(), F_SETFL, fcntl(source.Get(), F_GETFL) & ~O_NONBLOCK) != 0)
        return CopyOutcome::Failed;

    ReplacementFile target;
    if (!target.Create(toDir, 0600))
        return CopyOutcome::Failed;
    const CopyOutcome outcome = CopyData(source.Get(), target.Fd(), Cancel);
    if (outcome != CopyOutcome::Copied)
        return outcome;
    if (!Unchanged(st, source.Get()))
        return CopyOutcome::SourceChanged;
    FinishTarget(target.Fd(), st);
    if (Cancel)
        return CopyOutcome::Cancelled;
    return target.Commit(toName) ? CopyOutcome::Copied : CopyOutcome::Failed;
}

}  // namespace quorvantell
