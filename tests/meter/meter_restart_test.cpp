// The month's file holds the month as shown after every tick: a kill at any moment, a month
// change into a month already metered, a store run twice, a tiny cost.

#include <sys/stat.h>

#include <functional>

#include "meter/value_format.h"
#include "meter_fixture.h"

namespace kestrova::testing {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

struct MonthShown {
    std::string time, cost;
    std::uint64_t in, out;
    double costValue;
};

MonthShown Shown(const Meter& meter) {
    const MeterView& v = meter.View();
    return {v.timeToday, v.perMegabyte ? v.traficCost : v.costMoney,
            meter.MonthIn() + meter.SessionIn(), meter.MonthOut() + meter.SessionOut(),
            meter.MonthCost()};
}

// A kill right after a tick of each kind: a new start shows the month as it stood.
TEST_F(MeterTest, KillAfterEveryKindOfTick) {
    const struct {
        const char* name;
        std::function<void()> run;
    } cases[] = {
        {"a counted second within a minute",
         [&] {
             Connect();
             Seconds(30, 1000, 100);
         }},
        {"the second that charges a minute",
         [&] {
             Connect();
             Seconds(60, 1000, 100);
         }},
        {"a counted second per megabyte",
         [&] {
             Set("Count", "Edn", "1");
             Connect();
             Seconds(7, 300000, 1000);
         }},
        {"the first second of the next session",
         [&] {
             Connect(7);
             Seconds(70, 1000, 10);
             Disconnect(7);
             Seconds(3);
             Connect(8);
             Seconds(1, 500, 5);
         }},
        {"the end of a session, the started minute charged",
         [&] {
             Set("General", "EveryMin", "1");
             Connect();
             Seconds(75, 1000, 10);
             Disconnect();
             Seconds(1);
         }},
        {"an offline second",
         [&] {
             Connect();
             Seconds(30, 1000);
             Disconnect();
             Seconds(5);
         }},
        {"a paused second",
         [&] {
             Connect();
             Seconds(40, 1000);
             meter->Pause();
             Seconds(5, 1000);
         }},
        {"a second the table could not be read",
         [&] {
             Connect();
             Seconds(20, 1000);
             const InterfaceSnapshot rows = interfaces.rows;
             interfaces.rows.clear();
             Seconds(1);
             interfaces.rows = rows;
         }},
        {"the first second after a switch to megabytes",
         [&] {
             Connect();
             Seconds(90, 1000);
             Set("Count", "Edn", "1");
             Seconds(1, kMiB);
         }},
        {"the month change",
         [&] {
             clock.Set(2027, 3, 31, 23, 59, 0);
             Connect();
             Seconds(90, 1000);
         }},
        {"the reset",
         [&] {
             Connect();
             Seconds(50, 1000);
             meter->Reset();
         }},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UseProgramFolder(dir.path() / std::to_string(++n));
        WriteAll(root / "stats" / "3-2027.ini",
                 "[Count]\r\nSecond=500\r\nCost=3,8e-05\r\nTotalTraficIn=5000\r\n");
        interfaces.rows.resize(1);
        online = false;
        clock.Set(2027, 3, 10, 10, 0, 0);
        Start(true, ',');
        c.run();
        const MonthShown before = Shown(*meter);
        meter.reset();  // killed: nothing saved at close
        Start(true, ',');
        const MonthShown after = Shown(*meter);
        EXPECT_EQ(after.time, before.time);
        EXPECT_EQ(after.in, before.in);
        EXPECT_EQ(after.out, before.out);
        EXPECT_EQ(after.cost, before.cost);
        EXPECT_EQ(after.costValue, before.costValue);
        EXPECT_TRUE(meter->TakeMessages().empty());
    }
}

// Every counted second writes the month once, in place: the file is not renamed and keeps its
// size, however the figures grow.
TEST_F(MeterTest, EachCountedSecondWritesTheFileInPlace) {
    Start();
    Connect();
    Seconds(1, 5);
    struct stat first {};
    ASSERT_EQ(stat(Stats().Path().c_str(), &first), 0);
    Seconds(200, 123457, 6791);
    struct stat later {};
    ASSERT_EQ(stat(Stats().Path().c_str(), &later), 0);
    EXPECT_EQ(later.st_ino, first.st_ino);
    EXPECT_EQ(later.st_size, first.st_size);
    EXPECT_EQ(Stats().TrafficIn(), 5 + 200 * 123457u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root / "stats"),
                            std::filesystem::directory_iterator()),
              1);
}

// The clock goes back into a month already metered and forward again: each month goes on from
// its own figures, and no file ever holds less than before.
TEST_F(MeterTest, MonthChangeIntoAMonthWithFigures) {
    const struct {
        const char* name;
        int laterYear, laterMonth, earlierYear, earlierMonth, earlierLastDay;
    } cases[] = {
        {"the clock set back a month", 2027, 4, 2027, 3, 31},
        {"a time zone west across the new year", 2028, 1, 2027, 12, 31},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UseProgramFolder(dir.path() / std::to_string(++n));
        interfaces.rows.resize(1);
        online = false;
        const std::string earlier = MonthKeyOf(c.earlierYear, c.earlierMonth);
        const std::string later = MonthKeyOf(c.laterYear, c.laterMonth);
        WriteAll(root / "stats" / (earlier + ".ini"),
                 "[Count]\r\nSecond=1000\r\nCost=10\r\nTotalTraficIn=5000\r\n"
                 "TotalTraficOut=500\r\n");
        WriteAll(root / "stats" / (later + ".ini"),
                 "[Count]\r\nSecond=200\r\nCost=2\r\nTotalTraficIn=100\r\nTotalTraficOut=10\r\n");
        clock.Set(c.laterYear, c.laterMonth, 1, 0, 0, 30);
        Start();
        Connect(20 + n);
        Seconds(20, 1000, 10);
        EXPECT_EQ(meter->MonthSeconds(), 220);

        clock.Set(c.earlierYear, c.earlierMonth, c.earlierLastDay, 23, 59, 0);
        Seconds(20, 1000, 10);  // one more second in the later month, then the earlier one
        EXPECT_EQ(Stats(later).Seconds(), 221);
        EXPECT_DOUBLE_EQ(*Stats(later).Cost(), 3.0);  // with the started minute
        EXPECT_EQ(Stats(later).TrafficIn(), 100 + 21000u);
        EXPECT_EQ(meter->MonthKey(), earlier);
        EXPECT_EQ(meter->MonthSeconds(), 1019);
        EXPECT_EQ(meter->MonthIn() + meter->SessionIn(), 5000 + 19000u);
        EXPECT_DOUBLE_EQ(meter->MonthCost(), 10.0);
        EXPECT_EQ(meter->View().timeToday, "00:16:59");

        clock.Set(c.laterYear, c.laterMonth, 1, 0, 1, 0);
        Seconds(10, 1000, 10);
        EXPECT_EQ(Stats(earlier).Seconds(), 1020);
        EXPECT_DOUBLE_EQ(*Stats(earlier).Cost(), 11.0);
        EXPECT_EQ(Stats(earlier).TrafficIn(), 5000 + 20000u);
        EXPECT_EQ(Stats(earlier).TrafficOut(), 500 + 200u);
        EXPECT_EQ(meter->MonthKey(), later);
        EXPECT_EQ(meter->MonthSeconds(), 230);
        EXPECT_EQ(Stats(later).Seconds(), 230);
        EXPECT_EQ(Stats(later).TrafficIn(), 100 + 30000u);
        Disconnect(20 + n);
        Seconds(1);
    }
}

// A few bytes at a price per megabyte cost a few millionths: written without an exponent, read
// back exactly, also when an earlier build wrote it with one.
TEST_F(MeterTest, TinyCostRoundTrip) {
    const struct {
        const char* name;
        const char* file;
        double stored;
    } cases[] = {{"a new month", "", 0},
                 {"an earlier build's exponent form", "[Count]\r\nCost=3.8e-05\r\n", 3.8e-05}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UseProgramFolder(dir.path() / std::to_string(++n));
        WriteAll(root / "stats" / "3-2027.ini", c.file);
        Set("Count", "Edn", "1");
        Start(true, ',');
        EXPECT_EQ(meter->MonthCost(), c.stored);
        Connect(30 + n);
        Seconds(1, 40);
        Disconnect(30 + n);
        Seconds(1);
        const double cost = c.stored + 40.0 / kMiB;
        EXPECT_DOUBLE_EQ(meter->MonthCost(), cost);
        const std::string text = Stats().CostText();
        EXPECT_EQ(text.find_first_of("eE"), std::string::npos) << text;
        EXPECT_EQ(text.rfind("0,0000", 0), 0u) << text;
        meter.reset();
        Start(true, ',');
        EXPECT_EQ(meter->MonthCost(), Stats().Cost());
        EXPECT_NEAR(meter->MonthCost(), cost, 1e-15);
        EXPECT_TRUE(meter->TakeMessages().empty());
    }
}

// A store may run again (a close after a signal's save, a session end after a close): what
// was charged is charged once.
TEST_F(MeterTest, StoresRunTwiceChargeOnce) {
    Set("General", "EveryMin", "1");
    Start();
    Connect();
    Seconds(90, 1000);
    meter->SaveAtClose();
    meter->SaveAtClose();
    EXPECT_DOUBLE_EQ(*Stats().Cost(), 2.0);
    Disconnect();
    Seconds(1);  // the session's end: its started minute was charged at the close
    EXPECT_DOUBLE_EQ(*Stats().Cost(), 2.0);
    EXPECT_EQ(Stats().TrafficIn(), 90000u);
    EXPECT_EQ(Stats().Seconds(), 90);
}

}  // namespace
}  // namespace kestrova::testing
