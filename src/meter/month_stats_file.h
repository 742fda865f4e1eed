#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "base/ini_file.h"

namespace kestrova {

// One month's statistics file: stats/<m-yyyy>.ini, section [Count], keys Second, Cost,
// TotalTraficIn and TotalTraficOut. Writes throw IniWriteError.
class MonthStatsFile {
public:
    static std::filesystem::path PathFor(const std::filesystem::path& programDir,
                                         const std::string& monthKey);

    explicit MonthStatsFile(std::filesystem::path path) : ini_(std::move(path)) {}
    const std::filesystem::path& Path() const { return ini_.Path(); }

    std::int32_t Seconds() const;
    // The stored cost; nullopt when its text is not a number (either decimal separator reads).
    std::optional<double> Cost() const;
    std::string CostText() const;
    // Traffic totals. Files of 32-bit days may hold a total past 2 GiB as a negative number:
    // it is read back as the unsigned value it stood for.
    std::uint64_t TrafficIn() const;
    std::uint64_t TrafficOut() const;

    void WriteSeconds(std::int32_t seconds);
    void WriteCost(double cost, char decimalSeparator);
    void WriteTraffic(std::uint64_t in, std::uint64_t out);

private:
    std::uint64_t ReadTraffic(const char* key) const;
    IniFile ini_;
};

}  // namespace kestrova
