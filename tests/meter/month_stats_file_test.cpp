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
    stats.Write({86399, 1234.56789, 6000000000ull, 12}, ',');
    EXPECT_EQ(stats.Seconds(), 86399);
    EXPECT_DOUBLE_EQ(*stats.Cost(), 1234.56789);
    EXPECT_EQ(stats.CostText(), "1234,56789");
    EXPECT_EQ(stats.TrafficIn(), 6000000000ull);
    EXPECT_EQ(stats.TrafficOut(), 12u);
}

TEST(MonthStatsFile, CostIsPlainDecimalAndReadsBackExactly) {
    testing::TempDir dir;
    const struct {
        double cost;
        char separator;
        const char* text;
    } cases[] = {
        {3.8e-05, ',', "0,000038"},  // 38 bytes at 1 a megabyte, near enough
        {0.1 + 0.2, '.', "0.30000000000000004"},
        {1e-7, '.', "0.0000001"},
        {123456789012.5, ',', "123456789012,5"},
        {1e16, '.', "10000000000000000"},
        {0, ',', "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        MonthStatsFile stats(dir.path() / "1-2027.ini");
        stats.Write({1, c.cost, 2, 3}, c.separator);
        EXPECT_EQ(stats.CostText(), c.text);
        EXPECT_EQ(*stats.Cost(), c.cost);
    }
}

TEST(MonthStatsFile, ExponentFormOfEarlierBuildsIsRead) {
    testing::TempDir dir;
    const struct {
        const char* text;
        std::optional<double> cost;
    } cases[] = {
        {"3.8e-05", 3.8e-05}, {"3,8E-5", 3.8e-05},    {"1.5e+15", 1.5e15},
        {"-2e3", -2000.0},    {"12,5", 12.5},         {"1e", std::nullopt},
        {"e5", std::nullopt}, {"1e5x", std::nullopt}, {"1e99999", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        testing::WriteAll(dir.path() / "1-2027.ini", std::string("[Count]\r\nCost=") + c.text);
        EXPECT_EQ(MonthStatsFile(dir.path() / "1-2027.ini").Cost(), c.cost);
    }
}

// The once-a-second write is one write in place: the file keeps its size, whatever the
// figures, and never shrinks.
TEST(MonthStatsFile, WriteKeepsTheFileSize) {
    testing::TempDir dir;
    const auto file = dir.path() / "1-2027.ini";
    testing::WriteAll(file, "[Count]\r\nSecond=5\r\n");  // an earlier build's file
    MonthStatsFile stats(file);
    stats.Write({6, 0.5, 100, 10}, '.');
    const auto size = std::filesystem::file_size(file);
    const std::string head =
        "[Count]\r\nSecond=6\r\nCost=0.5\r\nTotalTraficIn=100\r\nTotalTraficOut=10\r\n";
    const std::string text = testing::ReadAll(file);
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.find_first_not_of("\r\n", head.size()), std::string::npos);  // empty lines
    const MonthFigures figures[] = {
        {7, 12345678.0625, 987654321987ull, 123456789123ull}, {0, 0, 0, 0}, {1, 0.1, 1, 1}};
    for (const auto& f : figures) {
        stats.Write(f, ',');
        EXPECT_EQ(std::filesystem::file_size(file), size);
        EXPECT_EQ(stats.Seconds(), f.seconds);
        EXPECT_EQ(*stats.Cost(), f.cost);
        EXPECT_EQ(stats.TrafficIn(), f.trafficIn);
        EXPECT_EQ(stats.TrafficOut(), f.trafficOut);
    }
    // A cost too long for the record makes the file larger; it stays that size from then on.
    stats.Write({1, 1e300, 1, 1}, '.');
    const auto larger = std::filesystem::file_size(file);
    EXPECT_GT(larger, size);
    stats.Write({1, 1, 1, 1}, '.');
    EXPECT_EQ(std::filesystem::file_size(file), larger);
    EXPECT_EQ(*stats.Cost(), 1.0);
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
