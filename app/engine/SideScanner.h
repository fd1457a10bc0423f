// SideScanner: walks one local tree on a worker thread while the other side
// is walked on another, so the two trees are read at the same time. It
// collects what the scan keeps (files and folders, filtered, times with the
// side's offset, sorted into list order) and the newest file; the engine
// then replays the counting on its own thread, so the user sees the
// progress, the event-loop turns and the cancel checks in the usual order.
#pragma once

#include "app/engine/ScanBatch.h"
#include "classlib/files/CFindFile.h"

#include <chrono>
#include <cstdint>
#include <future>
#include <string>
#include <vector>

namespace velloran {

class SideScanner {
public:
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
    void Start(const std::string& root, bool filterDots, int64_t timeOffset);
    // True once the walk has ended; waits at most `timeout` for it.
    bool WaitFor(std::chrono::milliseconds timeout);

    // Whether a relative path has an element beginning with ".".
    static bool IsDotPath(std::string_view path);

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

private:
    void Walk();
    void Keep(bool isFolder, const std::string& name, int64_t date, int64_t size);

    quorvantell::CFindFile m_finder;
    bool m_filterDots = false;
    int64_t m_timeOffset = 0;
    std::future<void> m_walk;
};

}  // namespace velloran
