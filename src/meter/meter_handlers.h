#pragma once

namespace kestrova {

// What a close request of the main window ends in.
enum class CloseAction {
    StayOpen,  // the close is cancelled; the window stays as the handler left it
    Close,     // the window closes
};

// The main window's start and close, the metering tick and the meter's commands.
class MeterHandlers {
public:
    virtual ~MeterHandlers() = default;

    virtual void FormCreate() = 0;
    virtual CloseAction FormClose() = 0;
    virtual void FormDestroy() = 0;

    virtual void TimerTimer() = 0;          // metering tick, 1000 ms
    virtual void MinusTraficTimer() = 0;    // traffic freeze while paused, 1000 ms
    virtual void TimerMinimizeTimer() = 0;  // change of month, at its start
    virtual void sizekntrTimer() = 0;       // log size control, 1000 ms

    virtual void ResetStatsClick() = 0;
    virtual void PauseButClick() = 0;
    virtual void RunButClick() = 0;
};

}  // namespace kestrova
