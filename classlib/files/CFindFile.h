// CFindFile: breadth-first enumeration of a folder tree, either all at once
// into DirBuf/FileBuf or one file at a time. Names are the bytes the file
// system gave; relative folder paths end in "/". Within a folder, entries come
// sorted by their bytes. Symbolic links to folders are never followed, links
// to files count as the files they name, broken links, special files and
// leftover copy temporaries are skipped. Unreadable folders are skipped.
#pragma once

#include "classlib/ClassLibObject.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorvantell {

class CFindFile : public ClassLibObject {
public:
    CFindFile();
    ~CFindFile() override;
    CFindFile(const CFindFile&) = delete;
    CFindFile& operator=(const CFindFile&) = delete;

    void FindFiles(const std::string& Path, const std::string& FileSpec, int32_t& Dirs, int32_t& Files);
    void FindFilesInit(const std::string& Path, const std::string& FileSpec, bool SubDirs);
    bool GetNextFile(std::string& FileName, int64_t& ModifiedRaw, int64_t& FileSize, int32_t& Dirs);
    std::string DirBuf(int32_t Index) const;
    std::string FileBuf(int32_t Index) const;
    void Clear();

private:
    struct Entry;
    bool OpenDirectory(int32_t index);
    void CloseDirectory();
    void AddDir(const std::string& relative);
    void AddFile(const std::string& relative);
    bool Matches(const std::string& name) const;

    std::vector<std::string> m_dirBuf;
    std::vector<std::string> m_fileBuf;
    int32_t m_dirCount = 0;
    int32_t m_fileCount = 0;
    std::string m_fileSpec;
    bool m_allFiles = true;

    // One-at-a-time search.
    std::string m_root;
    bool m_subDirs = false;
    int32_t m_current = 0;
    std::vector<Entry>* m_entries = nullptr;  // entries of the folder being read; null = none open
    size_t m_next = 0;
};

}  // namespace quorvantell
