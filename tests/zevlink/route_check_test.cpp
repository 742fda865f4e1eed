#include "zevlink/route_check.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/temp_tree.h"

namespace kestrova::zevlink {
namespace {

const std::string kIpv4Header =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";

std::string Ipv4Route(const std::string& device, const std::string& destination,
                      const std::string& flags, const std::string& mask) {
    return device + "\t" + destination + "\t010200C0\t" + flags + "\t0\t0\t0\t" + mask +
           "\t0\t0\t0\n";
}

std::string Ipv6Route(const std::string& destination, const std::string& prefix,
                      const std::string& flags, const std::string& device) {
    const std::string zero(32, '0');
    return destination + " " + prefix + " " + zero + " 00 " + zero + " 00000400 00000001 " +
           "00000000 " + flags + " " + std::string(8 - std::min<size_t>(device.size(), 8), ' ') +
           device + "\n";
}

const std::string kAnyV6(32, '0');
const std::string kIpv4Default = Ipv4Route("eth0", "00000000", "0003", "00000000");
const std::string kIpv4Subnet = Ipv4Route("eth0", "000200C0", "0001", "00FFFFFF");

class RouteCheckTest : public ::testing::Test {
protected:
    RouteCheckTest() {
        tree_.Write("net/eth0/flags", "0x1003\n");   // up
        tree_.Write("net/wlan0/flags", "0x1043\n");  // up, running
        tree_.Write("net/down0/flags", "0x1002\n");  // down
        tree_.Write("net/lo/flags", "0x9\n");        // up, loopback
    }

    bool Check(const std::string& ipv4, const std::string& ipv6) {
        tree_.Write("route", ipv4);
        tree_.Write("ipv6_route", ipv6);
        const std::string v4 = (tree_.Root() / "route").string();
        const std::string v6 = (tree_.Root() / "ipv6_route").string();
        const std::string net = (tree_.Root() / "net").string();
        return HasDefaultRoute({v4.c_str(), v6.c_str(), net.c_str()});
    }

    test::TempTree tree_;
};

TEST_F(RouteCheckTest, Ipv4DefaultRouteThroughAnInterfaceThatIsUpAndNotLoopback) {
    struct Case {
        const char* what;
        std::string routes;
        bool expected;
    };
    const Case cases[] = {
        {"default through eth0", kIpv4Subnet + kIpv4Default, true},
        {"no default route", kIpv4Subnet, false},
        {"header only", "", false},
        {"default through an interface that is down",
         Ipv4Route("down0", "00000000", "0003", "00000000"), false},
        {"default through the loopback", Ipv4Route("lo", "00000000", "0001", "00000000"), false},
        {"default through an unknown interface", Ipv4Route("gone0", "00000000", "0003", "00000000"),
         false},
        {"unreachable default", Ipv4Route("*", "00000000", "0201", "00000000"), false},
        {"reject route on a real device", Ipv4Route("eth0", "00000000", "0201", "00000000"), false},
        {"default not up", Ipv4Route("eth0", "00000000", "0002", "00000000"), false},
        {"half of the address space only", Ipv4Route("eth0", "00000000", "0001", "00000080"),
         false},
        {"later line wins after a rejected one",
         Ipv4Route("lo", "00000000", "0001", "00000000") +
             Ipv4Route("wlan0", "00000000", "0003", "00000000"),
         true},
        {"last line without a line end",
         kIpv4Subnet + kIpv4Default.substr(0, kIpv4Default.size() - 1), true},
        {"truncated line", "eth0\t00000000\t010200C0\t0003\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Check(kIpv4Header + c.routes, ""), c.expected);
    }
}

TEST_F(RouteCheckTest, Ipv6DefaultRouteThroughAnInterfaceThatIsUpAndNotLoopback) {
    // What a machine without IPv6 connectivity shows: the loopback's reject route.
    const std::string loopbackReject = Ipv6Route(kAnyV6, "00", "00200200", "lo");
    struct Case {
        const char* what;
        std::string routes;
        bool expected;
    };
    const Case cases[] = {
        {"::/0 through wlan0", Ipv6Route(kAnyV6, "00", "00450003", "wlan0"), true},
        {"::/0 after the loopback's", loopbackReject + Ipv6Route(kAnyV6, "00", "00000001", "eth0"),
         true},
        {"the loopback's reject route only", loopbackReject, false},
        {"::/0 through the loopback, not rejecting", Ipv6Route(kAnyV6, "00", "00000001", "lo"),
         false},
        {"::/0 rejected on eth0", Ipv6Route(kAnyV6, "00", "00000201", "eth0"), false},
        {"::/0 through an interface that is down", Ipv6Route(kAnyV6, "00", "00000001", "down0"),
         false},
        {"::/64 is not the default", Ipv6Route(kAnyV6, "40", "00000001", "eth0"), false},
        {"2000::/3 is not the default",
         Ipv6Route("20000000000000000000000000000000", "03", "00000001", "eth0"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Check(kIpv4Header + kIpv4Subnet, c.routes), c.expected);
    }
}

TEST_F(RouteCheckTest, LongTablesAndOverlongLinesAreReadThrough) {
    std::string many = kIpv4Header;
    for (int i = 0; i < 3000; ++i) many += kIpv4Subnet;
    EXPECT_FALSE(Check(many, ""));
    EXPECT_TRUE(Check(many + kIpv4Default, ""));

    // A line longer than any route line does not stop the reading.
    const std::string junk(5000, 'x');
    EXPECT_TRUE(Check(kIpv4Header + junk + "\n" + kIpv4Default, ""));
}

TEST_F(RouteCheckTest, UnreadableTablesReadAsNotConnected) {
    const std::string missing = (tree_.Root() / "missing").string();
    const std::string net = (tree_.Root() / "net").string();
    EXPECT_FALSE(HasDefaultRoute({missing.c_str(), missing.c_str(), net.c_str()}));
    // A folder in place of a file cannot be read either.
    EXPECT_FALSE(HasDefaultRoute({net.c_str(), net.c_str(), net.c_str()}));
}

}  // namespace
}  // namespace kestrova::zevlink
