// The least a metering tick can do, once a second like the program's tick: read one link's
// counters through netlink, ask Zevlink whether the machine is online, and overwrite a
// 100-byte file in place. The side-by-side run times FloorTick() from outside (uprobes), as it
// times the program's tick, and EmptyTick() to know what that timing itself costs.
//
// Usage: tick_floor <link name> <file>

#include <fcntl.h>
#include <linux/if.h>
#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "zevlink/inet_check.h"

namespace {

volatile std::sig_atomic_t ending = 0;

int netlinkSocket = -1;
std::uint32_t sequence = 0;
char linkName[IFNAMSIZ];
const char* filePath = nullptr;
std::uint64_t counted = 0;  // keeps the work from being optimised away

// One RTM_GETLINK for the link by name; the received and sent bytes of its 64-bit statistics.
std::uint64_t ReadCounters() {
    struct {
        nlmsghdr header;
        ifinfomsg info;
        char attributes[RTA_SPACE(IFNAMSIZ)];
    } request{};
    request.header.nlmsg_type = RTM_GETLINK;
    request.header.nlmsg_flags = NLM_F_REQUEST;
    request.header.nlmsg_seq = ++sequence;
    request.info.ifi_family = AF_UNSPEC;
    auto* name = reinterpret_cast<rtattr*>(request.attributes);
    name->rta_type = IFLA_IFNAME;
    name->rta_len = static_cast<unsigned short>(RTA_LENGTH(std::strlen(linkName) + 1));
    std::memcpy(RTA_DATA(name), linkName, std::strlen(linkName) + 1);
    request.header.nlmsg_len = NLMSG_LENGTH(sizeof(ifinfomsg)) + RTA_ALIGN(name->rta_len);
    if (send(netlinkSocket, &request, request.header.nlmsg_len, 0) < 0) return 0;
    alignas(nlmsghdr) char reply[8192];
    const ssize_t got = recv(netlinkSocket, reply, sizeof reply, 0);
    if (got <= 0) return 0;
    auto* header = reinterpret_cast<nlmsghdr*>(reply);
    if (!NLMSG_OK(header, static_cast<unsigned>(got)) || header->nlmsg_type != RTM_NEWLINK)
        return 0;
    auto* info = static_cast<ifinfomsg*>(NLMSG_DATA(header));
    int length = static_cast<int>(IFLA_PAYLOAD(header));
    for (auto* a = IFLA_RTA(info); RTA_OK(a, length); a = RTA_NEXT(a, length)) {
        if (a->rta_type != IFLA_STATS64) continue;
        rtnl_link_stats64 stats;
        std::memcpy(&stats, RTA_DATA(a), sizeof stats);
        return stats.rx_bytes + stats.tx_bytes;
    }
    return 0;
}

void OverwriteFile(std::uint64_t value) {
    char bytes[100];
    std::memset(bytes, ' ', sizeof bytes);
    std::snprintf(bytes, sizeof bytes, "[Count]\r\nSecond=%020llu\r\n",
                  static_cast<unsigned long long>(value));
    const int fd = open(filePath, O_WRONLY | O_CLOEXEC);
    if (fd < 0) return;
    if (pwrite(fd, bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes))
        std::perror("write");
    close(fd);
}

}  // namespace

extern "C" __attribute__((noinline, used)) void FloorTick() {
    const std::uint64_t bytes = ReadCounters();
    const bool online = InetCheck();
    counted += bytes + (online ? 1 : 0);
    OverwriteFile(counted);
}

extern "C" __attribute__((noinline, used)) void EmptyTick() {
    asm volatile("" ::: "memory");
}

int main(int argc, char** argv) {
    if (argc != 3 || std::strlen(argv[1]) >= IFNAMSIZ) {
        std::fprintf(stderr, "usage: %s <link name> <file>\n", argv[0]);
        return 2;
    }
    std::strcpy(linkName, argv[1]);
    filePath = argv[2];
    std::signal(SIGTERM, [](int) { ending = 1; });
    netlinkSocket = socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    if (netlinkSocket < 0 ||
        connect(netlinkSocket, reinterpret_cast<sockaddr*>(&kernel), sizeof kernel) != 0) {
        std::perror("netlink");
        return 2;
    }
    const int fd = open(filePath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    char blank[100] = {};
    if (fd < 0 || write(fd, blank, sizeof blank) != static_cast<ssize_t>(sizeof blank)) {
        std::perror(filePath);
        return 2;
    }
    close(fd);

    std::vector<double> timings;
    timings.reserve(4096);
    // Once a second on the second's grid, as a one-second timer fires.
    auto next = std::chrono::steady_clock::now();
    while (!ending) {
        next += std::chrono::seconds(1);
        std::this_thread::sleep_until(next);
        if (ending) break;
        const auto began = std::chrono::steady_clock::now();
        FloorTick();
        timings.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - began)
                .count());
        EmptyTick();
    }
    // What the floor's own clock says, to set beside the timing from outside.
    std::sort(timings.begin(), timings.end());
    if (!timings.empty())
        std::printf("%.1f %zu %llu\n", timings[timings.size() / 2], timings.size(),
                    static_cast<unsigned long long>(counted));
    return 0;
}
