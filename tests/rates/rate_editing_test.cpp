#include "rates/rate_editing.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kestrova {
namespace {

namespace t = rate_texts;

struct ConfirmCase {
    const char* name;
    RateFields fields;
    const char* error;  // nullptr: accepted
};

TEST(ConfirmRate, ChecksStartThenEndThenPriceWithTheirMessages) {
    const std::vector<ConfirmCase> cases = {
        {"usual row", {"8:00", "23:59", "0,5", 7}, nullptr},
        {"seconds typed", {"8:00:30", "8:00:00", "1", 0}, nullptr},
        {"two-digit hour", {"08:00", "0:00", "1", 0}, nullptr},
        {"no day chosen", {"8:00", "20:00", "2", std::nullopt}, nullptr},
        {"start after end is not checked", {"20:00", "8:00", "2", 1}, nullptr},
        {"start 24:00", {"24:00", "23:59", "1", 0}, t::kBadStartTime},
        {"start minute 60", {"8:60", "23:59", "1", 0}, t::kBadStartTime},
        {"start with dot", {"8.00", "23:59", "1", 0}, t::kBadStartTime},
        {"start empty", {"", "23:59", "1", 0}, t::kBadStartTime},
        {"start and end bad: start first", {"x", "24:00", "", 0}, t::kBadStartTime},
        {"end 24:00", {"8:00", "24:00", "1", 0}, t::kBadEndTime},
        {"end bad seconds", {"8:00", "8:00:60", "1", 0}, t::kBadEndTime},
        {"end bad and no price: end first", {"8:00", "25:00", "", 0}, t::kBadEndTime},
        {"price empty", {"8:00", "23:59", "", 0}, t::kNoPrice},
        {"price zero shows as nothing", {"8:00", "23:59", "0", 0}, t::kNoPrice},
        {"price rounds to zero", {"8:00", "23:59", "0,00", 0}, t::kNoPrice},
        {"price not a number", {"8:00", "23:59", "abc", 0}, t::kNoPrice},
    };
    for (const ConfirmCase& c : cases) {
        const RateConfirmation result = ConfirmRate(c.fields, ',');
        if (c.error == nullptr) {
            EXPECT_TRUE(result.Accepted()) << c.name << ": " << result.error;
        } else {
            ASSERT_FALSE(result.Accepted()) << c.name;
            EXPECT_STREQ(result.error, c.error) << c.name;
        }
    }
}

TEST(ConfirmRate, GivesTheTextsToStoreWithThePriceAsTheFieldShowsIt) {
    RateConfirmation result = ConfirmRate({"8:00:30", "23:59", "0.50", 8}, ',');
    ASSERT_TRUE(result.Accepted());
    EXPECT_EQ(result.row.start, "8:00:30");  // stored as typed
    EXPECT_EQ(result.row.end, "23:59");
    EXPECT_EQ(result.row.price, "0,5");
    EXPECT_EQ(result.row.day, "Выходные дни");

    result = ConfirmRate({"8:00", "9:00", "3", std::nullopt}, '.');
    ASSERT_TRUE(result.Accepted());
    EXPECT_EQ(result.row.day, "");
}

TEST(PriceField, TypingAllowsDigitsOneSeparatorAndTwoDecimals) {
    for (const char* ok : {"", "0", "12", "1,", "1,2", "1,25", ",5"})
        EXPECT_TRUE(IsPriceInput(ok, ',')) << ok;
    for (const char* refused : {"1,257", "1,2,", "1.5", "-1", "1 000", "1e3", "a"})
        EXPECT_FALSE(IsPriceInput(refused, ',')) << refused;
    EXPECT_TRUE(IsPriceInput("1.25", '.'));
    EXPECT_FALSE(IsPriceInput("1,25", '.'));
}

TEST(PriceField, ShowsAtMostTwoDecimalsAndNothingForZero) {
    const std::vector<std::pair<const char*, const char*>> shown = {
        {"", ""},        {"0", ""},         {"0,004", ""},    {"0,5", "0,5"},
        {"0,50", "0,5"}, {"1.5", "1,5"},    {"2,00", "2"},    {"1,", "1"},
        {",25", "0,25"}, {"0,555", "0,56"}, {"1234", "1234"}, {"007", "7"},
    };
    for (const auto& [text, expected] : shown)
        EXPECT_EQ(PriceFieldText(text, ','), std::optional<std::string>(expected)) << text;
    EXPECT_EQ(PriceFieldText("0,5", '.'), std::optional<std::string>("0.5"));
    EXPECT_EQ(PriceFieldText("abc", ','), std::nullopt);
    EXPECT_EQ(PriceFieldText("1,2,3", ','), std::nullopt);
}

TEST(AddMode, ProposesTimeWithoutSecondsTodayAndTheLastMinuteForAnEmptyTable) {
    const RateTable empty;
    const RateFields fields = AddModeFields(empty, "8:05:17", 3);
    EXPECT_EQ(fields.start, "8:05");
    EXPECT_EQ(fields.end, "23:59");
    EXPECT_EQ(fields.price, "");
    EXPECT_EQ(fields.day, std::optional<std::size_t>(2));  // Wednesday: "Среда"
}

TEST(AddMode, ProposesTheFirstRowsStartAsTheEnd) {
    RateTable table;
    table.Append("8:00", "20:00", "2", "Будние дни");
    table.Append("20:00", "8:00", "1", "Будние дни");
    EXPECT_EQ(AddModeFields(table, "21:30:00", 7).end, "8:00");
}

TEST(AddMode, DayIsMondayToSundayAsEntriesZeroToSix) {
    EXPECT_EQ(DayEntryOfWeekday(1), std::optional<std::size_t>(0));
    EXPECT_EQ(DayEntryOfWeekday(7), std::optional<std::size_t>(6));
    EXPECT_STREQ(kDayTexts[*DayEntryOfWeekday(7)], "Воскресенье");
    EXPECT_EQ(DayEntryOfWeekday(0), std::nullopt);
    EXPECT_EQ(DayEntryOfWeekday(8), std::nullopt);
}

TEST(AddMode, StartDropsTheLastThreeCharactersNotBytes) {
    EXPECT_EQ(ProposedStartTime("23:59:59"), "23:59");
    EXPECT_EQ(ProposedStartTime("08:05:17"), "08:05");
    EXPECT_EQ(ProposedStartTime("8:05:17 PM"), "8:05:17");
    EXPECT_EQ(ProposedStartTime("8:05 утра"), "8:05 у");
    EXPECT_EQ(ProposedStartTime("ab"), "");
}

TEST(EditMode, CopiesTheTextsAndSelectsTheFirstExactlyEqualDay) {
    const RateRow row{"4", "8:00", "23:59", "0,5", "Будние дни"};
    const std::optional<RateFields> fields = EditModeFields(row, ',');
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->start, "8:00");
    EXPECT_EQ(fields->end, "23:59");
    EXPECT_EQ(fields->price, "0,5");
    EXPECT_EQ(fields->day, std::optional<std::size_t>(7));

    for (const char* other : {"будние дни", "Будние дни ", "", "Праздники"}) {
        const std::optional<RateFields> f = EditModeFields({"1", "8:00", "9:00", "1", other}, ',');
        ASSERT_TRUE(f);
        EXPECT_EQ(f->day, std::nullopt) << other;
    }
}

TEST(EditMode, ShowsThePriceAsTheFieldDoesAndRefusesOneThatIsNoNumber) {
    EXPECT_EQ(EditModeFields({"1", "8:00", "9:00", "0.50", ""}, ',')->price, "0,5");
    EXPECT_EQ(EditModeFields({"1", "8:00", "9:00", "abc", ""}, ','), std::nullopt);
    EXPECT_EQ(EditModeFields({"1", "8:00", "9:00", "", ""}, ','), std::nullopt);
    EXPECT_EQ(PriceNotANumberMessage("abc"), "'abc' не является числом.");
}

TEST(Commands, AddAppendsANumberedRowAndMarksTheTableOnce) {
    RateTable table;
    table.Append("0:00", "8:00", "1", "Все дни");
    const std::string base = "Kestrova v1.0.1 Beta";
    EXPECT_EQ(CaptionWithMarker(base, table.Modified()), base);

    StoreRate(table, {"", "8:00", "23:59", "0,5", "Будние дни"}, std::nullopt);
    ASSERT_EQ(table.Count(), 2u);
    EXPECT_EQ(table.Row(1).number, "2");
    EXPECT_EQ(table.Row(1).price, "0,5");
    EXPECT_TRUE(table.Modified());
    EXPECT_EQ(CaptionWithMarker(base, table.Modified()), "Kestrova v1.0.1 Beta *");

    StoreRate(table, {"", "1:00", "2:00", "3", ""}, std::nullopt);
    EXPECT_EQ(CaptionWithMarker(base, table.Modified()), "Kestrova v1.0.1 Beta *");
}

TEST(Commands, EditKeepsTheNumberAndThePlace) {
    RateTable table;
    table.Append("0:00", "8:00", "1", "Все дни");
    table.Append("8:00", "20:00", "2", "Будние дни");
    table.Append("20:00", "0:00", "3", "Все дни");
    table.Remove(0);  // numbers 2 and 3 remain

    StoreRate(table, {"", "9:00", "21:00", "2,5", ""}, std::size_t{0});
    ASSERT_EQ(table.Count(), 2u);
    EXPECT_EQ(table.Row(0).number, "2");
    EXPECT_EQ(table.Row(0).start, "9:00");
    EXPECT_EQ(table.Row(0).end, "21:00");
    EXPECT_EQ(table.Row(0).price, "2,5");
    EXPECT_EQ(table.Row(0).day, "");
    EXPECT_EQ(table.Row(1).start, "20:00");
    EXPECT_TRUE(table.Modified());
}

TEST(Commands, DeleteAndClearMarkTheTableEvenWhenItIsEmpty) {
    RateTable table;
    table.Append("0:00", "8:00", "1", "Все дни");
    table.Append("8:00", "20:00", "2", "Будние дни");
    DeleteRate(table, 0);
    ASSERT_EQ(table.Count(), 1u);
    EXPECT_EQ(table.Row(0).number, "2");
    EXPECT_TRUE(table.Modified());

    RateTable empty;
    ClearRates(empty);
    EXPECT_EQ(empty.Count(), 0u);
    EXPECT_TRUE(empty.Modified());
}

}  // namespace
}  // namespace kestrova
