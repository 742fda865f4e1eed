#pragma once

namespace kestrova {

// The commands handed to the desktop: help, web site, modem and network settings, and exit.
class ShellCommandHandlers {
public:
    virtual ~ShellCommandHandlers() = default;

    virtual void ExitButtonClick() = 0;  // exit the program
    virtual void N21Click() = 0;         // help file
    virtual void N23Click() = 0;         // product web site
    virtual void N24Click() = 0;         // modem settings
    virtual void N25Click() = 0;         // network connections
};

}  // namespace kestrova
