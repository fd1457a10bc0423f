// CSync: the whole-tree workers - copy one side onto the other, delete from
// one side what the other lacks - with the error policy and the warning
// lines. Both walk the trees through folder descriptors (FolderChain) and
// change them only with *at calls on those, so a folder swapped for a link
// while a run goes on can never lead a write or a delete out of the two
// folders the user chose.
#include "app/engine/AppError.h"
#include "app/engine/CSync.h"
#include "app/engine/ProgramInfo.h"
#include "classlib/files/CFile.h"
#include "classlib/files/FileCopy.h"
#include "classlib/files/FileTime.h"
#include "classlib/files/FolderChain.h"
#include "classlib/files/FolderEntries.h"
#include "classlib/general/CGeneral.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <unordered_set>
#include <vector>

namespace velloran {

namespace {

using quorvantell::CopyOutcome;
using quorvantell::EntryKind;
using quorvantell::FolderChain;
using quorvantell::FolderEntry;
using quorvantell::kTicksPerMillisecond;

constexpr int32_t kCopyInterval = 25;
constexpr int32_t kDeleteInterval = 15;
constexpr int64_t kSameTimeBand = 2000 * kTicksPerMillisecond;

const char* SideName(int32_t side)
{
    return side == 0 ? "left" : "right";
}

// What the master says about a name: it is there, it is not, or it cannot
// be read there (no permission, an I/O error) and says nothing - a target
// entry must then not go as "missing".
enum class Presence { Present, Absent, Unknown };

// A master folder, from why FolderChain::Open could not open it: missing or
// a file means absent; a link (or a folder met twice) means something is
// there that the walk does not enter, so everything below it stays.
Presence FolderPresence(int openError)
{
    switch (openError) {
    case ENOENT:
    case ENOTDIR:
        return Presence::Absent;
    case ELOOP:
        return Presence::Present;
    default:
        return Presence::Unknown;
    }
}

// An entry of an open master folder: any entry of that name counts.
Presence EntryPresence(int masterFd, const std::string& name)
{
    struct stat st{};
    if (fstatat(masterFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return Presence::Present;
    return errno == ENOENT ? Presence::Absent : Presence::Unknown;
}

// The master folder a delete is looking at, looked up once per target folder.
struct MasterFolder {
    std::string folder = std::string(1, '\0');  // no folder yet
    int fd = -1;
    Presence presence = Presence::Unknown;

    Presence Of(FolderChain& master, const std::string& relative, const std::string& name)
    {
        if (relative != folder) {
            folder = relative;
            fd = master.Open(relative);
            presence = fd >= 0 ? Presence::Present : FolderPresence(errno);
        }
        return fd >= 0 ? EntryPresence(fd, name) : presence;
    }
};

// "sub/dir/" as its parent "sub/" and its name "dir".
std::pair<std::string, std::string> SplitFolder(const std::string& relative)
{
    const size_t slash = relative.rfind('/', relative.size() - 2);
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    return {relative.substr(0, start), relative.substr(start, relative.size() - 1 - start)};
}

// A master folder for the second pass of a delete: looked up in its parent,
// so one that exists but cannot be read still counts as there. A link of
// that name counts too; a file does not.
Presence MasterFolderPresence(FolderChain& master, const std::string& parent, const std::string& name)
{
    const int parentFd = master.Open(parent);
    if (parentFd < 0)
        return FolderPresence(errno);
    struct stat st{};
    if (fstatat(parentFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return S_ISDIR(st.st_mode) || S_ISLNK(st.st_mode) ? Presence::Present : Presence::Absent;
    return errno == ENOENT ? Presence::Absent : Presence::Unknown;
}

bool IsRealFolderAt(int parentFd, const std::string& name)
{
    struct stat st{};
    return fstatat(parentFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

int64_t CSync::TimeOffset(int32_t side) const
{
    return side == 0 ? int64_t{Options.LeftTimeOffset} * quorvantell::kTicksPerMinute : 0;
}

double CSync::BeginTreeWalk(const std::string& countedRoot, int64_t folderWeight, const std::string& caption,
                            const ErrorHandler& handler)
{
    IStatusLabel& statusLabel = m_host.StatusLabel();
    statusLabel.SetCaption("Counting files");
    int32_t folders = 0, files = 0;
    Attempt([&] { quorvantell::CFile().CountFiles(countedRoot, folders, files); }, handler);
    const int64_t total = folderWeight * folders + files + 2;
    statusLabel.SetCaption(caption);
    ResetProgress(0);
    m_host.DoEvents();
    return total != 0 ? 99.0 / static_cast<double>(total) : 0.0;
}

bool CSync::OpenTrees(FolderChain& walked, const std::string& walkedRoot, FolderChain& other,
                      const std::string& otherRoot)
{
    const bool walkedOpen = walked.OpenRoot(walkedRoot);
    if (!other.OpenRoot(otherRoot) && !ReportError("Error reading folder " + otherRoot))
        return false;
    // Neither walk may ever reach the other folder, for instance through a
    // bind mount inside one of them.
    if (walkedOpen && other.Root() >= 0) {
        walked.Avoid(other.RootId());
        other.Avoid(walked.RootId());
    }
    return true;
}

bool CSync::WalkTree(FolderChain& tree, const std::string& root, const TreeProgress& progress,
                     std::vector<std::string>& queue, const TreeVisit& visit)
{
    queue.assign(1, std::string());
    std::vector<FolderEntry> entries;
    for (size_t q = 0; q < queue.size(); ++q) {
        const std::string folder = queue[q];
        int fd = -1;
        bool opened = false;
        Attempt(
            [&] {
                fd = tree.Open(folder);
                opened = fd >= 0 && quorvantell::ReadFolderAt(fd, entries);
            },
            progress.handler);
        // A folder that cannot be read is not an empty one: the operation
        // did not do its work there.
        if (!opened) {
            if (!ReportError("Error reading folder " + root + folder))
                return false;
            continue;
        }
        for (int dots = 0; dots < 2; ++dots)  // the "." and ".." entries
            progress.Step();
        for (const FolderEntry& entry : entries) {
            if (entry.isDir)
                queue.push_back(folder + entry.name + "/");
            if (!visit(folder, fd, entry))
                return false;
            progress.Step();
        }
    }
    return true;
}

bool CSync::CopyTree(int32_t fromIdx, int32_t toIdx)
{
    const std::string source = rootFolder[CVell::SideIndex(fromIdx)];
    const std::string target = rootFolder[CVell::SideIndex(toIdx)];
    int64_t n = 0;
    TreeProgress progress{this, kCopyInterval, 0.0, n,
                          [this](const std::exception& e) { TreeErrorHandler(e, quorvantell::MB_ICONQUESTION); }};
    progress.step =
        BeginTreeWalk(source, 3, std::string("Copying files from ") + SideName(fromIdx) + " folder...", progress.handler);

    FolderChain sourceTree, targetTree;
    if (!OpenTrees(sourceTree, source, targetTree, target))
        return false;
    // Target folders nothing is made or written in: those that could not be
    // made or are no real folders (a link to one elsewhere above all), and
    // everything below them.
    std::unordered_set<std::string> unusable;
    if (targetTree.Root() < 0)
        unusable.insert(std::string());
    std::vector<std::string> queue;
    const bool completed = WalkTree(sourceTree, source, progress, queue,
                                    [&](const std::string& folder, int sourceFd, const FolderEntry& entry) {
        const bool folderUsable = unusable.count(folder) == 0;
        if (entry.isDir)
            return MakeTargetFolder(targetTree, target, folder + entry.name + "/", folderUsable, unusable);
        // Links to folders, broken links and special files are not copied.
        if (entry.kind != EntryKind::File)
            return true;
        for (;;) {
            // A pending cancel request is answered before the next copy
            // starts, and a copy it stopped is not an error: the question
            // comes, and on No the file is copied again from its start.
            if (Cancel)
                Attempt([] { throw AppError(AppError::kCancelRequest, "Cancelled by user."); }, progress.handler);
            bool goOn = true, interrupted = false;
            Attempt(
                [&] {
                    const int targetFd = folderUsable ? targetTree.Open(folder) : -1;
                    goOn = CopyOne(sourceFd, targetFd, folder, entry, fromIdx, toIdx, interrupted);
                },
                progress.handler);
            if (!interrupted)
                return goOn;
        }
    });
    if (completed)
        ResetProgress(100);
    return completed;
}

bool CSync::MakeTargetFolder(FolderChain& targetTree, const std::string& targetRoot, const std::string& made,
                             bool parentUsable, std::unordered_set<std::string>& unusable)
{
    if (parentUsable) {
        const auto [parent, name] = SplitFolder(made);
        const int parentFd = targetTree.Open(parent);
        // An existing folder is fine; a file or a link in the way is not.
        if (parentFd >= 0 && (mkdirat(parentFd, name.c_str(), 0777) == 0 || errno == EEXIST) &&
            IsRealFolderAt(parentFd, name))
            return true;
    }
    unusable.insert(made);
    return ReportError("Error creating folder " + targetRoot + made);
}

bool CSync::CopyOne(int sourceFd, int targetFd, const std::string& folder, const FolderEntry& source,
                    int32_t fromIdx, int32_t toIdx, bool& interrupted)
{
    const std::string relative = folder + source.name;
    const std::string to = rootFolder[CVell::SideIndex(toIdx)] + relative;
    struct stat existing{};
    if (targetFd >= 0 && fstatat(targetFd, source.name.c_str(), &existing, 0) == 0) {
        // Both times as the comparison sees them: the left one with its offset.
        const int64_t diff =
            quorvantell::TickDifference(quorvantell::AddTicks(source.modified, TimeOffset(fromIdx)),
                                        quorvantell::AddTicks(quorvantell::FileTimeFromTimespec(existing.st_mtim),
                                                              TimeOffset(toIdx)));
        const bool targetIsFile = S_ISREG(existing.st_mode);
        // An empty target is always overwritten.
        if (diff <= kSameTimeBand && !(targetIsFile && existing.st_size == 0)) {
            if (diff <= -kSameTimeBand)
                LogWarning("Target " + to + "is newer than the source file.");
            else if (targetIsFile && existing.st_size != source.size)
                LogWarning("The file \"" + relative +
                           "\" has the same file change date on each side but different sizes!");
            return true;
        }
    }
    const CopyOutcome outcome = targetFd < 0
                                    ? CopyOutcome::Failed
                                    : quorvantell::CopyFileAt(sourceFd, source.name, targetFd, source.name, Cancel);
    interrupted = outcome == CopyOutcome::Cancelled;
    if (interrupted)
        return true;
    if (outcome == CopyOutcome::SourceChanged &&
        !ReportError("Error writing file " + to + " - the source file changed while it was copied"))
        return false;
    if (outcome == CopyOutcome::Failed && !ReportError("Error writing file " + to))
        return false;
    AdvanceActivity();
    return true;
}

bool CSync::DeleteTree(int32_t fromIdx, int32_t toIdx)
{
    const std::string master = rootFolder[CVell::SideIndex(fromIdx)];
    const std::string target = rootFolder[CVell::SideIndex(toIdx)];
    int64_t n = 0;
    TreeProgress progress{this, kDeleteInterval, 0.0, n,
                          [this](const std::exception& e) { TreeErrorHandler(e, quorvantell::MB_ICONWARNING); }};
    progress.step =
        BeginTreeWalk(target, 4, std::string("Deleting files from ") + SideName(toIdx) + " folder...", progress.handler);

    FolderChain targetTree, masterTree(true);
    if (!OpenTrees(targetTree, target, masterTree, master))
        return false;
    MasterFolder inMaster;
    std::vector<std::string> queue;
    const bool completed = WalkTree(targetTree, target, progress, queue,
                                    [&](const std::string& folder, int targetFd, const FolderEntry& entry) {
        if (entry.isDir)
            return true;
        const std::string path = target + folder + entry.name;
        const Presence presence =
            masterTree.Root() >= 0 ? inMaster.Of(masterTree, folder, entry.name) : Presence::Unknown;
        if (presence == Presence::Present)
            return true;
        // A FIFO, socket or device is never deleted; a link goes itself,
        // never what it points to.
        if (entry.kind == EntryKind::Special) {
            LogWarning("The special file " + path + " (a FIFO, socket or device) is not in the master folder "
                       "and was left in place.");
            return true;
        }
        return (presence == Presence::Absent && unlinkat(targetFd, entry.name.c_str(), 0) == 0) ||
               ReportError("Error deleting file " + path);
    });
    if (!completed)
        return false;
    if (!DeleteFolders(targetTree, masterTree, queue, progress, toIdx))
        return false;
    ResetProgress(100);
    return true;
}

bool CSync::DeleteFolders(FolderChain& targetTree, FolderChain& masterTree, const std::vector<std::string>& queue,
                          const TreeProgress& progress, int32_t toIdx)
{
    // Breadth-first order walked backwards: the deepest folders go first,
    // each once the files in it are gone.
    m_host.StatusLabel().SetCaption(std::string("Deleting subfolders from ") + SideName(toIdx) + " folder...");
    const std::string& target = rootFolder[CVell::SideIndex(toIdx)];
    for (size_t q = queue.size() - 1; q >= 1; --q) {
        const std::string& folder = queue[q];
        const auto [parent, name] = SplitFolder(folder);
        const Presence presence =
            masterTree.Root() >= 0 ? MasterFolderPresence(masterTree, parent, name) : Presence::Unknown;
        if (presence != Presence::Present) {
            const int parentFd = presence == Presence::Absent ? targetTree.Open(parent) : -1;
            if ((parentFd < 0 || unlinkat(parentFd, name.c_str(), AT_REMOVEDIR) != 0) &&
                !ReportError("Error deleting folder " + target + folder))
                return false;
        }
        progress.Step();
    }
    return true;
}

}  // namespace velloran
