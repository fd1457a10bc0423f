// FolderChain: folders opened one level at a time, never through a link.
#include "classlib/files/FolderChain.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

namespace quorvantell {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr int kLookupFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

}  // namespace

bool IdOf(int fd, FolderId& id)
{
    struct stat st{};
    if (fstat(fd, &st) != 0)
        return false;
    id = {st.st_dev, st.st_ino};
    return true;
}

namespace {

// The folder and every folder above it, up to the file system's root.
std::vector<FolderId> Ancestry(const std::string& path)
{
    std::vector<FolderId> ids;
    UniqueFd fd(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    FolderId id;
    while (fd.Valid() && IdOf(fd.Get(), id)) {
        if (!ids.empty() && ids.back() == id)
            break;  // ".." of the root is the root
        ids.push_back(id);
        fd = UniqueFd(openat(fd.Get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    }
    return ids;
}

bool Contains(const std::vector<FolderId>& ids, const FolderId& id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

bool FoldersOverlap(const std::string& a, const std::string& b)
{
    const std::vector<FolderId> above[2] = {Ancestry(a), Ancestry(b)};
    if (above[0].empty() || above[1].empty())
        return false;
    return Contains(above[0], above[1].front()) || Contains(above[1], above[0].front());
}

bool FolderChain::OpenRoot(const std::string& root)
{
    m_levels.clear();
    const int flags = (m_lookupOnly ? O_PATH : O_RDONLY) | O_DIRECTORY | O_CLOEXEC;
    UniqueFd fd(open(root.empty() ? "." : root.c_str(), flags));
    FolderId id;
    if (!fd.Valid() || !IdOf(fd.Get(), id))
        return false;
    m_levels.push_back({std::string(), std::move(fd), id});
    return true;
}

bool FolderChain::Seen(const FolderId& id) const
{
    const auto same = [&](const auto& level) { return level.id == id; };
    return std::any_of(m_levels.begin(), m_levels.end(), same) ||
           std::find(m_avoided.begin(), m_avoided.end(), id) != m_avoided.end();
}

bool FolderChain::Enter(std::string_view name)
{
    const int parentFd = m_levels.back().fd.Get();
    const std::string component(name);
    UniqueFd fd(openat(parentFd, component.c_str(), m_lookupOnly ? kLookupFlags : kFolderFlags));
    if (!fd.Valid()) {
        // O_NOFOLLOW with O_DIRECTORY says "not a folder" for a link too;
        // callers must tell a link (something there) from a file.
        const int error = errno;
        struct stat st{};
        const bool link = error == ENOTDIR &&
                          fstatat(parentFd, component.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
        errno = link ? ELOOP : error;
        return false;
    }
    FolderId id;
    if (!IdOf(fd.Get(), id))
        return false;
    // A bind mount of a folder above, or the avoided folder: going in would
    // never end or would reach the other side of the operation.
    if (Seen(id)) {
        errno = ELOOP;
        return false;
    }
    m_levels.push_back({std::string(name), std::move(fd), id});
    return true;
}

int FolderChain::Open(std::string_view relative)
{
    if (m_levels.empty()) {
        errno = EBADF;
        return -1;
    }
    // Keep the levels this path shares with the one opened before.
    size_t depth = 1, start = 0;
    while (start < relative.size()) {
        const size_t slash = relative.find('/', start);
        const size_t end = slash == std::string_view::npos ? relative.size() : slash;
        const std::string_view name = relative.substr(start, end - start);
        start = end + 1;
        if (name.empty())
            continue;
        if (name == "." || name == "..") {
            errno = EINVAL;  // a walk's own paths never hold them; ".." would lead out
            return -1;
        }
        if (depth < m_levels.size() && m_levels[depth].name == name) {
            ++depth;
            continue;
        }
        m_levels.resize(depth);
        if (!Enter(name))
            return -1;
        ++depth;
    }
    m_levels.resize(depth);
    return m_levels.back().fd.Get();
}

}  // namespace quorvantell
