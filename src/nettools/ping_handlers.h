#pragma once

namespace kestrova {

// The ping tool's events of the main window.
class PingHandlers {
public:
    virtual ~PingHandlers() = default;

    // A character typed into the host field ('\r' for Enter); true when the handler used it
    // and the field is not to get it.
    virtual bool HostKeyPress(char16_t key) = 0;
    virtual void Button1Click() = 0;    // start the ping
    virtual void Button2Click() = 0;    // stop the ping worker
    virtual void pingtimerTimer() = 0;  // ping series, 1000 ms
};

}  // namespace kestrova
