#include "base/money_pattern.h"

#include <cmath>
#include <vector>

#include "base/number_format.h"

namespace kestrova {

namespace {

bool IsQuote(char c) {
    return c == '\'' || c == '"';
}

// The parts of a pattern split at the unquoted ";".
std::vector<std::string_view> SplitParts(std::string_view pattern) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    char quote = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (IsQuote(c)) {
            quote = c;
        } else if (c == ';') {
            parts.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(pattern.substr(start));
    return parts;
}

// What a part asks for, found by a first pass over it.
struct PartShape {
    int integerPlaceholders = 0;  // "0" and "#" before the decimal point
    int integerRequired = 0;      // placeholders from the first integer "0" on
    int fractionPlaceholders = 0;
    int fractionRequired = 0;  // placeholders up to the last fraction "0"
    bool grouping = false;
};

PartShape ShapeOf(std::string_view part) {
    PartShape shape;
    bool afterPoint = false;
    int firstIntegerZero = -1;
    char quote = 0;
    for (char c : part) {
        if (quote != 0) {
            if (c == quote) quote = 0;
            continue;
        }
        if (IsQuote(c)) {
            quote = c;
        } else if (c == '.') {
            afterPoint = true;
        } else if (c == ',') {
            shape.grouping = true;
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                ++shape.fractionPlaceholders;
                if (c == '0') shape.fractionRequired = shape.fractionPlaceholders;
            } else {
                if (c == '0' && firstIntegerZero < 0) firstIntegerZero = shape.integerPlaceholders;
                ++shape.integerPlaceholders;
            }
        }
    }
    if (firstIntegerZero >= 0) shape.integerRequired = shape.integerPlaceholders - firstIntegerZero;
    return shape;
}

// The digits of a non-negative value rounded to the part's decimals.
struct Digits {
    std::string integer;   // no leading zeros; empty for a zero integer part
    std::string fraction;  // trailing zeros beyond the required ones removed
};

Digits DigitsOf(double magnitude, const PartShape& shape) {
    const std::string fixed = FormatFixed(magnitude, shape.fractionPlaceholders, '.');
    const std::size_t point = fixed.find('.');
    Digits digits;
    digits.integer = fixed.substr(0, point);
    if (point != std::string::npos) digits.fraction = fixed.substr(point + 1);
    const std::size_t firstNonZero = digits.integer.find_first_not_of('0');
    digits.integer.erase(0,
                         firstNonZero == std::string::npos ? digits.integer.size() : firstNonZero);
    while (static_cast<int>(digits.fraction.size()) > shape.fractionRequired &&
           digits.fraction.back() == '0')
        digits.fraction.pop_back();
    return digits;
}

bool IsZero(const Digits& digits) {
    return digits.integer.empty() && digits.fraction.find_first_not_of('0') == std::string::npos;
}

// Second pass: the part's text with the digits put into its placeholders.
std::string Render(std::string_view part, const PartShape& shape, const Digits& digits,
                   const NumberSeparators& separators) {
    std::string integer = digits.integer;
    if (static_cast<int>(integer.size()) < shape.integerRequired)
        integer.insert(0, static_cast<std::size_t>(shape.integerRequired) - integer.size(), '0');
    const std::size_t integerLength = integer.size();
    std::size_t nextInteger = 0;  // the next integer digit to write
    std::string out;
    auto writeIntegerDigits = [&](std::size_t count) {
        for (; count > 0; --count, ++nextInteger) {
            out += integer[nextInteger];
            const std::size_t left = integerLength - nextInteger - 1;
            if (shape.grouping && left > 0 && left % 3 == 0) out += separators.thousands;
        }
    };

    int integerSeen = 0;
    std::size_t fractionSeen = 0;
    bool afterPoint = false;
    char quote = 0;
    for (char c : part) {
        if (quote != 0) {
            if (c == quote)
                quote = 0;
            else
                out += c;
            continue;
        }
        if (IsQuote(c)) {
            quote = c;
        } else if (c == ',') {
            // grouping is decided for the whole part
        } else if (c == '.') {
            if (afterPoint) continue;  // only the first point is the decimal point
            afterPoint = true;
            writeIntegerDigits(integerLength - nextInteger);  // a pattern without integer digits
            if (!digits.fraction.empty()) out += separators.decimal;
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                if (fractionSeen < digits.fraction.size()) out += digits.fraction[fractionSeen];
                ++fractionSeen;
            } else {
                // The first placeholder takes every digit the pattern has no place for.
                const std::size_t placesAfter =
                    static_cast<std::size_t>(shape.integerPlaceholders - integerSeen - 1);
                const std::size_t remaining = integerLength - nextInteger;
                if (remaining > placesAfter) writeIntegerDigits(remaining - placesAfter);
                ++integerSeen;
            }
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string FormatWithPattern(std::string_view pattern, double value,
                              const NumberSeparators& separators) {
    if (!std::isfinite(value)) value = 0.0;
    if (pattern.empty()) {
        std::string text = FormatShortest(value, '.');
        const std::size_t point = text.find('.');
        if (point != std::string::npos) text.replace(point, 1, separators.decimal);
        return text;
    }
    const std::vector<std::string_view> parts = SplitParts(pattern);
    const bool negative = value < 0;
    const bool negativePart = negative && parts.size() > 1 && !parts[1].empty();
    std::string_view part = negativePart ? parts[1] : parts[0];
    PartShape shape = ShapeOf(part);
    Digits digits = DigitsOf(std::fabs(value), shape);

    if (IsZero(digits)) {
        // A value that rounds to zero has no sign; it takes the zero part when there is one.
        if (parts.size() > 2 && !parts[2].empty()) {
            part = parts[2];
            shape = ShapeOf(part);
            digits = DigitsOf(0.0, shape);
        } else if (negativePart) {
            part = parts[0];
            shape = ShapeOf(part);
            digits = DigitsOf(0.0, shape);
        }
        return Render(part, shape, digits, separators);
    }
    std::string text = Render(part, shape, digits, separators);
    if (negative && !negativePart) text.insert(0, "-");
    return text;
}

std::optional<MoneyFormat> CostFormatEntry(int costFormat) {
    switch (costFormat) {
        case 0:
            return MoneyFormat{",0.00р'.';-,0.00р'.'", "р."};
        case 1:
            return MoneyFormat{",0.00$'.';-,0.00$'.'", "$."};
        case 2:
            return MoneyFormat{",0.00€'.';-,0.00€'.'", "€."};
        case 3:
            return MoneyFormat{",0.00едн.'.';-,0.00едн.'.'", "едн."};
        case 4:
            return MoneyFormat{",0.00у.е.'.';-,0.00у.е.'.'", "у.е."};
        default:
            return std::nullopt;
    }
}

}  // namespace kestrova
