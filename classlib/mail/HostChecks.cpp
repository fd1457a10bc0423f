// Host-name and address syntax, and name look-ups through the resolver.
#include "classlib/mail/HostChecks.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace quorvantell {

namespace {

constexpr const char* kTopLevelDomains =
    "AERO BIZ COM COOP EDU GOV INFO INT MIL MUSEUM NAME NET ORG PRO AC AD AE AF AG AI AL AM AN AO AQ AR AS AT AU AW "
    "AZ BA BB BD BE BF BG BH BI BJ BM BN BO BR BS BT BV BW BY BZ CA CC CD CF CG CH CI CK CL CM CN CO CR CU CV CX CY "
    "CZ DE DJ DK DM DO DZ EC EE EG EH ER ES ET FI FJ FK FM FO FR GA GD GE GF GG GH GI GL GM GN GP GQ GR GS GT GU GW "
    "GY HK HM HN HR HT HU ID IE IL IM IN IO IQ IR IS IT JE JM JO JP KE KG KH KI KM KN KP KR KW KY KZ LA LB LC LI LK "
    "LR LS LT LU LV LY MA MC MD MG MH MK ML MM MN MO MP MQ MR MS MT MU MV MW MX MY MZ NA NC NE NF NG NI NL NO NP NR "
    "NU NZ OM PA PE PF PG PH PK PL PM PN PR PS PT PW PY QA RE RO RU RW SA SB SC SD SE SG SH SI SJ SK SL SM SN SO SR "
    "ST SV SY SZ TC TD TF TG TH TJ TK TM TN TO TP TR TT TV TW TZ UA UG UK UM US UY UZ VA VC VE VG VI VN VU WF WS YE "
    "YT YU ZA ZM ZW";

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

bool IsDottedAddress(const std::vector<std::string>& parts)
{
    if (parts.size() != 4)
        return false;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& p = parts[i];
        if (p.empty() || p.size() > 3 || !std::all_of(p.begin(), p.end(), [](unsigned char c) { return std::isdigit(c); }))
            return false;
        if (std::stoi(p) > (i == 0 ? 239 : 255))
            return false;
    }
    return true;
}

bool AllNumeric(const std::vector<std::string>& parts)
{
    return std::all_of(parts.begin(), parts.end(), [](const std::string& p) {
        return !p.empty() && std::all_of(p.begin(), p.end(), [](unsigned char c) { return std::isdigit(c); });
    });
}

}  // namespace

bool HostChecks::IsValidHostName(const std::string& host)
{
    std::string upper = host;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    if (upper.empty())
        return false;
    const std::vector<std::string> labels = Split(upper, '.');
    if (labels.size() == 4 && AllNumeric(labels))
        return IsDottedAddress(labels);
    // The search is a text search on purpose: a label that is part of an
    // entry passes too, as it always has.
    return labels.size() >= 2 && !labels.back().empty() &&
           std::string_view(kTopLevelDomains).find(labels.back()) != std::string_view::npos;
}

bool HostChecks::IsValidEmailAddress(const std::string& AddressString)
{
    const size_t at = AddressString.find('@');
    if (at == std::string::npos)
        return IsValidHostName(AddressString);
    return AddressString.find('@', at + 1) == std::string::npos && IsValidHostName(AddressString.substr(at + 1));
}

std::string HostChecks::GetIPAddress(const std::string& sHostName)
{
    const std::string host = sHostName.empty() ? GetIPHost() : sHostName;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (host.empty() || getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return std::string();
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr, text, sizeof text);
    freeaddrinfo(found);
    return text;
}

std::string HostChecks::GetIPHost()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return std::string();
    return name;
}

std::string HostChecks::ReverseLookup(const std::string& address)
{
    sockaddr_in in{};
    in.sin_family = AF_INET;
    if (inet_pton(AF_INET, address.c_str(), &in.sin_addr) != 1)
        return std::string();
    char host[NI_MAXHOST] = {};
    if (getnameinfo(reinterpret_cast<sockaddr*>(&in), sizeof in, host, sizeof host, nullptr, 0, NI_NAMEREQD) != 0)
        return std::string();
    return host;
}

}  // namespace quorvantell
