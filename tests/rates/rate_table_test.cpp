#include "rates/rate_table.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace kestrova {
namespace {

std::vector<std::string> Numbers(const RateTable& table) {
    std::vector<std::string> numbers;
    for (const RateRow& row : table.Rows()) numbers.push_back(row.number);
    return numbers;
}

TEST(RateTable, NumbersAreGivenOnAppendAndNeverChanged) {
    RateTable table;
    table.Append("8:00", "20:00", "2", "Будние дни");
    table.Append("20:00", "8:00", "1", "Будние дни");
    table.Append("0:00", "23:59", "0,5", "Выходные дни");
    EXPECT_EQ(Numbers(table), (std::vector<std::string>{"1", "2", "3"}));

    table.Remove(1);
    EXPECT_EQ(Numbers(table), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(table.Row(1).start, "0:00");

    table.Append("1:00", "2:00", "3", "Все дни");
    EXPECT_EQ(Numbers(table), (std::vector<std::string>{"1", "3", "3"}));

    table.Clear();
    EXPECT_EQ(table.Count(), 0u);
    table.Append("1:00", "2:00", "3", "");
    EXPECT_EQ(Numbers(table), (std::vector<std::string>{"1"}));
}

TEST(RateTable, ReplaceKeepsPlaceAndNumberAndStoresTextsAsGiven) {
    RateTable table;
    table.Append("8:00", "20:00", "2", "Среда");
    table.Append("9:00", "21:00", "3", "Четверг");
    table.Remove(0);
    table.Replace(0, " 8:00:00", "24:00", "abc", "");
    ASSERT_EQ(table.Count(), 1u);
    const RateRow& row = table.Row(0);
    EXPECT_EQ(row.number, "2");
    EXPECT_EQ(row.start, " 8:00:00");
    EXPECT_EQ(row.end, "24:00");
    EXPECT_EQ(row.price, "abc");
    EXPECT_EQ(row.day, "");
}

TEST(RateTable, MissingRowsAreRefused) {
    RateTable table;
    table.Append("8:00", "20:00", "2", "Среда");
    EXPECT_THROW(table.Remove(1), std::out_of_range);
    EXPECT_THROW(table.Replace(1, "", "", "", ""), std::out_of_range);
    EXPECT_THROW(table.Row(1), std::out_of_range);
    EXPECT_EQ(table.Count(), 1u);
}

TEST(RateTable, ModifiedFlagIsLeftToTheCommands) {
    RateTable table;
    EXPECT_FALSE(table.Modified());
    table.Append("8:00", "20:00", "2", "Среда");
    table.Replace(0, "9:00", "20:00", "2", "Среда");
    table.Remove(0);
    table.Clear();
    EXPECT_FALSE(table.Modified());  // loading a file clears and appends without marking

    EXPECT_TRUE(table.MarkModified());   // the marker is shown now ...
    EXPECT_FALSE(table.MarkModified());  // ... and only once
    EXPECT_TRUE(table.Modified());

    table.SetModified(false);  // a successful save
    EXPECT_TRUE(table.MarkModified());
}

}  // namespace
}  // namespace kestrova
