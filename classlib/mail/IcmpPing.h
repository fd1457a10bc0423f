// IcmpPing: one ICMP echo to an IPv4 host, through an unprivileged ICMP
// datagram socket or, where the system allows none, a raw socket. Without
// either the ping fails; nothing else happens.
#pragma once

#include <string>

namespace quorvantell {

class IcmpPing {
public:
    // True when an echo reply with our data came from the address asked for
    // within 255 milliseconds. Address becomes the replying address, the
    // others the round-trip time in milliseconds, the data size + " bytes"
    // and whether the data came back unchanged.
    static bool Ping(std::string& Address, std::string& RoundTripTime, std::string& DataSize, bool& DataMatch);
};

}  // namespace quorvantell
