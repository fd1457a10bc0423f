// CSync: the whole-tree workers - copy one side onto the other, delete from
// one side what the other lacks - with the error policy and the warning lines.
#include "app/engine/AppError.h"
#include "app/engine/CSync.h"
#include "classlib/files/CFile.h"
#include "classlib/files/FileTime.h"
#include "classlib/files/FolderEntries.h"
#include "classlib/general/CGeneral.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <memory>
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

}  // namespace

bool CSync::CopyTree(int32_t fromIdx, int32_t toIdx)
{
    const ErrorHandler handler = [this](const std::exception& e) { TreeErrorHandler(e, quorvantell::MB_ICONQUESTION); };
    const quorvantell::CFile file;
    IStatusLabel& statusLabel = m_host.StatusLabel();
    statusLabel.SetCaption("Counting files");
    const std::string source = rootFolder[CVell::SideIndex(fromIdx)];
    const std::string target = rootFolder[CVell::SideIndex(toIdx)];
    int32_t folders = 0, files = 0;
    Attempt([&] { file.CountFiles(source, folders, files); }, handler);
    const int64_t total = 3 * int64_t{folders} + files + 2;
    const double step = total != 0 ? 99.0 / static_cast<double>(total) : 0.0;
    statusLabel.SetCaption(std::string("Copying files from ") + SideName(fromIdx) + " folder...");
    ResetProgress(0);
    m_host.DoEvents();

    const std::string skip = NestedRelative(source, target);
    std::vector<std::string> queue{std::string()};
    std::vector<quorvantell::FolderEntry> entries;
    int64_t n = 0;
    for (size_t q = 0; q < queue.size(); ++q) {
        const std::string folder = queue[q];
        bool opened = false;
        Attempt([&] { opened = quorvantell::ReadFolderEntries(source + folder, entries); }, handler);
        if (!opened)
            continue;
        for (int dots = 0; dots < 2; ++dots)  // the "." and ".." entries
            ProgressStep(++n, kCopyInterval, step, handler);
        for (const quorvantell::FolderEntry& entry : entries) {
            if (entry.isDir) {
                const std::string relative = folder + entry.name + "/";
                if (relative != skip) {
                    queue.push_back(relative);
                    file.CreatePath(target + relative);
                }
            } else {
                // A pending cancel request is answered before the next copy
                // starts; a copy begun with it would only fail.
                if (Cancel)
                    Attempt([] { throw AppError(AppError::kCancelRequest, "Cancelled by user."); }, handler);
                bool goOn = true;
                Attempt([&] { goOn = CopyOne(source, target, folder + entry.name, entry.modified); }, handler);
                if (!goOn)
                    return false;
            }
            ProgressStep(++n, kCopyInterval, step, handler);
        }
    }
    ResetProgress(100);
    return true;
}

bool CSync::CopyOne(const std::string& sourceRoot, const std::string& targetRoot, const std::string& relative,
                    int64_t sourceTime)
{
    const quorvantell::CFile file;
    const std::string from = sourceRoot + relative;
    const std::string to = targetRoot + relative;
    struct stat existing{};
    if (stat(to.c_str(), &existing) == 0) {
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
    if (!file.Copy(from, to, Cancel) && !ReportError("Error writing file " + to))
        return false;
    AdvanceActivity();
    return true;
}

bool CSync::DeleteTree(int32_t fromIdx, int32_t toIdx)
{
    const ErrorHandler handler = [this](const std::exception& e) { TreeErrorHandler(e, quorvantell::MB_ICONWARNING); };
    const quorvantell::CFile file;
    IStatusLabel& statusLabel = m_host.StatusLabel();
    statusLabel.SetCaption("Counting files");
    const std::string master = rootFolder[CVell::SideIndex(fromIdx)];
    const std::string target = rootFolder[CVell::SideIndex(toIdx)];
    int32_t folders = 0, files = 0;
    Attempt([&] { file.CountFiles(target, folders, files); }, handler);
    const int64_t total = files + 4 * int64_t{folders} + 2;
    const double step = total != 0 ? 99.0 / static_cast<double>(total) : 0.0;
    statusLabel.SetCaption(std::string("Deleting files from ") + SideName(toIdx) + " folder...");
    ResetProgress(0);
    m_host.DoEvents();

    const std::string skip = NestedRelative(target, master);
    std::vector<std::string> queue{std::string()};
    std::vector<quorvantell::FolderEntry> entries;
    int64_t n = 0;
    for (size_t q = 0; q < queue.size(); ++q) {
        const std::string folder = queue[q];
        bool opened = false;
        Attempt([&] { opened = quorvantell::ReadFolderEntries(target + folder, entries); }, handler);
        if (!opened)
            continue;
        for (int dots = 0; dots < 2; ++dots)
            ProgressStep(++n, kDeleteInterval, step, handler);
        for (const quorvantell::FolderEntry& entry : entries) {
            const std::string relative = folder + entry.name;
            if (entry.isDir) {
                if (relative + "/" != skip)
                    queue.push_back(relative + "/");
            } else if (!file.FileExists(master + relative) && !file.Delete(target + relative) &&
                       !ReportError("Error deleting file " + target + relative)) {
                return false;
            }
            ProgressStep(++n, kDeleteInterval, step, handler);
        }
    }

    // Breadth-first order walked backwards: the deepest folders go first,
    // each once the files in it are gone.
    statusLabel.SetCaption(std::string("Deleting subfolders from ") + SideName(toIdx) + " folder...");
    for (size_t q = queue.size() - 1; q >= 1; --q) {
        const std::string& folder = queue[q];
        if (!file.DirExists(master + folder) && !file.DeletePath(target + folder) &&
            !ReportError("Error deleting folder " + target + folder)) {
            return false;
        }
        ProgressStep(++n, kDeleteInterval, step, handler);
    }
    ResetProgress(100);
    return true;
}

}  // namespace velloran
