#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

// The separators a display pattern writes; UTF-8, so a no-break space can group digits.
struct NumberSeparators {
    std::string decimal = ",";
    std::string thousands = " ";
};

// `value` written through a number display pattern:
//   "0"  a digit, shown always; "#" a digit, shown when significant;
//   "."  the first one is the decimal point, any further unquoted point is dropped;
//   ","  anywhere in a part: group the integer digits by thousands;
//   'x' or "x"  literal text; any other character is shown as it is;
//   ";"  separates the parts for positive, negative and zero values. A negative value in a
//        pattern without a negative part is written with "-" in front of the positive part.
// An empty pattern writes the value in its shortest form.
std::string FormatWithPattern(std::string_view pattern, double value,
                              const NumberSeparators& separators);

// The display pattern of the money fields before a cost format is chosen.
inline constexpr const char* kInitialMoneyPattern = ",0.##";
// The money unit before a cost format is chosen.
inline constexpr const char* kInitialMoneyUnit = "р.";

struct MoneyFormat {
    std::string pattern;  // display pattern of the money fields
    std::string unit;     // the unit that follows prices in the status bar and hints
};

// The money format numbered `costFormat` (0 to 4); nullopt for any other number, which leaves
// the fields as they are.
std::optional<MoneyFormat> CostFormatEntry(int costFormat);

}  // namespace kestrova
