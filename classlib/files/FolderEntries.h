// One level of a folder, read the way every scan and tree walk of the
// program needs it: sorted by name bytes, "." and ".." left out, symbolic
// links to folders, broken links, special files (FIFOs, sockets, devices) and
// leftover copy temporaries skipped, links to files taken as the files they
// name. Nothing is ever opened but the folder itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvantell {

struct FolderEntry {
    std::string name;
    bool isDir = false;
    int64_t modified = 0;  // raw file time (files only)
    int64_t size = 0;      // bytes (files only)
};

// Reads the entries of `folder`; false (and no entries) when it cannot be opened.
bool ReadFolderEntries(const std::string& folder, std::vector<FolderEntry>& entries);

}  // namespace quorvantell
