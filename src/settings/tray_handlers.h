#pragma once

namespace kestrova {

// The tray icon's commands and the timers of hints and minimising.
class TrayHandlers {
public:
    virtual ~TrayHandlers() = default;

    virtual void MoneyClick() = 0;       // show the main window
    virtual void Hint1Timer() = 0;       // tray balloon decision, one shot
    virtual void onrunminimTimer() = 0;  // hide the main window after start, one shot
};

}  // namespace kestrova
