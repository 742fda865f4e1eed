#pragma once

#include <string>
#include <string_view>

namespace kestrova {

// Text files the program shares with its users (log, rate tables, exports) are 8-bit
// Windows-1251 with CR LF. In memory every text is UTF-8.

// UTF-8 to Windows-1251; a character the code page cannot hold becomes "?".
std::string Utf8ToCp1251(std::string_view utf8);
// Windows-1251 to UTF-8.
std::string Cp1251ToUtf8(std::string_view cp1251);
bool IsValidUtf8(std::string_view bytes);
// The text of a file that may be UTF-8 (with or without a byte-order mark) or Windows-1251.
std::string DecodeTextFile(std::string_view bytes);

}  // namespace kestrova
