// CurlFtpTransport: the FTP transport over libcurl. One easy handle in one
// multi handle lives from Open to Close, so every operation reuses the one
// logged-in control connection (libcurl reconnects by itself only when the
// server dropped it).
// Commands go out after libcurl has returned to the login folder, so paths
// without a leading "/" mean the same in every call; binary mode (TYPE I) for
// files; passive mode tries EPSV, then PASV; active mode offers the control
// connection's own address. ftpes:// and ftps:// protect the control and
// every data connection with TLS, the server's certificate checked against
// the system's CA store (the one OpenSSL's SSL_CERT_FILE and SSL_CERT_DIR
// name, when they are set) and its host name.
#pragma once

#include "app/ftp/FtpTransport.h"

#include <curl/curl.h>

#include <string>
#include <vector>

namespace velloran {

class CurlFtpTransport final : public FtpTransport {
public:
    CurlFtpTransport();
    ~CurlFtpTransport() override;
    CurlFtpTransport(const CurlFtpTransport&) = delete;
    CurlFtpTransport& operator=(const CurlFtpTransport&) = delete;

    bool Open(const FtpLogin& login) override;
    void Close() override;
    bool IsOpen() const override;
    std::string OfferedKey() const override;
    bool Send(const std::string& command, std::string& reply) override;
    ListResult List(const std::string& dir, const std::string& command, std::string& listing) override;
    bool Download(const std::string& path, int fd) override;
    bool Upload(int fd, const std::string& path, const std::vector<std::string>& after,
                std::vector<std::string>& replies) override;

private:
    // Puts the handle back to the session's settings before an operation.
    void Prepare(const std::string& path);
    void PrepareTls();
    // Connects and logs in as the handle is prepared.
    CURLcode Login();
    // The fingerprint of the key of a server whose certificate failed the
    // checks, learnt from a handshake that stops before the login.
    std::string PeekKey();
    // ftp://host:port/ followed by the escaped path; a leading "/" is kept
    // as %2F so that the server sees an absolute path.
    std::string Url(const std::string& path) const;
    // Runs the operation the handle is prepared for, as curl_easy_perform
    // would, but never sits idle: libcurl 7.88 can leave no socket to wait on
    // after a quick EPSV reply, and the easy interface then sleeps a whole
    // second before it opens the data connection.
    CURLcode Perform();
    // Whether libcurl has a socket to wait on.
    bool HasSockets() const;
    // Runs the operation the handle is prepared for, then the commands;
    // replies[i] is the whole reply to commands[i], empty when none came.
    CURLcode PerformWith(const std::vector<std::string>& commands, std::vector<std::string>& replies);
    static int OnDebug(CURL* handle, curl_infotype type, char* data, size_t size, void* self);
    void OnCommandSent(const std::string& line);
    void OnReplyLine(const std::string& line);

    CURL* m_curl = nullptr;
    // The multi handle the transfers run in; it keeps the connection.
    CURLM* m_multi = nullptr;
    FtpLogin m_login;
    // The trusted key's pin, once the certificate failed the CA checks.
    std::string m_pin;
    std::string m_offeredKey;
    std::string m_base;
    // The commands whose replies a caller waits for, in the order they go
    // out, how many of them have gone out, and their replies.
    std::vector<std::string> m_awaited;
    size_t m_sent = 0;
    std::vector<std::string> m_replies;
    // The reply being collected, line by line.
    std::string m_reply;
    bool m_capturing = false;
};

}  // namespace velloran
