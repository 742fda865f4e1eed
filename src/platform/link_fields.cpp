#include "platform/link_fields.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "meter/interface_table.h"
#include "platform/sysfs_value.h"

namespace kestrova {
namespace {

// Link types of include/uapi/linux/if_arp.h and flags of include/uapi/linux/if.h.
constexpr std::int64_t kArphrdEther = 1;
constexpr std::int64_t kArphrdPpp = 512;
constexpr std::int64_t kArphrdRawIp = 519;
constexpr std::int64_t kArphrdLoopback = 772;
// The kernel's own IP tunnels (IPIP, IPv6-in-IPv6, SIT, GRE, IPv6 GRE): like a VPN, their
// traffic also crosses the link below them.
constexpr std::int64_t kArphrdTunnels[] = {768, 769, 776, 778, 823};
constexpr std::uint64_t kIffLoopback = 0x8;
constexpr std::uint64_t kIffPointToPoint = 0x10;

constexpr std::uint64_t kBitsPerMbit = 1'000'000;

// A link's `uevent` is a few short lines (DEVTYPE, INTERFACE, IFINDEX).
constexpr std::size_t kUeventBufferSize = 1024;

}  // namespace

int InterfaceTypeOf(std::int64_t linkType, std::uint64_t flags, const LinkMarks& marks) {
    if (linkType == kArphrdLoopback || (flags & kIffLoopback) != 0) return kIfTypeLoopback;
    if (marks.devType == "wireguard") return kIfTypeOther;
    if (marks.devType == "wwan") return kIfTypePpp;
    if (linkType == kArphrdPpp || linkType == kArphrdRawIp) return kIfTypePpp;
    // A TUN or TAP device left at its own link type is what a VPN client makes.
    if (marks.tunFlags) return kIfTypeOther;
    for (const std::int64_t tunnel : kArphrdTunnels) {
        if (linkType == tunnel) return kIfTypeOther;
    }
    if (linkType == kArphrdEther || marks.devType == "wlan") return kIfTypeOther;
    if ((flags & kIffPointToPoint) != 0) return kIfTypePpp;
    return kIfTypeOther;
}

LinkMarks ReadLinkMarks(int dirFd) {
    LinkMarks marks;
    marks.tunFlags = ::faccessat(dirFd, "tun_flags", F_OK, 0) == 0;

    const int fd = ::openat(dirFd, "uevent", O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return marks;
    char buffer[kUeventBufferSize];
    std::size_t used = 0;
    while (used < sizeof buffer) {
        const ssize_t got = ::read(fd, buffer + used, sizeof buffer - used);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        used += static_cast<std::size_t>(got);
    }
    ::close(fd);

    constexpr std::string_view kKey = "DEVTYPE=";
    std::string_view text(buffer, used);
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        if (line.substr(0, kKey.size()) == kKey) {
            marks.devType.assign(line.substr(kKey.size()));
            break;
        }
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return marks;
}

std::uint64_t ReadLinkSpeed(int dirFd, const char* path) {
    // Mbit/s; the kernel reports -1 (or refuses the read) when the link has no known speed.
    const auto mbits = ReadSysfsInteger(dirFd, path);
    if (!mbits || *mbits <= 0) return 0;
    return static_cast<std::uint64_t>(*mbits) * kBitsPerMbit;
}

}  // namespace kestrova
