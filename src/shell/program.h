#pragma once

#include <QLocale>
#include <filesystem>

#include "export/export_controller.h"
#include "nettools/dial_up_controller.h"
#include "nettools/ping_controller.h"
#include "nettools/shell_command_controller.h"
#include "rates/rate_controller.h"
#include "settings/floating_window_controller.h"
#include "settings/options_controller.h"
#include "settings/tray_controller.h"
#include "shell/main_controller.h"
#include "windows/about_controller.h"

namespace kestrova {

class Dialogs;
class Meter;
class RateTable;
class TMainForm;
struct ProgramFlags;

// The program's controllers, one per subsystem, each given the widgets, timers and ports it
// drives, and plugged into the main window's slots. Unplugs them again when it ends.
class Program {
public:
    Program(TMainForm& form, ProgramFlags& flags, Meter& meter, RateTable& rates, Dialogs& dialogs,
            const std::filesystem::path& programDir, const QLocale& locale);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    MainController& Main() { return main_; }

private:
    TMainForm& form_;
    RateController rates_;
    MainController main_;
    ExportController export_;
    OptionsController options_;
    FloatingWindowController floatingWindow_;
    TrayController tray_;
    DialUpController dialUp_;
    PingController ping_;
    ShellCommandController shellCommands_;
    AboutController about_;
};

}  // namespace kestrova
