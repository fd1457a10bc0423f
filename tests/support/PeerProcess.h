// Peer programs that tests start on loopback (FTP, SMTP, POP3, DNS servers):
// a free port, a check that a server greets, and the process itself, run in
// a process group of its own so that it ends with everything it forked.
#pragma once

#include <sys/socket.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace velloran::test {

// Runs a program to its end with its output discarded; true on exit status 0.
bool RunsCleanly(const std::vector<std::string>& argv);
// A port of 127.0.0.1 free at the time of asking (SOCK_STREAM or SOCK_DGRAM);
// throws std::runtime_error when there is none.
int FreeLoopbackPort(int type = SOCK_STREAM);
// True once a TCP connection to the port is greeted with a byte.
bool GreetsOn(int port);
// The first line a starting peer writes to fd (without its end), or empty
// when none comes within 20 seconds.
std::string FirstLine(int fd);

class PeerProcess {
public:
    // Starts argv[0] with stdout to `out` (when >= 0) and stderr appended to
    // the file `errors`; throws std::runtime_error when it cannot fork.
    PeerProcess(const std::vector<std::string>& argv, const std::string& errors, int out = -1);
    // Ends the group: SIGTERM, then SIGKILL after five seconds.
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    bool Running() const;
    // Ends the group and every process below it at once, as a crash would.
    void Kill();

private:
    pid_t m_pid = -1;
};

}  // namespace velloran::test
