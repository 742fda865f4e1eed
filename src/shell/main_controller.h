#pragma once

#include <QLocale>
#include <QObject>
#include <QStringList>
#include <filesystem>

#include "shell/main_form_handlers.h"
#include "shell/rate_table_files.h"

namespace kestrova {

class Dialogs;
class Meter;
class RateTable;
class TMainForm;

// The operations behind the main window: it forwards each event to the logic (the meter, the
// rate table and its files) and shows on the window what the logic returns.
class MainController : public QObject, public MainFormHandlers {
    Q_OBJECT

public:
    MainController(TMainForm& form, Meter& meter, RateTable& table, Dialogs& dialogs,
                   std::filesystem::path programDir, QLocale locale);
    ~MainController() override;

    bool ExitRequested() const { return exitRequested_; }

    // A kill signal or the end of the desktop session: save the month and end, no questions,
    // also not the one about an unsaved rate table.
    void Terminate();

    void FormCreate() override;
    CloseAction FormClose() override;

    void TimerTimer() override;
    void MinusTraficTimer() override;
    void TimerMinimizeTimer() override;
    void sizekntrTimer() override;
    void onrunminimTimer() override;

    void ExitButtonClick() override;
    void ResetStatsClick() override;
    void PauseButClick() override;
    void RunButClick() override;

    void openTabClick() override;
    void SaveTabClick() override;
    void add_tClick() override;
    void edit_tClick() override;
    void Del_tClick() override;
    void clear_tClick() override;
    void TimeList2DblClick() override;

    void MoneyClick() override;
    void CostTabChange(int page) override;

private:
    // Marks a box (a message, a question, a file or rate dialog) as open while it lives; the
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
    void ShowRates();
    // Takes what the meter reported and has it shown, each once, after the running handler
    // returns: a message box never holds up the timer that runs the meter.
    void ShowMessages();
    // Shows the waiting messages one after the other, unless another box is open: they never
    // stack on one another.
    void ShowPendingMessages();
    void QueueMessages();
    void SaveOnce();
    void Quit();
    std::filesystem::path ConfigFile() const;

    TMainForm& form_;
    Meter& meter_;
    RateTable& table_;
    Dialogs& dialogs_;
    std::filesystem::path programDir_;
    QLocale locale_;
    RateTableFiles files_;
    bool exitRequested_ = false;
    bool terminating_ = false;
    bool saved_ = false;
    int boxesOpen_ = 0;
    bool messagesQueued_ = false;
    QStringList pendingMessages_;
};

}  // namespace kestrova
