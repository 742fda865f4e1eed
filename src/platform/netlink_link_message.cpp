#include "platform/netlink_link_message.h"

#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "platform/link_fields.h"

namespace kestrova {
namespace {

constexpr std::size_t kLinkHeaderLength = NLMSG_ALIGN(sizeof(ifinfomsg));
constexpr std::size_t kAttributeHeaderLength = RTA_LENGTH(0);

constexpr std::size_t AttributeAlign(std::size_t length) {
    return RTA_ALIGN(length);
}

struct ByteCounters {
    std::uint64_t received = 0;
    std::uint64_t sent = 0;
};

// The byte counters at `rxOffset` and `txOffset` of a statistics attribute made of `Counter`s;
// nothing when the attribute is too short for them (a kernel's structs only ever grow).
template <typename Counter>
bool ReadCounters(std::span<const std::byte> payload, std::size_t rxOffset, std::size_t txOffset,
                  ByteCounters& counters) {
    if (payload.size() < std::max(rxOffset, txOffset) + sizeof(Counter)) return false;
    counters.received = ReadUnaligned<Counter>(payload.data() + rxOffset);
    counters.sent = ReadUnaligned<Counter>(payload.data() + txOffset);
    return true;
}

}  // namespace

bool ParseLinkMessage(std::span<const std::byte> body, InterfaceRow& row, LinkKind& kind) {
    if (body.size() < kLinkHeaderLength) return false;
    const auto info = ReadUnaligned<ifinfomsg>(body.data());
    if (info.ifi_index <= 0) return false;

    std::string_view name;
    bool have64 = false;
    bool have32 = false;
    ByteCounters counters64;
    ByteCounters counters32;
    std::size_t offset = kLinkHeaderLength;
    while (body.size() - offset >= kAttributeHeaderLength) {
        const auto attribute = ReadUnaligned<rtattr>(body.data() + offset);
        if (attribute.rta_len < kAttributeHeaderLength ||
            attribute.rta_len > body.size() - offset) {
            return false;
        }
        const auto payload = body.subspan(offset + kAttributeHeaderLength,
                                          attribute.rta_len - kAttributeHeaderLength);
        switch (attribute.rta_type & NLA_TYPE_MASK) {
            case IFLA_IFNAME: {
                const auto* text = reinterpret_cast<const char*>(payload.data());
                name = std::string_view(text, ::strnlen(text, payload.size()));
                break;
            }
            case IFLA_STATS64:
                have64 =
                    ReadCounters<std::uint64_t>(payload, offsetof(rtnl_link_stats64, rx_bytes),
                                                offsetof(rtnl_link_stats64, tx_bytes), counters64);
                break;
            case IFLA_STATS:
                // 32-bit counters wrap at 4 GiB: only for a kernel that sends no others.
                have32 =
                    ReadCounters<std::uint32_t>(payload, offsetof(rtnl_link_stats, rx_bytes),
                                                offsetof(rtnl_link_stats, tx_bytes), counters32);
                break;
            default:
                break;
        }
        offset = std::min(body.size(), offset + AttributeAlign(attribute.rta_len));
    }
    if (name.empty() || (!have64 && !have32)) return false;

    const ByteCounters& counters = have64 ? counters64 : counters32;
    row.index = info.ifi_index;
    row.name.assign(name);
    kind.linkType = info.ifi_type;
    kind.flags = info.ifi_flags;
    row.type = InterfaceTypeOf(kind.linkType, kind.flags, LinkMarks{});
    row.inOctets = counters.received;
    row.outOctets = counters.sent;
    row.speed = 0;
    return true;
}

}  // namespace kestrova
