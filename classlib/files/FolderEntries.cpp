// Reading one folder level for the scans and tree walks.
#include "classlib/files/FolderEntries.h"

#include "classlib/files/CFile.h"
#include "classlib/files/FileTime.h"
#include "classlib/files/UniqueFd.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

namespace quorvantell {

namespace {

// Classifies one directory entry; false when the scans must skip it.
bool Classify(int dirFd, const dirent& d, FolderEntry& entry)
{
    if (d.d_type == DT_DIR) {
        entry.isDir = true;
        return true;
    }
    if (d.d_type != DT_REG && d.d_type != DT_LNK && d.d_type != DT_UNKNOWN)
        return false;
    struct stat st{};
    if (fstatat(dirFd, d.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (S_ISLNK(st.st_mode)) {
        // Follow a link only to see whether it names a regular file.
        if (fstatat(dirFd, d.d_name, &st, 0) != 0 || !S_ISREG(st.st_mode))
            return false;
    } else if (S_ISDIR(st.st_mode)) {
        entry.isDir = true;
        return true;
    } else if (!S_ISREG(st.st_mode)) {
        return false;
    }
    if (IsCopyTempName(entry.name))
        return false;
    entry.modified = FileTimeFromTimespec(st.st_mtim);
    entry.size = st.st_size;
    return true;
}

}  // namespace

bool ReadFolderEntries(const std::string& folder, std::vector<FolderEntry>& entries)
{
    entries.clear();
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(fdopendir(fd), closedir);
    if (!dir) {
        UniqueFd owner(fd);
        return false;
    }
    while (const dirent* d = readdir(dir.get())) {
        const std::string_view name = d->d_name;
        if (name == "." || name == "..")
            continue;
        FolderEntry entry;
        entry.name = name;
        if (Classify(dirfd(dir.get()), *d, entry))
            entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return true;
}

}  // namespace quorvantell
