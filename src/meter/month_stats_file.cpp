#include "meter/month_stats_file.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "meter/number_format.h"
#include "settings/atomic_file.h"

namespace kestrova {

namespace {

constexpr const char* kSection = "Count";

// The file is rewritten on every counted second. Padded to a size it keeps, the new text is as
// long as the old, and ReplaceFileAtomically overwrites it in place with one write(): no
// rename, and a kill cannot split it. The file never shrinks in place (a truncate apart from
// the write could be split from it by a kill): shorter figures leave more empty lines, which
// every INI reader skips. Four figures take about 110 bytes; 256 leaves room for any cost.
constexpr std::size_t kRecordSize = 256;
// Larger files are not overwritten in place, so there is no size to keep.
constexpr std::uintmax_t kInPlaceLimit = 4096;

std::string Integer(std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::string(digits, end);
}

}  // namespace

std::filesystem::path MonthStatsFile::PathFor(const std::filesystem::path& programDir,
                                              const std::string& monthKey) {
    return programDir / "stats" / (monthKey + ".ini");
}

std::int32_t MonthStatsFile::Seconds() const {
    return ini_.ReadInteger(kSection, "Second", 0);
}

std::string MonthStatsFile::CostText() const {
    return ini_.ReadString(kSection, "Cost", "0");
}

std::optional<double> MonthStatsFile::Cost() const {
    const std::string text = CostText();
    if (text.empty()) return 0.0;
    return ParseStoredNumber(text);
}

std::uint64_t MonthStatsFile::ReadTraffic(const char* key) const {
    const std::int64_t value = ini_.ReadInteger64(kSection, key, 0);
    if (value >= 0) return static_cast<std::uint64_t>(value);
    if (value >= INT32_MIN) return static_cast<std::uint64_t>(value + (std::int64_t{1} << 32));
    return 0;
}

std::uint64_t MonthStatsFile::TrafficIn() const {
    return ReadTraffic("TotalTraficIn");
}
std::uint64_t MonthStatsFile::TrafficOut() const {
    return ReadTraffic("TotalTraficOut");
}

std::string MonthStatsText(const MonthFigures& figures, char decimalSeparator, std::size_t size) {
    std::string text =
        "[Count]\r\nSecond=" + Integer(figures.seconds) +
        "\r\nCost=" + FormatPlainDecimal(figures.cost, decimalSeparator) +
        "\r\nTotalTraficIn=" + Integer(static_cast<std::int64_t>(figures.trafficIn)) +
        "\r\nTotalTraficOut=" + Integer(static_cast<std::int64_t>(figures.trafficOut)) + "\r\n";
    if (text.size() < size) {
        const std::size_t padding = size - text.size();
        text.append(padding % 2, '\n');
        for (std::size_t i = 0; i < padding / 2; ++i) text += "\r\n";
    }
    return text;
}

void MonthStatsFile::Write(const MonthFigures& figures, char decimalSeparator) {
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(Path(), error);
    if (error || size > kInPlaceLimit) size = 0;
    const std::string text =
        MonthStatsText(figures, decimalSeparator, std::max<std::size_t>(kRecordSize, size));
    if (!ReplaceFileAtomically(Path(), text)) throw IniWriteError(Path());
}

}  // namespace kestrova
