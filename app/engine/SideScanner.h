// SideScanner: walks one local tree on a worker thread while the other side
// is walked on another, so the two trees are read at the same time. It
// collects what the scan keeps (files and folders, filtered, times with the
// side's offset, sorted into list order) and the newest file; the engine
// then replays the counting on its own thread, so the user sees the
// progress, the event-loop turns and the cancel checks in the usual order.
#pragma once

#include "app/engine/ScanBatch.h"
#include "classlib/files/CFindFile.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <future>
#include <string>
#include <vector>

namespace velloran {

class SideScanner {
public:
    // Which names the scan leaves out: none; those with any path element
    // beginning with "." (the local preview); those whose last element
    // begins with "." (the FTP-mode preview, which never leaves out a folder).
    enum class DotFilter { None, AnyElement, LastElement };

    // A step of the walk that failed: after `counted` kept items of its kind.
    struct Failure {
        bool folders = false;
        int64_t counted = 0;
        std::string description;
    };

    SideScanner() = default;
    ~SideScanner();
    SideScanner(const SideScanner&) = delete;
    SideScanner& operator=(const SideScanner&) = delete;

    // Begins the search on the calling thread (its start shows the wait
    // cursor, which belongs to the user-interface thread) and walks on.
    // Without subDirs only the files of the root itself are read.
    void Start(const std::string& root, DotFilter filter, int64_t timeOffset, bool subDirs = true);
    // True once the walk has ended; waits at most `timeout` for it.
    bool WaitFor(std::chrono::milliseconds timeout);
    // Ends the walk at its next entry (the user cancelled the scan); also
    // done on destruction, so leaving a scan early never waits for a whole
    // tree to be read.
    void Stop();

    // Whether a relative path has an element beginning with ".".
    static bool IsDotPath(std::string_view path);
    // Whether the filter leaves out this file or folder path.
    static bool Filtered(DotFilter filter, std::string_view path, bool isFolder);

    // Results, valid after WaitFor returned true.
    ScanBatch files;
    ScanBatch folders;
    int64_t keptFiles = 0;    // files that passed the filter (failed ones included)
    int64_t keptFolders = 0;  // likewise for folders
    int64_t foundFiles = 0;   // every file and folder of the tree,
    int64_t foundFolders = 0; // the counts CountFiles gives
    std::string newestName;
    int64_t newestDate = 0;
    int64_t newestSize = 0;
    std::vector<Failure> failures;
    // Folders that could not be read (relative, "" for the root): what they
    // hold is unknown.
    std::vector<std::string> unreadable;

private:
    void Walk();
    void Keep(bool isFolder, const std::string& name, int64_t date, int64_t size);

    quorvantell::CFindFile m_finder;
    DotFilter m_filter = DotFilter::None;
    int64_t m_timeOffset = 0;
    std::atomic<bool> m_stop{false};
    std::future<void> m_walk;
};

}  // namespace velloran
