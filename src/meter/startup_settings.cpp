#include "meter/startup_settings.h"

#include <system_error>

#include "base/ini_file.h"

namespace kestrova {

StartupSettings ReadStartupSettings(const std::filesystem::path& programDir) {
    const IniFile config(programDir / "Config.ini");
    StartupSettings s;
    s.logSizeControl = config.ReadFlag("General", "LogSizeEnabled", "0");
    s.runMinimizedDelayMs = 10 * config.ReadInteger("General", "MinAuto", 28);
    s.costFormat = config.ReadInteger("General", "CostFormat", 0);
    s.perMegabyte = config.ReadInteger("Count", "Edn", 0) != 0;
    s.minimizeToTray = config.ReadInteger("General", "Minimize", 0) == 1;
    s.restorePage = config.ReadFlag("General", "TabSave", "0");
    s.page = s.restorePage ? config.ReadInteger("General", "Tab", 0) : 0;
    s.running = config.ReadFlag("General", "Status", "0");
    s.trayIcon = !config.ReadFlag("General", "TrayIcon", "0", "0");
    s.table = config.ReadString("General", "Table", "");
    std::error_code error;
    s.helpFileExists = std::filesystem::exists(programDir / "help.chm", error);
    return s;
}

}  // namespace kestrova
