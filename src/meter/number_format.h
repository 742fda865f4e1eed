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

// `value` in plain decimal notation, never with an exponent, with the fewest digits that read
// back as exactly `value`: 3.8e-05 gives "0.000038". "0" for zero and for what is not finite.
std::string FormatPlainDecimal(double value, char separator);

// A decimal number with "." or "," as its point, optional sign, surrounding blanks allowed.
// Nothing else may follow; no grouping. nullopt when the text is not such a number.
std::optional<double> ParseDecimal(std::string_view text);

// A number as stored in a file: ParseDecimal's form, or the same with an exponent as earlier
// writers left it ("3.8e-05", "3,8E-5").
std::optional<double> ParseStoredNumber(std::string_view text);

// A decimal integer with optional sign and surrounding blanks; nullopt when malformed or out
// of the 32-bit range.
std::optional<int> ParseInt(std::string_view text);

// Money as a field shows it: two decimals, empty when it rounds to zero.
std::string MoneyFieldText(double value, char separator);

}  // namespace kestrova
