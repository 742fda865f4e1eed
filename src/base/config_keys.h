#pragma once

#include <filesystem>
#include <string_view>

#include "base/ini_file.h"

// Config.ini: where it lies, and every section and key of it. Every reader and writer names
// its key from here; each reader still brings its own default, as the defaults differ between
// readers on purpose.
namespace kestrova::config {

inline constexpr std::string_view kFileName = "Config.ini";
// The connection log's file name when LogFile is absent.
inline constexpr std::string_view kDefaultLogName = "logfile.log";

// Config.ini of the program in `programDir`.
inline std::filesystem::path FileIn(const std::filesystem::path& programDir) {
    return programDir / kFileName;
}
// The connection log when LogFile is absent: beside the program.
inline std::filesystem::path DefaultLogFile(const std::filesystem::path& programDir) {
    return programDir / kDefaultLogName;
}

namespace General {
inline constexpr std::string_view kSection = "General";
inline constexpr IniKey Status{kSection, "Status"};
inline constexpr IniKey TrayIcon{kSection, "TrayIcon"};
inline constexpr IniKey Minimize{kSection, "Minimize"};
inline constexpr IniKey TabSave{kSection, "TabSave"};
inline constexpr IniKey Tab{kSection, "Tab"};
inline constexpr IniKey Table{kSection, "Table"};
inline constexpr IniKey CostFormat{kSection, "CostFormat"};
inline constexpr IniKey TrafType{kSection, "TrafType"};
inline constexpr IniKey TypeHint{kSection, "TypeHint"};
inline constexpr IniKey Log{kSection, "Log"};
inline constexpr IniKey LogFile{kSection, "LogFile"};
inline constexpr IniKey LogSizeEnabled{kSection, "LogSizeEnabled"};
inline constexpr IniKey LogSize{kSection, "LogSize"};
inline constexpr IniKey EveryMin{kSection, "EveryMin"};
inline constexpr IniKey RunMinimize{kSection, "RunMinimize"};
inline constexpr IniKey MinAuto{kSection, "MinAuto"};
// The metered link by name; empty: the dial-up link is chosen automatically.
inline constexpr IniKey Interface{kSection, "Interface"};
}  // namespace General

namespace Count {
inline constexpr std::string_view kSection = "Count";
inline constexpr IniKey Edn{kSection, "Edn"};
inline constexpr IniKey NoCost{kSection, "NoCost"};
}  // namespace Count

// The floating window; its placement keys are written by the window's placement store.
namespace StatWin {
inline constexpr std::string_view kSection = "StatWin";
inline constexpr IniKey StatWin{kSection, "StatWin"};
inline constexpr IniKey Color{kSection, "Color"};
inline constexpr IniKey transporant{kSection, "transporant"};
}  // namespace StatWin

// The floating window's text.
namespace StatWinFont {
inline constexpr std::string_view kSection = "StatWinFont";
inline constexpr IniKey Name{kSection, "Name"};
inline constexpr IniKey Size{kSection, "Size"};
inline constexpr IniKey Color{kSection, "Color"};
inline constexpr IniKey Charset{kSection, "Charset"};
inline constexpr IniKey Style{kSection, "Style"};
}  // namespace StatWinFont

}  // namespace kestrova::config
