#include <gtest/gtest.h>

#include "meter/connection_log.h"
#include "support/fakes.h"

namespace kestrova {
namespace {

std::string Lines(int count, char fill, std::size_t length) {
    std::string text;
    for (int i = 0; i < count; ++i) text += std::string(length, fill) + "\r\n";
    return text;
}

TEST(LogSize, CutOnlyPastTheLimit) {
    EXPECT_FALSE(CutLog(std::string(1151, 'x'), 1).has_value());
    EXPECT_TRUE(CutLog(std::string(1152, 'x'), 1).has_value());
    EXPECT_FALSE(CutLog(std::string(2 * 1024 + 127, 'x'), 2).has_value());
    EXPECT_TRUE(CutLog(std::string(2 * 1024 + 128, 'x'), 2).has_value());
}

TEST(LogSize, KeepsAboutLimitTimes985Characters) {
    // 30 lines of 98 characters: the walk back stops at the line that reaches 985.
    const auto kept = CutLog(Lines(30, 'a', 98), 1);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(*kept, Lines(11, 'a', 98));  // 10 lines make 980, the 11th reaches 985
}

TEST(LogSize, EntryBoundaryWithinTheFirstFiveKeptLines) {
    // The walk keeps "b", "c", "", "d" ... : the kept part starts after the empty line.
    std::string log = Lines(20, 'z', 100) + "bb\r\ncc\r\n\r\n" + Lines(9, 'd', 100) + "d\r\n";
    const auto kept = CutLog(log, 1);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(*kept, Lines(9, 'd', 100) + "d\r\n");
    // No empty line among the first five kept lines: the kept part is unchanged.
    const auto plain = CutLog(Lines(40, 'q', 100), 1);
    EXPECT_EQ(*plain, Lines(10, 'q', 100));
}

TEST(LogSize, ControlRewritesTheFile) {
    testing::TempDir dir;
    const auto log = dir.path() / "logfile.log";
    testing::WriteAll(log, Lines(40, 'q', 100));
    EXPECT_TRUE(ControlLogSize(log, 1));
    EXPECT_EQ(testing::ReadAll(log), Lines(10, 'q', 100));
    EXPECT_TRUE(ControlLogSize(dir.path() / "none.log", 1));  // a missing log is left alone
}

}  // namespace
}  // namespace kestrova
