#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kestrova {

// A key with its section.
struct IniKey {
    std::string_view section;
    std::string_view name;
};

// A write the system refused. what() is "Unable to write to <path>".
class IniWriteError : public std::runtime_error {
public:
    explicit IniWriteError(const std::filesystem::path& path);
};

// An initialization file: "[Section]" lines and "Key=Value" lines. Section and key names match
// without regard to ASCII letter case; the value is everything after the first "=", without
// the blanks and tabs around it. Values are bytes, kept as they stand in the file.
//
// Every read sees every earlier write, through this or any other instance, and a change made to
// the file by another program: the file's bytes come from the SettingsFileCache
// (settings_file_cache.h), which reads the file again whenever anything changed it. A write
// replaces the whole file atomically, so the file is always either the old or the new content.
class IniFile {
public:
    static constexpr std::size_t kMaxTextLength = 2047;

    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return path_; }

    // The value, cut to kMaxTextLength bytes, or `fallback` when the key is absent.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    // Decimal, or hexadecimal after "0x"/"0X" (when longer than two characters) or "$";
    // `fallback` when absent, empty or malformed, or out of range. Hexadecimal gives the bits
    // of the integer: "$FFFFFFFF" reads as -1.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t fallback) const;
    // As ReadInteger, 64-bit: "$FFFFFFFF" reads as 4294967295, "$FFFFFFFFFFFFFFFF" as -1.
    std::int64_t ReadInteger64(std::string_view section, std::string_view key,
                               std::int64_t fallback) const;
    // ReadString(section, key, fallback) == expected, exactly.
    bool ReadFlag(std::string_view section, std::string_view key, std::string_view fallback,
                  std::string_view expected = "1") const;
    // Whether a "[section]" line is present, with or without keys.
    bool SectionExists(std::string_view section) const;

    // Each write replaces the key's value, or adds the key (and the section) when missing; the
    // first write creates the file. A write that changes nothing leaves the file untouched.
    // Throws IniWriteError when the system refuses.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int64_t value);
    // The shortest decimal text of `value` with `decimalSeparator` as its point.
    void WriteNumber(std::string_view section, std::string_view key, double value,
                     char decimalSeparator);

    // The same, for a key named with its section.
    std::string ReadString(IniKey key, std::string_view fallback) const {
        return ReadString(key.section, key.name, fallback);
    }
    std::int32_t ReadInteger(IniKey key, std::int32_t fallback) const {
        return ReadInteger(key.section, key.name, fallback);
    }
    bool ReadFlag(IniKey key, std::string_view fallback, std::string_view expected = "1") const {
        return ReadFlag(key.section, key.name, fallback, expected);
    }
    void WriteString(IniKey key, std::string_view value) {
        WriteString(key.section, key.name, value);
    }
    void WriteInteger(IniKey key, std::int64_t value) {
        WriteInteger(key.section, key.name, value);
    }
    void WriteNumber(IniKey key, double value, char decimalSeparator) {
        WriteNumber(key.section, key.name, value, decimalSeparator);
    }

private:
    std::filesystem::path path_;
};

}  // namespace kestrova
