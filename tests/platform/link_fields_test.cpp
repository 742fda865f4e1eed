#include "platform/link_fields.h"

#include <fcntl.h>
#include <net/if.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "meter/interface_table.h"
#include "platform/temp_tree.h"

namespace kestrova {
namespace {

// The links of a Linux desktop as the kernel and sysfs show them: which carry a dial-up or
// mobile-broadband connection, and which are VPN tunnels or local networks.
TEST(InterfaceTypeOf, DialUpAndMobileBroadbandButNeverVpnOrLan) {
    constexpr unsigned kPtp = IFF_UP | IFF_POINTOPOINT | IFF_NOARP;
    constexpr unsigned kBroadcast = IFF_UP | IFF_BROADCAST | IFF_MULTICAST;
    struct Case {
        const char* what;
        std::int64_t linkType;
        unsigned flags;
        bool tunFlags;
        const char* devType;
        int expected;
    };
    const Case cases[] = {
        {"pppd link", 512, kPtp, false, "", kIfTypePpp},
        {"PPP link type without the flag", 512, IFF_UP, false, "", kIfTypePpp},
        {"TUN switched to PPP (the tests' modem)", 512, kPtp, true, "", kIfTypePpp},
        {"raw-IP modem (wwan subsystem)", 519, kPtp, false, "wwan", kIfTypePpp},
        {"raw-IP link type alone", 519, IFF_UP, false, "", kIfTypePpp},
        {"qmi_wwan in raw-IP mode", 65534, kPtp, false, "wwan", kIfTypePpp},
        {"cdc_mbim", 1, IFF_UP | IFF_NOARP, false, "wwan", kIfTypePpp},
        {"qmi_wwan in Ethernet mode", 1, kBroadcast, false, "wwan", kIfTypePpp},
        {"other point-to-point link", 65534, kPtp, false, "", kIfTypePpp},
        {"OpenVPN TUN", 65534, kPtp, true, "", kIfTypeOther},
        {"TAP VPN", 1, kBroadcast, true, "", kIfTypeOther},
        {"WireGuard", 65534, kPtp, false, "wireguard", kIfTypeOther},
        {"GRE tunnel", 778, kPtp, false, "", kIfTypeOther},
        {"IPv6-in-IPv4 (SIT) tunnel", 776, kPtp, false, "", kIfTypeOther},
        {"Ethernet", 1, kBroadcast, false, "", kIfTypeOther},
        {"Ethernet-like USB tethering", 1, kBroadcast, false, "", kIfTypeOther},
        {"Wi-Fi", 1, kBroadcast, false, "wlan", kIfTypeOther},
        {"Ethernet marked point-to-point", 1, kPtp, false, "", kIfTypeOther},
        {"down link of no kind", 65534, 0, false, "", kIfTypeOther},
        {"loopback", 772, IFF_UP | IFF_LOOPBACK, false, "", kIfTypeLoopback},
        {"loopback flag over PPP type", 512, IFF_LOOPBACK | IFF_POINTOPOINT, false, "",
         kIfTypeLoopback},
        {"loopback over a wwan mark", 772, IFF_LOOPBACK, false, "wwan", kIfTypeLoopback},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InterfaceTypeOf(c.linkType, c.flags, {c.tunFlags, c.devType}), c.expected)
            << c.what;
    }
}

TEST(ReadLinkMarks, TunFlagsFileAndDevTypeOfUevent) {
    struct Case {
        const char* what;
        bool tunFlags;
        const char* uevent;  // nullptr: no file
        LinkMarks expected;
    };
    const Case cases[] = {
        {"wwan modem", false, "DEVTYPE=wwan\nINTERFACE=wwan0\nIFINDEX=5\n", {false, "wwan"}},
        {"WireGuard", false, "DEVTYPE=wireguard\nINTERFACE=wg0\nIFINDEX=6\n", {false, "wireguard"}},
        {"DEVTYPE not first, no line end", false, "INTERFACE=wlan0\nDEVTYPE=wlan", {false, "wlan"}},
        {"TUN", true, "INTERFACE=tun0\nIFINDEX=7\n", {true, ""}},
        {"no uevent", false, nullptr, {false, ""}},
        {"empty uevent", true, "", {true, ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempTree tree;
        if (c.tunFlags) tree.Write("tun_flags", "0x1001\n");
        if (c.uevent != nullptr) tree.Write("uevent", c.uevent);
        const int folder = ::open(tree.Root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(folder, 0);
        const LinkMarks marks = ReadLinkMarks(folder);
        ::close(folder);
        EXPECT_EQ(marks.tunFlags, c.expected.tunFlags);
        EXPECT_EQ(marks.devType, c.expected.devType);
    }
}

}  // namespace
}  // namespace kestrova
