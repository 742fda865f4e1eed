#include "platform/link_fields.h"

#include "meter/interface_table.h"
#include "platform/sysfs_value.h"

namespace kestrova {
namespace {

// Link types of include/uapi/linux/if_arp.h and flags of include/uapi/linux/if.h.
constexpr std::int64_t kArphrdPpp = 512;
constexpr std::int64_t kArphrdLoopback = 772;
constexpr std::uint64_t kIffLoopback = 0x8;
constexpr std::uint64_t kIffPointToPoint = 0x10;

constexpr std::uint64_t kBitsPerMbit = 1'000'000;

}  // namespace

int InterfaceTypeOf(std::int64_t linkType, std::uint64_t flags) {
    if (linkType == kArphrdLoopback || (flags & kIffLoopback) != 0) return kIfTypeLoopback;
    if (linkType == kArphrdPpp || (flags & kIffPointToPoint) != 0) return kIfTypePpp;
    return kIfTypeOther;
}

std::uint64_t ReadLinkSpeed(int dirFd, const char* path) {
    // Mbit/s; the kernel reports -1 (or refuses the read) when the link has no known speed.
    const auto mbits = ReadSysfsInteger(dirFd, path);
    if (!mbits || *mbits <= 0) return 0;
    return static_cast<std::uint64_t>(*mbits) * kBitsPerMbit;
}

}  // namespace kestrova
