#pragma once

#include <cstdint>

namespace kestrova {

// The kernel's description of a link turned into the meter's row fields, the same whichever
// way the interface table is read (sysfs files or a netlink dump).

// The row type of a link of kernel link type `linkType` (ARPHRD_*) with interface `flags`
// (IFF_*): point-to-point links (PPP, and TUN links such as raw-IP mobile-broadband modems)
// are dial-up rows; the loopback never is.
int InterfaceTypeOf(std::int64_t linkType, std::uint64_t flags);

// The nominal speed in bits per second from the sysfs `speed` file at `path` (relative to the
// open folder `dirFd`, or absolute): 0 when the file is unreadable or the speed unknown.
std::uint64_t ReadLinkSpeed(int dirFd, const char* path);

}  // namespace kestrova
