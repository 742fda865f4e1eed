#include <gtest/gtest.h>

#include <random>

#include "meter/month_stats_file.h"
#include "support/fakes.h"

namespace kestrova {
namespace {

TEST(MonthStatsFile, PathRule) {
    EXPECT_EQ(MonthStatsFile::PathFor("/opt/k", "3-2007"), "/opt/k/stats/3-2007.ini");
}

TEST(MonthStatsFile, RoundTrip) {
    testing::TempDir dir;
    MonthStatsFile stats(dir.path() / "11-2007.ini");
    stats.WriteSeconds(86399);
    stats.WriteCost(1234.56789, ',');
    stats.WriteTraffic(6000000000ull, 12);
    EXPECT_EQ(stats.Seconds(), 86399);
    EXPECT_DOUBLE_EQ(*stats.Cost(), 1234.56789);
    EXPECT_EQ(stats.CostText(), "1234,56789");
    EXPECT_EQ(stats.TrafficIn(), 6000000000ull);
    EXPECT_EQ(stats.TrafficOut(), 12u);
}

TEST(MonthStatsFile, BadFilesReadAsZero) {
    testing::TempDir dir;
    std::mt19937 random(7);
    std::string junk(4096, '\0');
    for (char& c : junk) c = static_cast<char>(random());
    const std::string files[] = {
        "",
        junk,
        std::string(1 << 20, 'S'),
        "[Count]\nSecond\nCost\n=5\n",
        "[Count]\r\nSecond=abc\r\nTotalTraficIn=12x\r\n",
        "Second=5\r\n[Other]\r\nSecond=6\r\n",
    };
    for (const auto& bytes : files) {
        const auto file = dir.path() / "1-2027.ini";
        testing::WriteAll(file, bytes);
        MonthStatsFile stats(file);
        EXPECT_EQ(stats.Seconds(), 0);
        EXPECT_EQ(stats.TrafficIn(), 0u);
        EXPECT_EQ(stats.TrafficOut(), 0u);
        const auto cost = stats.Cost();
        EXPECT_TRUE(!cost || *cost == 0.0);
    }
    testing::WriteAll(dir.path() / "2-2027.ini", "[count]\r\nsecond=5\r\n[Count]\r\nSecond=9\r\n");
    EXPECT_EQ(MonthStatsFile(dir.path() / "2-2027.ini").Seconds(), 5);  // the first wins
}

}  // namespace
}  // namespace kestrova
