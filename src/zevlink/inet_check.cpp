#include "zevlink/inet_check.h"

#include <unistd.h>

#include "zevlink/route_check.h"

// /proc/net shows the namespace of the process's main thread; /proc/thread-self/net that of
// the calling thread, which is the one the caller's sockets live in. Kernels before 3.17 lack
// thread-self.
extern "C" bool InetCheck(void) {
    static constexpr kestrova::zevlink::RouteSources kThreadTables{
        "/proc/thread-self/net/route", "/proc/thread-self/net/ipv6_route", nullptr};
    static constexpr kestrova::zevlink::RouteSources kProcessTables{
        "/proc/net/route", "/proc/net/ipv6_route", nullptr};
    const bool threadSelf = ::access("/proc/thread-self/net", F_OK) == 0;
    return kestrova::zevlink::HasDefaultRoute(threadSelf ? kThreadTables : kProcessTables);
}
