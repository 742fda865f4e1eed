#include "meter/startup_settings.h"

#include <system_error>

#include "base/config_keys.h"
#include "base/ini_file.h"

namespace kestrova {

StartupSettings ReadStartupSettings(const std::filesystem::path& programDir) {
    const IniFile config(config::FileIn(programDir));
    StartupSettings s;
    s.logSizeControl = config.ReadFlag(config::General::LogSizeEnabled, "0");
    s.runMinimizedDelayMs = 10 * config.ReadInteger(config::General::MinAuto, 28);
    s.costFormat = config.ReadInteger(config::General::CostFormat, 0);
    s.perMegabyte = config.ReadInteger(config::Count::Edn, 0) != 0;
    s.minimizeToTray = config.ReadInteger(config::General::Minimize, 0) == 1;
    s.restorePage = config.ReadFlag(config::General::TabSave, "0");
    s.page = s.restorePage ? config.ReadInteger(config::General::Tab, 0) : 0;
    s.running = config.ReadFlag(config::General::Status, "0");
    s.trayIcon = !config.ReadFlag(config::General::TrayIcon, "0", "0");
    s.table = config.ReadString(config::General::Table, "");
    std::error_code error;
    s.helpFileExists = std::filesystem::exists(programDir / "help.chm", error);
    return s;
}

}  // namespace kestrova
