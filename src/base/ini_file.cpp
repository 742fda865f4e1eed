#include "base/ini_file.h"

#include <charconv>
#include <fstream>
#include <optional>
#include <system_error>
#include <type_traits>
#include <utility>

#include "base/atomic_file.h"
#include "base/ini_text.h"
#include "base/number_format.h"

namespace kestrova {

namespace fs = std::filesystem;

namespace {

// The whole file, or nullopt when it cannot be read (absent, a folder, no permission).
std::optional<std::string> ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) return std::nullopt;
    return bytes;
}

std::optional<std::string> ReadValue(const fs::path& path, std::string_view section,
                                     std::string_view key) {
    const std::optional<std::string> text = ReadFileBytes(path);
    if (!text) return std::nullopt;
    const std::optional<std::string_view> value = FindIniValue(*text, section, key);
    if (!value) return std::nullopt;
    return std::string(value->substr(0, IniFile::kMaxTextLength));
}

template <typename Int>
bool ParseWhole(std::string_view text, Int& value, int base) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value, base);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

// Decimal with an optional sign, or hexadecimal after "0x"/"0X" (when longer than two
// characters) or "$". Hexadecimal gives the bits of the integer: "$FFFFFFFF" is -1 in 32 bits.
template <typename Int>
std::optional<Int> ParseIniInteger(std::string_view text) {
    std::string_view hex;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        hex = text.substr(2);
    else if (text.starts_with('$'))
        hex = text.substr(1);
    else {
        if (text.starts_with('+')) {
            text.remove_prefix(1);
            if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
        }
        Int value = 0;
        if (!ParseWhole(text, value, 10)) return std::nullopt;
        return value;
    }
    std::make_unsigned_t<Int> bits = 0;  // an unsigned target takes no sign
    if (!ParseWhole(hex, bits, 16)) return std::nullopt;
    return static_cast<Int>(bits);
}

template <typename Int>
Int ReadIntegerValue(const fs::path& path, std::string_view section, std::string_view key,
                     Int fallback) {
    const std::optional<std::string> value = ReadValue(path, section, key);
    if (!value) return fallback;
    return ParseIniInteger<Int>(*value).value_or(fallback);
}

}  // namespace

IniWriteError::IniWriteError(const fs::path& path)
    : std::runtime_error("Unable to write to " + path.string()) {}

IniFile::IniFile(fs::path path) : path_(std::move(path)) {}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    return ReadValue(path_, section, key).value_or(std::string(fallback));
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t fallback) const {
    return ReadIntegerValue(path_, section, key, fallback);
}

std::int64_t IniFile::ReadInteger64(std::string_view section, std::string_view key,
                                    std::int64_t fallback) const {
    return ReadIntegerValue(path_, section, key, fallback);
}

bool IniFile::ReadFlag(std::string_view section, std::string_view key, std::string_view fallback,
                       std::string_view expected) const {
    return ReadString(section, key, fallback) == expected;
}

bool IniFile::SectionExists(std::string_view section) const {
    const std::optional<std::string> text = ReadFileBytes(path_);
    return text && HasIniSection(*text, section);
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::optional<std::string> text = ReadFileBytes(path_);
    if (!text) {
        // Only a file that is not there starts empty; one that cannot be read is not replaced.
        std::error_code error;
        if (fs::exists(path_, error) || error) throw IniWriteError(path_);
        text.emplace();
    }
    const std::string updated = SetIniValue(*text, section, key, value);
    if (updated == *text) return;  // the key already holds this value
    if (!ReplaceFileAtomically(path_, updated)) throw IniWriteError(path_);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    WriteString(section, key, std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

void IniFile::WriteNumber(std::string_view section, std::string_view key, double value,
                          char decimalSeparator) {
    WriteString(section, key, FormatShortest(value, decimalSeparator));
}

}  // namespace kestrova
