#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "base/ini_file.h"
#include "base/temp_folder.h"

namespace kestrova {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

class IniReadTest : public ::testing::Test {
protected:
    IniFile FileWith(std::string_view bytes) {
        WriteBytes(path_, bytes);
        return IniFile(path_);
    }
    IniFile FileWithValue(std::string_view value) {
        return FileWith("[General]\r\nKey=" + std::string(value) + "\r\n");
    }

    TempFolder folder_;
    std::filesystem::path path_ = folder_.Path() / "Config.ini";
};

TEST_F(IniReadTest, IntegerReadingFollowsTheValueText) {
    constexpr std::int32_t kFallback = -7;
    const struct {
        const char* text;
        std::int32_t expected;
    } cases[] = {
        {"1", 1},
        {"01", 1},
        {"-5", -5},
        {"+5", 5},
        {"0", 0},
        {"0x1", 1},
        {"0X1F", 31},
        {"0x0", 0},
        {"$1F", 31},
        {"$1f", 31},
        {"$0000001F", 31},
        {"2147483647", std::numeric_limits<std::int32_t>::max()},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        // Hexadecimal gives the 32 bits, as the colour and flag values are stored.
        {"$FFFFFFFF", -1},
        {"0x80000000", std::numeric_limits<std::int32_t>::min()},
        {"", kFallback},
        {"abc", kFallback},
        {"1.5", kFallback},
        {"12a", kFallback},
        {"1 2", kFallback},
        {"0x", kFallback},  // two characters: read as decimal, which fails
        {"$", kFallback},
        {"0x-1", kFallback},
        {"$-1", kFallback},
        {"-0x1", kFallback},
        {"+-1", kFallback},
        {"+", kFallback},
        {"-", kFallback},
        {"2147483648", kFallback},
        {"-2147483649", kFallback},
        {"0x100000000", kFallback},
        {"$1G", kFallback},
    };
    for (const auto& c : cases) {
        const IniFile ini = FileWithValue(c.text);
        EXPECT_EQ(ini.ReadInteger("General", "Key", kFallback), c.expected) << '"' << c.text << '"';
    }
}

TEST_F(IniReadTest, Integer64ReadingCoversTrafficTotals) {
    constexpr std::int64_t kFallback = -7;
    const struct {
        const char* text;
        std::int64_t expected;
    } cases[] = {
        {"4294967296", 4294967296LL},
        {"-4294967296", -4294967296LL},
        {"0x100000000", 4294967296LL},
        {"$FFFFFFFF", 4294967295LL},
        {"$FFFFFFFFFFFFFFFF", -1},
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
        {"9223372036854775808", kFallback},
        {"0x10000000000000000", kFallback},
        {"1e9", kFallback},
        {"", kFallback},
    };
    for (const auto& c : cases) {
        const IniFile ini = FileWithValue(c.text);
        EXPECT_EQ(ini.ReadInteger64("General", "Key", kFallback), c.expected)
            << '"' << c.text << '"';
    }
}

TEST_F(IniReadTest, FlagTextMatchesOnlyTheExactText) {
    const struct {
        const char* text;
        bool isOne;
    } cases[] = {
        {"1", true},   {"01", false}, {"1.0", false},  {"+1", false},
        {"11", false}, {"", false},   {"true", false}, {"0", false},
    };
    for (const auto& c : cases) {
        const IniFile ini = FileWithValue(c.text);
        EXPECT_EQ(ini.ReadFlag("General", "Key", "0"), c.isOne) << '"' << c.text << '"';
    }

    // The default text takes part in the comparison when the key is absent.
    const IniFile ini = FileWith("[General]\r\n");
    EXPECT_TRUE(ini.ReadFlag("General", "Key", "1"));
    EXPECT_FALSE(ini.ReadFlag("General", "Key", " 1"));
    EXPECT_FALSE(ini.ReadFlag("General", "Key", "0"));
    EXPECT_TRUE(ini.ReadFlag("General", "Key", "0", "0"));
}

TEST_F(IniReadTest, EmptyValueIsNotAnAbsentKey) {
    const IniFile ini = FileWith("[General]\r\nTrayIcon=\r\n");
    EXPECT_EQ(ini.ReadString("General", "TrayIcon", "0"), "");
    EXPECT_EQ(ini.ReadString("General", "Absent", "0"), "0");
    // The two readers of this key disagree on an empty value: it is neither "0" nor "1".
    EXPECT_FALSE(ini.ReadFlag("General", "TrayIcon", "0", "0"));
    EXPECT_FALSE(ini.ReadFlag("General", "TrayIcon", "0", "1"));
    EXPECT_EQ(ini.ReadInteger("General", "TrayIcon", 5), 5);
}

TEST_F(IniReadTest, TextIsCutTo2047Characters) {
    const std::string exact(IniFile::kMaxTextLength, 'a');
    const std::string longer = std::string(IniFile::kMaxTextLength, 'b') + "cdef";
    const IniFile ini = FileWith("[General]\r\nExact=" + exact + "\r\nLonger=" + longer + "\r\n");
    EXPECT_EQ(ini.ReadString("General", "Exact", ""), exact);
    EXPECT_EQ(ini.ReadString("General", "Longer", ""), longer.substr(0, IniFile::kMaxTextLength));
}

TEST_F(IniReadTest, ValueIsTheTextAfterTheFirstEqualsSign) {
    const IniFile ini = FileWith(
        "[StatWinFont]\r\n"
        "  Name =  Ms Sans Serif \t\r\n"
        "Table=C:\\Rates\\a=b.kvtl\r\n"
        "Quoted=\"x\"\r\n"
        "Utf8=Шрифт\r\n");
    EXPECT_EQ(ini.ReadString("StatWinFont", "Name", ""), "Ms Sans Serif");
    EXPECT_EQ(ini.ReadString("StatWinFont", "Table", ""), "C:\\Rates\\a=b.kvtl");
    EXPECT_EQ(ini.ReadString("StatWinFont", "Quoted", ""), "\"x\"");
    EXPECT_EQ(ini.ReadString("StatWinFont", "Utf8", ""), "Шрифт");
}

TEST_F(IniReadTest, NamesMatchWithoutRegardToAsciiCase) {
    const IniFile ini = FileWith("  [ stAtwin ]  \r\nCOLOR=255\r\n[Шрифт]\r\nA=1\r\n");
    EXPECT_EQ(ini.ReadInteger("StatWin", "Color", 0), 255);
    EXPECT_EQ(ini.ReadInteger("STATWIN", "color", 0), 255);
    EXPECT_TRUE(ini.SectionExists("statwin"));
    EXPECT_EQ(ini.ReadInteger("Шрифт", "a", 0), 1);
    EXPECT_EQ(ini.ReadInteger("шрифт", "A", 0), 0);  // only ASCII letters fold
}

TEST_F(IniReadTest, KeyBeforeAnySectionBelongsToNone) {
    const IniFile ini = FileWith("Status=1\r\n[General]\r\nTab=2\r\n");
    EXPECT_EQ(ini.ReadString("General", "Status", "none"), "none");
    EXPECT_EQ(ini.ReadString("", "Status", "none"), "none");
    EXPECT_EQ(ini.ReadInteger("General", "Tab", 0), 2);
}

TEST_F(IniReadTest, FirstOccurrenceWins) {
    const IniFile ini = FileWith(
        "[General]\r\nTab=1\r\nTab=2\r\n"
        "[Count]\r\nEdn=1\r\n"
        "[general]\r\nTab=3\r\nLog=1\r\n");
    EXPECT_EQ(ini.ReadInteger("General", "Tab", 0), 1);
    // Keys of a repeated section do not count: its first occurrence is the section.
    EXPECT_EQ(ini.ReadInteger("General", "Log", 0), 0);
    EXPECT_EQ(ini.ReadInteger("Count", "Edn", 0), 1);
}

TEST_F(IniReadTest, LineEndsAndCommentsAreNotPartOfValues) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"CR LF", "[General]\r\nTab=4\r\nLog=1\r\n"},
        {"LF", "[General]\nTab=4\nLog=1\n"},
        {"mixed", "[General]\nTab=4\r\nLog=1"},
        {"no last line end", "[General]\r\nTab=4\r\nLog=1"},
        {"byte order mark", "\xEF\xBB\xBF[General]\r\nTab=4\r\nLog=1\r\n"},
        {"comments", "; settings\r\n[General]\r\n;Tab=9\r\nTab=4\r\n\r\n  ; Log=0\r\nLog=1\r\n"},
    };
    for (const auto& c : cases) {
        const IniFile ini = FileWith(c.bytes);
        EXPECT_EQ(ini.ReadInteger("General", "Tab", 0), 4) << c.name;
        EXPECT_EQ(ini.ReadString("General", "Log", ""), "1") << c.name;
    }
}

TEST_F(IniReadTest, MissingFileGivesEveryDefault) {
    const IniFile ini(path_);
    EXPECT_EQ(ini.ReadString("General", "Table", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("General", "MinAuto", 28), 28);
    EXPECT_EQ(ini.ReadInteger64("Count", "TotalTraficIn", 9), 9);
    EXPECT_FALSE(ini.ReadFlag("General", "Status", "0"));
    EXPECT_FALSE(ini.SectionExists("General"));
    EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(IniReadTest, SectionExistsWithOrWithoutKeys) {
    const IniFile ini = FileWith("[Empty]\r\n[Full]\r\nA=1\r\nB\r\n");
    EXPECT_TRUE(ini.SectionExists("Empty"));
    EXPECT_TRUE(ini.SectionExists("full"));
    EXPECT_FALSE(ini.SectionExists("A"));
    EXPECT_FALSE(ini.SectionExists("B"));
}

}  // namespace
}  // namespace kestrova
