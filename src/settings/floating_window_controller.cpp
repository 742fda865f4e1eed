#include "settings/floating_window_controller.h"

#include "base/program_flags.h"

namespace kestrova {

void FloatingWindowController::ToolButton1Click() {
    // The floating window comes with its own window (IfHintsRun, StatWinCH, the Refresh
    // timer); until then the command does nothing.
}

void FloatingWindowController::N33Click() {
    ToolButton1Click();  // the tray menu runs the tool bar command
}

void FloatingWindowController::RefreshTimer() {
    // Copies the statistics text into the floating window once it exists; nothing yet.
}

}  // namespace kestrova
