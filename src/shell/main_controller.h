#pragma once

#include <QLocale>
#include <QObject>
#include <QStringList>
#include <filesystem>

#include "rates/rate_table_files.h"
#include "shell/main_form_handlers.h"

namespace kestrova {

class Dialogs;
class Meter;
class RateTable;
class TMainForm;
struct ProgramFlags;

// The main window's own operations: its start and close, the metering tick and the meter's
// commands. It forwards each event to the meter and shows on the window what the meter
// returns. `loadRates` loads the rate table at start (the rate controller's job).
class MainController : public QObject, public MeterHandlers {
    Q_OBJECT

public:
    MainController(TMainForm& form, ProgramFlags& flags, Meter& meter, const RateTable& table,
                   Dialogs& dialogs, std::filesystem::path programDir,
                   std::function<void()> loadRates);

    bool ExitRequested() const;
    // The log size control runs with each tick.
    bool LogSizeControl() const { return logSizeControl_; }
    // A file left the stats folder: the month's file is made again if it was the one. False
    // once the program is ending and nothing more may be written.
    bool StatsFolderChanged();

    // A kill signal or the end of the desktop session: save the month and end, no questions,
    // also not the one about an unsaved rate table.
    void Terminate();

    void FormCreate() override;
    CloseAction FormClose() override;
    void FormDestroy() override {}  // nothing is held that the window's end must release

    void TimerTimer() override;
    void MinusTraficTimer() override;
    void TimerMinimizeTimer() override;
    void sizekntrTimer() override;

    void ResetStatsClick() override;
    void PauseButClick() override;
    void RunButClick() override;

private:
    // Marks a box of this controller (a message or a question) as open while it lives; the
    // meter's messages wait until none is.
    class BoxOpen {
    public:
        explicit BoxOpen(MainController& controller);
        ~BoxOpen();
        BoxOpen(const BoxOpen&) = delete;
        BoxOpen& operator=(const BoxOpen&) = delete;

    private:
        MainController& controller_;
    };

    void ShowMeter();
    // Takes what the meter reported and has it shown, each once, after the running handler
    // returns: a message box never holds up the timer that runs the meter.
    void ShowMessages();
    // Shows the waiting messages one after the other, unless another box is open: they never
    // stack on one another.
    void ShowPendingMessages();
    void QueueMessages();
    void SaveOnce();
    void Quit();
    // TimerMinimize fires when the next month begins (or an hour on, whichever is first).
    void ArmMonthTimer();

    TMainForm& form_;
    ProgramFlags& flags_;
    Meter& meter_;
    const RateTable& table_;
    Dialogs& dialogs_;
    std::filesystem::path programDir_;
    std::function<void()> loadRates_;
    bool terminating_ = false;
    bool saved_ = false;
    bool logSizeControl_ = false;
    int boxesOpen_ = 0;
    bool messagesQueued_ = false;
    QStringList pendingMessages_;
};

}  // namespace kestrova
