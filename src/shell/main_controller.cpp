#include "shell/main_controller.h"

#include <QApplication>
#include <QTimer>

#include "meter/leftover_temporaries.h"
#include "meter/meter.h"
#include "meter/startup_settings.h"
#include "rates/rate_commands.h"
#include "rates/rate_table.h"
#include "settings/ini_file.h"
#include "shell/dialogs.h"
#include "shell/main_form.h"
#include "shell/single_instance.h"

namespace kestrova {

namespace {
const QString kError = QStringLiteral("Ошибка!");
const QString kQuestion = QStringLiteral("Внимание!");
}  // namespace

MainController::MainController(TMainForm& form, Meter& meter, RateTable& table, Dialogs& dialogs,
                               std::filesystem::path programDir, QLocale locale)
    : form_(form),
      meter_(meter),
      table_(table),
      dialogs_(dialogs),
      programDir_(std::move(programDir)),
      locale_(std::move(locale)),
      files_(&form, dialogs, table, programDir_ / "Config.ini") {
    // A table just read is on the window before any message about it.
    files_.SetShowTable([this] { form_.ShowRates(table_); });
}

MainController::~MainController() {
    if (form_.Handlers() == this) form_.SetHandlers(nullptr);
}

std::filesystem::path MainController::ConfigFile() const {
    return programDir_ / "Config.ini";
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
    s.logSizeControl ? form_.sizekntr()->start() : form_.sizekntr()->stop();
    form_.onrunminim()->setInterval(s.runMinimizedDelayMs);
    form_.SetCostFormat(s.costFormat);
    meter_.SetMoneyUnit(form_.Edenitsa().toStdString());
    form_.ShowCostPair(s.perMegabyte);
    if (s.restorePage) form_.SetActivePage(s.page);
    s.running ? RunButClick() : PauseButClick();
    files_.LoadAtStart();
    ShowRates();
    form_.onrunminim()->start();
    ShowMeter();
    ShowMessages();
}

CloseAction MainController::FormClose() {
    if (terminating_) {
        // Asked to end by a signal or the session: no question may hold that up.
        SaveOnce();
        return CloseAction::Close;
    }
    if (!exitRequested_) {
        // Closing the window does not end the program: it goes on metering, minimised until
        // the tray icon takes it.
        form_.showMinimized();
        return CloseAction::StayOpen;
    }
    if (table_.Modified()) {
        const BoxOpen box(*this);
        if (dialogs_.Ask(&form_, MessageKind::Question, kQuestion,
                         QStringLiteral("Таблица расценок была изменена. Желаете выйти и "
                                        "потерять несохранённые данные?")) != Answer::Yes)
            return CloseAction::StayOpen;
    }
    // Also after a Yes to the question: the month's cost and traffic are never thrown away.
    SaveOnce();
    Quit();
    return CloseAction::Close;
}

void MainController::Terminate() {
    exitRequested_ = true;
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

void MainController::ShowRates() {
    form_.ShowRates(table_);
    form_.SetTabEdit(table_.Modified());
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
        dialogs_.Ask(&form_, MessageKind::Error, kError, pendingMessages_.takeFirst());
}

void MainController::TimerTimer() {
    if (saved_) return;  // the program is ending: nothing may be counted after the save
    meter_.Tick();
    ShowMeter();
    ShowMessages();
}

void MainController::MinusTraficTimer() {
    if (!saved_) meter_.MinusTraficTick();
}

void MainController::TimerMinimizeTimer() {
    if (saved_) return;
    if (meter_.MonthCheck()) ShowMeter();
    ShowMessages();
}

void MainController::sizekntrTimer() {
    form_.sizekntr()->stop();
    meter_.LogSizeCheck();
    form_.sizekntr()->start();
    ShowMessages();
}

void MainController::onrunminimTimer() {
    form_.onrunminim()->stop();
}

void MainController::ExitButtonClick() {
    exitRequested_ = true;
    form_.close();
}

void MainController::ResetStatsClick() {
    const BoxOpen box(*this);
    if (dialogs_.Ask(&form_, MessageKind::Question, kQuestion,
                     QStringLiteral("Вы действительно хотите обнулить текущую статистику?")) !=
        Answer::Yes)
        return;
    meter_.Reset();
    ShowMeter();
    ShowMessages();
}

void MainController::PauseButClick() {
    meter_.Pause();
    form_.ShowRunState(false);
    ShowMessages();
}

void MainController::RunButClick() {
    meter_.Run();
    form_.ShowRunState(true);
    ShowMessages();
}

void MainController::openTabClick() {
    const BoxOpen box(*this);
    if (files_.Open()) form_.ShowRates(table_);
}

void MainController::SaveTabClick() {
    const BoxOpen box(*this);
    files_.Save();
    form_.SetTabEdit(table_.Modified());
}

void MainController::add_tClick() {
    const BoxOpen box(*this);
    if (RunRateDialog(&form_, dialogs_, table_, std::nullopt, locale_)) ShowRates();
}

void MainController::edit_tClick() {
    const BoxOpen box(*this);
    if (EditRateCommand(&form_, dialogs_, table_, form_.SelectedRate(), EditTrigger::Command,
                        locale_))
        ShowRates();
}

void MainController::TimeList2DblClick() {
    const BoxOpen box(*this);
    if (EditRateCommand(&form_, dialogs_, table_, form_.SelectedRate(), EditTrigger::DoubleClick,
                        locale_))
        ShowRates();
}

void MainController::Del_tClick() {
    const BoxOpen box(*this);
    if (DeleteRateCommand(&form_, dialogs_, table_, form_.SelectedRate())) ShowRates();
}

void MainController::clear_tClick() {
    if (ClearRatesCommand(table_)) ShowRates();
}

void MainController::MoneyClick() {
    BringToFront(&form_);
}

void MainController::CostTabChange(int page) {
    const IniFile config(ConfigFile());
    if (!config.ReadFlag("General", "TabSave", "0")) return;
    try {
        IniFile(ConfigFile()).WriteInteger("General", "Tab", page);
    } catch (const IniWriteError& error) {
        const BoxOpen box(*this);
        dialogs_.Ask(&form_, MessageKind::Error, kError, QString::fromStdString(error.what()));
    }
}

}  // namespace kestrova
