#include "tests/support/PeerProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace velloran::test {

namespace {

using namespace std::chrono_literals;

constexpr auto kStopLimit = 5s;
constexpr auto kStartLimit = 20s;

std::vector<char*> Arguments(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    return args;
}

sockaddr_in Loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    return address;
}

// Every process below `root`, found by their parents in /proc: servers such
// as sshd and vsftpd start each session in a session of its own, out of the
// server's process group.
std::vector<pid_t> Descendants(pid_t root)
{
    std::vector<std::pair<pid_t, pid_t>> parents;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos)
            continue;
        // "pid (name) state ppid ...": the name may hold blanks and parentheses.
        std::istringstream rest(line.substr(line.rfind(')') + 2));
        char state = 0;
        pid_t parent = 0;
        if (rest >> state >> parent)
            parents.emplace_back(static_cast<pid_t>(std::stol(line)), parent);
    }
    std::vector<pid_t> found = {root};
    for (size_t i = 0; i < found.size(); ++i)
        for (const auto& [pid, parent] : parents)
            if (parent == found[i])
                found.push_back(pid);
    found.erase(found.begin());
    return found;
}

}  // namespace

bool RunsCleanly(const std::vector<std::string>& argv)
{
    std::vector<char*> args = Arguments(argv);
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int FreeLoopbackPort(int type)
{
    const int fd = socket(AF_INET, type | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    int port = 0;
    if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0)
        close(fd);
    if (port == 0)
        throw std::runtime_error("no free port on 127.0.0.1");
    return port;
}

bool GreetsOn(int port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(port);
    bool greeted = false;
    if (fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        pollfd p{fd, POLLIN, 0};
        char c = 0;
        greeted = poll(&p, 1, 5000) == 1 && read(fd, &c, 1) == 1;
    }
    if (fd >= 0)
        close(fd);
    return greeted;
}

std::string FirstLine(int fd)
{
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char c = 0;
        if (read(fd, &c, 1) != 1)
            break;
        if (c == '\n')
            return line;
        line += c;
    }
    return std::string();
}

PeerProcess::PeerProcess(const std::vector<std::string>& argv, const std::string& errors, int out)
{
    std::vector<char*> args = Arguments(argv);
    m_pid = fork();
    if (m_pid < 0)
        throw std::runtime_error("fork failed");
    if (m_pid == 0) {
        setpgid(0, 0);
        const int null = open("/dev/null", O_RDWR);
        const int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        dup2(null, STDIN_FILENO);
        dup2(out >= 0 ? out : null, STDOUT_FILENO);
        dup2(err >= 0 ? err : null, STDERR_FILENO);
        execv(args[0], args.data());
        _exit(127);
    }
    setpgid(m_pid, m_pid);
}

PeerProcess::~PeerProcess()
{
    if (m_pid <= 0)
        return;
    kill(-m_pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kStopLimit;
    while (waitpid(m_pid, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            Kill();
            return;
        }
        std::this_thread::sleep_for(10ms);
    }
}

bool PeerProcess::Running() const
{
    return m_pid > 0 && waitpid(m_pid, nullptr, WNOHANG) == 0;
}

void PeerProcess::Kill()
{
    if (m_pid <= 0)
        return;
    // Stopped first, so that none of them forks anew meanwhile.
    kill(-m_pid, SIGSTOP);
    for (const pid_t pid : Descendants(m_pid))
        kill(pid, SIGKILL);
    kill(-m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

}  // namespace velloran::test
