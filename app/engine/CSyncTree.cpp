// CSync: the whole-tree workers - copy one side onto the other, delete from
// one side what the other lacks - with the error policy and the warning lines.
#include "app/engine/AppError.h"
#include "app/engine/CSync.h"
#include "classlib/files/CFile.h"
#include "classlib/files/FileTime.h"
#include "classlib/files/FolderEntries.h"
#include "classlib/general/CGeneral.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <unordered_set>
#include <vector>

namespace velloran {

namespace {

using quorvantell::kTicksPerMillisecond;

constexpr int32_t kCopyInterval = 25;
constexpr int32_t kDeleteInterval = 15;
constexpr int64_t kSameTimeBand = 2000 * kTicksPerMillisecond;

const char* SideName(int32_t side)
{
    return side == 0 ? "left" : "right";
}

std::string RealPath(const std::string& path)
{
    std::unique_ptr<char, decltype(&free)> resolved(realpath(path.c_str(), nullptr), free);
    return resolved ? std::string(resolved.get()) : std::string();
}

// The path of `inner` relative to `outer` ("sub/dir/") when inner lies
// inside outer, else empty. A walk of outer must not enter it: copying a
// tree into its own subfolder would never end, and deleting from a tree
// what a master inside it lacks would delete the master's own files.
std::string NestedRelative(const std::string& outer, const std::string& inner)
{
    const std::string o = RealPath(outer), i = RealPath(inner);
    if (o.empty() || i.empty())
        return {};
    const std::string prefix = o == "/" ? o : o + "/";
    if (i.size() <= prefix.size() || i.compare(0, prefix.size(), prefix) != 0)
        return {};
    return i.substr(prefix.size()) + "/";
}

// Whether path (without a final "/") is a folder itself, not a link to one.
bool IsRealFolder(const std::string& path)
{
    struct stat st{};
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// What the master tree says about a path: it is there, it is not, or the
// master cannot be read there (no permission, an I/O error, a path too
// long) and says nothing - its target entry must then not go as "missing".
enum class Presence { Present, Absent, Unknown };

// A file counts as any entry of its name; a folder only as a folder.
Presence InMaster(const std::string& path, bool folder)
{
    struct stat st{};
    if ((folder ? stat(path.c_str(), &st) : lstat(path.c_str(), &st)) == 0)
        return !folder || S_ISDIR(st.st_mode) ? Presence::Present : Presence::Absent;
    return errno == ENOENT || errno == ENOTDIR ? Presence::Absent : Presence::Unknown;
}

}  // namespace

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

bool CSync::WalkTree(const std::string& root, const std::string& skip, const TreeProgress& progress,
                     std::vector<std::string>& queue, const TreeVisit& visit)
{
    queue.assign(1, std::string());
    std::vector<quorvantell::FolderEntry> entries;
    for (size_t q = 0; q < queue.size(); ++q) {
        const std::string folder = queue[q];
        bool opened = false;
        Attempt([&] { opened = quorvantell::ReadFolderEntries(root + folder, entries); }, progress.handler);
        // A folder that cannot be read is not an empty one: the operation
        // did not do its work there.
        if (!opened) {
            if (!ReportError("Error reading folder " + root + folder))
                return false;
            continue;
        }
        for (int dots = 0; dots < 2; ++dots)  // the "." and ".." entries
            progress.Step();
        for (const quorvantell::FolderEntry& entry : entries) {
            const bool skipped = entry.isDir && folder + entry.name + "/" == skip;
            if (entry.isDir && !skipped)
                queue.push_back(folder + entry.name + "/");
            if (!skipped && !visit(folder, entry))
                return false;
            progress.Step();
        }
    }
    return true;
}

bool CSync::CopyTree(int32_t fromIdx, int32_t toIdx)
{
    const quorvantell::CFile file;
    const std::string source = rootFolder[CVell::SideIndex(fromIdx)];
    const std::string target = rootFolder[CVell::SideIndex(toIdx)];
    int64_t n = 0;
    TreeProgress progress{this, kCopyInterval, 0.0, n,
                          [this](const std::exception& e) { TreeErrorHandler(e, quorvantell::MB_ICONQUESTION); }};
    progress.step =
        BeginTreeWalk(source, 3, std::string("Copying files from ") + SideName(fromIdx) + " folder...", progress.handler);

    std::vector<std::string> queue;
    // Target folders that are no real folders (a link to one elsewhere above
    // all), and everything below them: nothing is made or written there.
    std::unordered_set<std::string> unusable;
    const bool completed = WalkTree(source, NestedRelative(source, target), progress, queue,
                                    [&](const std::string& folder, const quorvantell::FolderEntry& entry) {
        const bool folderUsable = unusable.empty() || unusable.count(folder) == 0;
        if (entry.isDir) {
            const std::string made = folder + entry.name;
            if (folderUsable)
                file.CreatePath(target + made + "/");
            if (!folderUsable || !IsRealFolder(target + made))
                unusable.insert(made + "/");
            return true;
        }
        // A pending cancel request is answered before the next copy starts;
        // a copy begun with it would only fail.
        if (Cancel)
            Attempt([] { throw AppError(AppError::kCancelRequest, "Cancelled by user."); }, progress.handler);
        bool goOn = true;
        Attempt([&] { goOn = CopyOne(source, target, folder + entry.name, entry.modified, folderUsable); },
                progress.handler);
        return goOn;
    });
    if (completed)
        ResetProgress(100);
    return completed;
}

bool CSync::CopyOne(const std::string& sourceRoot, const std::string& targetRoot, const std::string& relative,
                    int64_t sourceTime, bool folderUsable)
{
    const quorvantell::CFile file;
    const std::string from = sourceRoot + relative;
    const std::string to = targetRoot + relative;
    struct stat existing{};
    if (folderUsable && stat(to.c_str(), &existing) == 0) {
        const int64_t diff = sourceTime - quorvantell::FileTimeFromTimespec(existing.st_mtim);
        int64_t targetSize = 0;
        const bool targetRead = file.GetFileSize(to, targetSize);
        // An empty target is always overwritten.
        if (diff <= kSameTimeBand && !(targetRead && targetSize == 0)) {
            if (diff > -kSameTimeBand) {
                int64_t sourceSize = 0;
                const bool sourceRead = file.GetFileSize(from, sourceSize);
                if (sourceRead == targetRead && sourceSize != targetSize)
                    LogWarning("The file \"" + relative +
                               "\" has the same file change date on each side but different sizes!");
            } else {
                LogWarning("Target " + to + "is newer than the source file.");
            }
            return true;
        }
    }
    if (!(folderUsable && file.Copy(from, to, Cancel)) && !ReportError("Error writing file " + to))
        return false;
    AdvanceActivity();
    return true;
}

bool CSync::DeleteTree(int32_t fromIdx, int32_t toIdx)
{
    const quorvantell::CFile file;
    const std::string master = rootFolder[CVell::SideIndex(fromIdx)];
    const std::string target = rootFolder[CVell::SideIndex(toIdx)];
    int64_t n = 0;
    TreeProgress progress{this, kDeleteInterval, 0.0, n,
                          [this](const std::exception& e) { TreeErrorHandler(e, quorvantell::MB_ICONWARNING); }};
    progress.step =
        BeginTreeWalk(target, 4, std::string("Deleting files from ") + SideName(toIdx) + " folder...", progress.handler);

    std::vector<std::string> queue;
    const bool completed = WalkTree(target, NestedRelative(target, master), progress, queue,
                                    [&](const std::string& folder, const quorvantell::FolderEntry& entry) {
        const std::string relative = folder + entry.name;
        if (entry.isDir)
            return true;
        const Presence presence = InMaster(master + relative, false);
        return presence == Presence::Present || (presence == Presence::Absent && file.Delete(target + relative)) ||
               ReportError("Error deleting file " + target + relative);
    });
    if (!completed)
        return false;

    // Breadth-first order walked backwards: the deepest folders go first,
    // each once the files in it are gone.
    m_host.StatusLabel().SetCaption(std::string("Deleting subfolders from ") + SideName(toIdx) + " folder...");
    for (size_t q = queue.size() - 1; q >= 1; --q) {
        const std::string& folder = queue[q];
        const Presence presence = InMaster(master + folder, true);
        if (presence != Presence::Present && (presence == Presence::Unknown || !file.DeletePath(target + folder)) &&
            !ReportError("Error deleting folder " + target + folder)) {
            return false;
        }
        progress.Step();
    }
    ResetProgress(100);
    return true;
}

}  // namespace velloran
