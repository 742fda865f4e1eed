#pragma once

namespace kestrova::zevlink {

// Where the routing tables and the interface flags are read from. The library asks the
// kernel's own files; the tests point at fake copies.
struct RouteSources {
    const char* ipv4Routes;  // the format of /proc/net/route
    const char* ipv6Routes;  // the format of /proc/net/ipv6_route
    // A folder with one sub-folder per interface holding its `flags` file (hex), as in
    // /sys/class/net; nullptr to ask the kernel for the flags of the calling thread's namespace.
    const char* interfaceFolder;
};

// Whether a table holds a usable default route: IPv4 0.0.0.0/0 or IPv6 ::/0, up and not a
// reject route, through an interface that is up and not the loopback. An unreadable table
// counts as having none. No allocation.
bool HasDefaultRoute(const RouteSources& sources) noexcept;

}  // namespace kestrova::zevlink
