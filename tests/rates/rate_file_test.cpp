#include "rates/rate_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

RateRow Row(std::string number, std::string start, std::string end, std::string price,
            std::string day) {
    return RateRow{std::move(number), std::move(start), std::move(end), std::move(price),
                   std::move(day)};
}

std::vector<std::string> Texts(const RateRow& row) {
    return {row.number, row.start, row.end, row.price, row.day};
}

std::vector<std::vector<std::string>> Texts(const std::vector<RateRow>& rows) {
    std::vector<std::vector<std::string>> texts;
    for (const RateRow& row : rows) texts.push_back(Texts(row));
    return texts;
}

TEST(ParseRateFile, CutsEachLineFourTimes) {
    struct Case {
        const char* line;
        std::vector<std::string> texts;  // number, start, end, price, day
    };
    const Case cases[] = {
        {"8:00|23:59|0,5|Все дни", {"1", "8:00", "23:59", "0,5", "Все дни"}},
        {"a|b|c|d|e", {"1", "a", "b", "c", "e"}},  // the fourth field is lost
        {"a|b|c|d|e|f", {"1", "a", "b", "c", "e|f"}},
        {"a|b|c", {"1", "a", "b", "", "c"}},
        {"a|b", {"1", "a", "", "", "b"}},
        {"|", {"1", "", "", "", ""}},
        {"|||", {"1", "", "", "", ""}},
        {"a|b|c|", {"1", "a", "b", "c", ""}},
        {" 8:00 | 9:00 |1| x ", {"1", " 8:00 ", " 9:00 ", "1", " x "}},
        {"a|b|c|d\rtail", {"1", "a", "b", "c", "d\rtail"}},  // a lone CR is no line end
    };
    for (const Case& c : cases) {
        const RateFileContent content = ParseRateFile(c.line);
        ASSERT_EQ(content.rows.size(), 1u) << c.line;
        EXPECT_EQ(Texts(content.rows[0]), c.texts) << c.line;
        EXPECT_FALSE(content.stoppedAtForeignLine) << c.line;
    }
}

TEST(ParseRateFile, LinesEndAtCrLfOrLf) {
    const std::vector<std::vector<std::string>> expected = {
        {"1", "1", "2", "3", "a"}, {"2", "4", "5", "6", "b"}, {"3", "7", "8", "9", "c"}};
    for (const char* text : {"1|2|3|a\r\n4|5|6|b\r\n7|8|9|c\r\n", "1|2|3|a\n4|5|6|b\n7|8|9|c\n",
                             "1|2|3|a\r\n4|5|6|b\n7|8|9|c", "1|2|3|a\n4|5|6|b\r\n7|8|9|c\r"}) {
        const RateFileContent content = ParseRateFile(text);
        auto want = expected;
        if (std::string(text).ends_with('\r')) want[2][4] = "c\r";  // no LF after it
        EXPECT_EQ(Texts(content.rows), want) << testing::PrintToString(text);
        EXPECT_FALSE(content.stoppedAtForeignLine);
    }
}

TEST(ParseRateFile, StopsAtTheFirstLineWithoutBar) {
    const RateFileContent fifthEmpty =
        ParseRateFile("1|2|3|a\r\n4|5|6|b\r\n7|8|9|c\r\n1|2|3|d\r\n\r\n4|5|6|e\r\n");
    ASSERT_EQ(fifthEmpty.rows.size(), 4u);
    EXPECT_EQ(fifthEmpty.rows[3].number, "4");
    EXPECT_EQ(fifthEmpty.rows[3].day, "d");
    EXPECT_TRUE(fifthEmpty.stoppedAtForeignLine);

    const RateFileContent foreign = ParseRateFile("[General]\r\nTable=x|y\r\n");
    EXPECT_TRUE(foreign.rows.empty());
    EXPECT_TRUE(foreign.stoppedAtForeignLine);

    const RateFileContent empty = ParseRateFile("");
    EXPECT_TRUE(empty.rows.empty());
    EXPECT_FALSE(empty.stoppedAtForeignLine);
}

TEST(ParseRateFile, ReadsWindows1251AndUtf8) {
    const std::vector<std::string> expected = {"1", "8:00", "23:59", "0,5", "Будние дни"};
    const char* const files[] = {
        "8:00|23:59|0,5|\xC1\xF3\xE4\xED\xE8\xE5 \xE4\xED\xE8\r\n",  // Windows-1251
        "8:00|23:59|0,5|Будние дни\n",                               // UTF-8
        "\xEF\xBB\xBF"
        "8:00|23:59|0,5|Будние дни\r\n",  // UTF-8 with a BOM
    };
    for (const char* file : files) {
        const RateFileContent content = ParseRateFile(file);
        ASSERT_EQ(content.rows.size(), 1u);
        EXPECT_EQ(Texts(content.rows[0]), expected);
    }
}

TEST(SerializeRateFile, WritesWindows1251LinesWithCrLf) {
    const std::vector<RateRow> rows = {
        Row("7", "8:00", "23:59", "0,5", "Будние дни"),
        Row("3", "", "", "", ""),
        Row("3", "0:00", "7:00", "1", "日"),
    };
    EXPECT_EQ(SerializeRateFile(rows),
              "8:00|23:59|0,5|\xC1\xF3\xE4\xED\xE8\xE5 \xE4\xED\xE8\r\n"
              "|||\r\n"
              "0:00|7:00|1|?\r\n");
    EXPECT_EQ(SerializeRateFile({}), "");
}

TEST(RateFileName, AddsTheExtensionUnlessTheNameHasIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"rates", "rates.kvtl"},
        {"Rates.KVTL", "Rates.KVTL"},
        {"rates.kvtl.bak", "rates.kvtl.bak"},
        {"rates.KvTl", "rates.KvTl"},
        {"rates.txt", "rates.txt.kvtl"},
        {"rates.kvt", "rates.kvt.kvtl"},
        {"dir/rates", "dir/rates.kvtl"},
        {"тарифы", "тарифы.kvtl"},
    };
    for (const auto& [chosen, expected] : cases)
        EXPECT_EQ(RateFileName(chosen), fs::path(expected)) << chosen;
}

class RateFileOnDisk : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("kestrova-rates-") + info->name() + "-" +
                                            std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::string ReadBytes(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    fs::path dir_;
};

TEST_F(RateFileOnDisk, RoundTripKeepsEveryTextAndRenumbers) {
    std::vector<RateRow> rows;
    for (const char* day : kDayTexts) rows.push_back(Row("9", "8:00", "20:00", "0,5", day));
    rows.push_back(Row("9", "", " 22:00 ", "1.25", ""));
    rows.push_back(Row("9", "24:00", "abc", "x", "Ёё№«»–—ЇїІіЄєЎўҐґ"));
    const fs::path path = dir_ / "rates.kvtl";
    ASSERT_TRUE(WriteRateFile(path, rows));

    // The bytes on disk are Windows-1251.
    const std::string bytes = ReadBytes(path);
    EXPECT_TRUE(
        bytes.starts_with("8:00|20:00|0,5|\xCF\xEE\xED\xE5\xE4\xE5\xEB\xFC\xED\xE8\xEA\r\n"))
        << testing::PrintToString(bytes.substr(0, 40));  // Понедельник
    EXPECT_TRUE(
        bytes.ends_with("24:00|abc|x|\xA8\xB8\xB9\xAB\xBB\x96\x97\xAF\xBF\xB2\xB3\xAA\xBA"
                        "\xA1\xA2\xA5\xB4\r\n"));

    const std::optional<RateFileContent> read = ReadRateFile(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_FALSE(read->stoppedAtForeignLine);
    ASSERT_EQ(read->rows.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].number = std::to_string(i + 1);
        EXPECT_EQ(Texts(read->rows[i]), Texts(rows[i]));
    }
}

TEST_F(RateFileOnDisk, EmptyTableWritesAnEmptyFile) {
    const fs::path path = dir_ / "empty.kvtl";
    ASSERT_TRUE(WriteRateFile(path, {}));
    EXPECT_EQ(fs::file_size(path), 0u);
    const std::optional<RateFileContent> read = ReadRateFile(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(read->rows.empty());
    EXPECT_FALSE(read->stoppedAtForeignLine);
}

TEST_F(RateFileOnDisk, WriteReplacesAnExistingFile) {
    const fs::path path = dir_ / "rates.kvtl";
    ASSERT_TRUE(
        WriteRateFile(path, {Row("1", "1:00", "2:00", "3", "a"), Row("2", "", "", "", "")}));
    ASSERT_TRUE(WriteRateFile(path, {Row("1", "5:00", "6:00", "7", "b")}));
    EXPECT_EQ(ReadBytes(path), "5:00|6:00|7|b\r\n");
}

TEST_F(RateFileOnDisk, FailuresAreReported) {
    EXPECT_FALSE(WriteRateFile(dir_ / "missing" / "rates.kvtl", {Row("1", "a", "b", "c", "d")}));
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
    EXPECT_FALSE(ReadRateFile(dir_ / "missing.kvtl").has_value());
    EXPECT_FALSE(ReadRateFile(dir_).has_value());  // a folder is not a file
}

}  // namespace
}  // namespace kestrova
