// Name servers from resolv.conf and the MX query over UDP (RFC 1035). Replies
// are read as untrusted input: every length is checked against the reply,
// compression pointers are followed a bounded number of times, and only a
// reply to our own question is taken.
#include "classlib/mail/modMXQuery.h"

#include "classlib/mail/HostChecks.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>

namespace quorvantell {

namespace {

constexpr uint16_t kQueryId = 4575;
constexpr uint16_t kTypeMX = 15;
constexpr uint16_t kClassIN = 1;
constexpr size_t kHeaderSize = 12;
constexpr size_t kMaxReply = 2048;
constexpr int kMaxJumps = 32;
constexpr const char* kNoServers = "No DNS entries found, MX Query cannot contine.";
constexpr const char* kSendFailed = "Problem sending MX query";
constexpr const char* kReceiveFailed = "Problem receiving MX query";

struct ResolverConfig {
    std::string path = "/etc/resolv.conf";
    uint16_t port = 53;
};

ResolverConfig& Config()
{
    static ResolverConfig config;
    return config;
}

struct ThreadState {
    bool searched = false;
    std::vector<std::string> servers;
    std::string domain;
    std::vector<MXRecord> exchangers;
    std::string best;
    std::string queried;
};

ThreadState& State()
{
    thread_local ThreadState state;
    return state;
}

// A malformed reply: the query ends as a failed receive.
struct BadReply {};

class ReplyReader {
public:
    explicit ReplyReader(const std::string& reply) : m_reply(reply) {}

    uint16_t Word(size_t& pos) const
    {
        if (pos + 2 > m_reply.size())
            throw BadReply();
        const uint16_t value = static_cast<uint16_t>(Byte(pos) << 8 | Byte(pos + 1));
        pos += 2;
        return value;
    }

    // A name at pos, with compression pointers; pos moves past its own bytes.
    std::string Name(size_t& pos) const
    {
        std::string name;
        size_t at = pos;
        bool jumped = false;
        for (int jumps = 0;;) {
            if (at >= m_reply.size())
                throw BadReply();
            const uint8_t length = Byte(at);
            if ((length & 0xC0) == 0xC0) {
                if (at + 1 >= m_reply.size() || ++jumps > kMaxJumps)
                    throw BadReply();
                if (!jumped)
                    pos = at + 2;
                jumped = true;
                at = static_cast<size_t>(length & 0x3F) << 8 | Byte(at + 1);
                continue;
            }
            if ((length & 0xC0) != 0 || at + 1 + length > m_reply.size())
                throw BadReply();
            if (length == 0) {
                if (!jumped)
                    pos = at + 1;
                return name;
            }
            if (!name.empty())
                name += '.';
            name.append(m_reply, at + 1, length);
            if (name.size() > 255)
                throw BadReply();
            at += 1 + length;
        }
    }

    uint8_t Byte(size_t pos) const { return static_cast<uint8_t>(m_reply[pos]); }

private:
    const std::string& m_reply;
};

std::string Query(const std::string& domain)
{
    std::string q = {static_cast<char>(kQueryId >> 8), static_cast<char>(kQueryId & 0xFF), 1, 0, 0, 1, 0, 0, 0, 0, 0, 0};
    std::istringstream labels(domain);
    for (std::string label; std::getline(labels, label, '.');) {
        if (label.empty() || label.size() > 63)
            continue;
        q += static_cast<char>(label.size());
        q += label;
    }
    return q + std::string{0, 0, static_cast<char>(kTypeMX), 0, static_cast<char>(kClassIN)};
}

bool SameName(std::string a, std::string b)
{
    const auto lower = [](std::string& s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
        while (!s.empty() && s.back() == '.')
            s.pop_back();
    };
    lower(a);
    lower(b);
    return a == b;
}

// True when the reply answers our question; pos is then past the question.
bool AnswersQuery(const ReplyReader& reader, const std::string& reply, const std::string& domain, size_t& pos)
{
    try {
        pos = 0;
        if (reply.size() < kHeaderSize || reader.Word(pos) != kQueryId || (reader.Byte(2) & 0x80) == 0)
            return false;
        pos = 4;
        if (reader.Word(pos) != 1)
            return false;
        pos = kHeaderSize;
        const std::string name = reader.Name(pos);
        return SameName(name, domain) && reader.Word(pos) == kTypeMX && reader.Word(pos) == kClassIN;
    } catch (const BadReply&) {
        return false;
    }
}

// Sends the question and waits for the reply to it; replies to anything
// else are passed over.
std::string Exchange(const std::string& server, const std::string& domain, int timeoutMs, size_t& answerPos)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(Config().port);
    if (inet_pton(AF_INET, server.c_str(), &address.sin_addr) != 1)
        throw std::runtime_error(kSendFailed);
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const std::string query = Query(domain);
    if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        send(fd, query.data(), query.size(), 0) != static_cast<ssize_t>(query.size())) {
        if (fd >= 0)
            close(fd);
        throw std::runtime_error(kSendFailed);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string reply(kMaxReply, '\0');
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) != 1)
            break;
        const ssize_t got = recv(fd, reply.data(), kMaxReply, 0);
        if (got < 0)
            break;
        const std::string received = reply.substr(0, static_cast<size_t>(got));
        if (AnswersQuery(ReplyReader(received), received, domain, answerPos)) {
            close(fd);
            return received;
        }
    }
    close(fd);
    throw std::runtime_error(kReceiveFailed);
}

// The MX records of the answer section; other records are passed over.
std::vector<MXRecord> ReadAnswers(const std::string& reply, size_t pos)
{
    const ReplyReader reader(reply);
    size_t count_pos = 6;
    const uint16_t answers = reader.Word(count_pos);
    std::vector<MXRecord> found;
    for (uint16_t i = 0; i < answers; ++i) {
        reader.Name(pos);
        const uint16_t type = reader.Word(pos);
        reader.Word(pos);
        pos += 4;  // time to live
        const uint16_t length = reader.Word(pos);
        const size_t end = pos + length;
        if (end > reply.size())
            throw BadReply();
        if (type == kTypeMX && length >= 3) {
            size_t at = pos;
            MXRecord record;
            record.preference = reader.Word(at);
            record.name = reader.Name(at);
            if (at > end)
                throw BadReply();
            if (!record.name.empty())
                found.push_back(record);
        }
        pos = end;
    }
    return found;
}

void ReadResolvConf()
{
    ThreadState& state = State();
    std::ifstream file(Config().path);
    for (std::string line; std::getline(file, line);) {
        std::istringstream words(line);
        std::string keyword, value;
        words >> keyword >> value;
        in_addr ignored{};
        if (keyword == "nameserver" && inet_pton(AF_INET, value.c_str(), &ignored) == 1)
            state.servers.push_back(value);
        else if ((keyword == "domain" || keyword == "search") && state.domain.empty())
            state.domain = value;
    }
    if (state.domain.empty() && !state.servers.empty()) {
        const std::string host = HostChecks::ReverseLookup(state.servers.front());
        const size_t dot = host.find('.');
        if (dot != std::string::npos)
            state.domain = host.substr(dot + 1);
    }
}

void Search()
{
    ThreadState& state = State();
    if (!state.searched || state.servers.empty()) {
        state.servers.clear();
        state.domain.clear();
        ReadResolvConf();
        state.searched = true;
    }
}

}  // namespace

void modMXQuery::SetResolverConfig(const std::string& path, uint16_t port)
{
    Config() = ResolverConfig{path, port};
    State().searched = false;
}

const std::vector<std::string>& modMXQuery::NameServers()
{
    Search();
    return State().servers;
}

const std::string& modMXQuery::SystemDomain()
{
    Search();
    return State().domain;
}

std::string modMXQuery::MXQuery(const std::string& domain, int timeoutMs)
{
    ThreadState& state = State();
    state.exchangers.clear();
    state.best.clear();
    Search();
    if (state.servers.empty())
        throw std::runtime_error(kNoServers);
    state.queried = domain.empty() ? state.domain : domain;
    for (std::string asked = state.queried; asked.size() > 4;) {
        size_t pos = 0;
        const std::string reply = Exchange(state.servers.front(), asked, timeoutMs, pos);
        std::vector<MXRecord> records;
        try {
            if (ReplyReader(reply).Byte(6) == 0 && ReplyReader(reply).Byte(7) == 0) {
                const size_t dot = asked.find('.', 1);
                if (dot == std::string::npos)
                    break;
                asked.erase(0, dot + 1);
                continue;
            }
            records = ReadAnswers(reply, pos);
        } catch (const BadReply&) {
            throw std::runtime_error(kReceiveFailed);
        }
        state.queried = asked;
        std::stable_sort(records.begin(), records.end(),
                         [](const MXRecord& a, const MXRecord& b) { return a.preference < b.preference; });
        state.exchangers = records;
        if (!records.empty())
            state.best = records.front().name;
        break;
    }
    return state.best;
}

const std::vector<MXRecord>& modMXQuery::Exchangers()
{
    return State().exchangers;
}

const std::string& modMXQuery::BestExchanger()
{
    return State().best;
}

const std::string& modMXQuery::QueriedDomain()
{
    return State().queried;
}

}  // namespace quorvantell
