#pragma once

#include <filesystem>
#include <string>

namespace kestrova {

// What the main window's start-up reads from Config.ini, with the readers' defaults.
struct StartupSettings {
    bool logSizeControl = false;    // LogSizeEnabled is "1"
    int runMinimizedDelayMs = 280;  // ten times MinAuto
    int costFormat = 0;
    bool perMegabyte = false;     // Edn other than 0
    bool minimizeToTray = false;  // Minimize is the integer 1
    bool restorePage = false;     // TabSave is "1"
    int page = 0;                 // Tab
    bool running = false;         // Status is "1"
    bool trayIcon = false;        // TrayIcon is anything but "0"
    std::string table;            // the rate table file to load
    bool helpFileExists = false;  // help.chm in the program's folder
};

StartupSettings ReadStartupSettings(const std::filesystem::path& programDir);

}  // namespace kestrova
