// Detached starts by double fork: the middle process ends at once, so the
// program is nobody's child to wait for, and a close-on-exec pipe carries
// exec's error back (it closes unwritten when exec succeeds).
#include "classlib/files/Launcher.h"

#include "classlib/files/UniqueFd.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

extern char** environ;

namespace quorvantell {

namespace {

bool IsExecutableFile(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

void Report(int fd, int error)
{
    while (write(fd, &error, sizeof error) < 0 && errno == EINTR) {
    }
}

// In the forked copy: a session of its own, a grandchild that runs the
// program with default signal handling, and an end without waiting.
[[noreturn]] void StartOrphan(const char* path, char* const* argv, int reportFd)
{
    setsid();
    const pid_t program = fork();
    if (program != 0) {
        if (program < 0)
            Report(reportFd, errno);
        _exit(0);
    }
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal)
        sigaction(signal, &byDefault, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    execve(path, argv, environ);
    Report(reportFd, errno);
    _exit(127);
}

}  // namespace

std::string ProgramPath(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return IsExecutableFile(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    for (size_t start = 0; start <= folders.size();) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        if (IsExecutableFile(folder + "/" + name))
            return folder + "/" + name;
        start = end + 1;
    }
    return {};
}

bool LaunchProgram(const std::vector<std::string>& argv)
{
    if (argv.empty())
        return false;
    // Searched before the fork: the forked copy of a threaded process may
    // only make async-signal-safe calls.
    const std::string path = ProgramPath(argv[0]);
    if (path.empty())
        return false;
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return false;
    UniqueFd readEnd(report[0]);
    const pid_t middle = fork();
    if (middle == 0)
        StartOrphan(path.c_str(), args.data(), report[1]);
    close(report[1]);
    if (middle < 0)
        return false;
    while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    while ((got = read(readEnd.Get(), &error, sizeof error)) < 0 && errno == EINTR) {
    }
    return got == 0;
}

bool IsProgramFile(const std::string& path)
{
    if (!IsExecutableFile(path))
        return false;
    // Non-blocking: a FIFO named like a program must not hang the open.
    UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    char magic[4] = {};
    if (!fd.Valid() || read(fd.Get(), magic, sizeof magic) < 2)
        return false;
    const bool script = magic[0] == '#' && magic[1] == '!';
    return script || std::string_view(magic, sizeof magic) == "\x7f" "ELF";
}

std::vector<std::string> SplitParameters(const std::string& parameters)
{
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false;
    bool inArgument = false;
    for (size_t i = 0; i < parameters.size(); ++i) {
        const char c = parameters[i];
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if (quoted && c == '\\' && i + 1 < parameters.size() &&
                   std::string_view("\"`$\\").find(parameters[i + 1]) != std::string_view::npos) {
            current += parameters[++i];
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inArgument)
                arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.push_back(std::move(current));
    return arguments;
}

}  // namespace quorvantell
