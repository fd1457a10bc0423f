#include "tests/support/TempDir.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace velloran::test {

namespace fs = std::filesystem;

TempDir::TempDir(const std::string& tag)
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/velloran-" + tag + "-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed for " + pattern);
    m_path = buf.data();
}

TempDir::~TempDir()
{
    RemoveTree(m_path);
}

void MakeDirs(const std::string& path)
{
    fs::create_directories(path);
}

void WriteFile(const std::string& path, const std::string& contents)
{
    const auto slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0)
        MakeDirs(path.substr(0, slash));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void SetFileTime(const std::string& path, int64_t rawFileTime)
{
    constexpr int64_t kEpoch = 11'644'473'600LL * 10'000'000LL;
    const int64_t unixTicks = rawFileTime - kEpoch;
    timespec ts{};
    ts.tv_sec = unixTicks / 10'000'000;
    ts.tv_nsec = (unixTicks % 10'000'000) * 100;
    if (ts.tv_nsec < 0) {
        ts.tv_nsec += 1'000'000'000;
        --ts.tv_sec;
    }
    timespec times[2] = {ts, ts};
    if (utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        throw std::runtime_error("cannot set time of " + path);
}

int64_t GetFileTime(const std::string& path)
{
    struct stat st{};
    if (stat(path.c_str(), &st) != 0)
        return 0;
    return (static_cast<int64_t>(st.st_mtim.tv_sec) + 11'644'473'600LL) * 10'000'000LL + st.st_mtim.tv_nsec / 100;
}

bool Exists(const std::string& path)
{
    struct stat st{};
    return lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> ListTree(const std::string& root)
{
    std::vector<std::string> out;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        std::string rel = fs::relative(it->path(), root).string();
        if (it->is_directory() && !it->is_symlink())
            rel += "/";
        out.push_back(rel);
    }
    std::sort(out.begin(), out.end());
    return out;
}

void RemoveTree(const std::string& path)
{
    if (path.empty())
        return;
    std::error_code ec;
    // Folders a test made read-only must become writable before removal.
    for (auto it = fs::recursive_directory_iterator(path, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path, ec);
}

}  // namespace velloran::test
