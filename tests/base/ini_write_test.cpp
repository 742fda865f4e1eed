#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <limits>
#include <string>

#include "base/ini_file.h"
#include "base/temp_folder.h"

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

class IniWriteTest : public ::testing::Test {
protected:
    TempFolder folder_;
    fs::path path_ = folder_.Path() / "Config.ini";
    IniFile ini_{path_};
};

TEST_F(IniWriteTest, FirstWriteCreatesTheFile) {
    ini_.WriteString("General", "Table", "C:\\Tables\\Home.kvtl");
    EXPECT_EQ(ReadBytes(path_), "[General]\r\nTable=C:\\Tables\\Home.kvtl\r\n");
}

TEST_F(IniWriteTest, NewKeyGoesAfterTheLastKeyOfItsSection) {
    WriteBytes(path_,
               "[General]\r\nStatus=1\r\n\r\n; counting\r\n[Count]\r\nEdn=0\r\n\r\n[Other]\r\n");
    ini_.WriteInteger("General", "Tab", 2);
    ini_.WriteInteger("Count", "NoCost", 0);
    ini_.WriteString("Other", "Name", "x");
    EXPECT_EQ(ReadBytes(path_),
              "[General]\r\nStatus=1\r\nTab=2\r\n\r\n; counting\r\n"
              "[Count]\r\nEdn=0\r\nNoCost=0\r\n\r\n"
              "[Other]\r\nName=x\r\n");
}

TEST_F(IniWriteTest, NewSectionGoesAtTheEnd) {
    WriteBytes(path_, "[General]\r\nStatus=1");
    ini_.WriteInteger("StatWin", "Color", 255);
    ini_.WriteInteger("StatWinFont", "Size", 8);
    EXPECT_EQ(ReadBytes(path_),
              "[General]\r\nStatus=1\r\n\r\n[StatWin]\r\nColor=255\r\n\r\n"
              "[StatWinFont]\r\nSize=8\r\n");
}

TEST_F(IniWriteTest, ExistingKeyChangesInPlace) {
    WriteBytes(path_,
               "; Kestrova\r\nSTATUS=9\r\n[general]\r\n  status = 0  \r\njunk line\r\n"
               "Status=7\r\n[General]\r\nStatus=8\r\n");
    ini_.WriteString("General", "Status", "1");
    // Only the first key of the first section changes; its spelling and blanks stay.
    EXPECT_EQ(ReadBytes(path_),
              "; Kestrova\r\nSTATUS=9\r\n[general]\r\n  status = 1\r\njunk line\r\n"
              "Status=7\r\n[General]\r\nStatus=8\r\n");
    EXPECT_EQ(ini_.ReadString("General", "Status", ""), "1");
}

TEST_F(IniWriteTest, RepeatedSectionTakesNewKeysInItsFirstOccurrence) {
    WriteBytes(path_, "[General]\r\nTab=1\r\n[General]\r\nLog=0\r\n");
    ini_.WriteInteger("General", "Log", 1);
    EXPECT_EQ(ReadBytes(path_), "[General]\r\nTab=1\r\nLog=1\r\n[General]\r\nLog=0\r\n");
    EXPECT_EQ(ini_.ReadInteger("General", "Log", 0), 1);
}

TEST_F(IniWriteTest, FileWithBareLineFeedsKeepsThem) {
    WriteBytes(path_, "[General]\nStatus=1\n");
    ini_.WriteInteger("General", "Tab", 1);
    ini_.WriteInteger("Count", "Edn", 1);
    EXPECT_EQ(ReadBytes(path_), "[General]\nStatus=1\nTab=1\n\n[Count]\nEdn=1\n");

    WriteBytes(path_, "[General]\nStatus=1\r\n");  // mixed: new lines get CR LF
    ini_.WriteInteger("General", "Tab", 1);
    EXPECT_EQ(ReadBytes(path_), "[General]\nStatus=1\r\nTab=1\r\n");
}

TEST_F(IniWriteTest, IntegersAndNumbersAsText) {
    const struct {
        std::int64_t value;
        const char* text;
    } integers[] = {
        {0, "0"},
        {28, "28"},
        {-5, "-5"},
        {4294967296LL, "4294967296"},
        {std::numeric_limits<std::int64_t>::min(), "-9223372036854775808"},
    };
    for (const auto& c : integers) {
        ini_.WriteInteger("Count", "Value", c.value);
        EXPECT_EQ(ini_.ReadString("Count", "Value", ""), c.text);
    }

    const struct {
        double value;
        char separator;
        const char* text;
    } numbers[] = {
        {28.0, ',', "28"},   {9999.0, '.', "9999"}, {0.0, ',', "0"},
        {12.5, ',', "12,5"}, {12.5, '.', "12.5"},   {-0.1, ',', "-0,1"},
    };
    for (const auto& c : numbers) {
        ini_.WriteNumber("General", "LogSize", c.value, c.separator);
        EXPECT_EQ(ini_.ReadString("General", "LogSize", ""), c.text);
    }
    ini_.WriteNumber("General", "MinAuto", 28.0, ',');
    EXPECT_EQ(ini_.ReadInteger("General", "MinAuto", 0), 28);
}

TEST_F(IniWriteTest, TextIsWrittenUnchangedUpToALineBreak) {
    const std::string path = "/home/пользователь/logs/kestrova log.log";
    ini_.WriteString("General", "LogFile", path);
    ini_.WriteString("General", "Empty", "");
    ini_.WriteString("General", "Name", "A\r\n[General]\r\nStatus=1");
    EXPECT_EQ(ini_.ReadString("General", "LogFile", ""), path);
    EXPECT_EQ(ini_.ReadString("General", "Empty", "x"), "");
    EXPECT_EQ(ini_.ReadString("General", "Name", ""), "A");
    EXPECT_EQ(ini_.ReadString("General", "Status", "absent"), "absent");
}

TEST_F(IniWriteTest, WriteThatChangesNothingLeavesTheFileAlone) {
    ini_.WriteInteger("General", "Status", 1);
    const auto old = fs::last_write_time(path_) - std::chrono::hours(1);
    fs::last_write_time(path_, old);
    ini_.WriteInteger("General", "Status", 1);
    EXPECT_EQ(fs::last_write_time(path_), old);
    ini_.WriteInteger("General", "Status", 0);
    EXPECT_NE(fs::last_write_time(path_), old);
}

TEST_F(IniWriteTest, EveryInstanceSeesEveryWriteAtOnce) {
    IniFile other(path_);
    // Same-size values in quick succession: nothing may be served from a stale copy.
    for (int i = 0; i < 200; ++i) {
        ini_.WriteInteger("Count", "Second", 1000 + i);
        ASSERT_EQ(other.ReadInteger("Count", "Second", 0), 1000 + i);
        other.WriteInteger("Count", "Second", 5000 + i);
        ASSERT_EQ(ini_.ReadInteger("Count", "Second", 0), 5000 + i);
    }
}

TEST_F(IniWriteTest, ChangeByAnotherProgramIsSeen) {
    ini_.WriteInteger("StatWin", "Color", 1111);
    for (int i = 0; i < 50; ++i) {
        const std::string value = std::to_string(2000 + i);
        WriteBytes(path_, "[StatWin]\r\nColor=" + value + "\r\n");  // rewritten in place
        ASSERT_EQ(ini_.ReadString("StatWin", "Color", ""), value);
    }
    ini_.WriteInteger("StatWin", "transporant", 200);
    EXPECT_EQ(ReadBytes(path_), "[StatWin]\r\nColor=2049\r\ntransporant=200\r\n");
}

TEST_F(IniWriteTest, RefusedWriteThrowsWithThePath) {
    WriteBytes(folder_.Path() / "plain", "not a folder");
    fs::create_directory(folder_.Path() / "folder.ini");
    const fs::path refused[] = {
        folder_.Path() / "missing" / "Config.ini",  // the folder is not created
        folder_.Path() / "plain" / "Config.ini",    // the "folder" is a file
        folder_.Path() / "folder.ini",              // the file is a folder
    };
    for (const fs::path& path : refused) {
        IniFile ini(path);
        const std::string message = "Unable to write to " + path.string();
        try {
            ini.WriteInteger("General", "Status", 1);
            ADD_FAILURE() << "no error for " << path;
        } catch (const IniWriteError& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
        EXPECT_THROW(ini.WriteString("General", "Table", "x"), std::runtime_error);
        EXPECT_THROW(ini.WriteNumber("General", "LogSize", 100, ','), IniWriteError);
        EXPECT_EQ(ini.ReadInteger("General", "Status", 0), 0);
    }
    EXPECT_FALSE(fs::exists(folder_.Path() / "missing"));
}

// The refusals, as a user whom permissions stop; 0 when every write was refused as it must be.
int CheckRefusals(const fs::path& folder, const fs::path& path) {
    IniFile ini(path);
    fs::permissions(folder,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read, fs::perm_options::replace);
    if (std::ofstream(folder / "probe")) return 10;  // permissions do not stop this user
    try {
        ini.WriteInteger("General", "Status", 0);
        return 1;
    } catch (const IniWriteError&) {
    }
    try {
        IniFile(folder / "New.ini").WriteInteger("General", "Status", 0);
        return 2;
    } catch (const IniWriteError&) {
    }
    if (ini.ReadInteger("General", "Status", 0) != 1) return 3;
    // A read-only file in a writable folder: replacing it would go round its protection.
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
    try {
        ini.WriteInteger("General", "Status", 0);
        return 4;
    } catch (const IniWriteError&) {
    }
    return ini.ReadInteger("General", "Status", 0) == 1 ? 0 : 5;
}

TEST_F(IniWriteTest, ReadOnlyFolderOrFileRefusesWrites) {
    ini_.WriteInteger("General", "Status", 1);
    if (::geteuid() != 0) {
        EXPECT_EQ(CheckRefusals(folder_.Path(), path_), 0);
        return;
    }
    // Root writes through any permission: check as the unprivileged user "nobody" instead.
    constexpr uid_t kNobody = 65534;
    if (::chown(folder_.Path().c_str(), kNobody, kNobody) != 0 ||
        ::chown(path_.c_str(), kNobody, kNobody) != 0)
        GTEST_SKIP() << "cannot hand the folder to an unprivileged user";
    EXPECT_EXIT(
        {
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) std::_Exit(20);
            std::_Exit(CheckRefusals(folder_.Path(), path_));
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kestrova
