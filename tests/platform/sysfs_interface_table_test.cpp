#include "platform/sysfs_interface_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "platform/temp_tree.h"

namespace kestrova {
namespace {

// The files of one fake interface folder; an empty optional leaves the file out.
struct FakeInterface {
    std::string name;
    std::optional<std::string> ifindex = "2";
    std::optional<std::string> type = "1";
    std::optional<std::string> flags = "0x1003";
    std::optional<std::string> rxBytes = "0";
    std::optional<std::string> txBytes = "0";
    std::optional<std::string> speed = "1000";
    std::optional<std::string> tunFlags = std::nullopt;
    std::optional<std::string> devType = std::nullopt;  // DEVTYPE in uevent
};

class SysfsInterfaceTableTest : public ::testing::Test {
protected:
    void Add(const FakeInterface& fake) const {
        const auto write = [&](const char* file, const std::optional<std::string>& text) {
            if (text) tree_.Write(fake.name + "/" + file, *text + "\n");
        };
        std::filesystem::create_directories(tree_.Root() / fake.name);
        write("ifindex", fake.ifindex);
        write("type", fake.type);
        write("flags", fake.flags);
        write("statistics/rx_bytes", fake.rxBytes);
        write("statistics/tx_bytes", fake.txBytes);
        write("speed", fake.speed);
        write("tun_flags", fake.tunFlags);
        write("uevent", (fake.devType ? "DEVTYPE=" + *fake.devType + "\n" : std::string()) +
                            "INTERFACE=" + fake.name + "\nIFINDEX=" + fake.ifindex.value_or("") +
                            "\n");
    }

    InterfaceSnapshot Snapshot() const {
        return SysfsInterfaceTable(tree_.Root().string()).Snapshot();
    }
    int TypeOf(SysfsInterfaceTable& table, const std::string& name) const {
        const auto rows = table.Snapshot();
        const auto* row = Find(rows, name);
        return row == nullptr ? -1 : row->type;
    }

    const InterfaceRow* Find(const InterfaceSnapshot& rows, const std::string& name) const {
        const auto it = std::find_if(rows.begin(), rows.end(),
                                     [&](const InterfaceRow& row) { return row.name == name; });
        return it == rows.end() ? nullptr : &*it;
    }

    test::TempTree tree_;
};

TEST_F(SysfsInterfaceTableTest, RowsFollowInterfaceIndexWithTheirCounters) {
    Add({.name = "wwan0",
         .ifindex = "10",
         .rxBytes = "5000000000",
         .txBytes = "18446744073709551615"});
    Add({.name = "eth0", .ifindex = "2", .rxBytes = "1234", .txBytes = "4321"});
    Add({.name = "lo", .ifindex = "1", .type = "772", .flags = "0x9"});
    Add({.name = "aaa", .ifindex = "3"});

    const auto rows = Snapshot();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].name, "lo");
    EXPECT_EQ(rows[1].name, "eth0");
    EXPECT_EQ(rows[2].name, "aaa");
    EXPECT_EQ(rows[3].name, "wwan0");
    EXPECT_EQ(rows[0].index, 1);
    EXPECT_EQ(rows[3].index, 10);
    EXPECT_EQ(rows[1].inOctets, 1234u);
    EXPECT_EQ(rows[1].outOctets, 4321u);
    // Counters are 64-bit: past 4 GiB, up to the largest value.
    EXPECT_EQ(rows[3].inOctets, 5'000'000'000u);
    EXPECT_EQ(rows[3].outOctets, 18'446'744'073'709'551'615u);
}

TEST_F(SysfsInterfaceTableTest, DialUpByLinkKindNeverVpnOrLoopback) {
    struct Case {
        const char* name;
        const char* type;
        const char* flags;
        std::optional<std::string> tunFlags;
        std::optional<std::string> devType;
        int expected;
    };
    const Case cases[] = {
        {"ppp0", "512", "0x1091", {}, {}, kIfTypePpp},            // PPP link
        {"ppp1", "512", "0x1003", {}, {}, kIfTypePpp},            // PPP by link type alone
        {"modem", "512", "0x1091", "0x1001", {}, kIfTypePpp},     // TUN switched to PPP
        {"wwan0", "65534", "0x1091", {}, "wwan", kIfTypePpp},     // raw-IP modem
        {"mbim0", "1", "0x1083", {}, "wwan", kIfTypePpp},         // cdc_mbim
        {"ptp", "65534", "1091", {}, {}, kIfTypePpp},             // flags without the 0x prefix
        {"tun0", "65534", "0x1091", "0x1001", {}, kIfTypeOther},  // VPN TUN
        {"tap0", "1", "0x1003", "0x1002", {}, kIfTypeOther},      // VPN TAP
        {"wg0", "65534", "0x91", {}, "wireguard", kIfTypeOther},  // WireGuard
        {"eth0", "1", "0x1003", {}, {}, kIfTypeOther},            // broadcast Ethernet
        {"wlan0", "1", "0x1003", {}, "wlan", kIfTypeOther},       // Wi-Fi
        {"lo", "772", "0x9", {}, {}, kIfTypeLoopback},            // loopback
        {"lo3", "1", "0x8", {}, {}, kIfTypeLoopback},             // loopback by flag
    };
    int index = 1;
    for (const auto& c : cases) {
        Add({.name = c.name,
             .ifindex = std::to_string(index++),
             .type = c.type,
             .flags = c.flags,
             .tunFlags = c.tunFlags,
             .devType = c.devType});
    }

    const auto rows = Snapshot();
    ASSERT_EQ(rows.size(), std::size(cases));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto* row = Find(rows, c.name);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->type, c.expected);
    }
}

// A link's marks are read when it is first seen, not at every snapshot; a link re-created
// under the same name (a new index) is read again, and the link type is read every time.
TEST_F(SysfsInterfaceTableTest, MarksAreReadOncePerLink) {
    Add({.name = "tun0", .ifindex = "5", .type = "65534", .flags = "0x1091", .tunFlags = "1"});
    SysfsInterfaceTable table(tree_.Root().string());
    EXPECT_EQ(TypeOf(table, "tun0"), kIfTypeOther);

    std::filesystem::remove(tree_.Root() / "tun0" / "tun_flags");
    EXPECT_EQ(TypeOf(table, "tun0"), kIfTypeOther) << "marks read again for a known link";
    tree_.Write("tun0/type", "512\n");
    EXPECT_EQ(TypeOf(table, "tun0"), kIfTypePpp) << "the link type is not read every time";

    tree_.Write("tun0/type", "65534\n");
    tree_.Write("tun0/ifindex", "6\n");  // gone and made again without tun_flags
    EXPECT_EQ(TypeOf(table, "tun0"), kIfTypePpp) << "a new link kept the old link's marks";
}

TEST_F(SysfsInterfaceTableTest, SpeedIsMegabitsConvertedToBitsAndZeroWhenUnknown) {
    struct Case {
        const char* name;
        std::optional<std::string> speed;
        std::uint64_t expected;
    };
    const Case cases[] = {
        {"gigabit", "1000", 1'000'000'000u},
        {"slow", "10", 10'000'000u},
        {"fast", "100000", 100'000'000'000u},  // beyond 32 bits
        {"unknown", "-1", 0},
        {"garbage", "fast", 0},
        {"empty", "", 0},
        {"missing", std::nullopt, 0},
    };
    int index = 1;
    for (const auto& c : cases) {
        Add({.name = c.name, .ifindex = std::to_string(index++), .speed = c.speed});
    }

    const auto rows = Snapshot();
    ASSERT_EQ(rows.size(), std::size(cases));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto* row = Find(rows, c.name);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->speed, c.expected);
    }
}

TEST_F(SysfsInterfaceTableTest, IncompleteInterfaceFoldersAreSkipped) {
    Add({.name = "eth0", .ifindex = "2"});
    Add({.name = "gone1", .ifindex = std::nullopt});
    Add({.name = "gone2", .ifindex = "4", .rxBytes = std::nullopt});
    Add({.name = "gone3", .ifindex = "5", .txBytes = std::nullopt});
    Add({.name = "gone4", .ifindex = "6", .type = std::nullopt});
    Add({.name = "gone5", .ifindex = "7", .flags = std::nullopt});
    Add({.name = "bad", .ifindex = "eight"});
    std::filesystem::create_directories(tree_.Root() / "empty");
    tree_.Write("bonding_masters", "\n");  // a plain file beside the folders, as in sysfs

    const auto rows = Snapshot();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "eth0");
}

TEST(SysfsInterfaceTable, UnreadableRootGivesEmptySnapshot) {
    EXPECT_TRUE(SysfsInterfaceTable("/nonexistent/kestrova/net").Snapshot().empty());
}

// The real sysfs has symbolic links where the fake tree has folders.
TEST(SysfsInterfaceTable, MachineTableListsTheLoopback) {
    const auto rows = SysfsInterfaceTable().Snapshot();
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [](const InterfaceRow& row) { return row.name == "lo"; });
    ASSERT_NE(it, rows.end()) << "no loopback in /sys/class/net";
    EXPECT_EQ(it->type, kIfTypeLoopback);
    EXPECT_GT(it->index, 0);
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(),
                               [](const auto& a, const auto& b) { return a.index < b.index; }));
}

}  // namespace
}  // namespace kestrova
