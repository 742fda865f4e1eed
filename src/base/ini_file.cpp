#include "base/ini_file.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <optional>
#include <type_traits>
#include <utility>

#include "base/ini_text.h"
#include "base/number_format.h"
#include "base/settings_file_cache.h"

namespace kestrova {

namespace fs = std::filesystem;

namespace {

std::optional<std::string> ReadValue(const fs::path& path, std::string_view section,
                                     std::string_view key) {
    const SettingsFileCache::Contents contents = SettingsFileCache::Instance().Read(path);
    if (!contents.bytes) return std::nullopt;
    const std::optional<std::string_view> value = FindIniValue(*contents.bytes, section, key);
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
    const SettingsFileCache::Contents contents = SettingsFileCache::Instance().Read(path_);
    return contents.bytes && HasIniSection(*contents.bytes, section);
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    SettingsFileCache& cache = SettingsFileCache::Instance();
    const SettingsFileCache::Contents contents = cache.Read(path_);
    // Only a file that is not there starts empty; one that cannot be read is not replaced.
    if (!contents.bytes && !contents.absent) throw IniWriteError(path_);
    const std::string_view text = contents.bytes ? std::string_view(*contents.bytes) : "";
    std::string updated = SetIniValue(text, section, key, value);
    if (updated == text) return;  // the key already holds this value
    if (!cache.Write(path_, std::move(updated))) throw IniWriteError(path_);
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
