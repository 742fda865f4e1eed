// Traffic: baselines, sessions on the same and on re-created links, pauses, counters that go
// backwards, 64-bit totals, and per-megabyte pricing.

#include "meter_fixture.h"

namespace kestrova::testing {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

TEST_F(MeterTest, StartWhileOnlineCountsFromNow) {
    InterfaceRow& link = Connect();
    link.inOctets = 50 * kMiB;
    link.outOctets = 5 * kMiB;
    Start();
    Seconds(10, 1000, 100);
    EXPECT_EQ(meter->SessionIn(), 10000u);
    EXPECT_EQ(meter->SessionOut(), 1000u);
    EXPECT_EQ(meter->View().inTraf, "9.77 КБ");
}

TEST_F(MeterTest, NewLinkIsCountedFromItsCreation) {
    Start();
    InterfaceRow& link = Connect();
    link.inOctets = 4000;  // before the first tick saw it
    Seconds(5, 1000, 10);
    EXPECT_EQ(meter->SessionIn(), 9000u);
    EXPECT_EQ(meter->SessionOut(), 50u);
}

TEST_F(MeterTest, MonthIsTheSumOfItsSessions) {
    // Three connections: a new link, the same link again (counters kept growing while
    // offline) and a link re-created with counters from zero.
    Start();
    Connect(7);
    Seconds(100, 3000, 300);
    online = false;  // the link stays, its counters go on growing while offline
    Seconds(1);
    interfaces.Link(7).inOctets += 777777;
    Seconds(1);
    online = true;
    Seconds(50, 2000, 200);
    Disconnect(7);
    Seconds(1);
    Connect(9);  // a new link, counting from zero
    Seconds(20, 1000, 100);
    Disconnect(9);
    Seconds(1);
    const std::uint64_t in = 100 * 3000 + 50 * 2000 + 20 * 1000;
    const std::uint64_t out = 100 * 300 + 50 * 200 + 20 * 100;
    EXPECT_EQ(meter->MonthIn() + meter->SessionIn(), in);
    EXPECT_EQ(meter->MonthOut() + meter->SessionOut(), out);
    EXPECT_EQ(meter->MonthSeconds(), 170);
    EXPECT_EQ(Stats().TrafficIn(), in);
    EXPECT_EQ(Stats().TrafficOut(), out);
    EXPECT_EQ(Stats().Seconds(), 170);
    EXPECT_FALSE(synced.empty());
}

TEST_F(MeterTest, TrafficDuringPauseIsNeverCounted) {
    Start();
    Connect();
    Seconds(10, 1000);
    meter->Pause();
    Seconds(10, 50000);
    EXPECT_EQ(meter->View().inTraf, "9.77 КБ");
    meter->Run();
    Seconds(10, 1000);
    EXPECT_EQ(meter->SessionIn(), 20000u);
}

TEST_F(MeterTest, PausedSinceBeforeTheConnectionCountsNothingOfIt) {
    interfaces.Link(3, "eth0").type = kIfTypeOther;
    Start(/*running=*/false);
    Connect(7);
    Seconds(10, 50000);
    meter->Run();
    Seconds(10, 1000);
    EXPECT_EQ(meter->SessionIn(), 10000u);
}

TEST_F(MeterTest, CounterGoingBackwardsDoesNotJump) {
    Start();
    InterfaceRow& link = Connect();
    Seconds(10, 1000);
    link.inOctets = 0;  // the counters were reset under us
    Seconds(10, 500);
    EXPECT_EQ(meter->SessionIn(), 15000u);
}

TEST_F(MeterTest, TotalsBeyondFourGiB) {
    Start();
    Connect();
    Seconds(3, 3 * 1024 * kMiB);  // 9 GiB
    EXPECT_EQ(meter->SessionIn(), 9 * 1024 * kMiB);
    EXPECT_EQ(meter->View().totalIn, "9.000 ГБ");
    Disconnect();
    Seconds(1);
    EXPECT_EQ(Stats().TrafficIn(), 9 * 1024 * kMiB);
}

TEST_F(MeterTest, NegativeTotalOfAnOldFileReadsAsItsUnsignedValue) {
    WriteAll(root / "stats" / "3-2027.ini", "[Count]\r\nTotalTraficIn=-1294967296\r\n");
    Start();
    EXPECT_EQ(meter->MonthIn(), 3000000000u);
}

TEST_F(MeterTest, ResetWhileOnlineShowsZero) {
    Start();
    Connect();
    Seconds(90, 1000, 100);
    meter->Reset();
    EXPECT_EQ(meter->View().totalIn, "0 Байт");
    EXPECT_EQ(meter->MonthSeconds(), 0);
    EXPECT_EQ(Stats().Seconds(), 0);
    EXPECT_EQ(Stats().TrafficIn(), 0u);
    Seconds(5, 1000, 100);
    EXPECT_EQ(meter->SessionIn(), 5000u);
    EXPECT_EQ(meter->MonthSeconds(), 5);
    EXPECT_DOUBLE_EQ(meter->MonthCost(), 0);
}

TEST_F(MeterTest, DialupRowIsTheLastPppRow) {
    interfaces.Link(2, "ppp0");
    interfaces.Link(5, "ppp1");
    interfaces.Link(6, "eth0").type = kIfTypeOther;
    Start();
    online = true;
    Seconds(4, 1000, 0, 5);
    EXPECT_EQ(meter->SessionIn(), 4000u);
    interfaces.rows.clear();  // no rows at all: the earlier choice is not read
    Seconds(2);
    EXPECT_EQ(meter->SessionIn(), 4000u);
    EXPECT_EQ(meter->SessionSeconds(), 6);
}

TEST_F(MeterTest, OnlyADialupLinkIsCounted) {
    // Online through a network card: the loopback (row 0) and the card are not the dial-up
    // link, whichever row an earlier choice points at.
    interfaces.Link(1, "lo").type = kIfTypeLoopback;
    interfaces.Link(2, "eth0").type = kIfTypeOther;
    Start();
    online = true;
    for (int i = 0; i < 5; ++i) {
        Seconds(1);
        for (auto& row : interfaces.rows) row.inOctets += 5000;
    }
    EXPECT_EQ(meter->SessionIn(), 0u);
    EXPECT_EQ(meter->MonthSeconds(), 5);
    interfaces.Link(3, "ppp0");  // a dial-up link comes up, then goes away again
    Seconds(3, 1000, 0, 3);
    interfaces.Drop(3);
    Seconds(3);  // the earlier choice, row 2, is now past the end of the table
    interfaces.Link(4, "wlan0").type = kIfTypeOther;  // and now it names another card
    Seconds(3, 1000, 0, 4);
    EXPECT_EQ(meter->SessionIn(), 3000u);
}

class MegabyteMeter : public MeterTest {
protected:
    void SetUp() override {
        MeterTest::SetUp();
        Set("Count", "Edn", "1");
    }
};

TEST_F(MegabyteMeter, TrafTypeChoosesTheBytes) {
    const struct {
        const char* trafType;
        double cost;
    } cases[] = {{"0", 4.0}, {"1", 1.0}, {"2", 5.0}, {"7", 0.0}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.trafType);
        UseProgramFolder(dir.path() / std::to_string(++n));
        Set("Count", "Edn", "1");
        Set("General", "TrafType", c.trafType);
        rates.Clear();
        rates.Append("0:00", "23:59", "2", "Все дни");
        Start();
        Connect(n + 10);
        Seconds(4, kMiB / 2, kMiB / 8);  // 2 MiB in, 0.5 MiB out
        EXPECT_DOUBLE_EQ(meter->SessionCost(), c.cost);
        EXPECT_DOUBLE_EQ(meter->MonthCost(), c.cost);
        Disconnect(n + 10);
        Seconds(1);
    }
}

TEST_F(MegabyteMeter, SlowTrafficIsCharged) {
    Start();
    Connect();
    Seconds(3600, 100);  // 100 bytes a second for an hour: 0.34 MB at 1 a megabyte
    EXPECT_NEAR(meter->SessionCost(), 360000.0 / kMiB, 1e-9);
    EXPECT_EQ(meter->View().traficCostSeans, "0.34");
}

TEST_F(MegabyteMeter, SecondSessionStartsItsOwnCost) {
    Start();
    Connect(7);
    Seconds(10, kMiB);
    Disconnect(7);
    Seconds(1);
    Connect(8);  // counters from zero: no negative first accrual
    Seconds(3, kMiB);
    EXPECT_DOUBLE_EQ(meter->SessionCost(), 3.0);
    EXPECT_DOUBLE_EQ(meter->MonthCost(), 13.0);
    EXPECT_EQ(meter->View().traficCost, "13.00");
}

}  // namespace
}  // namespace kestrova::testing
