#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "settings/ini_file.h"

namespace kestrova {

// A month's four figures, as the statistics file holds them.
struct MonthFigures {
    std::int32_t seconds = 0;
    double cost = 0;
    std::uint64_t trafficIn = 0;
    std::uint64_t trafficOut = 0;
};

// One month's statistics file: stats/<m-yyyy>.ini, section [Count], keys Second, Cost,
// TotalTraficIn and TotalTraficOut. Write() throws IniWriteError.
class MonthStatsFile {
public:
    static std::filesystem::path PathFor(const std::filesystem::path& programDir,
                                         const std::string& monthKey);

    explicit MonthStatsFile(std::filesystem::path path) : ini_(std::move(path)) {}
    const std::filesystem::path& Path() const { return ini_.Path(); }

    std::int32_t Seconds() const;
    // The stored cost; nullopt when its text is not a number (either decimal separator reads,
    // and the exponent form of earlier builds).
    std::optional<double> Cost() const;
    std::string CostText() const;
    // Traffic totals. Files of 32-bit days may hold a total past 2 GiB as a negative number:
    // it is read back as the unsigned value it stood for.
    std::uint64_t TrafficIn() const;
    std::uint64_t TrafficOut() const;

    // Replaces the file with the four figures in one write; the cost in plain decimal text.
    void Write(const MonthFigures& figures, char decimalSeparator);

private:
    std::uint64_t ReadTraffic(const char* key) const;
    IniFile ini_;
};

// The file's text for `figures`, padded with empty lines to at least `size` bytes.
std::string MonthStatsText(const MonthFigures& figures, char decimalSeparator, std::size_t size);

}  // namespace kestrova
