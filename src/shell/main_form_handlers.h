#pragma once

namespace kestrova {

// What a close request of the main window ends in.
enum class CloseAction {
    StayOpen,  // the close is cancelled; the window stays as the handler left it
    Close,     // the window closes
};

// The operations behind the main window's events and commands. The window only binds its
// widgets, menus, keys and timers to these methods; the program plugs in the real operations.
// Every method does nothing by default, so a handler set overrides only what it implements.
class MainFormHandlers {
public:
    virtual ~MainFormHandlers() = default;

    // The window.
    virtual void FormCreate() {}
    virtual CloseAction FormClose() { return CloseAction::Close; }
    virtual void FormDestroy() {}

    // Timers.
    virtual void TimerTimer() {}          // metering tick, 1000 ms
    virtual void MinusTraficTimer() {}    // traffic freeze while paused, 1000 ms
    virtual void TimerMinimizeTimer() {}  // change of month, 300 ms
    virtual void AutoUpdateTimer() {}     // dial-up list refresh, 1000 ms
    virtual void Hint1Timer() {}          // tray balloon decision, one shot
    virtual void RefreshTimer() {}        // floating window text, 750 ms
    virtual void pingtimerTimer() {}      // ping series, 1000 ms
    virtual void sizekntrTimer() {}       // log size control, 1000 ms
    virtual void onrunminimTimer() {}     // run minimised, one shot

    // Tool bar and button column.
    virtual void PrefButClick() {}      // options dialog
    virtual void ToolButton1Click() {}  // floating window shown or hidden
    virtual void ExportRunClick() {}    // export dialog
    virtual void HelpButClick() {}      // about window
    virtual void ExitButtonClick() {}   // exit the program
    virtual void ResetStatsClick() {}   // reset the statistics
    virtual void PauseButClick() {}
    virtual void RunButClick() {}

    // Rate table.
    virtual void openTabClick() {}
    virtual void SaveTabClick() {}
    virtual void add_tClick() {}
    virtual void edit_tClick() {}
    virtual void Del_tClick() {}
    virtual void clear_tClick() {}
    virtual void TimeList2DblClick() {}

    // Help, web site, modem and network settings.
    virtual void N21Click() {}
    virtual void N23Click() {}
    virtual void N24Click() {}
    virtual void N25Click() {}

    // Tray menu.
    virtual void MoneyClick() {}  // show the main window
    virtual void N33Click() {}    // floating window shown or hidden

    // Pages.
    virtual void CostTabChange(int /*page*/) {}  // the user switched to page `page`
    virtual void ConnectionsListViewClick() {}
    virtual void SpeedButton22Click() {}  // hang up the selected connection
    // A character typed into the host field ('\r' for Enter); true when the handler used it
    // and the field is not to get it.
    virtual bool HostKeyPress(char16_t /*key*/) { return false; }
    virtual void Button1Click() {}  // start the ping
    virtual void Button2Click() {}  // stop the ping worker
};

}  // namespace kestrova
