#include "platform/netlink_interface_table.h"

#include <linux/if_link.h>
#include <linux/rtnetlink.h>
#include <net/if.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/netlink_link_message.h"
#include "platform/sysfs_interface_table.h"

namespace kestrova {
namespace {

// The body of an RTM_NEWLINK message as the kernel lays it out: ifinfomsg, then attributes.
class LinkMessage {
public:
    explicit LinkMessage(int index, unsigned short linkType = 1,
                         unsigned flags = IFF_UP | IFF_BROADCAST) {
        ifinfomsg info{};
        info.ifi_family = AF_UNSPEC;
        info.ifi_index = index;
        info.ifi_type = linkType;
        info.ifi_flags = flags;
        Append(&info, sizeof info);
    }

    LinkMessage& Name(std::string_view name) {
        std::string text(name);
        return Attribute(IFLA_IFNAME, text.c_str(), text.size() + 1);
    }
    LinkMessage& Stats64(std::uint64_t received, std::uint64_t sent) {
        rtnl_link_stats64 stats{};
        stats.rx_bytes = received;
        stats.tx_bytes = sent;
        return Attribute(IFLA_STATS64, &stats, sizeof stats);
    }
    LinkMessage& Stats32(std::uint32_t received, std::uint32_t sent) {
        rtnl_link_stats stats{};
        stats.rx_bytes = received;
        stats.tx_bytes = sent;
        return Attribute(IFLA_STATS, &stats, sizeof stats);
    }
    // `declared` overrides the attribute's length field, to make malformed messages.
    LinkMessage& Attribute(unsigned short type, const void* data, std::size_t length,
                           std::optional<std::size_t> declared = std::nullopt) {
        rtattr header{};
        header.rta_type = type;
        header.rta_len = static_cast<unsigned short>(declared.value_or(RTA_LENGTH(length)));
        Append(&header, sizeof header);
        Append(data, length);
        return *this;
    }

    std::span<const std::byte> Body() const { return bytes_; }

private:
    void Append(const void* data, std::size_t length) {
        const auto* from = static_cast<const std::byte*>(data);
        bytes_.insert(bytes_.end(), from, from + length);
        bytes_.resize(RTA_ALIGN(bytes_.size()));
    }
    std::vector<std::byte> bytes_;
};

std::optional<InterfaceRow> Parse(const LinkMessage& message, LinkKind* kind = nullptr) {
    InterfaceRow row;
    LinkKind parsed;
    if (!ParseLinkMessage(message.Body(), row, parsed)) return std::nullopt;
    if (kind != nullptr) *kind = parsed;
    return row;
}

TEST(NetlinkLinkMessage, TakesIndexNameAndSixtyFourBitCountersFirst) {
    const auto row = Parse(LinkMessage(7).Stats32(11, 22).Name("wwan0").Stats64(
        5'000'000'000u, 18'446'744'073'709'551'615u));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->index, 7);
    EXPECT_EQ(row->name, "wwan0");
    EXPECT_EQ(row->type, kIfTypeOther);
    EXPECT_EQ(row->inOctets, 5'000'000'000u);
    EXPECT_EQ(row->outOctets, 18'446'744'073'709'551'615u);
    EXPECT_EQ(row->speed, 0u);

    // Without IFLA_STATS64 (or with one too short to hold the byte counters), IFLA_STATS.
    const std::uint64_t tooShort[2] = {1, 2};
    for (auto message : {LinkMessage(3).Name("eth0").Stats32(4'294'967'295u, 1234),
                         LinkMessage(3)
                             .Name("eth0")
                             .Stats32(4'294'967'295u, 1234)
                             .Attribute(IFLA_STATS64, tooShort, sizeof tooShort)}) {
        const auto fallback = Parse(message);
        ASSERT_TRUE(fallback);
        EXPECT_EQ(fallback->inOctets, 4'294'967'295u);
        EXPECT_EQ(fallback->outOctets, 1234u);
    }
}

// The link type and flags go out for the caller to type the row with the link's sysfs marks;
// until then the row is typed from them alone.
TEST(NetlinkLinkMessage, GivesLinkTypeAndFlags) {
    struct Case {
        const char* name;
        unsigned short linkType;
        unsigned flags;
        int expected;
    };
    const Case cases[] = {
        {"ppp0", 512, IFF_UP | IFF_NOARP, kIfTypePpp},
        {"wwan0", 65534, IFF_UP | IFF_POINTOPOINT, kIfTypePpp},
        {"eth0", 1, IFF_UP | IFF_BROADCAST, kIfTypeOther},
        {"lo", 772, IFF_UP | IFF_LOOPBACK, kIfTypeLoopback},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LinkKind kind;
        const auto row =
            Parse(LinkMessage(2, c.linkType, c.flags).Name(c.name).Stats64(1, 2), &kind);
        ASSERT_TRUE(row);
        EXPECT_EQ(kind.linkType, c.linkType);
        EXPECT_EQ(kind.flags, c.flags);
        EXPECT_EQ(row->type, c.expected);
    }
}

TEST(NetlinkLinkMessage, IncompleteOrMalformedMessagesGiveNoRow) {
    const char name[] = "eth0";
    const std::uint64_t counters[4] = {};
    struct Case {
        const char* what;
        LinkMessage message;
    };
    const Case cases[] = {
        {"no counters", LinkMessage(2).Name("eth0")},
        {"no name", LinkMessage(2).Stats64(1, 2)},
        {"empty name", LinkMessage(2).Name("").Stats64(1, 2)},
        {"index 0", LinkMessage(0).Name("eth0").Stats64(1, 2)},
        {"attribute longer than the message",
         LinkMessage(2).Name("eth0").Attribute(IFLA_STATS64, counters, sizeof counters, 200)},
        {"attribute shorter than its header",
         LinkMessage(2).Stats64(1, 2).Attribute(IFLA_IFNAME, name, sizeof name, 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(Parse(c.message));
    }
    InterfaceRow row;
    LinkKind kind;
    const std::byte shortBody[8] = {};
    EXPECT_FALSE(ParseLinkMessage(shortBody, row, kind)) << "body shorter than ifinfomsg";
}

// The same links as sysfs shows, with counters read after it; once from a fresh socket and
// once from the kept one. A start buffer smaller than one link's message makes the first
// reply truncated and the dump come in several parts.
TEST(NetlinkInterfaceTable, MachineTableMatchesSysfs) {
    for (const std::size_t startBuffer :
         {NetlinkInterfaceTable::kDefaultReceiveBuffer, std::size_t{256}}) {
        SCOPED_TRACE("start buffer " + std::to_string(startBuffer));
        NetlinkInterfaceTable netlink("/sys/class/net", startBuffer);
        for (int round = 1; round <= 2; ++round) {
            SCOPED_TRACE("round " + std::to_string(round));
            const auto before = SysfsInterfaceTable().Snapshot();
            const auto rows = netlink.Snapshot();
            ASSERT_FALSE(before.empty()) << "sysfs shows no interfaces";
            ASSERT_EQ(rows.size(), before.size());
            for (std::size_t i = 0; i < rows.size(); ++i) {
                SCOPED_TRACE(before[i].name);
                EXPECT_EQ(rows[i].index, before[i].index);
                EXPECT_EQ(rows[i].name, before[i].name);
                EXPECT_EQ(rows[i].type, before[i].type);
                EXPECT_GE(rows[i].inOctets, before[i].inOctets);
                EXPECT_GE(rows[i].outOctets, before[i].outOctets);
                // Only the dial-up row's speed is shown, so only that one is read.
                EXPECT_EQ(rows[i].speed, rows[i].type == kIfTypePpp ? before[i].speed : 0u);
            }
        }
    }
}

}  // namespace
}  // namespace kestrova
