#include "nettools/shell_command_controller.h"

#include <QWidget>

#include "base/program_flags.h"

namespace kestrova {

void ShellCommandController::ExitButtonClick() {
    flags_.ExitRequested = true;
    window_.close();  // the close handling saves and ends the program
}

void ShellCommandController::N21Click() {
    // The help file is opened through the desktop launcher once it exists; nothing yet.
}

void ShellCommandController::N23Click() {
    // The web site is opened through the desktop launcher once it exists; nothing yet.
}

void ShellCommandController::N24Click() {
    // The modem settings are opened through the desktop launcher once it exists; nothing
    // yet.
}

void ShellCommandController::N25Click() {
    // The network connections are opened through the desktop launcher once it exists;
    // nothing yet.
}

}  // namespace kestrova
