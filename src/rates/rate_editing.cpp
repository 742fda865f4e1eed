#include "rates/rate_editing.h"

#include <iterator>

#include "base/number_format.h"
#include "rates/rate_time.h"

namespace kestrova {

namespace {

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool IsTimeOfDay(const std::string& text) {
    return ParseTimeOfDay(text).has_value();
}

}  // namespace

std::string ProposedStartTime(std::string_view longTime) {
    // Characters, not bytes: a notation may end in letters outside ASCII.
    std::size_t end = longTime.size();
    for (int removed = 0; removed < 3 && end > 0; ++removed) {
        --end;
        while (end > 0 && IsUtf8Continuation(longTime[end])) --end;
    }
    return std::string(longTime.substr(0, end));
}

std::optional<std::size_t> DayEntryOfWeekday(int isoWeekday) {
    if (isoWeekday < 1 || isoWeekday > 7) return std::nullopt;
    return static_cast<std::size_t>(isoWeekday - 1);
}

std::optional<std::size_t> DayEntryOfText(std::string_view day) {
    for (std::size_t i = 0; i < std::size(kDayTexts); ++i)
        if (day == kDayTexts[i]) return i;
    return std::nullopt;
}

RateFields AddModeFields(const RateTable& table, std::string_view longTime, int isoWeekday) {
    RateFields fields;
    fields.start = ProposedStartTime(longTime);
    fields.end = table.Count() > 0 ? table.Row(0).start : std::string(rate_texts::kLastMinute);
    fields.day = DayEntryOfWeekday(isoWeekday);
    return fields;
}

std::optional<RateFields> EditModeFields(const RateRow& row, char decimalSeparator) {
    // An empty price is not a number either: the field is filled from the row's value.
    if (!ParseDecimal(row.price)) return std::nullopt;
    const std::optional<std::string> price = PriceFieldText(row.price, decimalSeparator);
    if (!price) return std::nullopt;
    return RateFields{row.start, row.end, *price, DayEntryOfText(row.day)};
}

std::string PriceNotANumberMessage(std::string_view price) {
    return "'" + std::string(price) + "' не является числом.";
}

bool IsPriceInput(std::string_view text, char decimalSeparator) {
    bool seenSeparator = false;
    int decimals = 0;
    for (const char c : text) {
        if (c == decimalSeparator) {
            if (seenSeparator) return false;
            seenSeparator = true;
        } else if (c >= '0' && c <= '9') {
            if (seenSeparator && ++decimals > 2) return false;
        } else {
            return false;
        }
    }
    return true;
}

std::optional<std::string> PriceFieldText(std::string_view text, char decimalSeparator) {
    if (text.empty()) return std::string();
    const std::optional<double> value = ParseDecimal(text);
    if (!value) return std::nullopt;
    std::string shown = FormatFixed(*value, 2, decimalSeparator);
    // At most two decimals: 0,50 shows as 0,5 and 2,00 as 2.
    if (shown.find(decimalSeparator) != std::string::npos) {
        while (shown.back() == '0') shown.pop_back();
        if (shown.back() == decimalSeparator) shown.pop_back();
    }
    if (shown == "0") return std::string();
    return shown;
}

RateConfirmation ConfirmRate(const RateFields& fields, char decimalSeparator) {
    RateConfirmation result;
    if (!IsTimeOfDay(fields.start)) {
        result.error = rate_texts::kBadStartTime;
        return result;
    }
    if (!IsTimeOfDay(fields.end)) {
        result.error = rate_texts::kBadEndTime;
        return result;
    }
    const std::optional<std::string> price = PriceFieldText(fields.price, decimalSeparator);
    if (!price || price->empty()) {
        result.error = rate_texts::kNoPrice;
        return result;
    }
    result.row.start = fields.start;
    result.row.end = fields.end;
    result.row.price = *price;
    if (fields.day && *fields.day < std::size(kDayTexts)) result.row.day = kDayTexts[*fields.day];
    return result;
}

void StoreRate(RateTable& table, const RateRow& row, std::optional<std::size_t> editRow) {
    if (editRow)
        table.Replace(*editRow, row.start, row.end, row.price, row.day);
    else
        table.Append(row.start, row.end, row.price, row.day);
    table.MarkModified();
}

void DeleteRate(RateTable& table, std::size_t i) {
    table.Remove(i);
    table.MarkModified();
}

void ClearRates(RateTable& table) {
    table.Clear();
    table.MarkModified();
}

std::string CaptionWithMarker(std::string_view base, bool modified) {
    std::string caption(base);
    if (modified) caption += rate_texts::kModifiedMarker;
    return caption;
}

}  // namespace kestrova
