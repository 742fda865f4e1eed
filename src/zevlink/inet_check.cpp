#include "zevlink/inet_check.h"

#include <unistd.h>

#include <atomic>

#include "zevlink/route_check.h"

// /proc/net shows the namespace of the process's main thread; /proc/thread-self/net that of
// the calling thread, which is the one the caller's sockets live in. Kernels before 3.17 lack
// thread-self; whether the kernel has it is asked once.
extern "C" bool InetCheck(void) {
    static constexpr kestrova::zevlink::RouteSources kThreadTables{
        "/proc/thread-self/net/route", "/proc/thread-self/net/ipv6_route", nullptr};
    static constexpr kestrova::zevlink::RouteSources kProcessTables{
        "/proc/net/route", "/proc/net/ipv6_route", nullptr};
    // 0: not asked yet, 1: it has, 2: it has not. (An atomic, not a function-local static
    // object: that would bring the C++ run-time library's guards into the library.)
    static std::atomic<int> hasThreadSelf{0};
    int known = hasThreadSelf.load(std::memory_order_relaxed);
    if (known == 0) {
        known = ::access("/proc/thread-self/net", F_OK) == 0 ? 1 : 2;
        hasThreadSelf.store(known, std::memory_order_relaxed);
    }
    const bool threadSelf = known == 1;
    return kestrova::zevlink::HasDefaultRoute(threadSelf ? kThreadTables : kProcessTables);
}
