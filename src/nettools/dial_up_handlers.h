#pragma once

namespace kestrova {

// The dial-up connection list's events of the main window.
class DialUpHandlers {
public:
    virtual ~DialUpHandlers() = default;

    virtual void AutoUpdateTimer() = 0;  // refresh of the list, 1000 ms
    virtual void ConnectionsListViewClick() = 0;
    virtual void SpeedButton22Click() = 0;  // hang up the selected connection
};

}  // namespace kestrova
