#pragma once

#include <QDateTime>
#include <QString>
#include <cstddef>
#include <memory>
#include <optional>

class QLocale;
class QTime;
class QWidget;

namespace kestrova {

class Dialogs;
class RateTable;
class TDriver;

// The rate commands of the main window. Each returns true when it changed the table; the
// caller then shows the rows and the caption marker again.

// The time in `locale`'s long notation, without the time-zone name Qt adds to it.
QString LongTimeText(const QLocale& locale, const QTime& time);

// A rate dialog with its fields filled: add mode (no row given) with the proposals for `now`,
// edit mode with the texts of row `*editRow`. Empty when that row's price is not a number
// and the dialog cannot be filled.
std::unique_ptr<TDriver> MakeRateDialog(QWidget* parent, Dialogs& dialogs, RateTable& table,
                                        std::optional<std::size_t> editRow, const QLocale& locale,
                                        const QDateTime& now);

// add_tClick (no row) and the edit commands once their row is known: shows the dialog
// modally and waits until it closes. True when it was confirmed: the row is stored and the
// table marked modified.
bool RunRateDialog(QWidget* parent, Dialogs& dialogs, RateTable& table,
                   std::optional<std::size_t> editRow, const QLocale& locale,
                   const QDateTime& now = QDateTime::currentDateTime());

enum class EditTrigger {
    Command,      // edit_tClick: a missing selection is reported
    DoubleClick,  // TimeList2DblClick: a missing selection does nothing
};

// edit_tClick and TimeList2DblClick; `selectedRow` is the one selected row, -1 when not
// exactly one is selected.
bool EditRateCommand(QWidget* parent, Dialogs& dialogs, RateTable& table, int selectedRow,
                     EditTrigger trigger, const QLocale& locale);

// Del_tClick: asks OK/Cancel before removing the selected row (-1: none selected).
bool DeleteRateCommand(QWidget* parent, Dialogs& dialogs, RateTable& table, int selectedRow);

// clear_tClick: removes every row without asking and marks the table; always a change.
bool ClearRatesCommand(RateTable& table);

}  // namespace kestrova
