// CountFolderTree. It has to keep pace with `find DIR | wc -l` on large
// trees, so it reads raw directory records (getdents64) into one buffer and
// trusts d_type, calling stat only for links and for file systems that do
// not fill d_type. The walk is iterative and opens each folder relative to
// its parent, so neither depth nor path length is limited; at most
// kHeldLimit folder descriptors stay open, shallower ones are reopened by
// name when the walk returns to them. A folder that is one of its own
// ancestors (a bind mount inside the tree) is counted but not entered.
#include "utils/FolderCount.h"
#include "utils/QuorvantellUtils.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace quorvantell::exports {

namespace {

constexpr size_t kHeldLimit = 48;
constexpr size_t kRecordBufferBytes = 64 * 1024;
constexpr int kFolderOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

class TreeCounter {
public:
    explicit TreeCounter(const char* root) : m_root(root), m_buffer(kRecordBufferBytes / sizeof(uint64_t)) {}
    ~TreeCounter();
    TreeCounter(const TreeCounter&) = delete;
    TreeCounter& operator=(const TreeCounter&) = delete;

    // 1 after a complete walk, -1 when the root cannot be read.
    int32_t Run();
    int64_t Folders() const { return m_folders; }
    int64_t Files() const { return m_files; }

private:
    struct Level {
        std::string name;  // relative to the level above
        int fd = -1;       // -1 while released
        std::vector<std::string> subfolders;
        size_t next = 0;   // first sub-folder not yet walked
        dev_t dev = 0;     // the folder's identity
        ino_t ino = 0;
    };

    bool ReadFolder(size_t index);
    void CountEntry(int folderFd, const char* name, unsigned char type, std::vector<std::string>& subfolders);
    // Whether the folder is one of the levels above (a loop).
    bool IsAncestor(const struct stat& folder) const;
    void Descend();
    int FolderFd(size_t index);
    void Hold(size_t index, int fd);
    void Release(size_t index);
    void KeepWithinLimit();

    const char* m_root;
    std::vector<uint64_t> m_buffer;  // 8-byte aligned, as dirent64 records are
    std::vector<Level> m_levels;
    size_t m_held = 0;
    size_t m_shallowestHeld = 0;  // no level above this one holds a descriptor
    int64_t m_folders = 0;
    int64_t m_files = 0;
};

TreeCounter::~TreeCounter()
{
    for (const Level& level : m_levels) {
        if (level.fd >= 0)
            close(level.fd);
    }
}

int32_t TreeCounter::Run()
{
    const int fd = open(m_root, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st{};
    fstat(fd, &st);
    Level& root = m_levels.emplace_back();
    root.dev = st.st_dev;
    root.ino = st.st_ino;
    Hold(0, fd);
    if (!ReadFolder(0))
        return -1;
    while (!m_levels.empty()) {
        const Level& top = m_levels.back();
        if (top.next < top.subfolders.size()) {
            Descend();
        } else {
            Release(m_levels.size() - 1);
            m_levels.pop_back();
        }
    }
    return 1;
}

bool TreeCounter::ReadFolder(size_t index)
{
    const int fd = m_levels[index].fd;
    std::vector<std::string> subfolders;
    auto* bytes = reinterpret_cast<char*>(m_buffer.data());
    for (;;) {
        const ssize_t n = getdents64(fd, bytes, m_buffer.size() * sizeof(uint64_t));
        if (n < 0)
            return false;
        if (n == 0)
            break;
        for (ssize_t pos = 0; pos < n;) {
            const auto* record = reinterpret_cast<const dirent64*>(bytes + pos);
            pos += record->d_reclen;
            const char* name = record->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                continue;
            CountEntry(fd, name, record->d_type, subfolders);
        }
    }
    m_levels[index].subfolders = std::move(subfolders);
    return true;
}

void TreeCounter::CountEntry(int folderFd, const char* name, unsigned char type, std::vector<std::string>& subfolders)
{
    struct stat st{};
    if (type == DT_UNKNOWN) {
        if (fstatat(folderFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return;
        type = IFTODT(st.st_mode);
    }
    switch (type) {
    case DT_DIR:
        ++m_folders;
        subfolders.emplace_back(name);
        break;
    case DT_REG:
        ++m_files;
        break;
    case DT_LNK:
        // Only the link's target decides: a file counts, anything else not.
        if (fstatat(folderFd, name, &st, 0) == 0 && S_ISREG(st.st_mode))
            ++m_files;
        break;
    default:
        break;
    }
}

bool TreeCounter::IsAncestor(const struct stat& folder) const
{
    for (const Level& level : m_levels) {
        if (level.dev == folder.st_dev && level.ino == folder.st_ino)
            return true;
    }
    return false;
}

// Walks into the next sub-folder of the deepest level.
void TreeCounter::Descend()
{
    const size_t parent = m_levels.size() - 1;
    const int parentFd = FolderFd(parent);
    Level& level = m_levels[parent];
    if (parentFd < 0) {
        // The folder vanished or changed while its sub-folders were walked.
        level.next = level.subfolders.size();
        return;
    }
    std::string name = std::move(level.subfolders[level.next++]);
    const int fd = openat(parentFd, name.c_str(), kFolderOpenFlags);
    if (level.next == level.subfolders.size())
        Release(parent);
    if (fd < 0)
        return;  // counted already; what it holds cannot be read
    struct stat st{};
    if (fstat(fd, &st) != 0 || IsAncestor(st)) {
        close(fd);
        return;
    }
    Level& child = m_levels.emplace_back();
    child.name = std::move(name);
    child.dev = st.st_dev;
    child.ino = st.st_ino;
    Hold(parent + 1, fd);
    KeepWithinLimit();
    ReadFolder(parent + 1);
}

// The level's descriptor, reopened through its nearest open ancestor (or the
// root path) when it was released.
int TreeCounter::FolderFd(size_t index)
{
    if (m_levels[index].fd >= 0)
        return m_levels[index].fd;
    size_t from = index;
    while (from > 0 && m_levels[from].fd < 0)
        --from;
    int fd = m_levels[from].fd;
    bool owned = false;
    if (fd < 0) {
        fd = open(m_root, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        owned = true;
    }
    for (size_t k = from + 1; k <= index && fd >= 0; ++k) {
        const int next = openat(fd, m_levels[k].name.c_str(), kFolderOpenFlags);
        if (owned)
            close(fd);
        fd = next;
        owned = true;
    }
    if (fd >= 0)
        Hold(index, fd);
    return fd;
}

void TreeCounter::Hold(size_t index, int fd)
{
    m_levels[index].fd = fd;
    ++m_held;
    if (index < m_shallowestHeld)
        m_shallowestHeld = index;
}

void TreeCounter::Release(size_t index)
{
    Level& level = m_levels[index];
    if (level.fd < 0)
        return;
    close(level.fd);
    level.fd = -1;
    --m_held;
}

// Releases the shallowest descriptors first: the walk returns to those last.
void TreeCounter::KeepWithinLimit()
{
    while (m_held > kHeldLimit) {
        while (m_levels[m_shallowestHeld].fd < 0)
            ++m_shallowestHeld;
        Release(m_shallowestHeld);
    }
}

int32_t Clamped(int64_t count)
{
    return count > INT32_MAX ? INT32_MAX : static_cast<int32_t>(count);
}

}  // namespace

int32_t CountFolderTree(const char* folder, int32_t* folders, int32_t* files)
{
    int32_t unusedFolders = 0, unusedFiles = 0;
    int32_t& folderCount = folders != nullptr ? *folders : unusedFolders;
    int32_t& fileCount = files != nullptr ? *files : unusedFiles;
    folderCount = 0;
    fileCount = 0;
    if (folder == nullptr)
        return -1;
    TreeCounter counter(folder);
    const int32_t result = counter.Run();
    folderCount = Clamped(counter.Folders());
    fileCount = Clamped(counter.Files());
    return result;
}

}  // namespace quorvantell::exports
