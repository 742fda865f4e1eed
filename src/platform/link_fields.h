#pragma once

#include <cstdint>
#include <string>

namespace kestrova {

// The kernel's description of a link turned into the meter's row fields, the same whichever
// way the interface table is read (sysfs files or a netlink dump).

// What sysfs tells of a link beside its link type and flags.
struct LinkMarks {
    bool tunFlags = false;  // a TUN/TAP device (`tun_flags` exists)
    std::string devType;    // DEVTYPE of the device's `uevent`: "wwan", "wireguard", "wlan"...
};

// The row type of a link of kernel link type `linkType` (ARPHRD_*) with interface `flags`
// (IFF_*). Dial-up rows are the links that carry a dial-up or mobile-broadband connection:
// PPP and raw-IP links, mobile-broadband modems (DEVTYPE wwan), and other point-to-point
// links. VPN tunnels are not, for their traffic also crosses the real link below them: a
// TUN/TAP device at its default link type, a WireGuard device and the kernel's IP tunnels
// (GRE, IPIP, SIT); nor are Ethernet, Wi-Fi and the loopback. A TUN device switched to the PPP link
// type is a dial-up link.
int InterfaceTypeOf(std::int64_t linkType, std::uint64_t flags, const LinkMarks& marks);

// The marks of the link whose sysfs folder is open as `dirFd`.
LinkMarks ReadLinkMarks(int dirFd);

// The nominal speed in bits per second from the sysfs `speed` file at `path` (relative to the
// open folder `dirFd`, or absolute): 0 when the file is unreadable or the speed unknown.
std::uint64_t ReadLinkSpeed(int dirFd, const char* path);

}  // namespace kestrova
