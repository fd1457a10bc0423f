// Helpers for tests that drive CFTP.
#include "tests/app/ftp/FtpTestSupport.h"

#include "app/engine/AppError.h"

namespace velloran::test {

FtpListing ListFtpTree(CFTP& ftp, const std::string& path, bool subDirs, const std::string& spec)
{
    return ListOneAtATime(ftp, path, spec, subDirs);
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
