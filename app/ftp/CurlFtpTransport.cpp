// CurlFtpTransport: FTP over one reused libcurl easy handle.
#include "app/ftp/CurlFtpTransport.h"

#include "app/ftp/ServerKey.h"

#include <sys/select.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string_view>

namespace velloran {

namespace {

// Generous limits: a stalled server must not hang the program forever.
constexpr long kConnectTimeoutSeconds = 30;
constexpr long kReplyTimeoutSeconds = 120;
constexpr long kStallSeconds = 120;
// The longest wait for a socket before libcurl looks at its timers again.
constexpr int kPollMilliseconds = 1000;
// Rounds without a socket to wait on that run straight on.
constexpr int kIdleRounds = 100;
// A pin no key has: the handshake that learns a key ends before the login.
constexpr const char* kNoKey = "sha256//AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=";

bool IsUrlSafe(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '/';
}

size_t AppendToString(char* data, size_t size, size_t count, void* target)
{
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

size_t WriteToFd(char* data, size_t size, size_t count, void* target)
{
    const int fd = *static_cast<int*>(target);
    const size_t total = size * count;
    for (size_t done = 0; done < total;) {
        const ssize_t n = write(fd, data + done, total - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return 0;  // libcurl ends the transfer with a write error
        done += static_cast<size_t>(n);
    }
    return total;
}

size_t ReadFromFd(char* data, size_t size, size_t count, void* source)
{
    const int fd = *static_cast<int*>(source);
    for (;;) {
        const ssize_t n = read(fd, data, size * count);
        if (n >= 0)
            return static_cast<size_t>(n);
        if (errno != EINTR)
            return CURL_READFUNC_ABORT;
    }
}

// The reply's first line decides its end: "123-" opens a multi-line reply
// that the line "123 " closes; "123 " alone is a whole reply.
bool ClosesReply(const std::string& first, const std::string& line)
{
    if (first.size() < 4 || line.size() < 4)
        return false;
    if (first[3] != '-')
        return true;
    return line.compare(0, 3, first, 0, 3) == 0 && line[3] == ' ';
}

}  // namespace

CurlFtpTransport::CurlFtpTransport()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CurlFtpTransport::~CurlFtpTransport()
{
    Close();
}

bool CurlFtpTransport::Open(const FtpLogin& login)
{
    Close();
    m_login = login;
    std::string host = login.host;
    if (host.find(':') != std::string::npos) {
        // An IPv6 address goes in brackets, its zone's "%" escaped.
        for (size_t at = host.find('%'); at != std::string::npos; at = host.find('%', at + 3))
            host.replace(at, 1, "%25");
        host = "[" + host + "]";
    }
    // ftpes:// is no URL scheme of libcurl's: it is ftp:// with TLS required.
    const char* scheme = login.scheme == FtpScheme::Ftps ? "ftps://" : "ftp://";
    m_base = scheme + host + ":" + std::to_string(login.port) + "/";
    m_curl = curl_easy_init();
    m_multi = curl_multi_init();
    m_pin.clear();
    m_offeredKey.clear();
    if (m_curl == nullptr || m_multi == nullptr) {
        Close();
        return false;
    }
    CURLcode result = Login();
    // A certificate no CA vouches for may still carry the key the user trusts.
    if (result == CURLE_PEER_FAILED_VERIFICATION && !login.trustedKey.empty()) {
        m_pin = ServerKey::CurlPin(login.trustedKey);
        result = m_pin.empty() ? result : Login();
    }
    if (result == CURLE_PEER_FAILED_VERIFICATION || result == CURLE_SSL_PINNEDPUBKEYNOTMATCH)
        m_offeredKey = PeekKey();
    if (result != CURLE_OK) {
        Close();
        return false;
    }
    return true;
}

CURLcode CurlFtpTransport::Login()
{
    Prepare("");
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    return Perform();
}

std::string CurlFtpTransport::PeekKey()
{
    Prepare("");
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(m_curl, CURLOPT_USERNAME, nullptr);
    curl_easy_setopt(m_curl, CURLOPT_PASSWORD, nullptr);
    curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(m_curl, CURLOPT_PINNEDPUBLICKEY, kNoKey);
    curl_easy_setopt(m_curl, CURLOPT_CERTINFO, 1L);
    Perform();
    curl_certinfo* info = nullptr;
    if (curl_easy_getinfo(m_curl, CURLINFO_CERTINFO, &info) != CURLE_OK || info == nullptr || info->num_of_certs < 1)
        return std::string();
    constexpr std::string_view kCert = "Cert:";
    for (const curl_slist* field = info->certinfo[0]; field != nullptr; field = field->next) {
        const std::string_view text(field->data);
        if (text.substr(0, kCert.size()) == kCert)
            return ServerKey::FingerprintOfCertificate(std::string(text.substr(kCert.size())));
    }
    return std::string();
}

void CurlFtpTransport::Close()
{
    // The connection lives in the multi handle's cache; its cleanup ends it.
    if (m_multi != nullptr)
        curl_multi_cleanup(m_multi);
    if (m_curl != nullptr)
        curl_easy_cleanup(m_curl);
    m_multi = nullptr;
    m_curl = nullptr;
}

bool CurlFtpTransport::IsOpen() const
{
    return m_curl != nullptr;
}

std::string CurlFtpTransport::OfferedKey() const
{
    return m_offeredKey;
}

bool CurlFtpTransport::Send(const std::string& command, std::string& reply)
{
    if (m_curl == nullptr)
        return false;
    // Sent after the return to the login folder, so relative paths are read
    // against it.
    Prepare("");
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    std::vector<std::string> replies;
    PerformWith({command}, replies);
    if (replies.front().empty())
        return false;
    reply = replies.front();
    return true;
}

FtpTransport::ListResult CurlFtpTransport::List(const std::string& dir, const std::string& command,
                                                std::string& listing)
{
    listing.clear();
    if (m_curl == nullptr)
        return ListResult::Failed;
    // A URL ending in "/" names a directory: libcurl enters it and lists.
    Prepare(dir.empty() || dir.back() == '/' ? dir : dir + "/");
    curl_easy_setopt(m_curl, CURLOPT_CUSTOMREQUEST, command.c_str());
    curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, AppendToString);
    curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, &listing);
    switch (Perform()) {
    case CURLE_OK:
        return ListResult::Listed;
    case CURLE_REMOTE_ACCESS_DENIED:     // the folder cannot be entered
    case CURLE_REMOTE_FILE_NOT_FOUND:    // the listing command found nothing to list
    case CURLE_FTP_COULDNT_RETR_FILE:    // the listing command was refused
        listing.clear();
        return ListResult::Refused;
    default:
        listing.clear();
        return ListResult::Failed;
    }
}

bool CurlFtpTransport::Download(const std::string& path, int fd)
{
    if (m_curl == nullptr || path.empty() || path.back() == '/')
        return false;
    Prepare(path);
    int target = fd;
    curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, WriteToFd);
    curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, &target);
    return Perform() == CURLE_OK;
}

bool CurlFtpTransport::Upload(int fd, const std::string& path, const std::vector<std::string>& after,
                              std::vector<std::string>& replies)
{
    replies.assign(after.size(), std::string());
    struct stat st{};
    if (m_curl == nullptr || path.empty() || path.back() == '/' || fstat(fd, &st) != 0)
        return false;
    // One CWD into the file's folder (SINGLECWD), so the commands that
    // follow the STOR are read against that folder.
    Prepare(path);
    int source = fd;
    curl_easy_setopt(m_curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(m_curl, CURLOPT_READFUNCTION, ReadFromFd);
    curl_easy_setopt(m_curl, CURLOPT_READDATA, &source);
    curl_easy_setopt(m_curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(st.st_size));
    return PerformWith(after, replies) == CURLE_OK;
}

CURLcode CurlFtpTransport::PerformWith(const std::vector<std::string>& commands, std::vector<std::string>& replies)
{
    // "*": a refusal is an answer for the caller to read, not a reason for
    // libcurl to fail the operation or drop the connection. libcurl sends
    // them only after the operation itself succeeded.
    curl_slist* list = nullptr;
    for (const std::string& command : commands)
        list = curl_slist_append(list, ("*" + command).c_str());
    curl_easy_setopt(m_curl, CURLOPT_POSTQUOTE, list);
    m_awaited = commands;
    m_sent = 0;
    m_replies.assign(commands.size(), std::string());
    m_capturing = false;
    const CURLcode result = Perform();
    curl_easy_setopt(m_curl, CURLOPT_POSTQUOTE, nullptr);
    curl_slist_free_all(list);
    m_awaited.clear();
    replies = std::move(m_replies);
    m_replies.clear();
    return result;
}

CURLcode CurlFtpTransport::Perform()
{
    if (curl_multi_add_handle(m_multi, m_curl) != CURLM_OK)
        return CURLE_FAILED_INIT;
    int running = 1;
    for (int idle = 0; curl_multi_perform(m_multi, &running) == CURLM_OK && running != 0;) {
        // With no socket to wait on libcurl is ready to go on at once (it has
        // read a reply and not yet opened the data connection); only a state
        // that lasts gets short waits.
        idle = HasSockets() ? 0 : idle + 1;
        if (idle == 0 || idle > kIdleRounds)
            curl_multi_poll(m_multi, nullptr, 0, idle == 0 ? kPollMilliseconds : 1, nullptr);
    }
    CURLcode result = CURLE_FAILED_INIT;
    int left = 0;
    while (const CURLMsg* message = curl_multi_info_read(m_multi, &left)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == m_curl)
            result = message->data.result;
    }
    curl_multi_remove_handle(m_multi, m_curl);
    return result;
}

bool CurlFtpTransport::HasSockets() const
{
    fd_set read, write, error;
    FD_ZERO(&read);
    FD_ZERO(&write);
    FD_ZERO(&error);
    int maxFd = -1;
    return curl_multi_fdset(m_multi, &read, &write, &error, &maxFd) == CURLM_OK && maxFd >= 0;
}

void CurlFtpTransport::Prepare(const std::string& path)
{
    // A reset keeps the live connection; only the options start afresh.
    curl_easy_reset(m_curl);
    curl_easy_setopt(m_curl, CURLOPT_URL, Url(path).c_str());
    curl_easy_setopt(m_curl, CURLOPT_PROTOCOLS_STR, "ftp,ftps");
    curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_curl, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(m_curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(m_curl, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(m_curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, kReplyTimeoutSeconds);
    curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    if (!m_login.user.empty()) {
        curl_easy_setopt(m_curl, CURLOPT_USERNAME, m_login.user.c_str());
        curl_easy_setopt(m_curl, CURLOPT_PASSWORD, m_login.password.c_str());
    }
    if (m_login.passive) {
        curl_easy_setopt(m_curl, CURLOPT_FTP_USE_EPSV, 1L);
        curl_easy_setopt(m_curl, CURLOPT_FTP_SKIP_PASV_IP, 1L);
    } else {
        curl_easy_setopt(m_curl, CURLOPT_FTPPORT, "-");
    }
    if (m_login.scheme != FtpScheme::Ftp)
        PrepareTls();
    // The debug stream is where libcurl shows each command it sends and each
    // reply line, which is how a command's own reply is told apart.
    curl_easy_setopt(m_curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(m_curl, CURLOPT_DEBUGFUNCTION, OnDebug);
    curl_easy_setopt(m_curl, CURLOPT_DEBUGDATA, this);
}

void CurlFtpTransport::PrepareTls()
{
    // Never falls back to plain text: the password goes out only under TLS,
    // and so does every listing and file.
    curl_easy_setopt(m_curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    curl_easy_setopt(m_curl, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
    // Servers that insist the data connections resume the control
    // connection's TLS session (vsftpd's default) refuse a transfer now and
    // then under TLS 1.3, whose session tickets libcurl 7.88 mixes up between
    // the connections; TLS 1.2 resumes by session id every time.
    curl_easy_setopt(m_curl, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2) | static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_2));
    // libcurl has the distribution's bundle built in, which hides the
    // variables every other OpenSSL program honours.
    if (const char* file = std::getenv("SSL_CERT_FILE"))
        curl_easy_setopt(m_curl, CURLOPT_CAINFO, file);
    if (const char* dir = std::getenv("SSL_CERT_DIR"))
        curl_easy_setopt(m_curl, CURLOPT_CAPATH, dir);
    if (!m_pin.empty()) {
        // The key itself is checked instead, in every handshake.
        curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYHOST, 0L);
        curl_easy_setopt(m_curl, CURLOPT_PINNEDPUBLICKEY, m_pin.c_str());
    }
}

std::string CurlFtpTransport::Url(const std::string& path) const
{
    std::string url = m_base;
    size_t i = 0;
    if (!path.empty() && path.front() == '/') {
        url += "%2F";
        i = 1;
    }
    for (; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (IsUrlSafe(c)) {
            url += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            url += escaped;
        }
    }
    return url;
}

int CurlFtpTransport::OnDebug(CURL*, curl_infotype type, char* data, size_t size, void* self)
{
    auto* transport = static_cast<CurlFtpTransport*>(self);
    if (type != CURLINFO_HEADER_OUT && type != CURLINFO_HEADER_IN)
        return 0;
    std::string text(data, size);
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string line = text.substr(start, end - start);
        if (type == CURLINFO_HEADER_OUT)
            transport->OnCommandSent(line);
        else
            transport->OnReplyLine(line);
        start = end;
    }
    return 0;
}

void CurlFtpTransport::OnCommandSent(const std::string& line)
{
    if (m_sent >= m_awaited.size() || line != m_awaited[m_sent] + "\r\n")
        return;
    ++m_sent;
    m_capturing = true;
    m_reply.clear();
}

void CurlFtpTransport::OnReplyLine(const std::string& line)
{
    if (!m_capturing)
        return;
    const std::string first = m_reply.empty() ? line : m_reply.substr(0, m_reply.find('\n'));
    m_reply += line;
    if (ClosesReply(first, line)) {
        m_capturing = false;
        m_replies[m_sent - 1] = std::move(m_reply);
        m_reply.clear();
    }
}

}  // namespace velloran
