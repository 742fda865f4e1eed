#pragma once

namespace kestrova {

// The floating statistics window's commands and timer of the main window.
class FloatingWindowHandlers {
public:
    virtual ~FloatingWindowHandlers() = default;

    virtual void ToolButton1Click() = 0;  // the floating window shown or hidden
    virtual void N33Click() = 0;          // the same, from the tray menu
    virtual void RefreshTimer() = 0;      // the floating window's text, 750 ms
};

}  // namespace kestrova
