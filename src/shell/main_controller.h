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

// The operations behind the main window: it forwards each event to the logic (the meter, the
// rate table and its files) and shows on the window what the logic returns.
class MainController : public QObject, public MainFormHandlers {
    Q_OBJECT

public:
    MainController(TMainForm& form, Meter& meter, RateTable& table, Dialogs& dialogs,
                   std::filesystem::path programDir, QLocale locale);
    ~MainController() override;

    bool ExitRequested() const { return exitRequested_; }

    // A kill signal or the end of the desktop session: save the month and end, no questions.
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
    void ShowMeter();
    void ShowRates();
    // Shows what the meter reported, each once; never nested inside another message.
    void ShowMessages();
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
    bool saved_ = false;
    bool showingMessages_ = false;
    QStringList pendingMessages_;
};

}  // namespace kestrova
