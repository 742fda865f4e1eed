// The far end of a link for the end-to-end tests. By default a dial-up link: a point-to-point
// link of type PPP with a default route through it. With --vpn a VPN tunnel instead: a plain
// TUN device (default link type, point-to-point) with only its peer's route, carrying traffic
// of a different size and pace. Either way it answers pings sent over the link and sends pings
// of its own into it, then goes quiet, writes what the kernel counted on the link, and ends,
// taking the link and its routes away.
//
// Usage: e2e_peer [--vpn] <seconds of traffic> <counters file>
// Run it inside a network namespace of the test's own: it touches nothing else.

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "fake_link.h"

namespace {

struct Traffic {
    e2e::LinkSettings link;
    std::size_t payload;
    std::chrono::milliseconds every;
};

const Traffic kModem{
    {"ppp-e2e", "10.77.0.1", "10.77.0.2", true, true}, 1000, std::chrono::milliseconds(100)};
const Traffic kVpn{
    {"tun-vpn", "10.78.0.1", "10.78.0.2", false, false}, 1400, std::chrono::milliseconds(40)};

}  // namespace

int main(int argc, char** argv) {
    const bool vpn = argc == 4 && std::strcmp(argv[1], "--vpn") == 0;
    if (argc != 3 && !vpn) {
        std::fprintf(stderr, "usage: %s [--vpn] <seconds> <counters file>\n", argv[0]);
        return 2;
    }
    const Traffic& traffic = vpn ? kVpn : kModem;
    const int seconds = std::atoi(argv[argc - 2]);
    e2e::FakeLink link(traffic.link);

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto quietAt = start + std::chrono::seconds(seconds);
    const auto endAt = quietAt + std::chrono::seconds(3);  // the meter sees the final counters
    auto nextPing = start;
    while (Clock::now() < endAt) {
        const auto now = Clock::now();
        if (now < quietAt && now >= nextPing) {
            link.SendPing(traffic.payload);
            nextPing = now + traffic.every;
        }
        pollfd wait{link.Fd(), POLLIN, 0};
        poll(&wait, 1, 10);
        link.Serve(now < quietAt);
    }
    const e2e::LinkCounters counters = link.Counters();
    std::ofstream(argv[argc - 1]) << counters.rx << " " << counters.tx << "\n";
    return 0;  // the link and its routes go with the process
}
