#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

// Number texts with an explicit decimal separator: the C library's locale never takes part.

// `value` in fixed notation with `decimals` digits after `separator`; "-" for negatives, no
// grouping. Rounds half away from zero.
std::string FormatFixed(double value, int decimals, char separator);

// The shortest text that reads back as `value` with at most 15 significant digits (general
// form, no exponent for ordinary magnitudes).
std::string FormatShortest(double value, char separator);

// A decimal number with "." or "," as its point, optional sign, surrounding blanks allowed.
// Nothing else may follow; no grouping. nullopt when the text is not such a number.
std::optional<double> ParseDecimal(std::string_view text);

// A decimal integer with optional sign and surrounding blanks; nullopt when malformed or out
// of the 32-bit range.
std::optional<int> ParseInt(std::string_view text);

// Money as a field shows it: two decimals, empty when it rounds to zero.
std::string MoneyFieldText(double value, char separator);

}  // namespace kestrova
