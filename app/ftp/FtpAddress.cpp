// FtpAddress: parsing of the FTP server field.
#include "app/ftp/FtpAddress.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace velloran {

namespace {

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char p, char t) { return p == std::tolower(static_cast<unsigned char>(t)); });
}

// Letters, digits, "-", "." and "_" for names and IPv4; hex digits, ":",
// "." and "%" (a zone) for IPv6. Anything else could change the URL's meaning.
bool ValidHost(std::string_view host, bool ipv6)
{
    if (host.empty())
        return false;
    return std::all_of(host.begin(), host.end(), [ipv6](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        if (ipv6)
            return std::isxdigit(c) || c == ':' || c == '.' || c == '%';
        return std::isalnum(c) || c == '-' || c == '.' || c == '_';
    });
}

std::optional<int> ParsePort(std::string_view text)
{
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    const int port = std::stoi(std::string(text));
    if (port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

struct SchemeName {
    const char* prefix;
    FtpScheme scheme;
    int port;
};

constexpr SchemeName kSchemes[] = {
    {"ftp://", FtpScheme::Ftp, 21},
    {"ftpes://", FtpScheme::Ftpes, 21},
    {"ftps://", FtpScheme::Ftps, 990},
    {"sftp://", FtpScheme::Sftp, 22},
};

}  // namespace

std::optional<FtpAddress> FtpAddress::Parse(const std::string& server)
{
    std::string_view text = Trim(server);
    FtpAddress address;
    for (const SchemeName& known : kSchemes) {
        if (!StartsWithNoCase(text, known.prefix))
            continue;
        text.remove_prefix(std::string_view(known.prefix).size());
        if (!text.empty() && text.back() == '/')
            text.remove_suffix(1);
        address.scheme = known.scheme;
        address.port = known.port;
        break;
    }

    std::string_view portText;
    bool ipv6 = false;
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        address.host = text.substr(1, close - 1);
        std::string_view rest = text.substr(close + 1);
        if (!rest.empty() && (rest.front() != ':' || (portText = rest.substr(1)).empty()))
            return std::nullopt;
        ipv6 = true;
    } else if (std::count(text.begin(), text.end(), ':') > 1) {
        address.host = text;  // a bare IPv6 address carries no port
        ipv6 = true;
    } else {
        const auto colon = text.find(':');
        address.host = text.substr(0, colon);
        if (colon != std::string_view::npos && (portText = text.substr(colon + 1)).empty())
            return std::nullopt;
    }

    if (!ValidHost(address.host, ipv6))
        return std::nullopt;
    if (!portText.empty()) {
        const auto port = ParsePort(portText);
        if (!port)
            return std::nullopt;
        address.port = *port;
    }
    return address;
}

}  // namespace velloran
