#include "rates/rate_table.h"

#include <charconv>
#include <stdexcept>
#include <utility>

namespace kestrova {

namespace {

std::string DecimalText(std::size_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void CheckIndex(std::size_t i, std::size_t count) {
    if (i >= count) throw std::out_of_range("rate table row index out of range");
}

}  // namespace

void RateTable::Append(std::string start, std::string end, std::string price, std::string day) {
    rows_.push_back(RateRow{DecimalText(rows_.size() + 1), std::move(start), std::move(end),
                            std::move(price), std::move(day)});
}

void RateTable::Replace(std::size_t i, std::string start, std::string end, std::string price,
                        std::string day) {
    CheckIndex(i, rows_.size());
    RateRow& row = rows_[i];
    row.start = std::move(start);
    row.end = std::move(end);
    row.price = std::move(price);
    row.day = std::move(day);
}

void RateTable::Remove(std::size_t i) {
    CheckIndex(i, rows_.size());
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(i));
}

void RateTable::Clear() {
    rows_.clear();
}

bool RateTable::MarkModified() {
    if (modified_) return false;
    modified_ = true;
    return true;
}

}  // namespace kestrova
