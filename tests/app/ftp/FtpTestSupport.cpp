// Helpers for tests that drive CFTP.
#include "tests/app/ftp/FtpTestSupport.h"

#include "app/engine/AppError.h"

namespace velloran::test {

FtpListing ListFtpTree(CFTP& ftp, const std::string& path, bool subDirs, const std::string& spec)
{
    FtpListing listing;
    ftp.FindFilesInit(path, spec, subDirs);
    std::string name;
    int64_t time = 0, size = 0;
    while (ftp.GetNextFile(name, time, size, listing.dirs)) {
        listing.files.push_back(name);
        listing.times.push_back(time);
        listing.sizes.push_back(size);
    }
    return listing;
}

int32_t RaisedNumber(const std::function<void()>& action)
{
    try {
        action();
    } catch (const AppError& e) {
        return e.Number;
    }
    return 0;
}

}  // namespace velloran::test
