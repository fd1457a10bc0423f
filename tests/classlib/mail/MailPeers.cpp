// Starting and stopping the real mail peers.
#include "tests/classlib/mail/MailPeers.h"

#include <QJsonDocument>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <thread>

namespace velloran::test {

namespace {

using namespace std::chrono_literals;

constexpr const char* kPython = "/usr/bin/python3";
constexpr const char* kDovecot = "/usr/sbin/dovecot";
constexpr const char* kDnsmasq = "/usr/sbin/dnsmasq";
constexpr int kAttempts = 5;

std::string PeerScript(const std::string& name)
{
    return std::string(VELLORAN_SOURCE_DIR) + "/tests/classlib/mail/peers/" + name;
}

// Runs a program to its end; its standard output, or throws when it fails.
std::string Output(const std::vector<std::string>& argv)
{
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::string text;
    {
        PeerProcess process(argv, "/dev/null", out[1]);
        close(out[1]);
        char buffer[4096];
        for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<size_t>(got));
        close(out[0]);
    }
    return text;
}

bool AnswersDns(int port)
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    static const unsigned char query[] = {0, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 'x', 4, 't', 'e', 's', 't', 0, 0, 15, 0, 1};
    char reply[512];
    pollfd p{fd, POLLIN, 0};
    const bool answered = sendto(fd, query, sizeof query, 0, reinterpret_cast<sockaddr*>(&address), sizeof address) > 0 &&
                          poll(&p, 1, 500) == 1 && recv(fd, reply, sizeof reply, 0) > 0;
    close(fd);
    return answered;
}

template <typename Ready>
std::unique_ptr<PeerProcess> StartOnFreePort(int type, int& port, const std::function<std::vector<std::string>(int)>& argv,
                                             const std::string& errors, Ready ready)
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        port = FreeLoopbackPort(type);
        auto process = std::make_unique<PeerProcess>(argv(port), errors);
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (process->Running() && std::chrono::steady_clock::now() < deadline) {
            if (ready(port))
                return process;
            std::this_thread::sleep_for(50ms);
        }
    }
    return nullptr;
}

}  // namespace

std::string MissingMailPeers(bool popAndDns)
{
    static const bool smtp = RunsCleanly({kPython, "-c", "import aiosmtpd"});
    if (!smtp)
        return "python3-aiosmtpd is not installed";
    if (!popAndDns)
        return std::string();
    if (access(kDovecot, X_OK) != 0 || access(kDnsmasq, X_OK) != 0)
        return "dovecot-pop3d or dnsmasq-base is not installed";
    // Both run with the system's service users, which takes root.
    return geteuid() == 0 ? std::string() : "the POP3 and DNS peers are configured for a root test run";
}

SmtpPeer::SmtpPeer(const SmtpPeerOptions& options)
{
    std::vector<std::string> argv = {kPython, PeerScript("smtp_peer.py"), "--dir", m_dir.Path(), "--prompt", options.prompt};
    if (!options.user.empty())
        argv.insert(argv.end(), {"--user", options.user, "--password", options.password});
    if (options.tls) {
        if (!RunsCleanly({"/usr/bin/openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                          "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", m_dir / "key.pem",
                          "-out", Certificate()}))
            throw std::runtime_error("openssl could not make a test certificate");
        argv.insert(argv.end(), {"--tls", Certificate(), m_dir / "key.pem"});
    }
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    m_process = std::make_unique<PeerProcess>(argv, m_dir / "server.err", out[1]);
    close(out[1]);
    if (std::sscanf(FirstLine(out[0]).c_str(), "READY %d", &m_port) != 1)
        m_port = 0;
    close(out[0]);
    if (m_port == 0)
        throw std::runtime_error("aiosmtpd did not start: " + ReadFile(m_dir / "server.err"));
}

int SmtpPeer::Received() const
{
    int n = 0;
    while (Exists(m_dir / (std::to_string(n + 1) + ".env")))
        ++n;
    return n;
}

std::vector<std::string> SmtpPeer::Envelope(int n) const
{
    std::vector<std::string> lines;
    std::string line;
    for (const char c : ReadFile(m_dir / (std::to_string(n) + ".env"))) {
        if (c == '\n')
            lines.push_back(std::move(line)), line.clear();
        else
            line += c;
    }
    return lines;
}

std::string SmtpPeer::RawMessage(int n) const
{
    return ReadFile(m_dir / (std::to_string(n) + ".eml"));
}

QJsonObject SmtpPeer::Read(int n) const
{
    const std::string json = Output({kPython, PeerScript("read_message.py"), m_dir / (std::to_string(n) + ".eml")});
    return QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
}

Pop3Peer::Pop3Peer(const std::string& user, const std::string& password)
{
    const std::string root = m_dir.Path();
    chmod(root.c_str(), 0755);
    MakeDirs(m_dir / "mail");
    chmod((m_dir / "mail").c_str(), 0777);
    WriteFile(m_dir / "users", user + ":{PLAIN}" + password + "\n");
    const auto argv = [&](int port) {
        WriteFile(m_dir / "dovecot.conf",
                  "base_dir = " + root + "/run\nstate_dir = " + root + "/state\nlog_path = " + root +
                      "/dovecot.log\nprotocols = pop3\nlisten = 127.0.0.1\nssl = no\ndisable_plaintext_auth = no\n"
                      "auth_failure_delay = 0\ndefault_login_user = dovenull\ndefault_internal_user = dovecot\n"
                      "mail_location = maildir:" + root + "/mail/%u\n"
                      "passdb {\n  driver = passwd-file\n  args = scheme=PLAIN username_format=%u " + root + "/users\n}\n"
                      "userdb {\n  driver = static\n  args = uid=nobody gid=nogroup home=" + root + "/mail/%u\n}\n"
                      "service pop3-login {\n  inet_listener pop3 {\n    address = 127.0.0.1\n    port = " +
                      std::to_string(port) + "\n  }\n  inet_listener pop3s {\n    port = 0\n  }\n}\n"
                      "service stats {\n  inet_listener http {\n    port = 0\n  }\n}\n");
        return std::vector<std::string>{kDovecot, "-F", "-c", m_dir / "dovecot.conf"};
    };
    m_process = StartOnFreePort(SOCK_STREAM, m_port, argv, m_dir / "server.err", GreetsOn);
    if (!m_process)
        throw std::runtime_error("dovecot did not start: " + ReadFile(m_dir / "dovecot.log"));
}

DnsPeer::DnsPeer(const std::vector<std::string>& mxHosts)
{
    WriteFile(ResolvConf(), "# test resolver\nnameserver 127.0.0.1\nsearch velloran.test\n");
    const auto argv = [&](int port) {
        std::vector<std::string> args = {kDnsmasq, "--keep-in-foreground", "--conf-file=/dev/null", "--no-resolv",
                                         "--no-hosts", "--no-poll", "--listen-address=127.0.0.1", "--bind-interfaces",
                                         "--pid-file=", "--user=root", "--local=/test/",
                                         "--port=" + std::to_string(port), "--log-facility=" + m_dir / "dns.log"};
        for (const std::string& mx : mxHosts)
            args.push_back("--mx-host=" + mx);
        return args;
    };
    m_process = StartOnFreePort(SOCK_DGRAM, m_port, argv, m_dir / "server.err", AnswersDns);
    if (!m_process)
        throw std::runtime_error("dnsmasq did not start: " + ReadFile(m_dir / "server.err"));
}

}  // namespace velloran::test
