// The MX query against dnsmasq and against a hostile responder that sends
// truncated, looping and mismatched replies; host-name and address syntax;
// look-ups and the ICMP echo on loopback.
#include "classlib/mail/HostChecks.h"
#include "classlib/mail/modMXQuery.h"
#include "classlib/mail/qvSendMail.h"
#include "tests/classlib/mail/MailPeers.h"
#include "tests/support/RunAs.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <thread>

using namespace quorvantell;
using namespace velloran::test;

namespace {

std::string Name(const std::string& dotted)
{
    std::string out;
    size_t start = 0;
    for (size_t dot; (dot = dotted.find('.', start)) != std::string::npos; start = dot + 1)
        out += static_cast<char>(dot - start) + dotted.substr(start, dot - start);
    return out + static_cast<char>(dotted.size() - start) + dotted.substr(start) + '\0';
}

std::string Word(int value)
{
    return {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
}

// An MX answer owned by the question's name (pointer 0xC00C).
std::string Mx(int preference, const std::string& exchanger)
{
    return "\xC0\x0C" + Word(15) + Word(1) + std::string(4, '\0') + Word(static_cast<int>(exchanger.size() + 2)) +
           Word(preference) + exchanger;
}

// A UDP responder on 127.0.0.1 that answers every query with what the
// function makes of it.
class Responder {
public:
    explicit Responder(std::function<std::string(const std::string&)> reply) : m_reply(std::move(reply))
    {
        m_fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~Responder()
    {
        m_stop = true;
        m_thread.join();
        close(m_fd);
    }
    int Port() const { return m_port; }

private:
    void Serve()
    {
        char buffer[512];
        while (!m_stop) {
            pollfd p{m_fd, POLLIN, 0};
            if (poll(&p, 1, 50) != 1)
                continue;
            sockaddr_in from{};
            socklen_t length = sizeof from;
            const ssize_t got = recvfrom(m_fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
            const std::string reply = m_reply(std::string(buffer, static_cast<size_t>(got)));
            sendto(m_fd, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from), length);
        }
    }

    std::function<std::string(const std::string&)> m_reply;
    int m_fd = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// The query echoed as a reply header and question with these answers.
std::string Answer(const std::string& query, int count, const std::string& answers)
{
    return query.substr(0, 2) + "\x81\x80" + Word(1) + Word(count) + std::string(4, '\0') + query.substr(12) + answers;
}

class MXQueryTest : public testing::Test {
protected:
    void TearDown() override { modMXQuery::SetResolverConfig("/etc/resolv.conf"); }

    std::string Query(qvSendMail& mail, const std::string& domain)
    {
        statuses.clear();
        const QMetaObject::Connection watch =
            QObject::connect(&mail, &qvSendMail::Status, [this](const std::string& s) { statuses.push_back(s); });
        const std::string best = mail.MXQuery(domain);
        QObject::disconnect(watch);
        return best;
    }

    TempDir dir{"mx"};
    std::vector<std::string> statuses;
};

}  // namespace

TEST_F(MXQueryTest, ExchangersFromARealNameServer)
{
    const std::string missing = MissingMailPeers(true);
    if (!missing.empty())
        GTEST_SKIP() << missing;
    DnsPeer dns({"velloran.test,mx-b.velloran.test,20", "velloran.test,mx-a.velloran.test,10"});
    modMXQuery::SetResolverConfig(dns.ResolvConf(), static_cast<uint16_t>(dns.Port()));
    EXPECT_EQ(modMXQuery::SystemDomain(), "velloran.test");

    qvSendMail mail;
    EXPECT_EQ(Query(mail, "velloran.test"), "mx-a.velloran.test");
    EXPECT_EQ(statuses, std::vector<std::string>{"Performing MX Query, Domain: velloran.test"});
    ASSERT_EQ(modMXQuery::Exchangers().size(), 2u);
    EXPECT_EQ(modMXQuery::Exchangers()[1].name, "mx-b.velloran.test");
    EXPECT_EQ(modMXQuery::Exchangers()[1].preference, 20);

    EXPECT_EQ(Query(mail, "deep.sub.velloran.test"), "mx-a.velloran.test");
    EXPECT_EQ(modMXQuery::QueriedDomain(), "velloran.test");
    EXPECT_EQ(Query(mail, ""), "mx-a.velloran.test");
    EXPECT_EQ(statuses, std::vector<std::string>{"Performing MX Query"});
    EXPECT_EQ(Query(mail, "a.io"), "");
    EXPECT_EQ(Query(mail, "nothing.test"), "");
}

TEST_F(MXQueryTest, RepliesAreReadByTheirRules)
{
    struct Row {
        const char* what;
        std::function<std::string(const std::string&)> reply;
        std::string best;
        std::string status;  // after "Performing MX Query, Domain: ..."
    } rows[] = {
        {"equal preferences keep the first",
         [](const std::string& q) { return Answer(q, 2, Mx(10, Name("first.x.com")) + Mx(10, Name("second.x.com"))); },
         "first.x.com", ""},
        {"other records are passed over",
         [](const std::string& q) {
             return Answer(q, 2, std::string("\xC0\x0C") + Word(5) + Word(1) + std::string(4, '\0') + Word(2) + "\xC0\x0C" +
                                     Mx(5, Name("mx.x.com")));
         },
         "mx.x.com", ""},
        {"a pointer above 255",
         [](const std::string& q) {
             std::string reply = Answer(q, 1, Mx(1, "\x02mx\xC1" + std::string(1, '\0')));
             reply.resize(0x100, '\0');
             return reply + Name("far.x.com");
         },
         "mx.far.x.com", ""},
        {"a truncated header", [](const std::string& q) { return q.substr(0, 2) + "\x81\x80"; }, "",
         "Problem receiving MX query"},
        {"an answer cut short", [](const std::string& q) { return Answer(q, 1, Mx(10, Name("cut.x.com")).substr(0, 14)); },
         "", "Problem receiving MX query"},
        {"a pointer loop",
         [](const std::string& q) {
             const std::string head = Answer(q, 1, "");
             const int self = static_cast<int>(head.size()) + 14;
             return head + Mx(10, std::string{static_cast<char>(0xC0 | (self >> 8)), static_cast<char>(self & 0xFF)});
         },
         "", "Problem receiving MX query"},
        {"a pointer past the end", [](const std::string& q) { return Answer(q, 1, Mx(10, "\xC3\xFF")); }, "",
         "Problem receiving MX query"},
        {"a length past the end", [](const std::string& q) { return Answer(q, 1, Mx(10, "\x3F" "abc")); }, "",
         "Problem receiving MX query"},
        {"another identifier",
         [](const std::string& q) { return "\x12\x34" + Answer(q, 1, Mx(10, Name("spoof.x.com"))).substr(2); }, "",
         "Problem receiving MX query"},
        {"another question",
         [](const std::string& q) { return Answer(q.substr(0, 12) + Name("other.x.com") + q.substr(q.size() - 4), 1,
                                                  Mx(10, Name("spoof.x.com"))); },
         "", "Problem receiving MX query"},
    };
    WriteFile(dir / "resolv.conf", "nameserver 127.0.0.1\n");
    for (const Row& row : rows) {
        Responder responder(row.reply);
        modMXQuery::SetResolverConfig(dir / "resolv.conf", static_cast<uint16_t>(responder.Port()));
        qvSendMail mail;
        mail.MessageTimeout = 1;
        EXPECT_EQ(Query(mail, "velloran.com"), row.best) << row.what;
        if (!row.status.empty()) {
            EXPECT_EQ(statuses.back(), row.status) << row.what;
        }
    }
}

TEST_F(MXQueryTest, NoNameServers)
{
    WriteFile(dir / "resolv.conf", "# none\n");
    modMXQuery::SetResolverConfig(dir / "resolv.conf");
    qvSendMail mail;
    EXPECT_EQ(Query(mail, "velloran.com"), "");
    EXPECT_EQ(statuses.back(), "No DNS entries found, MX Query cannot contine.");
}

TEST(HostChecks, SyntaxRules)
{
    struct Row {
        const char* text;
        bool host;
        bool email;
    } rows[] = {
        {"192.168.1.1", true, true},       {"240.0.0.1", false, false},   {"239.255.255.255", true, true},
        {"1.2.3.256", false, false},      {"mail.example.com", true, true}, {"mail.example.xyz", false, false},
        {"localhost", false, false},      {"", false, false},            {"EXAMPLE.Co", true, true},
        {"a.b.o", true, true},
        // Labels are not checked for their characters.
        {"user@mail.example.com", true, true}, {"a@b@example.com", true, false}, {"@example.org", true, true},
        {"user@localhost", false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(HostChecks::IsValidHostName(row.text), row.host) << row.text;
        EXPECT_EQ(HostChecks::IsValidEmailAddress(row.text), row.email) << row.text;
    }
}

TEST(HostChecks, LookUpsOnLoopback)
{
    EXPECT_EQ(HostChecks::GetIPAddress("127.0.0.1"), "127.0.0.1");
    EXPECT_EQ(HostChecks::GetIPAddress("localhost"), "127.0.0.1");
    EXPECT_EQ(HostChecks::GetIPAddress("no-such-host.invalid"), "");
    EXPECT_FALSE(HostChecks::GetIPHost().empty());
    EXPECT_FALSE(HostChecks::GetIPAddress("").empty());
    EXPECT_FALSE(HostChecks::ReverseLookup("127.0.0.1").empty());
    EXPECT_EQ(HostChecks::ReverseLookup("not an address"), "");
}

TEST(HostChecks, PingOnLoopback)
{
    qvSendMail mail;
    std::string address = "localhost", time, size;
    bool match = false;
    const bool answered = mail.Ping(address, &time, &size, &match);
    const int probe = socket(AF_INET, SOCK_DGRAM, IPPROTO_ICMP);
    const int raw = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    const bool allowed = probe >= 0 || raw >= 0;
    for (const int fd : {probe, raw})
        if (fd >= 0)
            close(fd);
    EXPECT_EQ(answered, allowed);
    if (answered) {
        EXPECT_EQ(address, "127.0.0.1");
        EXPECT_EQ(size, "32 bytes");
        EXPECT_TRUE(match);
        EXPECT_FALSE(time.empty());
    }
    // Without either socket the ping fails quietly.
    if (IsRoot()) {
        EXPECT_TRUE(RunAsNobody([] {
            std::string a = "127.0.0.1";
            const int fd = socket(AF_INET, SOCK_DGRAM, IPPROTO_ICMP);
            if (fd >= 0) {
                close(fd);
                return true;
            }
            return !qvSendMail().Ping(a);
        }));
    }
}
