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

    // A kill signal or the end of the desktop session: save the month and end, no questions.
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
    void ShowMeter();
    // Shows what the meter reported, each once; never nested inside another message.
    void ShowMessages();
    void SaveOnce();
    void Quit();

    TMainForm& form_;
    ProgramFlags& flags_;
    Meter& meter_;
    const RateTable& table_;
    Dialogs& dialogs_;
    std::filesystem::path programDir_;
    std::function<void()> loadRates_;
    bool saved_ = false;
    bool showingMessages_ = false;
    QStringList pendingMessages_;
};

}  // namespace kestrova
