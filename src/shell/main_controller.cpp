#include "shell/main_controller.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cstdint>

#include "base/money_pattern.h"
#include "base/program_flags.h"
#include "gui/dialogs.h"
#include "meter/leftover_temporaries.h"
#include "meter/meter.h"
#include "meter/startup_settings.h"
#include "rates/rate_table.h"
#include "shell/main_form.h"

namespace kestrova {

MainController::MainController(TMainForm& form, ProgramFlags& flags, Meter& meter,
                               const RateTable& table, Dialogs& dialogs,
                               std::filesystem::path programDir, std::function<void()> loadRates)
    : form_(form),
      flags_(flags),
      meter_(meter),
      table_(table),
      dialogs_(dialogs),
      programDir_(std::move(programDir)),
      loadRates_(std::move(loadRates)) {}

bool MainController::ExitRequested() const {
    return flags_.ExitRequested;
}

MainController::BoxOpen::BoxOpen(MainController& controller) : controller_(controller) {
    ++controller_.boxesOpen_;
}

MainController::BoxOpen::~BoxOpen() {
    // The last box closed: messages that came meanwhile are shown now.
    if (--controller_.boxesOpen_ == 0) controller_.QueueMessages();
}

void MainController::FormCreate() {
    RemoveStartupLeftovers(programDir_);  // what a kill left half-written
    meter_.Start();  // baselines of a running connection, the month's file and figures
    const StartupSettings s = ReadStartupSettings(programDir_);
    form_.N21()->setVisible(s.helpFileExists);
    // The log size control runs with the tick, in the same wake-up (sizekntr stays idle).
    logSizeControl_ = s.logSizeControl;
    form_.sizekntr()->stop();
    form_.onrunminim()->setInterval(s.runMinimizedDelayMs);
    form_.SetCostFormat(s.costFormat);
    form_.ShowCostPair(s.perMegabyte);
    if (s.restorePage) form_.SetActivePage(s.page);
    s.running ? RunButClick() : PauseButClick();
    loadRates_();
    form_.onrunminim()->start();
    // Waits for the next month; a clock set forward or back is caught by the tick.
    form_.TimerMinimize()->setTimerType(Qt::PreciseTimer);
    ArmMonthTimer();
    ShowMeter();
    ShowMessages();
}

void MainController::ArmMonthTimer() {
    // At most an hour at a time: a waiting timer follows the monotonic clock, not the wall's.
    constexpr std::int64_t kLongest = 3'600'000;
    form_.TimerMinimize()->start(
        static_cast<int>(std::min(meter_.MillisecondsToNextMonth(), kLongest)));
}

CloseAction MainController::FormClose() {
    if (terminating_) {
        // Asked to end by a signal or the session: no question may hold that up.
        SaveOnce();
        return CloseAction::Close;
    }
    if (!flags_.ExitRequested) {
        // Closing the window does not end the program: it goes on metering, minimised until
        // the tray icon takes it.
        form_.showMinimized();
        return CloseAction::StayOpen;
    }
    if (table_.Modified()) {
        const BoxOpen box(*this);
        if (!dialogs_.Question(&form_,
                               QStringLiteral("Таблица расценок была изменена. Желаете выйти и "
                                              "потерять несохранённые данные?")))
            return CloseAction::StayOpen;
    }
    // Also after a Yes to the question: the month's cost and traffic are never thrown away.
    SaveOnce();
    Quit();
    return CloseAction::Close;
}

void MainController::Terminate() {
    flags_.ExitRequested = true;
    terminating_ = true;
    SaveOnce();
    Quit();
}

void MainController::SaveOnce() {
    if (saved_) return;
    saved_ = true;
    meter_.SaveAtClose();
}

void MainController::Quit() {
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void MainController::ShowMeter() {
    form_.ShowMeter(meter_.View());
}

void MainController::ShowMessages() {
    for (const std::string& message : meter_.TakeMessages())
        pendingMessages_.append(QString::fromStdString(message));
    QueueMessages();
}

void MainController::QueueMessages() {
    if (pendingMessages_.isEmpty() || messagesQueued_) return;
    messagesQueued_ = true;
    QTimer::singleShot(0, this, &MainController::ShowPendingMessages);
}

void MainController::ShowPendingMessages() {
    messagesQueued_ = false;
    // Another box is open (ours, or any other modal window): the messages wait for it; the
    // next tick asks again.
    if (boxesOpen_ > 0 || QApplication::activeModalWidget() != nullptr) return;
    const BoxOpen box(*this);
    while (!pendingMessages_.isEmpty() && !saved_)
        dialogs_.Error(&form_, pendingMessages_.takeFirst());
}

void MainController::TimerTimer() {
    if (saved_) return;  // the program is ending: nothing may be counted after the save
    // The month as the clock has it now: the tick counts this second into it.
    meter_.MonthCheck();
    meter_.Tick();
    if (logSizeControl_) meter_.LogSizeCheck();
    ShowMeter();
    ShowMessages();
}

void MainController::MinusTraficTimer() {
    if (!saved_) meter_.MinusTraficTick();
}

void MainController::TimerMinimizeTimer() {
    if (saved_) return;
    if (meter_.MonthCheck()) ShowMeter();
    if (form_.TimerMinimize()->isActive()) ArmMonthTimer();
    ShowMessages();
}

bool MainController::StatsFolderChanged() {
    if (saved_) return false;
    if (meter_.MonthCheck()) ShowMeter();
    ShowMessages();
    return true;
}

void MainController::sizekntrTimer() {
    meter_.LogSizeCheck();
    ShowMessages();
}

void MainController::ResetStatsClick() {
    const BoxOpen box(*this);
    if (!dialogs_.Question(&form_,
                           QStringLiteral("Вы действительно хотите обнулить текущую статистику?")))
        return;
    meter_.Reset();
    ShowMeter();
    ShowMessages();
}

void MainController::PauseButClick() {
    meter_.Pause();
    // The traffic freeze has work only while paused.
    form_.MinusTrafic()->start();
    form_.ShowRunState(false);
    ShowMessages();
}

void MainController::RunButClick() {
    meter_.Run();
    form_.MinusTrafic()->stop();
    form_.ShowRunState(true);
    ShowMessages();
}

}  // namespace kestrova
