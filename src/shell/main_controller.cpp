#include "shell/main_controller.h"

#include <QApplication>
#include <QTimer>

#include "base/config_keys.h"
#include "base/ini_file.h"
#include "gui/dialogs.h"
#include "meter/meter.h"
#include "meter/startup_settings.h"
#include "rates/rate_commands.h"
#include "rates/rate_table.h"
#include "shell/main_form.h"
#include "shell/single_instance.h"

namespace kestrova {

MainController::MainController(TMainForm& form, Meter& meter, RateTable& table, Dialogs& dialogs,
                               std::filesystem::path programDir, QLocale locale)
    : form_(form),
      meter_(meter),
      table_(table),
      dialogs_(dialogs),
      programDir_(std::move(programDir)),
      locale_(std::move(locale)),
      files_(&form, dialogs, table, config::FileIn(programDir_)) {}

MainController::~MainController() {
    if (form_.Handlers() == this) form_.SetHandlers(nullptr);
}

std::filesystem::path MainController::ConfigFile() const {
    return config::FileIn(programDir_);
}

void MainController::FormCreate() {
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
    if (!exitRequested_) {
        // Closing the window does not end the program: it goes on metering, minimised until
        // the tray icon takes it.
        form_.showMinimized();
        return CloseAction::StayOpen;
    }
    if (table_.Modified() &&
        !dialogs_.Question(
            &form_, QStringLiteral("Таблица расценок была изменена. Желаете выйти и потерять "
                                   "несохранённые данные?")))
        return CloseAction::StayOpen;
    // Also after a Yes to the question: the month's cost and traffic are never thrown away.
    SaveOnce();
    Quit();
    return CloseAction::Close;
}

void MainController::Terminate() {
    exitRequested_ = true;
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
    if (showingMessages_) return;  // the message on screen is followed by these
    showingMessages_ = true;
    while (!pendingMessages_.isEmpty()) dialogs_.Error(&form_, pendingMessages_.takeFirst());
    showingMessages_ = false;
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
    if (!dialogs_.Question(&form_,
                           QStringLiteral("Вы действительно хотите обнулить текущую статистику?")))
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
    if (files_.Open()) form_.ShowRates(table_);
}

void MainController::SaveTabClick() {
    files_.Save();
    form_.SetTabEdit(table_.Modified());
}

void MainController::add_tClick() {
    if (RunRateDialog(&form_, dialogs_, table_, std::nullopt, locale_)) ShowRates();
}

void MainController::edit_tClick() {
    if (EditRateCommand(&form_, dialogs_, table_, form_.SelectedRate(), EditTrigger::Command,
                        locale_))
        ShowRates();
}

void MainController::TimeList2DblClick() {
    if (EditRateCommand(&form_, dialogs_, table_, form_.SelectedRate(), EditTrigger::DoubleClick,
                        locale_))
        ShowRates();
}

void MainController::Del_tClick() {
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
    if (!config.ReadFlag(config::General::TabSave, "0")) return;
    try {
        IniFile(ConfigFile()).WriteInteger(config::General::Tab, page);
    } catch (const IniWriteError& error) {
        dialogs_.Error(&form_, QString::fromStdString(error.what()));
    }
}

}  // namespace kestrova
