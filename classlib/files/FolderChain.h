// FolderChain: descriptors of the folders along one relative path below a
// root, each opened from its parent with O_NOFOLLOW. Whatever is done
// inside a folder is done through its descriptor, so a folder swapped for a
// symbolic link after it was opened, or on the way to it, can never lead an
// operation out of the tree. Consecutive paths share their common start, so
// a breadth-first walk opens about one folder per step.
#pragma once

#include "classlib/files/UniqueFd.h"

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

namespace quorvantell {

// A folder's identity: the same folder under any name, bind mounts included.
struct FolderId {
    dev_t dev = 0;
    ino_t ino = 0;
    bool operator==(const FolderId&) const = default;
};

class FolderChain {
public:
    // A chain only for looking names up (fstatat) opens its folders with
    // O_PATH, which needs no permission to read them, only to search them.
    explicit FolderChain(bool lookupOnly = false) : m_lookupOnly(lookupOnly) {}

    // Opens the root, following links (the root is what the user chose).
    // False, with errno, when it is not a folder that can be opened.
    bool OpenRoot(const std::string& root);
    // A folder the chain never enters (the other folder of an operation):
    // Open fails on it with ELOOP.
    void Avoid(const FolderId& folder) { m_avoided.push_back(folder); }

    int Root() const { return m_levels.empty() ? -1 : m_levels.front().fd.Get(); }
    FolderId RootId() const { return m_levels.empty() ? FolderId{} : m_levels.front().id; }

    // The descriptor of root + relative ("" for the root, else "a/b/"),
    // valid until the next Open. -1 with errno when a component is missing
    // (ENOENT), a file (ENOTDIR), a symbolic link (ELOOP), a folder met on
    // the way already or an avoided one (ELOOP), or cannot be opened.
    int Open(std::string_view relative);

private:
    struct Level {
        std::string name;
        UniqueFd fd;
        FolderId id;
    };
    bool Enter(std::string_view name);
    bool Seen(const FolderId& id) const;

    bool m_lookupOnly = false;
    std::vector<Level> m_levels;  // the root first
    std::vector<FolderId> m_avoided;
};

// The identity of an open folder; false when fstat fails.
bool IdOf(int fd, FolderId& id);

// Whether two folders are the same or one lies inside the other, whatever
// their spelling: the folders above each are followed up through ".." and
// compared by identity, so a symbolic link on the way or a bind mount of one
// inside the other is seen through. False when either cannot be opened.
bool FoldersOverlap(const std::string& a, const std::string& b);

}  // namespace quorvantell
