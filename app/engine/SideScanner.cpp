// SideScanner: one side's walk on a worker thread.
#include "app/engine/SideScanner.h"

#include "classlib/files/FileTime.h"

#include <exception>

namespace velloran {

SideScanner::~SideScanner()
{
    Stop();
    if (m_walk.valid())
        m_walk.wait();
}

bool SideScanner::IsDotPath(std::string_view path)
{
    return path.starts_with('.') || path.find("/.") != std::string_view::npos;
}

bool SideScanner::Filtered(DotFilter filter, std::string_view path, bool isFolder)
{
    switch (filter) {
    case DotFilter::AnyElement:
        return IsDotPath(path);
    case DotFilter::LastElement:
        // A folder path ends in "/", so its last element is empty.
        return !isFolder && path.substr(path.rfind('/') + 1).starts_with('.');
    default:
        return false;
    }
}

void SideScanner::Start(const std::string& root, DotFilter filter, int64_t timeOffset, bool subDirs)
{
    m_filter = filter;
    m_timeOffset = timeOffset;
    m_finder.FindFilesInit(root, "*.*;", subDirs);
    m_walk = std::async(std::launch::async, [this] { Walk(); });
}

void SideScanner::Stop()
{
    m_stop = true;
}

bool SideScanner::WaitFor(std::chrono::milliseconds timeout)
{
    return m_walk.wait_for(timeout) == std::future_status::ready;
}

void SideScanner::Keep(bool isFolder, const std::string& name, int64_t date, int64_t size)
{
    int64_t& kept = isFolder ? keptFolders : keptFiles;
    ++kept;
    try {
        (isFolder ? folders : files).Add(name, date, size);
    } catch (const std::exception& error) {
        failures.push_back({isFolder, kept, error.what()});
        return;
    }
    // Ties keep the file found first.
    if (!isFolder && date > newestDate) {
        newestName = name;
        newestDate = date;
        newestSize = size;
    }
}

void SideScanner::Walk()
{
    bool inFolders = false;
    try {
        std::string name;
        int64_t modified = 0, size = 0;
        int32_t dirs = 0;
        while (!m_stop && m_finder.GetNextFile(name, modified, size, dirs)) {
            ++foundFiles;
            if (!Filtered(m_filter, name, false))
                Keep(false, name, quorvantell::AddTicks(modified, m_timeOffset), size);
        }
        foundFolders = dirs;
        inFolders = true;
        for (int32_t i = 1; i <= dirs && !m_stop; ++i) {
            const std::string folder = m_finder.DirBuf(i);
            if (!Filtered(m_filter, folder, true))
                Keep(true, folder, 0, 0);
        }
    } catch (const std::exception& error) {
        // The walk itself broke down: what was found so far stays.
        failures.push_back({inFolders, inFolders ? keptFolders : keptFiles, error.what()});
    }
    unreadable = m_finder.UnreadableFolders();
    m_finder.Clear();
    try {
        files.Sort();
        folders.Sort();
    } catch (const std::exception& error) {
        failures.push_back({true, keptFolders, error.what()});
        files.Clear();
        folders.Clear();
    }
}

}  // namespace velloran
