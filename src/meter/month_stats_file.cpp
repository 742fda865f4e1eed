#include "meter/month_stats_file.h"

#include "base/number_format.h"

namespace kestrova {

namespace {
constexpr const char* kSection = "Count";
}

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
    return ParseDecimal(text);
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

void MonthStatsFile::WriteSeconds(std::int32_t seconds) {
    ini_.WriteInteger(kSection, "Second", seconds);
}

void MonthStatsFile::WriteCost(double cost, char decimalSeparator) {
    ini_.WriteString(kSection, "Cost", FormatShortest(cost, decimalSeparator));
}

void MonthStatsFile::WriteTraffic(std::uint64_t in, std::uint64_t out) {
    ini_.WriteInteger(kSection, "TotalTraficIn", static_cast<std::int64_t>(in));
    ini_.WriteInteger(kSection, "TotalTraficOut", static_cast<std::int64_t>(out));
}

}  // namespace kestrova
