#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "rates/rate_table.h"

namespace kestrova {

// The texts of the rate dialog and of the commands that edit the rate table.
namespace rate_texts {
inline constexpr const char* kAddCaption = "Добавить расценку...";
inline constexpr const char* kEditCaption = "Редактировать расценку.";
inline constexpr const char* kAddButton = "Добавить";
inline constexpr const char* kEditButton = "Изменить";
inline constexpr const char* kCancelButton = "Отмена";
inline constexpr const char* kStartLabel = "Время начала:";
inline constexpr const char* kEndLabel = "Время окончания:";
inline constexpr const char* kCostLabel = "Стоимость:";
inline constexpr const char* kDayLabel = "День:";

inline constexpr const char* kBadStartTime = "Введённое время начала некорректно!";
inline constexpr const char* kBadEndTime = "Введённое время окончания некорректно!";
inline constexpr const char* kNoPrice = "Вы не ввели стоимость одной минуты/мегабайта.";
inline constexpr const char* kSelectToEdit = "Выберите элемент для редактирования!";
inline constexpr const char* kSelectToDelete = "Выберите элемент для удаления!";
inline constexpr const char* kDeleteQuestion = "Удалить выбранный элемент из списка?";

// Ends the main window's caption while the table has unsaved changes.
inline constexpr const char* kModifiedMarker = " *";
// The end time proposed for the first row of an empty table.
inline constexpr const char* kLastMinute = "23:59";
}  // namespace rate_texts

// What the rate dialog's fields hold.
struct RateFields {
    std::string start;
    std::string end;
    std::string price;
    std::optional<std::size_t> day;  // entry of kDayTexts; none chosen when empty
};

// --- Proposals ---------------------------------------------------------------------------

// The long time text without its last three characters: "8:05:17" gives "8:05".
std::string ProposedStartTime(std::string_view longTime);
// The day entry of a weekday numbered 1 = Monday ... 7 = Sunday; none for other numbers.
std::optional<std::size_t> DayEntryOfWeekday(int isoWeekday);
// The first of the ten day texts equal to `day` exactly (with case); none when no text is.
std::optional<std::size_t> DayEntryOfText(std::string_view day);

// Add mode: start from the clock's long time text, today's day, the end where the first row
// starts (or the last minute of the day), no price.
RateFields AddModeFields(const RateTable& table, std::string_view longTime, int isoWeekday);
// Edit mode: the row's texts, its price as the price field shows it, and its day entry.
// Empty when the row's price text is not a number: the dialog cannot show it.
std::optional<RateFields> EditModeFields(const RateRow& row, char decimalSeparator);
// What the user is told when a row's price cannot be shown.
std::string PriceNotANumberMessage(std::string_view price);

// --- The price field ---------------------------------------------------------------------

// Whether the price field may hold `text` while it is typed: digits with at most one
// `decimalSeparator` and at most two digits after it (empty and "1," included).
bool IsPriceInput(std::string_view text, char decimalSeparator);
// What the price field shows on losing the focus: the number with at most two decimals, no
// grouping, nothing for zero or an empty field. Empty optional when `text` is not a number.
std::optional<std::string> PriceFieldText(std::string_view text, char decimalSeparator);

// --- Confirming and the other commands ---------------------------------------------------

struct RateConfirmation {
    // The error message to show; while it is set the dialog stays open.
    const char* error = nullptr;
    // The start, end, price and day texts to store (the number is given on append).
    RateRow row;

    bool Accepted() const { return error == nullptr; }
};

// The dialog's checks in their order: start time, end time, price. The price is taken as the
// field shows it after losing the focus; a zero price therefore counts as none.
RateConfirmation ConfirmRate(const RateFields& fields, char decimalSeparator);

// Appends `row` (add mode, `editRow` empty) or replaces the texts of row `*editRow` (edit
// mode, the number stays), then marks the table modified.
void StoreRate(RateTable& table, const RateRow& row, std::optional<std::size_t> editRow);
// Removes row `i` and marks the table modified.
void DeleteRate(RateTable& table, std::size_t i);
// Removes every row, also of an empty table, and marks the table modified.
void ClearRates(RateTable& table);

// The main window's caption: `base`, followed by the marker while the table is modified.
std::string CaptionWithMarker(std::string_view base, bool modified);

}  // namespace kestrova
