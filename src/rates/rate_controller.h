#pragma once

#include <QLocale>
#include <filesystem>
#include <functional>

#include "rates/rate_handlers.h"
#include "rates/rate_table_files.h"

class QTreeWidget;
class QWidget;

namespace kestrova {

class Dialogs;
class RateTable;
struct ProgramFlags;

// The rate table's commands: the rate dialog, deleting and clearing rows, the rate table
// files, and the page remembered in the settings. It drives the rate list and sets TabEdit;
// `showTabEdit` shows the flag (the window's caption marker).
class RateController : public RateHandlers {
public:
    RateController(QWidget& window, QTreeWidget& timeList, RateTable& table, Dialogs& dialogs,
                   ProgramFlags& flags, std::filesystem::path configFile, QLocale locale,
                   std::function<void()> showTabEdit);

    // At start: the table file the settings name, quietly, then the rows in the list.
    void LoadAtStart();

    void openTabClick() override;
    void SaveTabClick() override;
    void add_tClick() override;
    void edit_tClick() override;
    void Del_tClick() override;
    void clear_tClick() override;
    void TimeList2DblClick() override;
    void CostTabChange(int page) override;

private:
    void ShowRates();
    void ShowModified();

    QWidget& window_;
    QTreeWidget& timeList_;
    RateTable& table_;
    Dialogs& dialogs_;
    ProgramFlags& flags_;
    std::filesystem::path configFile_;
    QLocale locale_;
    std::function<void()> showTabEdit_;
    RateTableFiles files_;
};

}  // namespace kestrova
