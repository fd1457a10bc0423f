// One level of a folder, read the way every scan and tree walk of the
// program needs it: sorted by name bytes, "." and ".." left out, each entry
// classified. Links to files count as the files they name; links to
// folders, broken links and special files (FIFOs, sockets, devices) are
// told apart so that scans can leave them out and a delete can treat them.
// Nothing is ever opened but the folder itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvantell {

enum class EntryKind {
    File,        // a regular file, or a link to one
    Folder,      // a real folder
    FolderLink,  // a symbolic link to a folder
    OtherLink,   // a symbolic link to nothing, or to a FIFO or device
    Special,     // a FIFO, socket or device
};

struct FolderEntry {
    std::string name;
    EntryKind kind = EntryKind::File;
    bool isDir = false;    // kind == Folder
    bool isLink = false;   // the entry itself is a symbolic link
    int64_t modified = 0;  // raw file time (files only)
    int64_t size = 0;      // bytes (files only)
};

// Reads every entry of the open folder dirFd; false when it cannot be read.
bool ReadFolderAt(int dirFd, std::vector<FolderEntry>& entries);
// Only the files and real folders of `folder`, as the scans take them;
// false (and no entries) when it cannot be opened or read.
bool ReadFolderEntries(const std::string& folder, std::vector<FolderEntry>& entries);
// The names of the folders and links to folders in `folder`, unsorted,
// without looking at files at all; false (and no names) when it cannot be
// opened or read.
bool ReadSubfolderNames(const std::string& folder, std::vector<std::string>& names);
// The files and real folders of entries, in place.
void KeepFilesAndFolders(std::vector<FolderEntry>& entries);

}  // namespace quorvantell
