#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// The connection log: an entry per connection, in Windows-1251 with CR LF.

// An empty line and "Соединение начато: <date> <time>".
std::vector<std::string> SessionStartLines(const std::string& date, const std::string& time);
// "Соединение завершено: ..." and the line with the session's time, cost and traffic.
std::vector<std::string> SessionEndLines(const std::string& date, const std::string& time,
                                         const std::string& sessionTime,
                                         const std::string& sessionCost,
                                         const std::string& received, const std::string& sent);

// Appends UTF-8 `lines` to the log, creating it when missing. False when it cannot be written.
bool AppendToLog(const std::filesystem::path& log, const std::vector<std::string>& lines);

// The log's size as the size control measures it: whole eighths of a kilobyte.
double LogSizeKB(std::uintmax_t bytes);

// The newest part of the log's `bytes` that a cut to `limitKB` keeps (about limitKB × 985
// characters, starting after an entry's empty line), or nullopt when the log is within the
// limit.
std::optional<std::string> CutLog(std::string_view bytes, int limitKB);

// Cuts the log file in place when it is over the limit; the file is replaced atomically.
// False when the cut was needed but the file could not be rewritten.
bool ControlLogSize(const std::filesystem::path& log, int limitKB);

}  // namespace kestrova
