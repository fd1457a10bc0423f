// FtpAddress: the server field of an FTP site - a host name or address,
// "host:port", or "ftp://host[:port]" (a trailing "/" allowed), IPv6 in
// brackets when a port follows. Port 21 when none is given.
#pragma once

#include <optional>
#include <string>

namespace velloran {

struct FtpAddress {
    std::string host;  // IPv6 without its brackets
    int port = 21;

    // Nothing when the text names no usable host or port: an empty host, a
    // port outside 1..65535, or characters no host name can hold.
    static std::optional<FtpAddress> Parse(const std::string& server);
};

}  // namespace velloran
