#include "meter/leftover_temporaries.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

#include "settings/atomic_file.h"
#include "settings/ini_file.h"

namespace kestrova {

namespace fs = std::filesystem;

namespace {

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// "m-yyyy.ini": a month's statistics file.
bool IsMonthFileName(std::string_view name) {
    constexpr std::string_view kExtension = ".ini";
    if (!name.ends_with(kExtension)) return false;
    name.remove_suffix(kExtension.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos) return false;
    const std::string_view month = name.substr(0, dash);
    const std::string_view year = name.substr(dash + 1);
    return month.size() <= 2 && AllDigits(month) && year.size() == 4 && AllDigits(year);
}

// A rate table file: its name holds ".kvtl" in any case, as a save names it.
bool IsRateFileName(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find(".kvtl") != std::string::npos;
}

}  // namespace

int RemoveStartupLeftovers(const fs::path& programDir) {
    const IniFile config(programDir / "Config.ini");
    const fs::path log =
        config.ReadString("General", "LogFile", (programDir / "logfile.log").string());
    const fs::path table = config.ReadString("General", "Table", "");

    int removed = 0;
    removed += RemoveLeftoverTemporaries(
        programDir, [](std::string_view name) { return name == "Config.ini"; });
    removed += RemoveLeftoverTemporaries(programDir / "stats", IsMonthFileName);
    const std::string logName = log.filename().string();
    if (!logName.empty()) {
        removed += RemoveLeftoverTemporaries(
            log.parent_path(), [&logName](std::string_view name) { return name == logName; });
    }
    if (!table.empty()) removed += RemoveLeftoverTemporaries(table.parent_path(), IsRateFileName);
    return removed;
}

}  // namespace kestrova
