// Which bytes are counted when links come and go: a VPN beside the modem, a failed table read,
// a switch to another link and back, traffic while paused or offline, a change of TrafType.

#include "meter_fixture.h"

namespace kestrova::testing {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

struct Flow {
    int link;
    std::uint64_t in, out;
};

class LinkMeter : public MeterTest {
protected:
    // `n` seconds in which each listed link that exists passes its bytes every second,
    // online or not.
    void Pass(int n, const std::vector<Flow>& flows) {
        for (int i = 0; i < n; ++i) {
            for (const Flow& f : flows) {
                for (auto& row : interfaces.rows) {
                    if (row.index != f.link) continue;
                    row.inOctets += f.in;
                    row.outOctets += f.out;
                }
            }
            Seconds(1);
        }
    }
    // One second in which the interface table cannot be read.
    void FailedRead(const std::vector<Flow>& flows = {}) {
        for (const Flow& f : flows) {
            interfaces.Link(f.link).inOctets += f.in;
            interfaces.Link(f.link).outOctets += f.out;
        }
        const InterfaceSnapshot rows = interfaces.rows;
        interfaces.rows.clear();
        Seconds(1);
        interfaces.rows = rows;
    }
    std::uint64_t MonthInTotal() const { return meter->MonthIn() + meter->SessionIn(); }
};

// A VPN comes up and goes away during a modem session. Its traffic also passes, wrapped, over
// the modem, which carries the connection that is paid for: only the modem's bytes count.
TEST_F(LinkMeter, VpnDuringAModemSession) {
    const struct {
        const char* name;
        const char* interfaceSetting;
        const char* modemName;
        int modemType;
        int vpnType;
        bool perMegabyte;
    } cases[] = {
        {"automatic choice, per minute", "", "ppp0", kIfTypePpp, kIfTypeOther, false},
        {"automatic choice, per megabyte", "", "ppp0", kIfTypePpp, kIfTypeOther, true},
        // The named link is metered even when the VPN looks like a dial-up link.
        {"named modem, per minute", "ppp0", "ppp0", kIfTypePpp, kIfTypePpp, false},
        {"named modem, per megabyte", "ppp0", "ppp0", kIfTypePpp, kIfTypePpp, true},
        // A phone tethered over USB looks like a network card: named, it is metered.
        {"named card, per megabyte", "usb0", "usb0", kIfTypeOther, kIfTypePpp, true},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UseProgramFolder(dir.path() / std::to_string(++n));
        Set("General", "Interface", c.interfaceSetting);
        Set("Count", "Edn", c.perMegabyte ? "1" : "0");
        rates.Clear();
        rates.Append("0:00", "23:59", "2", "Все дни");
        interfaces.rows.resize(1);  // the loopback
        Start();
        online = true;
        InterfaceRow& modem = interfaces.Link(10, c.modemName);
        modem.type = c.modemType;
        Pass(30, {{10, kMiB / 4, kMiB / 16}});
        interfaces.Link(11, "tun0").type = c.vpnType;
        Pass(45, {{10, kMiB / 4, kMiB / 16}, {11, kMiB / 8, kMiB / 32}, {10, kMiB / 8, kMiB / 32}});
        interfaces.Drop(11);
        Pass(30, {{10, kMiB / 4, kMiB / 16}});
        const std::uint64_t modemIn = interfaces.Link(10).inOctets;
        const std::uint64_t modemOut = interfaces.Link(10).outOctets;
        online = false;
        Seconds(1);
        EXPECT_EQ(MonthInTotal(), modemIn);
        EXPECT_EQ(meter->MonthOut() + meter->SessionOut(), modemOut);
        // 105 s: the minute at 60 s, or the megabytes received, at 2.
        const double cost = c.perMegabyte ? 2.0 * static_cast<double>(modemIn) / kMiB : 2.0;
        EXPECT_DOUBLE_EQ(meter->MonthCost(), cost);
        EXPECT_EQ(Stats().TrafficIn(), modemIn);
        EXPECT_EQ(Stats().TrafficOut(), modemOut);
        EXPECT_DOUBLE_EQ(*Stats().Cost(), cost);
    }
}

// A snapshot that fails on a session's first tick counts nothing and moves nothing: the next
// good one counts all that passed since the last good look, and nothing from before.
TEST_F(LinkMeter, FailedReadOnTheFirstTickOfASession) {
    // A new link, already 3000 bytes into its life when the table is first read.
    Start();
    online = true;
    interfaces.Link(7).inOctets = 3000;
    FailedRead({{7, 1000, 0}});
    EXPECT_TRUE(meter->SessionActive());
    EXPECT_EQ(meter->View().inTraf, "0.00 Байт");
    Pass(5, {{7, 1000, 10}});
    EXPECT_EQ(meter->SessionIn(), 9000u);  // the link's bytes since its creation
    EXPECT_EQ(meter->SessionOut(), 50u);

    // The same link again after 5 s offline, in which 50000 bytes passed on it.
    online = false;
    Pass(5, {{7, 10000, 0}});
    online = true;
    FailedRead({{7, 700, 0}});
    EXPECT_EQ(meter->View().inTraf, "0.00 Байт");  // this session's bytes, not the last one's
    EXPECT_EQ(meter->View().outTraf, "0.00 Байт");
    Pass(5, {{7, 1000, 0}});
    EXPECT_EQ(meter->SessionIn(), 5700u);
    EXPECT_EQ(MonthInTotal(), 14700u);
    EXPECT_EQ(meter->SessionSeconds(), 6);
}

TEST_F(LinkMeter, FailedReadsMidSessionLoseNothing) {
    Start();
    online = true;
    interfaces.Link(7);
    Pass(5, {{7, 1000, 100}});
    for (int i = 0; i < 3; ++i) FailedRead({{7, 1000, 100}});
    Pass(2, {{7, 1000, 100}});
    EXPECT_EQ(meter->SessionIn(), 10000u);
    EXPECT_EQ(meter->SessionOut(), 1000u);
}

// The metered link changes to another and back: each byte is counted once, and only while
// its link was the metered one.
TEST_F(LinkMeter, LinkSwitchedAwayAndBack) {
    const struct {
        const char* name;
        bool bySetting;
    } cases[] = {{"a second dial-up link comes and goes", false},
                 {"the Interface setting names another link and then the first", true}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UseProgramFolder(dir.path() / std::to_string(++n));
        interfaces.rows.resize(1);
        Set("General", "Interface", c.bySetting ? "ppp0" : "");
        interfaces.Link(7, "ppp0");
        if (c.bySetting) interfaces.Link(8, "usb0").type = kIfTypeOther;
        Start();
        online = true;
        const std::vector<Flow> both = {{7, 1000, 10}, {8, 100, 1}};
        Pass(10, both);
        if (c.bySetting)
            Set("General", "Interface", "usb0");
        else
            interfaces.Link(8, "ppp1");  // later in the table: chosen while it is there
        Pass(10, both);
        if (c.bySetting)
            Set("General", "Interface", "ppp0");
        else
            interfaces.Drop(8);
        Pass(10, both);
        EXPECT_EQ(meter->SessionIn(), 20 * 1000u + 10 * 100u);
        EXPECT_EQ(meter->SessionOut(), 20 * 10u + 10 * 1u);
        online = false;
        Seconds(1);
    }
}

// Started paused while online; the connection drops; Run is pressed while offline; the next
// session counts its own traffic only, on the same link or on a link dialled anew.
TEST_F(LinkMeter, StartPausedThenRunWhileOffline) {
    const struct {
        const char* name;
        bool redial;
    } cases[] = {{"the same link", false}, {"a new link dialled while offline", true}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UseProgramFolder(dir.path() / std::to_string(++n));
        interfaces.rows.resize(1);
        interfaces.Link(7).inOctets = 5 * kMiB;
        online = true;
        Start(/*running=*/false);
        Pass(10, {{7, 5000, 50}});
        online = false;
        Pass(10, {{7, 7000, 70}});
        meter->Run();
        Pass(5, {{7, 7000, 70}});
        int link = 7;
        if (c.redial) {
            interfaces.Drop(7);
            link = 9;
            interfaces.Link(9);
            Pass(3, {{9, 300, 30}});  // before the connection is up
        }
        online = true;
        Pass(10, {{link, 1000, 10}});
        EXPECT_EQ(meter->SessionIn(), 10000u);
        EXPECT_EQ(meter->SessionOut(), 100u);
        EXPECT_EQ(MonthInTotal(), 10000u);
        online = false;
        Seconds(1);
        EXPECT_EQ(Stats().TrafficIn(), 10000u);
    }
}

// Changing which traffic is priced during a session keeps what was charged and prices what
// follows the new way.
TEST_F(LinkMeter, TrafTypeChangedDuringASession) {
    const struct {
        const char* from;
        const char* to;
        double cost;  // 10 s each way of 1 MiB received and 0.5 MiB sent per second
    } cases[] = {
        {"2", "0", 15 + 10},
        {"0", "2", 10 + 15},
        {"0", "1", 10 + 5},
        {"2", "9", 15 + 0},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " to " + c.to);
        UseProgramFolder(dir.path() / std::to_string(++n));
        Set("Count", "Edn", "1");
        Set("General", "TrafType", c.from);
        Start();
        Connect(10 + n);
        Seconds(10, kMiB, kMiB / 2);
        Set("General", "TrafType", c.to);
        for (int i = 0; i < 10; ++i) {
            const double before = meter->SessionCost();
            Seconds(1, kMiB, kMiB / 2);
            EXPECT_GE(meter->SessionCost(), before);
        }
        EXPECT_DOUBLE_EQ(meter->SessionCost(), c.cost);
        EXPECT_DOUBLE_EQ(meter->MonthCost(), c.cost);
        Disconnect(10 + n);
        Seconds(1);
    }
}

}  // namespace
}  // namespace kestrova::testing
