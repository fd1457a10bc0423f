// Real FTP servers for tests: start, wait until they accept, stop.
#include "tests/app/ftp/FtpServers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace velloran::test {

namespace {

using namespace std::chrono_literals;

constexpr const char* kPython = "/usr/bin/python3";
constexpr const char* kVsftpd = "/usr/sbin/vsftpd";
constexpr auto kStartLimit = 20s;
constexpr int kPortAttempts = 5;

std::string ScriptPath()
{
    return std::string(VELLORAN_SOURCE_DIR) + "/tests/app/ftp/servers/pyftpd_server.py";
}

// True once a TCP connection to the port is accepted: a server of implicit
// TLS says nothing before the client's handshake.
bool AcceptsOn(int port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const bool accepted = fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        close(fd);
    return accepted;
}

int CountOccurrences(const std::string& text, const std::string& marker)
{
    int count = 0;
    for (size_t pos = text.find(marker); pos != std::string::npos; pos = text.find(marker, pos + marker.size()))
        ++count;
    return count;
}

}  // namespace

std::string FtpServer::MissingReason(FtpServerKind kind)
{
    if (kind == FtpServerKind::Vsftpd)
        return access(kVsftpd, X_OK) == 0 ? std::string() : std::string("vsftpd is not installed (") + kVsftpd + ")";
    if (access(kPython, X_OK) != 0)
        return std::string(kPython) + " is missing";
    static const bool haveModule = RunsCleanly({kPython, "-c", "import pyftpdlib"});
    return haveModule ? std::string() : "python3-pyftpdlib is not installed";
}

std::string FtpServer::MissingReasonOfEither()
{
    const std::string pyftpd = MissingReason(FtpServerKind::Pyftpdlib);
    return pyftpd.empty() ? MissingReason(FtpServerKind::Vsftpd) : pyftpd;
}

std::unique_ptr<FtpServer> FtpServer::Start(FtpServerKind kind, const FtpServerOptions& options)
{
    std::unique_ptr<FtpServer> server(new FtpServer(kind));
    if (kind == FtpServerKind::Pyftpdlib)
        server->StartPyftpd(options);
    else
        server->StartVsftpd(options);
    return server;
}

FtpServer::FtpServer(FtpServerKind kind) : m_kind(kind), m_dir("ftp") {}

FtpServer::~FtpServer()
{
    Stop();
}

const char* FtpServer::Name() const
{
    return m_kind == FtpServerKind::Pyftpdlib ? "pyftpdlib" : "vsftpd";
}

std::string FtpServer::Address() const
{
    return "127.0.0.1:" + std::to_string(m_port);
}

void FtpServer::StartPyftpd(const FtpServerOptions& options)
{
    m_user = "tester";
    m_password = "secret";
    m_localFolder = m_dir / "root/";
    m_serverFolder = "/";
    m_log = m_dir / "server.log";
    MakeDirs(m_localFolder);

    std::string perm = "e";
    if (options.listable)
        perm += "lr";
    else
        perm += "r";
    if (options.writable)
        perm += "adfmwMT";
    std::vector<std::string> argv = {kPython,    ScriptPath(), "--root", m_localFolder, "--user", m_user,
                                     "--password", m_password,  "--perm", perm,          "--log",  m_log};
    if (options.hostile)
        argv.push_back("--hostile");
    if (options.traps)
        argv.push_back("--traps");
    if (!options.offerMlsd)
        argv.push_back("--no-mlsd");
    if (!options.offerMdtm)
        argv.push_back("--no-mdtm");
    if (!options.renameOver)
        argv.push_back("--no-rename-over");
    if (!options.readOnlyFolder.empty()) {
        MakeDirs(m_localFolder + options.readOnlyFolder);  // the server takes only a folder that exists
        argv.insert(argv.end(), {"--read-only", m_localFolder + options.readOnlyFolder});
    }
    argv.insert(argv.end(), {"--max-sessions", std::to_string(options.maxSessions)});
    argv.insert(argv.end(), {"--upload-limit", std::to_string(options.uploadLimit), "--cut-uploads-after",
                             std::to_string(options.cutUploadsAfter)});

    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    Launch(argv, out[1]);
    close(out[1]);
    const std::string ready = FirstLine(out[0]);
    close(out[0]);
    if (std::sscanf(ready.c_str(), "READY %d", &m_port) != 1) {
        Stop();
        throw std::runtime_error("pyftpdlib did not start: " + ReadFile(m_dir / "server.err"));
    }
}

void FtpServer::StartVsftpd(const FtpServerOptions& options)
{
    m_user = "anonymous";
    m_password = "secret";  // the only password the server accepts
    m_log = m_dir / "server.log";
    const std::string anonRoot = m_dir / "anon";
    m_localFolder = anonRoot + "/pub/";
    MakeDirs(m_localFolder);
    WriteFile(m_dir / "passwords", m_password + "\n");

    // As root the server locks anonymous sessions into anon_root and writes as
    // the "ftp" user, which needs a folder of its own below a root it may not
    // change. Anyone else runs it as themselves, without that lock, so it
    // names the folders by their full paths.
    const bool root = geteuid() == 0;
    std::string privilege;
    if (root) {
        const passwd* ftp = getpwnam("ftp");
        if (ftp == nullptr)
            throw std::runtime_error("vsftpd needs the system user \"ftp\"");
        m_owner = ftp->pw_uid;
        m_group = ftp->pw_gid;
        if (chmod(m_dir.Path().c_str(), 0755) != 0)
            throw std::runtime_error("cannot open " + m_dir.Path() + " to the server");
        if (chown(m_localFolder.c_str(), m_owner, m_group) != 0)
            throw std::runtime_error("cannot give " + m_localFolder + " to the user \"ftp\"");
        m_serverFolder = "/pub/";
        MakeDirs("/var/run/vsftpd/empty");
        privilege = "secure_chroot_dir=/var/run/vsftpd/empty\n";
    } else {
        m_serverFolder = m_localFolder;
        MakeDirs(m_dir / "empty");
        privilege = "run_as_launching_user=YES\nsecure_chroot_dir=" + m_dir / "empty" + "\n";
    }

    const std::string tls = TlsSettings(options.tls);
    for (int attempt = 0; attempt < kPortAttempts; ++attempt) {
        m_port = FreeLoopbackPort();
        const std::string config =
            "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\nlisten_port=" + std::to_string(m_port) +
            "\nbackground=NO\nseccomp_sandbox=NO\n" + privilege +
            "anonymous_enable=YES\nlocal_enable=NO\nanon_root=" + anonRoot +
            "\nsecure_email_list_enable=YES\nemail_password_file=" + m_dir / "passwords" +
            "\nwrite_enable=" + (options.writable ? "YES" : "NO") +
            "\nanon_upload_enable=YES\nanon_mkdir_write_enable=YES\nanon_other_write_enable=YES\nanon_umask=022"
            "\ndirlist_enable=" + (options.listable ? "YES" : "NO") +
            "\nmdtm_write=YES\nuse_localtime=NO\npasv_enable=YES\npasv_address=127.0.0.1\nport_enable=YES"
            "\nconnect_from_port_20=NO\ndelay_failed_login=0\nxferlog_enable=YES\nxferlog_std_format=NO\nvsftpd_log_file=" + m_log +
            "\nlog_ftp_protocol=YES\nsyslog_enable=NO\nmax_per_ip=" + std::to_string(options.maxSessions) + "\n" + tls;
        WriteFile(m_dir / "vsftpd.conf", config);
        Launch({kVsftpd, m_dir / "vsftpd.conf"}, -1);
        const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
        while (std::chrono::steady_clock::now() < deadline && m_process->Running()) {
            if (options.tls == FtpTls::Implicit ? AcceptsOn(m_port) : GreetsOn(m_port))
                return;
            std::this_thread::sleep_for(50ms);
        }
        Stop();  // the port was taken meanwhile, or the server gave up
    }
    throw std::runtime_error("vsftpd did not start: " + ReadFile(m_dir / "server.err"));
}

std::string FtpServer::TlsSettings(FtpTls tls)
{
    if (tls == FtpTls::None)
        return std::string();
    m_scheme = tls == FtpTls::Explicit ? "ftpes://" : "ftps://";
    m_certificate = std::make_unique<TestCertificate>(m_dir.Path(), "vsftpd");
    // The default cipher list of vsftpd is a single long-retired one.
    return "ssl_enable=YES\nallow_anon_ssl=YES\nforce_anon_logins_ssl=YES\nforce_anon_data_ssl=YES\n"
           "ssl_ciphers=HIGH\nrsa_cert_file=" + m_certificate->CertFile() +
           "\nrsa_private_key_file=" + m_certificate->KeyFile() +
           "\nimplicit_ssl=" + (tls == FtpTls::Implicit ? "YES" : "NO") + "\n";
}

void FtpServer::Launch(const std::vector<std::string>& argv, int out)
{
    m_process = std::make_unique<PeerProcess>(argv, m_dir / "server.err", out);
}

void FtpServer::Stop()
{
    m_process.reset();
}

void FtpServer::Kill()
{
    if (m_process)
        m_process->Kill();
    m_process.reset();
}

void FtpServer::MakeFile(const std::string& relative, const std::string& contents, int64_t rawTime) const
{
    WriteFile(Local(relative), contents);
    if (rawTime != 0)
        SetFileTime(Local(relative), rawTime);
    Own(Local(relative));
}

void FtpServer::MakeDir(const std::string& relative) const
{
    MakeDirs(Local(relative));
    Own(Local(relative));
}

void FtpServer::MakeSparseFile(const std::string& relative, int64_t size) const
{
    const std::string path = Local(relative);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool made = fd >= 0 && ftruncate(fd, size) == 0;
    if (fd >= 0)
        close(fd);
    if (!made)
        throw std::runtime_error("cannot make the sparse file " + path);
    Own(path);
}

std::string FtpServer::Log() const
{
    return ReadFile(m_log);
}

int FtpServer::Connections() const
{
    return CountOccurrences(Log(), m_kind == FtpServerKind::Pyftpdlib ? "FTP session opened" : "CONNECT: Client");
}

void FtpServer::Own(const std::string& path) const
{
    // The path and every folder above it up to the work folder.
    if (m_owner == static_cast<uid_t>(-1))
        return;
    std::string p = path;
    while (p.size() > m_localFolder.size()) {
        while (p.back() == '/')
            p.pop_back();
        if (chown(p.c_str(), m_owner, m_group) != 0)
            throw std::runtime_error("cannot give " + p + " to the server's user");
        p.erase(p.rfind('/') + 1);
    }
}

}  // namespace velloran::test
