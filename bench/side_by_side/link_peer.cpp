// The far end of a dial-up link for the side-by-side run: it brings up a point-to-point link of
// type PPP with a default route through it and keeps it up until SIGTERM, when it ends and the
// link and its routes go with it, as a dialler's do. Between SIGUSR1 and SIGUSR2 it carries
// traffic: ten pings a second sent into the link from this namespace and answered by this
// process from the far end.
//
// Usage: link_peer <link name>
// Run it inside a network namespace of the caller's own: it touches nothing else.

#include <poll.h>

#include <chrono>
#include <csignal>
#include <cstdio>

#include "e2e/fake_link.h"

namespace {

volatile std::sig_atomic_t traffic = 0;
volatile std::sig_atomic_t ending = 0;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <link name>\n", argv[0]);
        return 2;
    }
    std::signal(SIGUSR1, [](int) { traffic = 1; });
    std::signal(SIGUSR2, [](int) { traffic = 0; });
    std::signal(SIGTERM, [](int) { ending = 1; });
    e2e::FakeLink link({.name = argv[1],
                        .local = "10.78.0.1",
                        .peer = "10.78.0.2",
                        .ppp = true,
                        .defaultRoute = true});
    std::puts("up");
    std::fflush(stdout);

    using Clock = std::chrono::steady_clock;
    auto nextPing = Clock::now();
    while (!ending) {
        const auto now = Clock::now();
        if (traffic && now >= nextPing) {
            link.SendPing(1000);
            nextPing = now + std::chrono::milliseconds(100);
        }
        pollfd wait{link.Fd(), POLLIN, 0};
        if (poll(&wait, 1, 20) > 0) link.Serve(traffic != 0);
    }
    return 0;  // the link and its routes go with the process
}
