#include "rates/rate_commands.h"

#include <QLocale>
#include <QTime>

#include "gui/dialogs.h"
#include "rates/driver_form.h"
#include "rates/price_edit.h"
#include "rates/rate_editing.h"
#include "rates/rate_table.h"

namespace kestrova {

namespace {

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The row `selectedRow` names, if the table has it.
std::optional<std::size_t> RowOf(int selectedRow, const RateTable& table) {
    if (selectedRow < 0 || static_cast<std::size_t>(selectedRow) >= table.Count())
        return std::nullopt;
    return static_cast<std::size_t>(selectedRow);
}

void ShowError(QWidget* parent, Dialogs& dialogs, const QString& text) {
    dialogs.Error(parent, text);
}

// Qt's long notation ends in a time-zone name ("HH:mm:ss t"); the clock's long time does not.
QString WithoutTimeZone(const QString& format) {
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') quoted = !quoted;
        if (quoted || c != u't') result += c;
    }
    return result.trimmed();
}

}  // namespace

QString LongTimeText(const QLocale& locale, const QTime& time) {
    return locale.toString(time, WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
}

std::unique_ptr<TDriver> MakeRateDialog(QWidget* parent, Dialogs& dialogs, RateTable& table,
                                        std::optional<std::size_t> editRow, const QLocale& locale,
                                        const QDateTime& now) {
    auto dialog = std::make_unique<TDriver>(table, editRow, dialogs, locale, parent);
    if (editRow) {
        const std::optional<RateFields> fields =
            EditModeFields(table.Row(*editRow), dialog->Cost()->DecimalSeparator());
        if (!fields) return nullptr;
        dialog->ShowFields(*fields);
    } else {
        dialog->ShowFields(AddModeFields(table, LongTimeText(locale, now.time()).toStdString(),
                                         now.date().dayOfWeek()));
    }
    return dialog;
}

bool RunRateDialog(QWidget* parent, Dialogs& dialogs, RateTable& table,
                   std::optional<std::size_t> editRow, const QLocale& locale,
                   const QDateTime& now) {
    if (editRow && *editRow >= table.Count()) return false;
    const std::unique_ptr<TDriver> dialog =
        MakeRateDialog(parent, dialogs, table, editRow, locale, now);
    if (!dialog) {
        ShowError(parent, dialogs,
                  QString::fromStdString(PriceNotANumberMessage(table.Row(*editRow).price)));
        return false;
    }
    return dialog->exec() == QDialog::Accepted;
}

bool EditRateCommand(QWidget* parent, Dialogs& dialogs, RateTable& table, int selectedRow,
                     EditTrigger trigger, const QLocale& locale) {
    const std::optional<std::size_t> row = RowOf(selectedRow, table);
    if (!row) {
        if (trigger == EditTrigger::Command)
            ShowError(parent, dialogs, Text(rate_texts::kSelectToEdit));
        return false;
    }
    return RunRateDialog(parent, dialogs, table, row, locale);
}

bool DeleteRateCommand(QWidget* parent, Dialogs& dialogs, RateTable& table, int selectedRow) {
    const std::optional<std::size_t> row = RowOf(selectedRow, table);
    if (!row) {
        ShowError(parent, dialogs, Text(rate_texts::kSelectToDelete));
        return false;
    }
    if (!dialogs.OkCancel(parent, Text(rate_texts::kDeleteQuestion))) return false;
    DeleteRate(table, *row);
    return true;
}

bool ClearRatesCommand(RateTable& table) {
    ClearRates(table);
    return true;
}

}  // namespace kestrova
