// See OtherFileSystem.h.
#include "tests/utils/OtherFileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace velloran::test {

namespace {

constexpr const char* kCandidate = "/dev/shm";

}  // namespace

std::unique_ptr<TempDir> TempDirOnOtherFileSystem(const std::string& nearPath, const std::string& tag)
{
    // nearPath itself may not exist yet; its nearest existing folder decides.
    std::string existing = nearPath;
    struct stat near{}, other{};
    while (stat(existing.c_str(), &near) != 0 && existing.find('/') != std::string::npos)
        existing = existing.substr(0, std::max<size_t>(existing.rfind('/'), 1));
    if (stat(existing.c_str(), &near) != 0 || stat(kCandidate, &other) != 0 || near.st_dev == other.st_dev ||
        access(kCandidate, W_OK) != 0)
        return nullptr;
    // TempDir places its folder under $TMPDIR.
    const char* saved = std::getenv("TMPDIR");
    const std::optional<std::string> previous = saved ? std::optional<std::string>(saved) : std::nullopt;
    setenv("TMPDIR", kCandidate, 1);
    auto dir = std::make_unique<TempDir>(tag);
    if (previous)
        setenv("TMPDIR", previous->c_str(), 1);
    else
        unsetenv("TMPDIR");
    return dir;
}

}  // namespace velloran::test
