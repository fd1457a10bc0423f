// RecycleFiles after the freedesktop.org trash specification: a file on the
// file system of $XDG_DATA_HOME goes to $XDG_DATA_HOME/Trash, any other to
// the trash at the top of its own file system ($topdir/.Trash/$uid when an
// administrator prepared $topdir/.Trash, else $topdir/.Trash-$uid). Every
// move is one rename(); a file is never copied, so when no trash on its file
// system can be used the file stays where it is and the call fails.
#include "utils/Trash.h"

#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>

namespace quorvantell::exports {

namespace {

constexpr mode_t kPrivateFolderMode = 0700;
constexpr int kMaxNameAttempts = 10000;
// Leaves room for ".trashinfo" and a ".NNNNN" collision number in NAME_MAX.
constexpr size_t kMaxTrashNameBytes = NAME_MAX - 16;

// A path split into its canonical folder and its last component.
struct Item {
    std::string folder;  // canonical, without trailing "/" unless it is "/"
    std::string name;
    std::string Path() const { return folder == "/" ? "/" + name : folder + "/" + name; }
};

// A trash folder, and the folder its Path= entries are relative to (empty
// for absolute entries).
struct TrashCan {
    std::string folder;
    std::string base;
};

std::string DataHome()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* pw = getpwuid(getuid());
        home = pw != nullptr ? pw->pw_dir : "/";
    }
    return std::string(home) + "/.local/share";
}

std::string Parent(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

bool MakeFolders(const std::string& path)
{
    struct stat st{};
    if (stat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    if (path != "/" && !MakeFolders(Parent(path)))
        return false;
    return mkdir(path.c_str(), kPrivateFolderMode) == 0 || errno == EEXIST;
}

// A folder of our own: created when missing, refused when it is a link or
// belongs to someone else.
bool OwnFolder(const std::string& path)
{
    if (mkdir(path.c_str(), kPrivateFolderMode) != 0 && errno != EEXIST)
        return false;
    struct stat st{};
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid();
}

bool PrepareTrash(const std::string& folder)
{
    return OwnFolder(folder) && OwnFolder(folder + "/files") && OwnFolder(folder + "/info");
}

int ResolveItem(const char* path, Item& item)
{
    std::string text = path;
    if (text.empty())
        return ENOENT;
    if (text[0] != '/') {
        std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
        if (!cwd)
            return errno;
        text = std::string(cwd.get()) + "/" + text;
    }
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    item.name = text.substr(text.rfind('/') + 1);
    if (item.name.empty() || item.name == "." || item.name == "..")
        return EINVAL;
    // The folder is resolved, the item itself not: a link is trashed as a link.
    std::unique_ptr<char, decltype(&std::free)> folder(realpath(Parent(text).c_str(), nullptr), &std::free);
    if (!folder)
        return errno;
    item.folder = folder.get();
    return 0;
}

// The mount point of the file system (device dev) that holds folder.
std::string TopDir(const std::string& folder, dev_t dev)
{
    std::string top = folder;
    while (top != "/") {
        const std::string up = Parent(top);
        struct stat st{};
        if (stat(up.c_str(), &st) != 0 || st.st_dev != dev)
            break;
        top = up;
    }
    return top;
}

// 0 with the trash for the item on device dev, or the errno why none serves.
int ChooseTrash(const Item& item, dev_t dev, TrashCan& can)
{
    struct stat st{};
    if (stat(item.folder.c_str(), &st) != 0)
        return errno;
    if (st.st_dev != dev)
        return EBUSY;  // the item is a mount point
    const std::string dataHome = DataHome();
    if (MakeFolders(dataHome) && stat(dataHome.c_str(), &st) == 0 && st.st_dev == dev) {
        can = {dataHome + "/Trash", ""};
        return PrepareTrash(can.folder) ? 0 : EACCES;
    }
    const std::string top = TopDir(item.folder, dev);
    const std::string prefix = top == "/" ? top : top + "/";
    const std::string uid = std::to_string(getuid());
    // An administrator's shared trash counts only when it is a real folder
    // with the sticky bit, so users cannot remove each other's entries.
    const std::string shared = prefix + ".Trash";
    if (lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX) != 0) {
        can = {shared + "/" + uid, top};
        if (PrepareTrash(can.folder))
            return 0;
    }
    can = {prefix + ".Trash-" + uid, top};
    return PrepareTrash(can.folder) ? 0 : EXDEV;
}

// RFC 2396 escaping of a path's bytes; "/" stays.
std::string UrlEncoded(std::string_view path)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           std::string_view("-_.!~*'()/").find(static_cast<char>(c)) != std::string_view::npos;
        if (plain) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

std::string InfoText(const Item& item, const TrashCan& can)
{
    std::string path = item.Path();
    if (!can.base.empty())
        path = path.substr(can.base == "/" ? 1 : can.base.size() + 1);
    char stamp[32] = {};
    const time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + UrlEncoded(path) + "\nDeletionDate=" + stamp + "\n";
}

// The item's name in the trash: attempt 1 is the name itself, later ones
// carry the number before the extension ("report.2.txt").
std::string TrashName(const std::string& name, int attempt)
{
    std::string base = name.substr(0, kMaxTrashNameBytes);
    // A cut never splits a UTF-8 sequence.
    if (base.size() < name.size()) {
        while (!base.empty() && (static_cast<unsigned char>(name[base.size()]) & 0xC0) == 0x80)
            base.pop_back();
    }
    if (attempt == 1)
        return base;
    const auto dot = base.rfind('.');
    std::string number(1, '.');
    number += std::to_string(attempt);
    if (dot == std::string::npos || dot == 0)
        return base + number;
    return base.substr(0, dot) + number + base.substr(dot);
}

int WriteInfo(const std::string& infoPath, const std::string& text)
{
    const int fd = open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    errno = 0;
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const int error = errno != 0 ? errno : EIO;
    if (close(fd) == 0 && written)
        return 0;
    unlink(infoPath.c_str());
    return error;
}

// rename() without replacing whatever already has the target name.
int RenameNoReplace(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // File systems without RENAME_NOREPLACE: the info file made the name ours.
    struct stat st{};
    if (lstat(to.c_str(), &st) == 0)
        return EEXIST;
    return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int MoveIntoTrash(const Item& item, const TrashCan& can)
{
    const std::string info = InfoText(item, can);
    for (int attempt = 1; attempt <= kMaxNameAttempts; ++attempt) {
        const std::string name = TrashName(item.name, attempt);
        const std::string infoPath = can.folder + "/info/" + name + ".trashinfo";
        int error = WriteInfo(infoPath, info);
        if (error == EEXIST)
            continue;
        if (error != 0)
            return error;
        error = RenameNoReplace(item.Path(), can.folder + "/files/" + name);
        if (error == 0)
            return 0;
        unlink(infoPath.c_str());
        if (error != EEXIST)
            return error;
    }
    return EEXIST;
}

int RecycleOne(const char* path)
{
    Item item;
    if (const int error = ResolveItem(path, item); error != 0)
        return error;
    struct stat st{};
    if (lstat(item.Path().c_str(), &st) != 0)
        return errno;
    TrashCan can;
    if (const int error = ChooseTrash(item, st.st_dev, can); error != 0)
        return error;
    return MoveIntoTrash(item, can);
}

}  // namespace

int32_t RecycleFiles(const char* doubleNulList)
{
    if (doubleNulList == nullptr)
        return EINVAL;
    int32_t first = 0;
    for (const char* p = doubleNulList; *p != '\0'; p += std::string_view(p).size() + 1) {
        const int error = RecycleOne(p);
        if (first == 0)
            first = error;
    }
    return first;
}

}  // namespace quorvantell::exports
