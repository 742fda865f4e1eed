#include "meter/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace kestrova {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

void ReplacePoint(std::string& text, char separator) {
    if (separator == '.') return;
    for (char& c : text)
        if (c == '.') c = separator;
}

}  // namespace

std::string FormatFixed(double value, int decimals, char separator) {
    if (!std::isfinite(value)) value = 0.0;
    // Round half away from zero on the decimal value a person reads: 0.125 -> 0.13. A tiny
    // nudge absorbs the binary representation error of values such as 1.005.
    const double scale = std::pow(10.0, decimals);
    double scaled = value * scale;
    scaled = std::round(scaled + (scaled >= 0 ? 1e-9 : -1e-9) * std::max(1.0, std::fabs(scaled)));
    if (scaled == 0.0) scaled = 0.0;  // no "-0.00"
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, scaled / scale,
                                std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    ReplacePoint(text, separator);
    return text;
}

std::string FormatShortest(double value, char separator) {
    if (!std::isfinite(value)) value = 0.0;
    if (value == 0.0) return "0";
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    ReplacePoint(text, separator);
    return text;
}

std::string FormatPlainDecimal(double value, char separator) {
    if (!std::isfinite(value) || value == 0.0) return "0";
    // Without a precision, to_chars gives the shortest fixed text that reads back exactly; the
    // longest (a subnormal number) stays below 350 characters.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (result.ec != std::errc()) return "0";
    std::string text(buffer, result.ptr);
    ReplacePoint(text, separator);
    return text;
}

std::optional<double> ParseStoredNumber(std::string_view text) {
    text = Trim(text);
    const std::size_t e = text.find_first_of("eE");
    if (e == std::string_view::npos) return ParseDecimal(text);
    const std::optional<double> mantissa = ParseDecimal(text.substr(0, e));
    std::string_view exponent = text.substr(e + 1);
    if (!exponent.empty() && (exponent.front() == '+' || exponent.front() == '-'))
        exponent.remove_prefix(1);
    if (!mantissa || exponent.empty() || exponent.size() > 4 ||
        exponent.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    // Read as a whole, so the value is the double nearest to the text, as it was written.
    std::string plain(text);
    for (char& c : plain)
        if (c == ',') c = '.';
    const char* begin = plain.data() + (plain.front() == '+' ? 1 : 0);
    double value = 0;
    const auto result = std::from_chars(begin, plain.data() + plain.size(), value);
    if (result.ec != std::errc() || result.ptr != plain.data() + plain.size()) return std::nullopt;
    return value;
}

std::optional<double> ParseDecimal(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::string plain;
    int points = 0, digits = 0;
    for (char c : text) {
        if (c == ',' || c == '.') {
            ++points;
            plain += '.';
        } else if (c >= '0' && c <= '9') {
            ++digits;
            plain += c;
        } else {
            return std::nullopt;
        }
    }
    if (points > 1 || digits == 0) return std::nullopt;
    double value = 0;
    auto result =
        std::from_chars(plain.data(), plain.data() + plain.size(), value, std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != plain.data() + plain.size()) return std::nullopt;
    return negative ? -value : value;
}

std::optional<int> ParseInt(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) return std::nullopt;
    }
    int value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string MoneyFieldText(double value, char separator) {
    if (!std::isfinite(value) || std::fabs(value) < 0.005) return "";
    std::string text = FormatFixed(value, 2, separator);
    if (text == "0" + std::string(1, separator) + "00") return "";
    return text;
}

}  // namespace kestrova
