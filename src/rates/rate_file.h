#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rates/rate_table.h"

namespace kestrova {

struct RateFileContent {
    std::vector<RateRow> rows;          // numbered 1, 2, 3 ... in file order
    bool stoppedAtForeignLine = false;  // a line without "|" ended the reading
};

// The rows of a rate table file's text (UTF-8 or Windows-1251; CR LF or LF).
RateFileContent ParseRateFile(std::string_view bytes);
// nullopt when the file cannot be opened.
std::optional<RateFileContent> ReadRateFile(const std::filesystem::path& path);

// The file's bytes: one "start|end|price|day" line per row, Windows-1251, CR LF.
std::string SerializeRateFile(const std::vector<RateRow>& rows);
// False when the file cannot be created or written.
bool WriteRateFile(const std::filesystem::path& path, const std::vector<RateRow>& rows);

// The name a save uses: `chosen` when it holds ".kvtl" anywhere (any case), else with ".kvtl".
std::filesystem::path RateFileName(const std::filesystem::path& chosen);

}  // namespace kestrova
