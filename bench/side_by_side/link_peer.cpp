// The far end of a dial-up link for the side-by-side run: it brings up a point-to-point link of
// type PPP with a default route through it and keeps it up until SIGTERM, when it ends and the
// link and its routes go with it, as a dialler's do. Between SIGUSR1 and SIGUSR2 it carries
// traffic: ten pings a second sent into the link from this namespace and answered by this
// process from the far end.
//
// Usage: link_peer <link name>
// Run it inside a network namespace of the caller's own: it touches nothing else.

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/if.h>
#include <linux/if_tun.h>
#include <net/route.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr const char* kLocal = "10.78.0.1";
constexpr const char* kPeer = "10.78.0.2";

volatile std::sig_atomic_t traffic = 0;
volatile std::sig_atomic_t ending = 0;

[[noreturn]] void Die(const char* what) {
    std::perror(what);
    std::exit(2);
}

std::uint16_t Checksum(const void* data, std::size_t length) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < length; i += 2)
        sum += static_cast<std::uint32_t>((bytes[i] << 8) | bytes[i + 1]);
    if (length % 2) sum += static_cast<std::uint32_t>(bytes[length - 1] << 8);
    while (sum >> 16) sum = (sum & 0xffff) + (sum >> 16);
    return htons(static_cast<std::uint16_t>(~sum));
}

void SetAddress(int sock, const char* name, unsigned long request, const char* address) {
    ifreq ifr{};
    std::strncpy(ifr.ifr_name, name, IFNAMSIZ - 1);
    auto* in = reinterpret_cast<sockaddr_in*>(&ifr.ifr_addr);
    in->sin_family = AF_INET;
    inet_pton(AF_INET, address, &in->sin_addr);
    if (ioctl(sock, request, &ifr) != 0) Die("address");
}

int OpenLink(const char* name) {
    const int tun = open("/dev/net/tun", O_RDWR | O_CLOEXEC);
    if (tun < 0) Die("/dev/net/tun");
    ifreq ifr{};
    ifr.ifr_flags = IFF_TUN | IFF_NO_PI;
    std::strncpy(ifr.ifr_name, name, IFNAMSIZ - 1);
    if (ioctl(tun, TUNSETIFF, &ifr) != 0) Die("TUNSETIFF");
    if (ioctl(tun, TUNSETLINK, 512) != 0) Die("TUNSETLINK");  // ARPHRD_PPP, before it is up
    const int sock = socket(AF_INET, SOCK_DGRAM, 0);
    SetAddress(sock, name, SIOCSIFADDR, kLocal);
    SetAddress(sock, name, SIOCSIFDSTADDR, kPeer);
    if (ioctl(sock, SIOCGIFFLAGS, &ifr) != 0) Die("SIOCGIFFLAGS");
    ifr.ifr_flags |= IFF_UP | IFF_RUNNING;
    if (ioctl(sock, SIOCSIFFLAGS, &ifr) != 0) Die("SIOCSIFFLAGS");
    rtentry route{};
    reinterpret_cast<sockaddr_in*>(&route.rt_dst)->sin_family = AF_INET;
    reinterpret_cast<sockaddr_in*>(&route.rt_genmask)->sin_family = AF_INET;
    route.rt_flags = RTF_UP;
    route.rt_dev = const_cast<char*>(name);
    if (ioctl(sock, SIOCADDRT, &route) != 0) Die("default route");
    close(sock);
    return tun;
}

// An echo request seen on the link gets its reply written back into it.
void AnswerPing(int tun, std::vector<std::uint8_t>& packet, ssize_t length) {
    auto* ip = reinterpret_cast<iphdr*>(packet.data());
    const std::size_t header = ip->ihl * 4u;
    if (length < static_cast<ssize_t>(header + sizeof(icmphdr)) || ip->protocol != IPPROTO_ICMP)
        return;
    auto* icmp = reinterpret_cast<icmphdr*>(packet.data() + header);
    if (icmp->type != ICMP_ECHO) return;
    std::swap(ip->saddr, ip->daddr);
    ip->check = 0;
    ip->check = Checksum(ip, header);
    icmp->type = ICMP_ECHOREPLY;
    icmp->checksum = 0;
    icmp->checksum = Checksum(icmp, static_cast<std::size_t>(length) - header);
    if (write(tun, packet.data(), static_cast<std::size_t>(length)) != length) Die("reply");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <link name>\n", argv[0]);
        return 2;
    }
    std::signal(SIGUSR1, [](int) { traffic = 1; });
    std::signal(SIGUSR2, [](int) { traffic = 0; });
    std::signal(SIGTERM, [](int) { ending = 1; });
    const int tun = OpenLink(argv[1]);
    const int pinger = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    if (pinger < 0) Die("raw socket");
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    inet_pton(AF_INET, kPeer, &peer.sin_addr);
    std::puts("up");
    std::fflush(stdout);

    using Clock = std::chrono::steady_clock;
    auto nextPing = Clock::now();
    std::uint16_t sequence = 0;
    std::vector<std::uint8_t> packet(65536);
    while (!ending) {
        const auto now = Clock::now();
        if (traffic && now >= nextPing) {
            std::vector<std::uint8_t> echo(sizeof(icmphdr) + 1000, 0x5a);
            auto* icmp = reinterpret_cast<icmphdr*>(echo.data());
            icmp->type = ICMP_ECHO;
            icmp->code = 0;
            icmp->un.echo.id = htons(0x4b57);
            icmp->un.echo.sequence = htons(++sequence);
            icmp->checksum = 0;
            icmp->checksum = Checksum(echo.data(), echo.size());
            sendto(pinger, echo.data(), echo.size(), 0, reinterpret_cast<sockaddr*>(&peer),
                   sizeof peer);
            nextPing = now + std::chrono::milliseconds(100);
        }
        pollfd wait{tun, POLLIN, 0};
        if (poll(&wait, 1, 20) > 0) {
            const ssize_t length = read(tun, packet.data(), packet.size());
            if (length > 0 && traffic) AnswerPing(tun, packet, length);
        }
    }
    return 0;  // the link and its routes go with the process
}
