// Hostile input for the rate file reader: whatever a file holds, reading it must not crash and
// must give rows that write back as one line each.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "rates/rate_file.h"

namespace kestrova {
namespace {

using namespace std::string_literals;

// The invariants every parse keeps: rows numbered 1, 2, 3 ..., no text holding a line feed,
// and the written form reading back as the same number of rows.
void ExpectSaneRows(const RateFileContent& content) {
    for (std::size_t i = 0; i < content.rows.size(); ++i) {
        const RateRow& row = content.rows[i];
        ASSERT_EQ(row.number, std::to_string(i + 1));
        for (const std::string* text : {&row.start, &row.end, &row.price, &row.day})
            ASSERT_EQ(text->find('\n'), std::string::npos);
    }
    const RateFileContent again = ParseRateFile(SerializeRateFile(content.rows));
    ASSERT_EQ(again.rows.size(), content.rows.size());
    ASSERT_FALSE(again.stoppedAtForeignLine);
}

TEST(RateFileFuzz, RandomBytes) {
    std::mt19937 random(20240611);
    // Bytes that matter to the reader come often; the rest is any byte at all.
    const std::string special = "|||\r\n\n\xEF\xBB\xBF\xD0\x80\xC0";
    std::uniform_int_distribution<int> length(0, 600);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<std::size_t> pick(0, special.size() - 1);
    std::bernoulli_distribution takeSpecial(0.3);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        const int size = length(random);
        for (int i = 0; i < size; ++i)
            bytes +=
                takeSpecial(random) ? special[pick(random)] : static_cast<char>(anyByte(random));
        const RateFileContent content = ParseRateFile(bytes);
        ExpectSaneRows(content);
        if (HasFatalFailure()) {
            ADD_FAILURE() << "round " << round << ": " << testing::PrintToString(bytes);
            return;
        }
        // The codec on the same junk.
        EXPECT_TRUE(IsValidUtf8(Cp1251ToUtf8(bytes)));
        EXPECT_LE(Utf8ToCp1251(bytes).size(), bytes.size());
    }
}

TEST(RateFileFuzz, NulBytesAreKeptAsText) {
    const RateFileContent content = ParseRateFile("8:00\0|\0\0|1\0|x|\0day\0\r\n\0|\0|\0|\0"s);
    ASSERT_EQ(content.rows.size(), 2u);
    EXPECT_EQ(content.rows[0].start, "8:00\0"s);
    EXPECT_EQ(content.rows[0].end, "\0\0"s);
    EXPECT_EQ(content.rows[0].price, "1\0"s);
    EXPECT_EQ(content.rows[0].day, "\0day\0"s);
    EXPECT_EQ(content.rows[1].day, "\0"s);
    ExpectSaneRows(content);
}

TEST(RateFileFuzz, MegabyteLines) {
    const std::size_t megabyte = 1 << 20;

    const RateFileContent longDay = ParseRateFile("8:00|23:59|1|" + std::string(megabyte, 'x'));
    ASSERT_EQ(longDay.rows.size(), 1u);
    EXPECT_EQ(longDay.rows[0].day.size(), megabyte);

    // Windows-1251 letters: each becomes two bytes in memory.
    const RateFileContent cyrillic = ParseRateFile("|||" + std::string(megabyte, '\xC0') + "\r\n");
    ASSERT_EQ(cyrillic.rows.size(), 1u);
    EXPECT_EQ(cyrillic.rows[0].day.size(), 2 * megabyte);

    const RateFileContent noBar = ParseRateFile(std::string(megabyte, 'x') + "\r\n1|2|3|4");
    EXPECT_TRUE(noBar.rows.empty());
    EXPECT_TRUE(noBar.stoppedAtForeignLine);

    const RateFileContent bars = ParseRateFile(std::string(megabyte, '|'));
    ASSERT_EQ(bars.rows.size(), 1u);
    EXPECT_EQ(bars.rows[0].start, "");
    EXPECT_EQ(bars.rows[0].price, "");
    EXPECT_EQ(bars.rows[0].day, std::string(megabyte - 4, '|'));
    ExpectSaneRows(bars);
}

TEST(RateFileFuzz, ManyShortLines) {
    std::string file;
    for (int i = 0; i < 100000; ++i) file += "|\n";
    const RateFileContent content = ParseRateFile(file);
    ASSERT_EQ(content.rows.size(), 100000u);
    EXPECT_EQ(content.rows.back().number, "100000");
    EXPECT_FALSE(content.stoppedAtForeignLine);
}

}  // namespace
}  // namespace kestrova
