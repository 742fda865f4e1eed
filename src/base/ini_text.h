#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

// The text of an initialization file, without the file: lookups and edits on its bytes.
//
// Lines end in LF or CR LF. A line "[Name]" (blanks around it and the name ignored) opens a
// section; a line "Key=Value" inside a section is a key, its name the text before the first
// "=", its value the text after it, both without surrounding blanks and tabs. Names match
// without regard to ASCII letter case. A line starting with ";" is a comment; comments, blank
// lines and any other lines are kept as they stand by every edit. Keys before the first
// section belong to no section. When a section or a key occurs twice, the first one counts.

// The value of `key` in `section`, or nullopt when there is no such key.
std::optional<std::string_view> FindIniValue(std::string_view text, std::string_view section,
                                             std::string_view key);

// Whether a "[section]" line is present.
bool HasIniSection(std::string_view text, std::string_view section);

// `text` with `key` in `section` set to `value`: the key's line is changed in place, or a new
// key line is added after the last key of the section, or the section is added at the end with
// the key. New lines end in LF when every line of `text` does, otherwise in CR LF. `value` is
// stored up to its first line break, so that it cannot add lines of its own.
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace kestrova
