// Helpers for tests that drive CFTP.
#include "tests/app/ftp/FtpTestSupport.h"

#include "app/engine/AppError.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace velloran::test {

FtpListing ListFtpTree(CFTP& ftp, const std::string& path, bool subDirs, const std::string& spec)
{
    return ListOneAtATime(ftp, path, spec, subDirs);
}

namespace {

// The bytes of the files in a folder and below it.
int64_t TreeBytes(const std::string& folder)
{
    int64_t bytes = 0;
    for (const std::string& name : ListTree(folder)) {
        struct stat info {};
        if (stat((folder + "/" + name).c_str(), &info) == 0 && S_ISREG(info.st_mode))
            bytes += info.st_size;
    }
    return bytes;
}

}  // namespace

bool PutWhileTheServerDies(CFTP& ftp, const std::string& localFolder, const std::string& remote,
                           const std::string& serverDisk, const std::function<void()>& kill)
{
    const std::string big = localFolder + "/big.bin";
    const int fd = open(big.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ftruncate(fd, int64_t{4} << 30) != 0)  // sparse: no disk space taken here
        throw std::runtime_error("cannot make " + big);
    close(fd);
    std::thread killer([&] {
        for (int i = 0; i < 400 && TreeBytes(serverDisk) < (1 << 20); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        kill();
    });
    const bool put = ftp.PutFile(big, remote);
    killer.join();
    return put;
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
