// SshServer: sshd with a private configuration, for SFTP tests.
#include "tests/app/ftp/SshServer.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <stdexcept>
#include <thread>

namespace velloran::test {

namespace {

using namespace std::chrono_literals;

constexpr const char* kSshd = "/usr/sbin/sshd";
constexpr const char* kKeygen = "/usr/bin/ssh-keygen";
constexpr const char* kUserLock = "/tmp/velloran-sftp-user.lock";
constexpr auto kStartLimit = 20s;
constexpr int kPortAttempts = 5;

void Run(const std::string& command)
{
    if (!RunsCleanly({"/bin/sh", "-c", command}))
        throw std::runtime_error("failed: " + command);
}

std::string RandomPassword()
{
    std::random_device random;
    std::string password = "pw-";
    for (int i = 0; i < 16; ++i)
        password += "abcdefghijklmnopqrstuvwxyz0123456789"[random() % 36];
    return password;
}

std::string Trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

}  // namespace

std::string SshServer::MissingReason()
{
    if (access(kSshd, X_OK) != 0 || access(kKeygen, X_OK) != 0)
        return "sshd or ssh-keygen is not installed (openssh-server)";
    if (geteuid() != 0)
        return "sshd checks passwords against system accounts: the SFTP tests need root";
    return std::string();
}

std::unique_ptr<SshServer> SshServer::Start()
{
    std::unique_ptr<SshServer> server(new SshServer());
    server->Launch();
    return server;
}

SshServer::SshServer()
{
    m_lock = open(kUserLock, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_lock < 0 || flock(m_lock, LOCK_EX) != 0)
        throw std::runtime_error(std::string("cannot lock ") + kUserLock);
    if (getpwnam(m_user.c_str()) == nullptr)
        Run("/usr/sbin/useradd --system --no-create-home --home-dir /nonexistent --shell /bin/sh " + m_user +
            " || getent passwd " + m_user);
    m_password = RandomPassword();
    WriteFile(m_dir / "password", m_user + ":" + m_password + "\n");
    Run("/usr/sbin/chpasswd < " + m_dir / "password");
    const passwd* user = getpwnam(m_user.c_str());
    m_folder = m_dir / "files/";
    MakeDirs(m_folder);
    MakeDirs("/run/sshd");
    if (user == nullptr || chmod(m_dir.Path().c_str(), 0755) != 0 ||
        chown(m_folder.c_str(), user->pw_uid, user->pw_gid) != 0)
        throw std::runtime_error("cannot give " + m_folder + " to " + m_user);
    MakeKeys();
}

SshServer::~SshServer()
{
    m_process.reset();
    RunsCleanly({"/usr/sbin/usermod", "--lock", m_user});
    close(m_lock);
}

std::string SshServer::Url() const
{
    return "sftp://" + m_user + ":" + m_password + "@127.0.0.1:" + std::to_string(m_port) + m_folder;
}

std::string SshServer::KnownHostsLine() const
{
    return "[127.0.0.1]:" + std::to_string(m_port) + " " + ReadFile(m_dir / "host_key.pub");
}

void SshServer::MakeKeys()
{
    const std::string host = m_dir / "host_key";
    RunsCleanly({"/bin/rm", "-f", host, host + ".pub"});
    Run(std::string(kKeygen) + " -q -t ed25519 -N '' -f " + host);
    Run(std::string(kKeygen) + " -l -E sha256 -f " + host + ".pub | cut -d' ' -f2 > " + m_dir / "host_key.sha256");
    m_hostKey = Trimmed(ReadFile(m_dir / "host_key.sha256"));
    if (!Exists(KeyHome() + "/.ssh/id_ed25519")) {
        MakeDirs(KeyHome() + "/.ssh");
        Run(std::string(kKeygen) + " -q -t ed25519 -N '' -f " + KeyHome() + "/.ssh/id_ed25519");
        Run("cp " + KeyHome() + "/.ssh/id_ed25519.pub " + m_dir / "authorized_keys");
    }
}

void SshServer::Launch()
{
    for (int attempt = 0; attempt < kPortAttempts; ++attempt) {
        m_port = FreeLoopbackPort();
        WriteFile(m_dir / "sshd_config",
                  "Port " + std::to_string(m_port) + "\nListenAddress 127.0.0.1\nHostKey " + m_dir / "host_key" +
                      "\nPidFile none\nAuthorizedKeysFile " + m_dir / "authorized_keys" +
                      "\nStrictModes no\nUsePAM no\nPasswordAuthentication yes\nKbdInteractiveAuthentication no"
                      "\nPubkeyAuthentication yes\nPermitRootLogin no\nAllowUsers " + m_user +
                      "\nMaxStartups 50\nMaxSessions 50\nLogLevel ERROR"
                      "\nSubsystem sftp internal-sftp\nForceCommand internal-sftp -d " + m_folder + "\n");
        m_process = std::make_unique<PeerProcess>(
            std::vector<std::string>{kSshd, "-D", "-e", "-f", m_dir / "sshd_config"}, m_dir / "sshd.err");
        const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
        while (std::chrono::steady_clock::now() < deadline && m_process->Running()) {
            if (GreetsOn(m_port))
                return;
            std::this_thread::sleep_for(50ms);
        }
        m_process.reset();  // the port was taken meanwhile, or the server gave up
    }
    throw std::runtime_error("sshd did not start: " + ReadFile(m_dir / "sshd.err"));
}

void SshServer::ChangeHostKey()
{
    m_process.reset();
    MakeKeys();
    Launch();
}

void SshServer::Kill()
{
    if (m_process)
        m_process->Kill();
}

}  // namespace velloran::test
