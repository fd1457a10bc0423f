// A whole listing collected through the one-at-a-time interface that CFindFile
// and CFTP share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velloran::test {

struct OneAtATimeListing {
    std::vector<std::string> files;
    std::vector<int64_t> times;
    std::vector<int64_t> sizes;
    int32_t dirs = -1;
};

// FindFilesInit, then GetNextFile until it gives false.
template <typename Finder>
OneAtATimeListing ListOneAtATime(Finder& finder, const std::string& root, const std::string& spec, bool subDirs)
{
    OneAtATimeListing out;
    finder.FindFilesInit(root, spec, subDirs);
    std::string name;
    int64_t time = 0, size = 0;
    while (finder.GetNextFile(name, time, size, out.dirs)) {
        out.files.push_back(name);
        out.times.push_back(time);
        out.sizes.push_back(size);
    }
    return out;
}

}  // namespace velloran::test
