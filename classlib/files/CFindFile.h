// CFindFile: breadth-first enumeration of a folder tree, either all at once
// into DirBuf/FileBuf or one file at a time. Relative folder paths end in
// "/". Entries are read sorted by name; links to folders, broken links and
// special files are left out. Folders are opened one level at a time
// through descriptors (FolderChain), so no path length limit applies and no
// link to a folder is ever followed; a folder that cannot be read is
// remembered in UnreadableFolders, since its contents are unknown, not none.
#pragma once

#include "classlib/ClassLibObject.h"
#include "classlib/files/FolderChain.h"
#include "classlib/files/FolderEntries.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorvantell {

class CFindFile : public ClassLibObject {
public:
    void FindFiles(const std::string& Path, const std::string& FileSpec, int32_t& Dirs, int32_t& Files);
    void FindFilesInit(const std::string& Path, const std::string& FileSpec, bool SubDirs);
    bool GetNextFile(std::string& FileName, int64_t& ModifiedRaw, int64_t& FileSize, int32_t& Dirs);
    std::string DirBuf(int32_t Index) const;
    std::string FileBuf(int32_t Index) const;
    void Clear();
    // The folders of the last search that could not be read: relative paths
    // ending in "/", "" for the root itself.
    const std::vector<std::string>& UnreadableFolders() const { return m_unreadable; }

private:
    void Start(const std::string& Path, const std::string& FileSpec);
    void AddDir(const std::string& relative);
    bool Matches(const std::string& name) const;
    // Reads the files and folders of root + relative; false when it cannot.
    bool ReadLevel(const std::string& relative, std::vector<FolderEntry>& entries);
    void OpenEnumeration(const std::string& relative);

    std::vector<std::string> m_dirBuf;
    std::vector<std::string> m_fileBuf;
    int32_t m_dirCount = 0;
    int32_t m_fileCount = 0;
    std::string m_fileSpec;
    bool m_allFiles = true;

    FolderChain m_chain;
    std::vector<std::string> m_unreadable;

    // One-at-a-time search.
    bool m_subDirs = false;
    int32_t m_current = 0;
    bool m_open = false;  // an enumeration is open (the find handle)
    std::vector<FolderEntry> m_entries;
    size_t m_next = 0;
};

}  // namespace quorvantell
