// See RunAsNobody.h.
#include "tests/utils/RunAsNobody.h"

#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace velloran::test {

bool CanRunAsNobody()
{
    return geteuid() == 0 && std::system("command -v setpriv >/dev/null 2>&1") == 0;
}

std::string RunAsNobody(const std::string& filter, int& status)
{
    status = -1;
    char self[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return "cannot find the test program";
    const std::string command = "setpriv --reuid=nobody --regid=nogroup --clear-groups '" + std::string(self, n) +
                                "' --gtest_also_run_disabled_tests --gtest_filter=" + filter + " 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return "cannot start " + command;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, got);
    status = pclose(pipe);
    return output;
}

bool PassedOneTest(const std::string& output)
{
    return output.find("[  PASSED  ] 1 test.") != std::string::npos &&
           output.find("[  SKIPPED ]") == std::string::npos;
}

}  // namespace velloran::test
