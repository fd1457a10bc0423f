// FtpTransport: what CFTP needs from an FTP client library - one logged-in
// control connection, raw commands with their replies, directory listings as
// text and binary transfers. CurlFtpTransport speaks FTP (plain or over TLS),
// SftpTransport answers the same commands over SFTP; CFTP owns one and keeps
// every protocol decision (features, listing format, names) to itself.
#pragma once

#include "app/ftp/FtpAddress.h"

#include <string>
#include <vector>

namespace velloran {

struct FtpLogin {
    FtpScheme scheme = FtpScheme::Ftp;
    std::string host;  // a name or an address; IPv6 without brackets
    int port = 21;
    std::string user;  // empty: anonymous
    std::string password;
    bool passive = false;
    // A key fingerprint ("SHA256:...") the user trusts for a TLS server
    // whose certificate no trusted CA vouches for; empty: none.
    std::string trustedKey;
};

class FtpTransport {
public:
    // How a listing ended: the text arrived; the server refused to enter or
    // list the directory; or the exchange itself broke down (connection lost,
    // no data connection, timeout).
    enum class ListResult { Listed, Refused, Failed };

    virtual ~FtpTransport() = default;

    // Connects and logs in, closing an earlier connection first. False when
    // the server cannot be reached or refuses the login; nothing stays open.
    virtual bool Open(const FtpLogin& login) = 0;
    // Ends the session (QUIT) and closes the connection; safe when closed.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // After an Open that failed because the server's key is not trusted:
    // the fingerprint of the key it offered; empty otherwise.
    virtual std::string OfferedKey() const = 0;

    // Sends one command line (no CR LF) and gives the server's complete reply
    // to it, every line with its CR LF. False when the command could not be
    // sent or no reply came; a refusal is a reply, so it gives true.
    virtual bool Send(const std::string& command, std::string& reply) = 0;
    // Lists the directory `dir` (a server path) with the listing command
    // (for example "MLSD" or "LIST -a"); `listing` receives the raw text.
    virtual ListResult List(const std::string& dir, const std::string& command, std::string& listing) = 0;
    // Binary transfers. Download writes the server file to the open file
    // descriptor; Upload stores the descriptor's contents as the server file,
    // replacing it. False on any failure.
    virtual bool Download(const std::string& path, int fd) = 0;
    // Once the file is stored, the commands `after` follow on the same
    // connection, in the folder of `path` (so a bare name means a file beside
    // it), whatever each reply; replies[i] is the whole reply to after[i],
    // empty when none came. A failed transfer sends none of them.
    virtual bool Upload(int fd, const std::string& path, const std::vector<std::string>& after,
                        std::vector<std::string>& replies) = 0;
};

}  // namespace velloran
