// SftpTransport: SFTP through libssh2, spoken to CFTP in FTP's terms.
#include "app/ftp/SftpTransport.h"

#include "app/ftp/FtpTime.h"
#include "app/ftp/ServerKey.h"
#include "classlib/files/FileTime.h"

#include <libssh2.h>
#include <libssh2_sftp.h>

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <utility>

namespace velloran {

namespace {

constexpr int kConnectTimeoutMs = 30'000;
// A stalled server must not hang the program forever.
constexpr long kReplyTimeoutMs = 120'000;
// Large blocks let libssh2 keep several write requests in flight.
constexpr size_t kBlock = 256 * 1024;
constexpr size_t kNameLimit = 4096;
constexpr long kFileMode = 0644;
constexpr long kFolderMode = 0755;
constexpr const char* kKeyFiles[] = {"id_ed25519", "id_ecdsa", "id_rsa"};
// MFMT is left out on purpose: CFTP would then set each time twice.
constexpr const char* kFeatures = "211-Features:\r\n MDTM\r\n MLSD\r\n211 End\r\n";

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0')
        return home;
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr ? entry->pw_dir : "";
}

std::string LocalUser()
{
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr ? entry->pw_name : "";
}

bool Readable(const std::string& path)
{
    return access(path.c_str(), R_OK) == 0;
}

// "YYYYMMDDHHMMSS path", the set form of MDTM, against "path" alone.
bool StartsWithStamp(const std::string& argument)
{
    return argument.size() > 15 && argument[14] == ' ' &&
           std::all_of(argument.begin(), argument.begin() + 14, [](unsigned char c) { return std::isdigit(c); });
}

std::string StampOf(uint64_t seconds)
{
    return FormatFtpTime(quorvantell::FileTimeFromTimespec({static_cast<time_t>(seconds), 0}));
}

// A hidden name beside `path` for the file it names while a new one takes
// its place.
std::string AsideName(const std::string& path)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    const size_t slash = path.rfind('/') + 1;
    char token[17];
    std::snprintf(token, sizeof token, "%016llx", static_cast<unsigned long long>(random()));
    return path.substr(0, slash) + "." + path.substr(slash) + "." + token + ".velloran-old";
}

// A name with a line break would end its listing line early; with "/" in
// its place CFTP passes it over as a name that is no file name.
std::string ListedName(std::string name)
{
    std::replace_if(name.begin(), name.end(), [](char c) { return c == '\r' || c == '\n'; }, '/');
    return name;
}

const char* StatusText(unsigned long status)
{
    switch (status) {
    case LIBSSH2_FX_NO_SUCH_FILE:
    case LIBSSH2_FX_NO_SUCH_PATH:
        return "No such file or folder";
    case LIBSSH2_FX_PERMISSION_DENIED:
    case LIBSSH2_FX_WRITE_PROTECT:
        return "Permission denied";
    case LIBSSH2_FX_FILE_ALREADY_EXISTS:
        return "Already exists";
    case LIBSSH2_FX_NO_SPACE_ON_FILESYSTEM:
    case LIBSSH2_FX_QUOTA_EXCEEDED:
        return "No space left";
    case LIBSSH2_FX_DIR_NOT_EMPTY:
        return "Folder not empty";
    default:
        return "Failed";
    }
}

int ConnectSocket(const addrinfo& address)
{
    const int fd = socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, address.ai_protocol);
    if (fd < 0)
        return -1;
    int error = connect(fd, address.ai_addr, address.ai_addrlen) == 0 ? 0 : errno;
    if (error == EINPROGRESS) {
        pollfd wait{fd, POLLOUT, 0};
        socklen_t length = sizeof error;
        error = poll(&wait, 1, kConnectTimeoutMs) == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0
                    ? error
                    : ETIMEDOUT;
    }
    const int one = 1;
    if (error != 0 || fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0 ||
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Every prompt of a keyboard-interactive login is answered with the password.
void AnswerPrompts(const char*, int, const char*, int, int count, const LIBSSH2_USERAUTH_KBDINT_PROMPT*,
                   LIBSSH2_USERAUTH_KBDINT_RESPONSE* responses, void** abstract)
{
    const std::string& password = *static_cast<const std::string*>(*abstract);
    for (int i = 0; i < count; ++i) {
        responses[i].text = static_cast<char*>(std::malloc(password.size() + 1));
        if (responses[i].text == nullptr)
            return;
        std::memcpy(responses[i].text, password.c_str(), password.size() + 1);
        responses[i].length = static_cast<unsigned int>(password.size());
    }
}

}  // namespace

SftpTransport::SftpTransport()
{
    static std::once_flag once;
    std::call_once(once, [] { libssh2_init(0); });
}

SftpTransport::~SftpTransport()
{
    Close();
}

bool SftpTransport::Open(const FtpLogin& login)
{
    Close();
    m_offeredKey.clear();
    if (!Connect(login))
        return false;
    m_password = login.password;
    m_session = libssh2_session_init_ex(nullptr, nullptr, nullptr, &m_password);
    bool open = m_session != nullptr;
    if (open) {
        libssh2_session_set_blocking(m_session, 1);
        libssh2_session_set_timeout(m_session, kReplyTimeoutMs);
        open = libssh2_session_handshake(m_session, m_socket) == 0 && TrustsHost(login) && Authenticate(login);
    }
    m_sftp = open ? libssh2_sftp_init(m_session) : nullptr;
    m_password.clear();
    if (m_sftp == nullptr) {
        Close();
        return false;
    }
    return true;
}

bool SftpTransport::Connect(const FtpLogin& login)
{
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (getaddrinfo(login.host.c_str(), std::to_string(login.port).c_str(), &hints, &found) != 0)
        return false;
    for (const addrinfo* address = found; address != nullptr && m_socket < 0; address = address->ai_next)
        m_socket = ConnectSocket(*address);
    freeaddrinfo(found);
    return m_socket >= 0;
}

bool SftpTransport::TrustsHost(const FtpLogin& login)
{
    const char* digest = libssh2_hostkey_hash(m_session, LIBSSH2_HOSTKEY_HASH_SHA256);
    if (digest == nullptr)
        return false;
    const std::string key = ServerKey::FingerprintOfDigest(reinterpret_cast<const unsigned char*>(digest), 32);
    if (key == login.trustedKey || KnownHost(login))
        return true;
    m_offeredKey = key;
    return false;
}

bool SftpTransport::KnownHost(const FtpLogin& login) const
{
    const std::string file = HomeFolder() + "/.ssh/known_hosts";
    size_t length = 0;
    int type = 0;
    const char* key = libssh2_session_hostkey(m_session, &length, &type);
    LIBSSH2_KNOWNHOSTS* hosts = Readable(file) ? libssh2_knownhost_init(m_session) : nullptr;
    if (hosts == nullptr || key == nullptr) {
        if (hosts != nullptr)
            libssh2_knownhost_free(hosts);
        return false;
    }
    const bool known = libssh2_knownhost_readfile(hosts, file.c_str(), LIBSSH2_KNOWNHOST_FILE_OPENSSH) >= 0 &&
                       libssh2_knownhost_checkp(hosts, login.host.c_str(), login.port, key, length,
                                                LIBSSH2_KNOWNHOST_TYPE_PLAIN | LIBSSH2_KNOWNHOST_KEYENC_RAW,
                                                nullptr) == LIBSSH2_KNOWNHOST_CHECK_MATCH;
    libssh2_knownhost_free(hosts);
    return known;
}

bool SftpTransport::Authenticate(const FtpLogin& login)
{
    const std::string user = login.user.empty() ? LocalUser() : login.user;
    const char* methods = libssh2_userauth_list(m_session, user.c_str(), static_cast<unsigned>(user.size()));
    if (methods == nullptr)
        return libssh2_userauth_authenticated(m_session) != 0;
    const std::string offered = methods;
    // A password given is the one way in: a wrong one must fail, not fall
    // back to whatever key happens to be at hand.
    if (!login.password.empty()) {
        if (offered.find("password") != std::string::npos &&
            libssh2_userauth_password(m_session, user.c_str(), login.password.c_str()) == 0)
            return true;
        return offered.find("keyboard-interactive") != std::string::npos &&
               libssh2_userauth_keyboard_interactive(m_session, user.c_str(), AnswerPrompts) == 0;
    }
    return offered.find("publickey") != std::string::npos && AuthenticateByKey(user);
}

bool SftpTransport::AuthenticateByKey(const std::string& user)
{
    bool done = false;
    LIBSSH2_AGENT* agent = std::getenv("SSH_AUTH_SOCK") != nullptr ? libssh2_agent_init(m_session) : nullptr;
    if (agent != nullptr && libssh2_agent_connect(agent) == 0 && libssh2_agent_list_identities(agent) == 0) {
        libssh2_agent_publickey* identity = nullptr;
        for (libssh2_agent_publickey* previous = nullptr;
             !done && libssh2_agent_get_identity(agent, &identity, previous) == 0; previous = identity)
            done = libssh2_agent_userauth(agent, user.c_str(), identity) == 0;
        libssh2_agent_disconnect(agent);
    }
    if (agent != nullptr)
        libssh2_agent_free(agent);
    const std::string folder = HomeFolder() + "/.ssh/";
    for (const char* name : kKeyFiles) {
        const std::string key = folder + name, publicKey = key + ".pub";
        if (done || !Readable(key))
            continue;
        done = libssh2_userauth_publickey_fromfile(m_session, user.c_str(),
                                                   Readable(publicKey) ? publicKey.c_str() : nullptr, key.c_str(),
                                                   nullptr) == 0;
    }
    return done;
}

void SftpTransport::Close()
{
    if (m_sftp != nullptr)
        libssh2_sftp_shutdown(m_sftp);
    m_sftp = nullptr;
    if (m_session != nullptr) {
        libssh2_session_disconnect(m_session, "Bye");
        libssh2_session_free(m_session);
    }
    m_session = nullptr;
    if (m_socket >= 0)
        close(m_socket);
    m_socket = -1;
    m_renameFrom.clear();
}

bool SftpTransport::IsOpen() const
{
    return m_sftp != nullptr;
}

std::string SftpTransport::OfferedKey() const
{
    return m_offeredKey;
}

bool SftpTransport::Send(const std::string& command, std::string& reply)
{
    reply = IsOpen() ? Execute(command, "") : std::string();
    return !reply.empty();
}

std::string SftpTransport::Execute(const std::string& command, const std::string& folder)
{
    const size_t blank = command.find(' ');
    const std::string verb = Upper(command.substr(0, blank));
    const std::string argument = blank == std::string::npos ? std::string() : command.substr(blank + 1);
    const std::string path = argument.starts_with('/') ? argument : folder + argument;
    const auto done = [&](int result, const std::string& reply) { return result == 0 ? reply : Refusal(); };
    if (verb == "FEAT")
        return kFeatures;
    if (verb == "NOOP")
        return "200 OK\r\n";
    if (verb == "DELE")
        return done(libssh2_sftp_unlink(m_sftp, path.c_str()), "250 Deleted\r\n");
    if (verb == "MKD")
        return done(libssh2_sftp_mkdir(m_sftp, path.c_str(), kFolderMode), "257 \"" + path + "\" created\r\n");
    if (verb == "RMD")
        return done(libssh2_sftp_rmdir(m_sftp, path.c_str()), "250 Removed\r\n");
    if (verb == "RNFR") {
        m_renameFrom = path;
        return "350 Ready for the new name\r\n";
    }
    if (verb == "RNTO")
        return Rename(path);
    if (verb == "MFMT" || (verb == "MDTM" && StartsWithStamp(argument))) {
        const std::string target = argument.substr(15);
        return SetTime(argument.substr(0, 14), target.starts_with('/') ? target : folder + target);
    }
    if (verb == "MDTM")
        return ModifyTime(path);
    return "502 Not a command of this server\r\n";
}

std::string SftpTransport::SetTime(const std::string& stamp, const std::string& path)
{
    const auto raw = ParseFtpTime(stamp);
    if (!raw)
        return "501 Not a time\r\n";
    // The access time goes along: SFTP sets both or neither.
    LIBSSH2_SFTP_ATTRIBUTES attributes{};
    attributes.flags = LIBSSH2_SFTP_ATTR_ACMODTIME;
    attributes.mtime = attributes.atime = static_cast<unsigned long>(quorvantell::TimespecFromFileTime(*raw).tv_sec);
    if (libssh2_sftp_setstat(m_sftp, path.c_str(), &attributes) != 0)
        return Refusal();
    return "213 Modify=" + stamp + "; " + path + "\r\n";
}

std::string SftpTransport::Rename(const std::string& to)
{
    const std::string from = std::exchange(m_renameFrom, std::string());
    if (from.empty())
        return "503 RNFR first\r\n";
    if (Move(from, to))
        return "250 Renamed\r\n";
    // SFTP's rename never replaces a file. The file there steps aside
    // first and goes only once the new one holds the name, so a break in
    // between leaves both whole.
    const std::string aside = AsideName(to);
    if (!IsOpen() || SessionBroke() || !Move(to, aside))
        return Refusal();
    if (!Move(from, to)) {
        const std::string refusal = Refusal();
        if (IsOpen())
            Move(aside, to);
        return refusal;
    }
    libssh2_sftp_unlink(m_sftp, aside.c_str());
    return "250 Renamed\r\n";
}

bool SftpTransport::Move(const std::string& from, const std::string& to)
{
    return libssh2_sftp_rename_ex(m_sftp, from.c_str(), static_cast<unsigned>(from.size()), to.c_str(),
                                  static_cast<unsigned>(to.size()),
                                  LIBSSH2_SFTP_RENAME_OVERWRITE | LIBSSH2_SFTP_RENAME_ATOMIC |
                                      LIBSSH2_SFTP_RENAME_NATIVE) == 0;
}

std::string SftpTransport::ModifyTime(const std::string& path)
{
    LIBSSH2_SFTP_ATTRIBUTES attributes{};
    if (libssh2_sftp_stat(m_sftp, path.c_str(), &attributes) != 0)
        return Refusal();
    if ((attributes.flags & LIBSSH2_SFTP_ATTR_ACMODTIME) == 0)
        return "550 No time\r\n";
    return "213 " + StampOf(attributes.mtime) + "\r\n";
}

std::string SftpTransport::Refusal()
{
    if (SessionBroke()) {
        Close();
        return std::string();
    }
    return "550 " + std::string(StatusText(libssh2_sftp_last_error(m_sftp))) + "\r\n";
}

bool SftpTransport::SessionBroke() const
{
    return m_session == nullptr || libssh2_session_last_errno(m_session) != LIBSSH2_ERROR_SFTP_PROTOCOL;
}

FtpTransport::ListResult SftpTransport::List(const std::string& dir, const std::string&, std::string& listing)
{
    listing.clear();
    if (!IsOpen())
        return ListResult::Failed;
    const std::string folder = dir.empty() ? "." : dir;
    LIBSSH2_SFTP_HANDLE* handle = libssh2_sftp_opendir(m_sftp, folder.c_str());
    if (handle == nullptr) {
        const bool refused = !SessionBroke();
        if (!refused)
            Close();
        return refused ? ListResult::Refused : ListResult::Failed;
    }
    const std::string prefix = folder.ends_with('/') ? folder : folder + "/";
    char name[kNameLimit];
    int length = 0;
    for (LIBSSH2_SFTP_ATTRIBUTES attributes{};
         (length = libssh2_sftp_readdir_ex(handle, name, sizeof name, nullptr, 0, &attributes)) > 0;) {
        const std::string entry(name, static_cast<size_t>(length));
        // A link counts as what it leads to when that is a file; links to
        // folders are left out, as a loop of them would never end.
        if (LIBSSH2_SFTP_S_ISLNK(attributes.permissions) &&
            libssh2_sftp_stat(m_sftp, (prefix + entry).c_str(), &attributes) != 0)
            continue;
        const bool folderEntry = LIBSSH2_SFTP_S_ISDIR(attributes.permissions);
        if (entry == "." || entry == ".." || (!folderEntry && !LIBSSH2_SFTP_S_ISREG(attributes.permissions)))
            continue;
        listing += folderEntry ? "type=dir;" : "type=file;size=" + std::to_string(attributes.filesize) + ";";
        if ((attributes.flags & LIBSSH2_SFTP_ATTR_ACMODTIME) != 0)
            listing += "modify=" + StampOf(attributes.mtime) + ";";
        listing += " " + ListedName(entry) + "\r\n";
    }
    libssh2_sftp_closedir(handle);
    if (length < 0) {
        Close();
        return ListResult::Failed;
    }
    return ListResult::Listed;
}

bool SftpTransport::Download(const std::string& path, int fd)
{
    LIBSSH2_SFTP_HANDLE* handle = IsOpen() ? libssh2_sftp_open(m_sftp, path.c_str(), LIBSSH2_FXF_READ, 0) : nullptr;
    if (handle == nullptr) {
        Refusal();
        return false;
    }
    std::string block(kBlock, '\0');
    ssize_t got = 0;
    bool written = true;
    while (written && (got = libssh2_sftp_read(handle, block.data(), block.size())) > 0) {
        for (ssize_t done = 0; written && done < got;) {
            const ssize_t n = write(fd, block.data() + done, static_cast<size_t>(got - done));
            written = n > 0 || (n < 0 && errno == EINTR);
            done += std::max<ssize_t>(n, 0);
        }
    }
    libssh2_sftp_close_handle(handle);
    if (got < 0)
        Refusal();
    return written && got == 0;
}

bool SftpTransport::Upload(int fd, const std::string& path, const std::vector<std::string>& after,
                           std::vector<std::string>& replies)
{
    replies.assign(after.size(), std::string());
    LIBSSH2_SFTP_HANDLE* handle =
        IsOpen() ? libssh2_sftp_open(m_sftp, path.c_str(), LIBSSH2_FXF_WRITE | LIBSSH2_FXF_CREAT | LIBSSH2_FXF_TRUNC,
                                     kFileMode)
                 : nullptr;
    if (handle == nullptr) {
        Refusal();
        return false;
    }
    std::string block(kBlock, '\0');
    ssize_t got = 0;
    bool sent = true;
    while (sent && ((got = read(fd, block.data(), block.size())) > 0 || (got < 0 && errno == EINTR))) {
        for (ssize_t done = 0; sent && done < got;) {
            const ssize_t n = libssh2_sftp_write(handle, block.data() + done, static_cast<size_t>(got - done));
            sent = n > 0;
            done += std::max<ssize_t>(n, 0);
        }
    }
    // The close reports a write the server could not finish.
    const bool closed = libssh2_sftp_close_handle(handle) == 0;
    if (!sent || !closed)
        Refusal();
    if (!sent || !closed || got < 0)
        return false;
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    for (size_t i = 0; i < after.size() && IsOpen(); ++i)
        replies[i] = Execute(after[i], folder);
    return true;
}

}  // namespace velloran
