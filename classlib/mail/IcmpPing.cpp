// ICMP echo over a datagram socket (the kernel fills in the identifier and
// the checksum for those) or a raw socket (ours, and every ICMP packet of the
// host arrives, so replies are matched by identifier and sequence).
#include "classlib/mail/IcmpPing.h"

#include "classlib/mail/HostChecks.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <random>

namespace quorvantell {

namespace {

constexpr int kTimeoutMs = 255;
constexpr size_t kDataSize = 32;
constexpr size_t kReplyBuffer = 278 + sizeof(iphdr);

uint16_t Checksum(const uint8_t* data, size_t size)
{
    uint32_t sum = 0;
    for (size_t i = 0; i + 1 < size; i += 2)
        sum += static_cast<uint32_t>(data[i] << 8 | data[i + 1]);
    if (size % 2 != 0)
        sum += static_cast<uint32_t>(data[size - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return htons(static_cast<uint16_t>(~sum));
}

std::string RandomData()
{
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<int> letter('A', 'Z');
    std::string data;
    for (size_t i = 0; i < kDataSize; ++i)
        data += static_cast<char>(letter(random));
    return data;
}

struct EchoSocket {
    int fd = -1;
    bool raw = false;
    ~EchoSocket()
    {
        if (fd >= 0)
            close(fd);
    }
};

void Open(EchoSocket& s)
{
    s.fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (s.fd < 0) {
        s.fd = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
        s.raw = s.fd >= 0;
    }
}

std::string Request(uint16_t id, uint16_t sequence, const std::string& data)
{
    std::string packet(sizeof(icmphdr) + data.size(), '\0');
    icmphdr header{};
    header.type = ICMP_ECHO;
    header.un.echo.id = htons(id);
    header.un.echo.sequence = htons(sequence);
    std::memcpy(packet.data(), &header, sizeof header);
    std::memcpy(packet.data() + sizeof header, data.data(), data.size());
    const uint16_t sum = Checksum(reinterpret_cast<const uint8_t*>(packet.data()), packet.size());
    std::memcpy(packet.data() + offsetof(icmphdr, checksum), &sum, sizeof sum);
    return packet;
}

// The ICMP part of a received packet; a raw socket delivers the IP header too.
bool IcmpPart(const EchoSocket& s, const uint8_t* packet, size_t size, const uint8_t*& icmp, size_t& icmpSize)
{
    size_t skip = 0;
    if (s.raw) {
        if (size < sizeof(iphdr))
            return false;
        skip = static_cast<size_t>(packet[0] & 0x0F) * 4;
    }
    if (size < skip + sizeof(icmphdr))
        return false;
    icmp = packet + skip;
    icmpSize = size - skip;
    return true;
}

}  // namespace

bool IcmpPing::Ping(std::string& Address, std::string& RoundTripTime, std::string& DataSize, bool& DataMatch)
{
    const std::string ip = HostChecks::GetIPAddress(Address);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    if (ip.empty() || inet_pton(AF_INET, ip.c_str(), &target.sin_addr) != 1)
        return false;
    EchoSocket s;
    Open(s);
    if (s.fd < 0)
        return false;
    const std::string data = RandomData();
    const auto id = static_cast<uint16_t>(getpid());
    const uint16_t sequence = 1;
    const std::string request = Request(id, sequence, data);
    const auto start = std::chrono::steady_clock::now();
    if (sendto(s.fd, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&target), sizeof target) < 0)
        return false;
    const auto deadline = start + std::chrono::milliseconds(kTimeoutMs);
    uint8_t buffer[kReplyBuffer];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd p{s.fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) != 1)
            return false;
        sockaddr_in from{};
        socklen_t fromSize = sizeof from;
        const ssize_t got = recvfrom(s.fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromSize);
        const uint8_t* icmp = nullptr;
        size_t icmpSize = 0;
        if (got <= 0 || !IcmpPart(s, buffer, static_cast<size_t>(got), icmp, icmpSize))
            continue;
        icmphdr reply{};
        std::memcpy(&reply, icmp, sizeof reply);
        // The kernel owns the identifier of a datagram socket.
        if (reply.type != ICMP_ECHOREPLY || ntohs(reply.un.echo.sequence) != sequence ||
            (s.raw && ntohs(reply.un.echo.id) != id))
            continue;
        const auto elapsed = std::chrono::steady_clock::now() - start;
        const std::string echoed(reinterpret_cast<const char*>(icmp) + sizeof reply, icmpSize - sizeof reply);
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
        Address = text;
        RoundTripTime = std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
        DataSize = std::to_string(echoed.size()) + " bytes";
        DataMatch = echoed == data;
        return from.sin_addr.s_addr == target.sin_addr.s_addr;
    }
}

}  // namespace quorvantell
