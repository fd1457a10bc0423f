// CFindFile: breadth-first folder tree enumeration.
#include "classlib/files/CFindFile.h"

#include "classlib/files/WildcardMatch.h"
#include "classlib/general/EventPump.h"
#include "classlib/misc/CWaitCursor.h"

namespace quorvantell {

namespace {

constexpr int32_t kEventInterval = 25;
constexpr const char* kAllFilesSpec = "*.*;";

}  // namespace

void CFindFile::Start(const std::string& Path, const std::string& FileSpec)
{
    m_unreadable.clear();
    if (!m_chain.OpenRoot(Path))
        m_unreadable.push_back(std::string());
    m_dirCount = 0;
    m_fileSpec = FileSpec;
    m_allFiles = FileSpec == kAllFilesSpec;
    m_dirBuf.assign(1, std::string());
}

void CFindFile::AddDir(const std::string& relative)
{
    ++m_dirCount;
    m_dirBuf.push_back(relative);
}

bool CFindFile::ReadLevel(const std::string& relative, std::vector<FolderEntry>& entries)
{
    entries.clear();
    if (m_chain.Root() < 0)
        return false;  // the root itself is unreadable, and listed so already
    const int fd = m_chain.Open(relative);
    if (fd < 0 || !ReadFolderAt(fd, entries)) {
        m_unreadable.push_back(relative);
        return false;
    }
    KeepFilesAndFolders(entries);
    return true;
}

bool CFindFile::Matches(const std::string& name) const
{
    return m_allFiles || MatchSpecList(name, m_fileSpec);
}

void CFindFile::FindFiles(const std::string& Path, const std::string& FileSpec, int32_t& Dirs, int32_t& Files)
{
    CWaitCursor wait;
    wait.Restore();
    Start(Path, FileSpec);
    m_fileCount = 0;
    m_fileBuf.clear();
    std::vector<FolderEntry> entries;
    int32_t examined = 0;
    for (int32_t d = 0; d <= m_dirCount; ++d) {
        const std::string folder = m_dirBuf[static_cast<size_t>(d)];
        ReadLevel(folder, entries);
        for (const FolderEntry& entry : entries) {
            if (entry.isDir) {
                AddDir(folder + entry.name + "/");
            } else if (Matches(entry.name)) {
                m_fileBuf.push_back(folder + entry.name);
                ++m_fileCount;
            }
            if (++examined % kEventInterval == 0)
                EventPump::DoEvents();
        }
    }
    Dirs = m_dirCount;
    Files = m_fileCount;
}

void CFindFile::OpenEnumeration(const std::string& relative)
{
    m_open = ReadLevel(relative, m_entries) && !m_entries.empty();
    m_next = 0;
}

void CFindFile::FindFilesInit(const std::string& Path, const std::string& FileSpec, bool SubDirs)
{
    CWaitCursor wait;
    wait.Restore();
    Start(Path, FileSpec);
    m_current = 0;
    m_subDirs = SubDirs;
    OpenEnumeration(std::string());
}

bool CFindFile::GetNextFile(std::string& FileName, int64_t& ModifiedRaw, int64_t& FileSize, int32_t& Dirs)
{
    for (;;) {
        while (m_open) {
            const FolderEntry& entry = m_entries[m_next];
            const std::string& folder = m_dirBuf[static_cast<size_t>(m_current)];
            const bool isMatch = !entry.isDir && Matches(entry.name);
            if (isMatch) {
                FileName = folder + entry.name;
                ModifiedRaw = entry.modified;
                FileSize = entry.size;
            } else if (entry.isDir && m_subDirs) {
                AddDir(folder + entry.name + "/");
            }
            if (++m_next >= m_entries.size())
                m_open = false;
            if (isMatch)
                return true;
        }
        if (++m_current > m_dirCount) {
            Dirs = m_dirCount;
            return false;
        }
        OpenEnumeration(m_dirBuf[static_cast<size_t>(m_current)]);
    }
}

std::string CFindFile::DirBuf(int32_t Index) const
{
    return Index >= 0 && static_cast<size_t>(Index) < m_dirBuf.size() ? m_dirBuf[static_cast<size_t>(Index)]
                                                                     : std::string();
}

std::string CFindFile::FileBuf(int32_t Index) const
{
    return Index >= 0 && static_cast<size_t>(Index) < m_fileBuf.size() ? m_fileBuf[static_cast<size_t>(Index)]
                                                                       : std::string();
}

void CFindFile::Clear()
{
    m_dirBuf.assign(1, std::string());
    m_fileBuf.clear();
    m_dirCount = 0;
    m_fileCount = 0;
    // A one-at-a-time search under way ends: its folder list is gone.
    m_open = false;
    m_entries.clear();
    m_current = 0;
    m_chain = FolderChain();
}

}  // namespace quorvantell
