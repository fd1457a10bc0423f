// HostChecks: the host checks of the mail sender - the syntax of host names
// and e-mail addresses, name-to-address and reverse look-ups, the local host
// name. Look-ups block the calling thread; failures give empty texts.
#pragma once

#include <string>

namespace quorvantell {

class HostChecks {
public:
    // A dotted IPv4 address (first part at most 239), or two or more labels
    // whose last one is a known top-level domain.
    static bool IsValidHostName(const std::string& host);
    // The text after the first at sign (the whole text without one) is a
    // valid host name and no second at sign follows.
    static bool IsValidEmailAddress(const std::string& AddressString);
    // Dotted IPv4 address of the host's first address; an empty name means
    // the local host.
    static std::string GetIPAddress(const std::string& sHostName);
    static std::string GetIPHost();
    // The host name an IPv4 address text maps back to.
    static std::string ReverseLookup(const std::string& address);
};

}  // namespace quorvantell
