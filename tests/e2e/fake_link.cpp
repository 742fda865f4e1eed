#include "fake_link.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/if.h>
#include <linux/if_tun.h>
#include <net/route.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <utility>
#include <vector>

namespace e2e {

void Die(const char* what) {
    std::perror(what);
    std::exit(2);
}

namespace {

std::uint16_t Checksum(const void* data, std::size_t length) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < length; i += 2) sum += (bytes[i] << 8) | bytes[i + 1];
    if (length % 2) sum += bytes[length - 1] << 8;
    while (sum >> 16) sum = (sum & 0xffff) + (sum >> 16);
    return htons(static_cast<std::uint16_t>(~sum));
}

sockaddr_in Address(const std::string& text) {
    sockaddr_in in{};
    in.sin_family = AF_INET;
    if (inet_pton(AF_INET, text.c_str(), &in.sin_addr) != 1) Die(text.c_str());
    return in;
}

void SetAddress(int sock, const std::string& name, unsigned long request,
                const std::string& address) {
    ifreq ifr{};
    std::strncpy(ifr.ifr_name, name.c_str(), IFNAMSIZ - 1);
    const sockaddr_in in = Address(address);
    std::memcpy(&ifr.ifr_addr, &in, sizeof in);
    if (ioctl(sock, request, &ifr) != 0) Die("address");
}

// An echo request read from the link gets its reply written back into it.
void AnswerPing(int tun, std::vector<std::uint8_t>& packet, std::size_t length) {
    auto* ip = reinterpret_cast<iphdr*>(packet.data());
    const std::size_t header = ip->ihl * 4u;
    if (length < header + sizeof(icmphdr) || ip->protocol != IPPROTO_ICMP) return;
    auto* icmp = reinterpret_cast<icmphdr*>(packet.data() + header);
    if (icmp->type != ICMP_ECHO) return;
    std::swap(ip->saddr, ip->daddr);
    ip->check = 0;
    ip->check = Checksum(ip, header);
    icmp->type = ICMP_ECHOREPLY;
    icmp->checksum = 0;
    icmp->checksum = Checksum(icmp, length - header);
    if (write(tun, packet.data(), length) != static_cast<ssize_t>(length)) Die("reply");
}

std::uint64_t ReadCounter(const std::string& name, const char* which) {
    std::ifstream in("/sys/class/net/" + name + "/statistics/" + which);
    std::uint64_t value = 0;
    in >> value;
    return value;
}

}  // namespace

FakeLink::FakeLink(LinkSettings settings) : settings_(std::move(settings)) {
    tun_ = open("/dev/net/tun", O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (tun_ < 0) Die("/dev/net/tun");
    ifreq ifr{};
    ifr.ifr_flags = IFF_TUN | IFF_NO_PI;
    std::strncpy(ifr.ifr_name, settings_.name.c_str(), IFNAMSIZ - 1);
    if (ioctl(tun_, TUNSETIFF, &ifr) != 0) Die("TUNSETIFF");
    if (settings_.ppp && ioctl(tun_, TUNSETLINK, 512) != 0) Die("TUNSETLINK");  // before it is up
    const int sock = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    SetAddress(sock, settings_.name, SIOCSIFADDR, settings_.local);
    SetAddress(sock, settings_.name, SIOCSIFDSTADDR, settings_.peer);
    if (ioctl(sock, SIOCGIFFLAGS, &ifr) != 0) Die("SIOCGIFFLAGS");
    ifr.ifr_flags |= IFF_UP | IFF_RUNNING;
    if (ioctl(sock, SIOCSIFFLAGS, &ifr) != 0) Die("SIOCSIFFLAGS");
    if (settings_.defaultRoute) {
        rtentry route{};
        reinterpret_cast<sockaddr_in*>(&route.rt_dst)->sin_family = AF_INET;
        reinterpret_cast<sockaddr_in*>(&route.rt_genmask)->sin_family = AF_INET;
        route.rt_flags = RTF_UP;
        route.rt_dev = settings_.name.data();
        if (ioctl(sock, SIOCADDRT, &route) != 0) Die("default route");
    }
    close(sock);
    pinger_ = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (pinger_ < 0) Die("raw socket");
    // The replies would also queue on this socket, which nobody reads: take in no ICMP at all
    // (ICMP_FILTER of <linux/icmp.h>, whose other names clash with the C library's).
    constexpr int kIcmpFilter = 1;
    const std::uint32_t everyType = ~0u;
    if (setsockopt(pinger_, SOL_RAW, kIcmpFilter, &everyType, sizeof everyType) != 0)
        Die("ICMP_FILTER");
}

FakeLink::~FakeLink() {
    close(pinger_);
    close(tun_);
}

void FakeLink::SendPing(std::size_t payload) {
    std::vector<std::uint8_t> echo(sizeof(icmphdr) + payload, 0x5a);
    auto* icmp = reinterpret_cast<icmphdr*>(echo.data());
    icmp->type = ICMP_ECHO;
    icmp->code = 0;
    icmp->un.echo.id = htons(0x4b56);
    icmp->un.echo.sequence = htons(++sequence_);
    icmp->checksum = 0;
    icmp->checksum = Checksum(echo.data(), echo.size());
    const sockaddr_in peer = Address(settings_.peer);
    if (sendto(pinger_, echo.data(), echo.size(), 0, reinterpret_cast<const sockaddr*>(&peer),
               sizeof peer) < 0)
        Die("ping");
}

void FakeLink::Serve(bool answer) {
    std::vector<std::uint8_t> packet(65536);
    for (;;) {
        const ssize_t length = read(tun_, packet.data(), packet.size());
        if (length < 0) {
            if (errno == EAGAIN || errno == EINTR) return;
            Die("read link");
        }
        if (answer && length > 0) AnswerPing(tun_, packet, static_cast<std::size_t>(length));
    }
}

LinkCounters FakeLink::Counters() const {
    return {ReadCounter(settings_.name, "rx_bytes"), ReadCounter(settings_.name, "tx_bytes")};
}

}  // namespace e2e
