// FtpAddress: the server field of an FTP site - a host name or address,
// "host:port", or "scheme://host[:port]" (a trailing "/" allowed), IPv6 in
// brackets when a port follows. The scheme says how the session is secured:
// ftp:// (or none) plain, ftpes:// TLS asked for with AUTH TLS on the usual
// port 21, ftps:// TLS from the first byte on port 990, sftp:// SFTP over
// SSH on port 22. The field holds the scheme, so a saved site reopens the
// same way.
#pragma once

#include <optional>
#include <string>

namespace velloran {

enum class FtpScheme { Ftp, Ftpes, Ftps, Sftp };

struct FtpAddress {
    FtpScheme scheme = FtpScheme::Ftp;
    std::string host;  // IPv6 without its brackets
    int port = 21;

    // Nothing when the text names no usable host or port: an empty host, a
    // port outside 1..65535, or characters no host name can hold.
    static std::optional<FtpAddress> Parse(const std::string& server);
};

}  // namespace velloran
