#pragma once

#include "export/export_handlers.h"
#include "meter/meter_handlers.h"
#include "nettools/dial_up_handlers.h"
#include "nettools/ping_handlers.h"
#include "nettools/shell_command_handlers.h"
#include "rates/rate_handlers.h"
#include "settings/floating_window_handlers.h"
#include "settings/options_handlers.h"
#include "settings/tray_handlers.h"
#include "windows/about_handlers.h"

namespace kestrova {

// The handler set of each subsystem behind the main window's events and commands; not owned.
// The window forwards each of its slots to the set of the subsystem it belongs to; a slot
// whose set is not plugged in does nothing.
struct MainFormHandlers {
    MeterHandlers* meter = nullptr;
    RateHandlers* rates = nullptr;
    ExportHandlers* exportStats = nullptr;
    OptionsHandlers* options = nullptr;
    FloatingWindowHandlers* floatingWindow = nullptr;
    TrayHandlers* tray = nullptr;
    DialUpHandlers* dialUp = nullptr;
    PingHandlers* ping = nullptr;
    ShellCommandHandlers* shellCommands = nullptr;
    AboutHandlers* about = nullptr;
};

}  // namespace kestrova
