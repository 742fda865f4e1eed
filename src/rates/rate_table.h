#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kestrova {

// One rate: five texts, stored exactly as entered or read, never parsed here.
struct RateRow {
    std::string number;  // display only; given on append, never renumbered
    std::string start;   // e.g. "8:00"
    std::string end;
    std::string price;  // e.g. "0,5"
    std::string day;    // one of kDayTexts, or anything a file held
};

// The day selector texts, in the dialog's order (index 0 to 9).
inline constexpr const char* kDayTexts[10] = {
    "Понедельник", "Вторник",     "Среда",      "Четверг",      "Пятница",
    "Суббота",     "Воскресенье", "Будние дни", "Выходные дни", "Все дни"};

// The ordered rate table with its modified flag. The order is the priority order.
// The row operations leave the flag alone: the commands that edit the table mark it, while
// loading a file (which also clears and appends) does not.
class RateTable {
public:
    std::size_t Count() const { return rows_.size(); }
    const RateRow& Row(std::size_t i) const { return rows_.at(i); }
    const std::vector<RateRow>& Rows() const { return rows_; }

    // Appends a row numbered with the row count after appending.
    void Append(std::string start, std::string end, std::string price, std::string day);
    // Changes the four texts of row i in place; its number stays.
    void Replace(std::size_t i, std::string start, std::string end, std::string price,
                 std::string day);
    // Replace and Remove throw std::out_of_range for a row that does not exist.
    void Remove(std::size_t i);
    void Clear();

    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    // Turns the flag on; true when it was off, i.e. when the caption marker is to be shown.
    bool MarkModified();

private:
    std::vector<RateRow> rows_;
    bool modified_ = false;
};

}  // namespace kestrova
