// SftpTransport: sftp:// under CFTP, over libssh2 - one SSH session with its
// SFTP channel from Open to Close. It answers the few FTP commands CFTP
// sends (FEAT, DELE, MKD, RMD, RNFR/RNTO, MDTM, MFMT) with FTP's replies and
// lists folders in MLSD form with times to the second, so CFTP keeps every
// decision, the safe upload under a temporary name included.
// The server's host key is trusted when ~/.ssh/known_hosts names it for the
// host and port or when it is the key the user trusted for the site; any
// other key stops the connection before the login, its fingerprint kept for
// the question. The login is by password when one is given, else by the
// user's SSH agent or key files (~/.ssh/id_ed25519, id_ecdsa, id_rsa).
#pragma once

#include "app/ftp/FtpTransport.h"

#include <string>
#include <vector>

struct _LIBSSH2_SESSION;
struct _LIBSSH2_SFTP;

namespace velloran {

class SftpTransport final : public FtpTransport {
public:
    SftpTransport();
    ~SftpTransport() override;
    SftpTransport(const SftpTransport&) = delete;
    SftpTransport& operator=(const SftpTransport&) = delete;

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
    bool Connect(const FtpLogin& login);
    // The host key the handshake brought is known or trusted.
    bool TrustsHost(const FtpLogin& login);
    bool KnownHost(const FtpLogin& login) const;
    bool Authenticate(const FtpLogin& login);
    bool AuthenticateByKey(const std::string& user);
    // One FTP command carried out; paths without a leading "/" are taken in
    // `folder` ("" for the login folder). Empty when the session broke.
    std::string Execute(const std::string& command, const std::string& folder);
    std::string SetTime(const std::string& stamp, const std::string& path);
    std::string Rename(const std::string& to);
    bool Move(const std::string& from, const std::string& to);
    std::string ModifyTime(const std::string& path);
    // The reply to a request the server refused, or empty (and the session
    // closed) when it was the connection that failed.
    std::string Refusal();
    bool SessionBroke() const;

    int m_socket = -1;
    _LIBSSH2_SESSION* m_session = nullptr;
    _LIBSSH2_SFTP* m_sftp = nullptr;
    std::string m_offeredKey;
    // For the keyboard-interactive login, which asks through a callback.
    std::string m_password;
    // RNFR's path, until RNTO.
    std::string m_renameFrom;
};

}  // namespace velloran
