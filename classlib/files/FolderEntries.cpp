// Reading one folder level for the scans and tree walks.
#include "classlib/files/FolderEntries.h"

#include "classlib/files/FileTime.h"
#include "classlib/files/UniqueFd.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace quorvantell {

namespace {

void SetFile(FolderEntry& entry, const struct stat& st)
{
    entry.kind = EntryKind::File;
    entry.modified = FileTimeFromTimespec(st.st_mtim);
    entry.size = st.st_size;
}

// Classifies one directory entry by its type, looking at the file itself
// only where the type leaves it open; false when it is gone meanwhile.
bool Classify(int dirFd, const dirent& d, FolderEntry& entry)
{
    if (d.d_type == DT_DIR) {
        entry.kind = EntryKind::Folder;
        return true;
    }
    if (d.d_type == DT_FIFO || d.d_type == DT_SOCK || d.d_type == DT_CHR || d.d_type == DT_BLK) {
        entry.kind = EntryKind::Special;
        return true;
    }
    struct stat st{};
    if (fstatat(dirFd, d.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (S_ISLNK(st.st_mode)) {
        entry.isLink = true;
        if (fstatat(dirFd, d.d_name, &st, 0) != 0)
            entry.kind = EntryKind::OtherLink;
        else if (S_ISDIR(st.st_mode))
            entry.kind = EntryKind::FolderLink;
        else if (S_ISREG(st.st_mode))
            SetFile(entry, st);
        else
            entry.kind = EntryKind::OtherLink;  // a link to a FIFO or device is never followed
    } else if (S_ISDIR(st.st_mode)) {
        entry.kind = EntryKind::Folder;
    } else if (S_ISREG(st.st_mode)) {
        SetFile(entry, st);
    } else {
        entry.kind = EntryKind::Special;
    }
    return true;
}

// Hands every entry of the folder open as fd but "." and ".." to visit,
// with a descriptor of the folder; takes over fd. False when the folder
// cannot be read to its end.
template <class Visit>
bool ForEachEntry(int fd, Visit visit)
{
    std::unique_ptr<DIR, int (*)(DIR*)> dir(fdopendir(fd), closedir);
    if (!dir) {
        UniqueFd owner(fd);
        return false;
    }
    errno = 0;
    while (const dirent* d = readdir(dir.get())) {
        const std::string_view name = d->d_name;
        if (name != "." && name != "..")
            visit(dirfd(dir.get()), *d);
        errno = 0;
    }
    // readdir ends with errno set when the folder could not be read to its end.
    return errno == 0;
}

// A folder or a link to one; the entry itself is looked at only where its
// type leaves that open.
bool IsFolder(int dirFd, const dirent& d)
{
    if (d.d_type == DT_DIR)
        return true;
    if (d.d_type != DT_LNK && d.d_type != DT_UNKNOWN)
        return false;
    struct stat st{};
    return fstatat(dirFd, d.d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool ReadFolderAt(int dirFd, std::vector<FolderEntry>& entries)
{
    entries.clear();
    // A descriptor of its own: reading moves its position, and closedir closes it.
    const int fd = openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool read = ForEachEntry(fd, [&](int, const dirent& d) {
        FolderEntry entry;
        entry.name = d.d_name;
        if (Classify(dirFd, d, entry)) {
            entry.isDir = entry.kind == EntryKind::Folder;
            entries.push_back(std::move(entry));
        }
    });
    if (!read) {
        entries.clear();
        return false;
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return true;
}

void KeepFilesAndFolders(std::vector<FolderEntry>& entries)
{
    std::erase_if(entries, [](const FolderEntry& e) { return e.kind != EntryKind::File && !e.isDir; });
}

bool ReadSubfolderNames(const std::string& folder, std::vector<std::string>& names)
{
    names.clear();
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool read = ForEachEntry(fd, [&](int dirFd, const dirent& d) {
        if (IsFolder(dirFd, d))
            names.emplace_back(d.d_name);
    });
    if (!read)
        names.clear();
    return read;
}

bool ReadFolderEntries(const std::string& folder, std::vector<FolderEntry>& entries)
{
    entries.clear();
    UniqueFd fd(open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.Valid() || !ReadFolderAt(fd.Get(), entries))
        return false;
    KeepFilesAndFolders(entries);
    return true;
}

}  // namespace quorvantell
