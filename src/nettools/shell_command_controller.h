#pragma once

#include "nettools/shell_command_handlers.h"

class QWidget;

namespace kestrova {

struct ProgramFlags;

// The commands handed to the desktop (help, web site, modem and network settings) and the
// exit command, which ends the program by closing the main window `window`.
class ShellCommandController : public ShellCommandHandlers {
public:
    ShellCommandController(QWidget& window, ProgramFlags& flags) : window_(window), flags_(flags) {}

    void ExitButtonClick() override;
    void N21Click() override;
    void N23Click() override;
    void N24Click() override;
    void N25Click() override;

private:
    QWidget& window_;
    ProgramFlags& flags_;
};

}  // namespace kestrova
