#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/ini_file.h"
#include "base/temp_folder.h"

namespace kestrova {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(byte(random));
    return bytes;
}

// Files nobody should write, yet might find: each reads as if section Test were absent, and a
// write into Test keeps every byte that was there.
TEST(IniRobustnessTest, DamagedFilesGiveDefaultsAndStillTakeWrites) {
    using namespace std::string_literals;
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"line breaks only", "\r\n\n\r\n"},
        {"random bytes", RandomBytes(64 * 1024, 20240611)},
        {"NUL bytes", "\0\0\0[Test\0]\r\nKey=1\r\n\0"s},
        {"1 MB line", std::string(1 << 20, 'x')},
        {"1 MB value elsewhere", "[Other]\r\nKey=" + std::string(1 << 20, '7') + "\r\n"},
        {"lines without =", "[Other]\r\nKey\r\nnothing here\r\n=\r\n"},
        {"section line without ]", "[Test\r\nKey=1\r\n"},
        {"brackets only", "[\r\n]\r\n[]\r\n[[[\r\n]]]=1\r\n"},
        {"commented out", ";[Test]\r\n;Key=1\r\n"},
        {"key before any section", "Key=1\r\n[Other]\r\n"},
        {"lone CRs", "[Test]\rKey=1\r[Other]\r"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const auto path = folder.Path() / "Config.ini";
        WriteBytes(path, c.bytes);
        IniFile ini(path);

        EXPECT_EQ(ini.ReadString("Test", "Key", "dflt"), "dflt");
        EXPECT_EQ(ini.ReadInteger("Test", "Key", 42), 42);
        EXPECT_EQ(ini.ReadInteger64("Test", "Key", 42), 42);
        EXPECT_FALSE(ini.ReadFlag("Test", "Key", "0"));
        EXPECT_FALSE(ini.SectionExists("Test"));

        ini.WriteInteger("Test", "Key", 5);
        EXPECT_EQ(ini.ReadInteger("Test", "Key", 0), 5);
        EXPECT_EQ(ReadBytes(path).substr(0, c.bytes.size()), c.bytes);
    }
}

TEST(IniRobustnessTest, LongValueIsCutAndReplacedWhole) {
    TempFolder folder;
    const auto path = folder.Path() / "Config.ini";
    WriteBytes(path, "[General]\r\nLogFile=" + std::string(1 << 20, 'p') + "\r\nLog=1\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("General", "LogFile", ""), std::string(IniFile::kMaxTextLength, 'p'));
    ini.WriteString("General", "LogFile", "logfile.log");
    EXPECT_EQ(ReadBytes(path), "[General]\r\nLogFile=logfile.log\r\nLog=1\r\n");
}

}  // namespace
}  // namespace kestrova
