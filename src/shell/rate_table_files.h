#pragma once

#include <filesystem>
#include <functional>

class QWidget;

namespace kestrova {

class Dialogs;
class RateTable;

// The open and save commands of the rate table, with their dialogs and messages. Config.ini's
// `Table` remembers the file last opened or saved in full.
class RateTableFiles {
public:
    RateTableFiles(QWidget* parent, Dialogs& dialogs, RateTable& table,
                   std::filesystem::path configFile)
        : parent_(parent), dialogs_(dialogs), table_(table), config_(std::move(configFile)) {}

    // Shows the table on the window; called by Open once the rows are read, before any message.
    void SetShowTable(std::function<void()> showTable) { showTable_ = std::move(showTable); }

    // The open command; true when the table's rows changed.
    bool Open();
    // The save command; true when the file was written.
    bool Save();
    // At start: the file `Table` names, quietly; nothing when it is missing or unreadable.
    void LoadAtStart();

private:
    void RememberTable(const std::filesystem::path& file);

    QWidget* parent_;
    Dialogs& dialogs_;
    RateTable& table_;
    std::filesystem::path config_;
    std::function<void()> showTable_;
};

}  // namespace kestrova
