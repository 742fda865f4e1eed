#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "meter/interface_table.h"

namespace kestrova {

// A struct copied out of a netlink byte buffer: copying rather than casting makes the
// buffer's alignment irrelevant. `data` must hold sizeof(T) bytes.
template <typename T>
T ReadUnaligned(const std::byte* data) {
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

// A link's kernel link type (ARPHRD_*) and interface flags (IFF_*), as a message gives them.
struct LinkKind {
    std::int64_t linkType = 0;
    std::uint64_t flags = 0;
};

// The body of an RTM_NEWLINK message (what follows its netlink header: ifinfomsg and the
// attributes) as a row without its speed, and the link's `kind`. The row is typed from the
// link type and flags alone; the caller types it again with the link's sysfs marks. The 64-bit
// counters of IFLA_STATS64 are taken, the 32-bit ones of IFLA_STATS only when those are
// missing. False when the body lacks an index, IFLA_IFNAME or the counters, or when an
// attribute runs past its end.
bool ParseLinkMessage(std::span<const std::byte> body, InterfaceRow& row, LinkKind& kind);

}  // namespace kestrova
