#include <gtest/gtest.h>

#include "meter/startup_settings.h"
#include "support/fakes.h"

namespace kestrova {
namespace {

TEST(StartupSettings, NoConfigFile) {
    testing::TempDir dir;
    const StartupSettings s = ReadStartupSettings(dir.path());
    EXPECT_FALSE(s.running);  // a first start is paused
    EXPECT_FALSE(s.trayIcon);
    EXPECT_FALSE(s.perMegabyte);
    EXPECT_EQ(s.costFormat, 0);
    EXPECT_EQ(s.runMinimizedDelayMs, 280);
    EXPECT_EQ(s.table, "");
    EXPECT_FALSE(s.logSizeControl);
    EXPECT_FALSE(s.helpFileExists);
}

TEST(StartupSettings, ReadersCompareAsTheyEachDo) {
    testing::TempDir dir;
    testing::WriteAll(dir.path() / "Config.ini",
                      "[General]\r\nTrayIcon=\r\nMinimize=01\r\nStatus=01\r\nTabSave=1\r\n"
                      "Tab=3\r\nMinAuto=0x10\r\nLogSizeEnabled= 1\r\nCostFormat=7\r\n"
                      "Table=/home/u/тарифы.kvtl\r\n[Count]\r\nEdn=2\r\n");
    testing::WriteAll(dir.path() / "help.chm", "");
    const StartupSettings s = ReadStartupSettings(dir.path());
    EXPECT_TRUE(s.trayIcon);        // present and empty: not "0"
    EXPECT_TRUE(s.minimizeToTray);  // the integer 1
    EXPECT_FALSE(s.running);        // "01" is not "1"
    EXPECT_TRUE(s.restorePage);
    EXPECT_EQ(s.page, 3);
    EXPECT_EQ(s.runMinimizedDelayMs, 160);
    EXPECT_EQ(s.costFormat, 7);
    EXPECT_TRUE(s.perMegabyte);
    EXPECT_EQ(s.table, "/home/u/тарифы.kvtl");
    EXPECT_TRUE(s.helpFileExists);
}

}  // namespace
}  // namespace kestrova
