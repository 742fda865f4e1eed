// The month's file: start, the month change, the close, a deleted file, a missing folder.

#include "meter_fixture.h"

namespace kestrova::testing {
namespace {

TEST_F(MeterTest, FirstStartOfAMonthCreatesAnEmptyFile) {
    Start();
    EXPECT_EQ(meter->MonthKey(), "3-2027");
    EXPECT_EQ(ReadAll(root / "stats" / "3-2027.ini"), "");
    EXPECT_EQ(meter->View().timeToday, "00:00:00");
    EXPECT_EQ(meter->View().costMoney, "");
}

TEST_F(MeterTest, StartLoadsTheMonth) {
    WriteAll(root / "stats" / "3-2027.ini",
             "[Count]\r\nSecond=3661\r\nCost=7,25\r\nTotalTraficIn=5000\r\nTotalTraficOut=600\r\n");
    Start();
    EXPECT_EQ(meter->View().timeToday, "01:01:01");
    EXPECT_EQ(meter->View().costMoney, "7.25");
    EXPECT_EQ(meter->View().traficCost, "7.25");
    EXPECT_EQ(meter->View().totalIn, "4.88 КБ");
    Connect();
    Seconds(60, 100);
    EXPECT_DOUBLE_EQ(meter->MonthCost(), 8.25);
    EXPECT_EQ(Stats().Seconds(), 3721);
}

TEST_F(MeterTest, NegativeSecondsOfADamagedFileReadAsZero) {
    WriteAll(root / "stats" / "3-2027.ini", "[Count]\r\nSecond=-5\r\n");
    Start();
    EXPECT_EQ(meter->View().timeToday, "00:00:00");
}

TEST_F(MeterTest, MissingStatsFolderIsCreatedAndDeletedFileComesBack) {
    std::filesystem::remove_all(root / "stats");
    Start();
    EXPECT_TRUE(std::filesystem::exists(root / "stats" / "3-2027.ini"));
    Connect();
    Seconds(5);
    std::filesystem::remove(root / "stats" / "3-2027.ini");
    meter->MonthCheck();
    EXPECT_TRUE(std::filesystem::exists(root / "stats" / "3-2027.ini"));
    Seconds(1);
    EXPECT_EQ(Stats().Seconds(), 6);
    EXPECT_TRUE(meter->TakeMessages().empty());
}

// With a folder watch the disk is looked at only when the watch saw a removal.
TEST_F(MeterTest, DeletedFileComesBackWhenTheWatchSawIt) {
    FakeFolderWatch watch;
    statsWatch = &watch;
    Start(false);
    ASSERT_EQ(watch.watched, std::vector<std::filesystem::path>{root / "stats"});
    const std::filesystem::path file = root / "stats" / "3-2027.ini";
    std::filesystem::remove(file);
    meter->MonthCheck();
    EXPECT_FALSE(std::filesystem::exists(file));  // nothing seen, nothing looked at
    watch.removed = true;
    meter->MonthCheck();
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(watch.watched.size(), 2u);  // renewed: the folder may have been re-created
    std::filesystem::remove_all(root / "stats");
    watch.removed = true;
    meter->MonthCheck();
    EXPECT_TRUE(std::filesystem::exists(file));
}

TEST_F(MeterTest, MillisecondsToTheNextMonthByTheClock) {
    const struct {
        int year, month, day, hour, minute, second, ms;
        std::int64_t left;
    } cases[] = {
        {2027, 3, 31, 23, 59, 59, 999, 1},           {2027, 3, 31, 23, 59, 0, 0, 60'000},
        {2027, 2, 28, 0, 0, 0, 0, 86'400'000},        // not a leap year
        {2028, 2, 28, 12, 0, 0, 0, 129'600'000},      // a leap year: the 29th follows
        {2027, 12, 31, 0, 0, 0, 0, 86'400'000},       // into the next year
        {2027, 3, 1, 0, 0, 0, 0, 31LL * 86'400'000},  // the month's first moment
    };
    Start(false);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.month) + "/" + std::to_string(c.day));
        clock.Set(c.year, c.month, c.day, c.hour, c.minute, c.second, c.ms);
        EXPECT_EQ(meter->MillisecondsToNextMonth(), c.left);
    }
}

TEST_F(MeterTest, UnwritableStatsIsReportedOnce) {
    std::filesystem::remove_all(root / "stats");
    WriteAll(root / "stats", "a file where the folder should be");
    Start();
    Connect();
    Seconds(30);
    const auto messages = meter->TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Unable to write to " + (root / "stats" / "3-2027.ini").string());
    EXPECT_EQ(meter->MonthSeconds(), 30);  // the meter goes on
}

TEST_F(MeterTest, CloseChargesTheStartedMinuteAndStoresTheMonth) {
    const struct {
        int seconds;
        double cost;
    } cases[] = {{90, 2.0}, {120, 2.0}, {30, 1.0}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        UseProgramFolder(dir.path() / std::to_string(++n));
        Start();
        Connect(10 + n);
        Seconds(c.seconds, 1000, 10);
        meter->SaveAtClose();
        EXPECT_DOUBLE_EQ(*Stats().Cost(), c.cost);
        EXPECT_EQ(Stats().TrafficIn(), static_cast<std::uint64_t>(c.seconds) * 1000);
        EXPECT_EQ(Stats().TrafficOut(), static_cast<std::uint64_t>(c.seconds) * 10);
        EXPECT_EQ(synced.back(), root / "stats" / "3-2027.ini");
        online = false;
    }
}

TEST_F(MeterTest, CloseWithinTheFreeTimeChargesNothing) {
    Set("Count", "NoCost", "90");
    Start();
    Connect();
    Seconds(45);
    meter->SaveAtClose();
    EXPECT_DOUBLE_EQ(*Stats().Cost(), 0.0);
}

TEST_F(MeterTest, MonthChangeMidSession) {
    clock.Set(2027, 3, 31, 23, 58, 30);
    WriteAll(root / "stats" / "3-2027.ini", "[Count]\r\nSecond=1000\r\nCost=10,5\r\n");
    Start(true, ',');
    Connect();
    Seconds(120, 1000, 100);  // midnight passes 90 s in, then 30 s of April
    // The finished month keeps all its figures, the started second minute included.
    EXPECT_EQ(Stats("3-2027").Seconds(), 1090);
    EXPECT_DOUBLE_EQ(*Stats("3-2027").Cost(), 12.5);
    EXPECT_EQ(Stats("3-2027").TrafficIn(), 90000u);
    EXPECT_EQ(Stats("3-2027").TrafficOut(), 9000u);
    EXPECT_NE(ReadAll(root / "stats" / "3-2027.ini").find("Cost=12,5"), std::string::npos);
    // The new month starts from zero; the session goes on.
    EXPECT_EQ(meter->MonthKey(), "4-2027");
    EXPECT_EQ(meter->MonthSeconds(), 30);
    EXPECT_EQ(meter->SessionSeconds(), 30);
    EXPECT_EQ(meter->MonthIn() + meter->SessionIn(), 30000u);
    EXPECT_DOUBLE_EQ(meter->MonthCost(), 0.0);
    EXPECT_TRUE(meter->SessionActive());
    Seconds(30, 1000, 100);
    EXPECT_DOUBLE_EQ(meter->MonthCost(), 1.0);
    Disconnect();
    Seconds(1);
    EXPECT_EQ(Stats("4-2027").Seconds(), 60);
    EXPECT_DOUBLE_EQ(*Stats("4-2027").Cost(), 1.0);
    EXPECT_EQ(Stats("4-2027").TrafficIn(), 60000u);
    EXPECT_EQ(Stats("3-2027").Seconds(), 1090);  // final once the month has changed
}

TEST_F(MeterTest, MonthChangePerMegabyteRestartsTheCosts) {
    Set("Count", "Edn", "1");
    clock.Set(2027, 12, 31, 23, 59, 50);
    Start();
    Connect();
    Seconds(20, 1024 * 1024);
    EXPECT_DOUBLE_EQ(*Stats("12-2027").Cost(), 10.0);
    EXPECT_EQ(meter->MonthKey(), "1-2028");
    EXPECT_DOUBLE_EQ(meter->MonthCost(), 10.0);
    EXPECT_DOUBLE_EQ(meter->SessionCost(), 10.0);
}

}  // namespace
}  // namespace kestrova::testing
