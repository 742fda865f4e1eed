#include "rates/rate_controller.h"

#include <QTreeWidget>

#include "base/config_keys.h"
#include "base/ini_file.h"
#include "base/program_flags.h"
#include "gui/dialogs.h"
#include "rates/rate_commands.h"
#include "rates/rate_list_view.h"
#include "rates/rate_table.h"

namespace kestrova {

RateController::RateController(QWidget& window, QTreeWidget& timeList, RateTable& table,
                               Dialogs& dialogs, ProgramFlags& flags,
                               std::filesystem::path configFile, QLocale locale,
                               std::function<void()> showTabEdit)
    : window_(window),
      timeList_(timeList),
      table_(table),
      dialogs_(dialogs),
      flags_(flags),
      configFile_(std::move(configFile)),
      locale_(std::move(locale)),
      showTabEdit_(std::move(showTabEdit)),
      files_(&window, dialogs, table, configFile_) {
    // A table just read is on the window before any message about it.
    files_.SetShowTable([this] { ShowRateRows(timeList_, table_); });
}

void RateController::ShowRates() {
    ShowRateRows(timeList_, table_);
    ShowModified();
}

void RateController::ShowModified() {
    flags_.TabEdit = table_.Modified();
    if (showTabEdit_) showTabEdit_();
}

void RateController::LoadAtStart() {
    files_.LoadAtStart();
    ShowRates();
}

void RateController::openTabClick() {
    if (files_.Open()) ShowRates();
}

void RateController::SaveTabClick() {
    files_.Save();
    ShowModified();
}

void RateController::add_tClick() {
    if (RunRateDialog(&window_, dialogs_, table_, std::nullopt, locale_)) ShowRates();
}

void RateController::edit_tClick() {
    if (EditRateCommand(&window_, dialogs_, table_, SelectedRateRow(timeList_),
                        EditTrigger::Command, locale_))
        ShowRates();
}

void RateController::TimeList2DblClick() {
    if (EditRateCommand(&window_, dialogs_, table_, SelectedRateRow(timeList_),
                        EditTrigger::DoubleClick, locale_))
        ShowRates();
}

void RateController::Del_tClick() {
    if (DeleteRateCommand(&window_, dialogs_, table_, SelectedRateRow(timeList_))) ShowRates();
}

void RateController::clear_tClick() {
    if (ClearRatesCommand(table_)) ShowRates();
}

void RateController::CostTabChange(int page) {
    const IniFile config(configFile_);
    if (!config.ReadFlag(config::General::TabSave, "0")) return;
    try {
        IniFile(configFile_).WriteInteger(config::General::Tab, page);
    } catch (const IniWriteError& error) {
        dialogs_.Error(&window_, QString::fromStdString(error.what()));
    }
}

}  // namespace kestrova
