// modMXQuery: the system's name servers and search domain (from resolv.conf)
// and the mail-exchanger query over UDP. State is kept per thread: the name
// servers once found, and the results of the last query.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvantell {

struct MXRecord {
    std::string name;
    int32_t preference = 0;
};

class modMXQuery {
public:
    // Where the name servers are read from and the port they are asked on;
    // tests point these at a private file and server. Set before the first
    // query of a thread.
    static void SetResolverConfig(const std::string& path, uint16_t port = 53);

    static const std::vector<std::string>& NameServers();
    static const std::string& SystemDomain();

    // The best exchanger of the domain (the system domain when empty); empty
    // when it has none or the domain is 4 characters or shorter. A domain
    // without an answer is asked again without its first label. Throws
    // std::runtime_error with the failure's description; a reply that does
    // not come within timeoutMs counts as a failed receive.
    static std::string MXQuery(const std::string& domain, int timeoutMs);
    // The last query's exchangers by preference, its best one and domain.
    static const std::vector<MXRecord>& Exchangers();
    static const std::string& BestExchanger();
    static const std::string& QueriedDomain();
};

}  // namespace quorvantell
