#pragma once

#include <QDialog>
#include <cstddef>
#include <optional>

#include "rates/rate_editing.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QLocale;
class QPushButton;

namespace kestrova {

class Dialogs;
class PriceEdit;
class RateTable;

// The rate dialog: one rate's start, end, price and day. In add mode (no row given) it
// appends a row to the table, in edit mode it changes the given row; either way only when
// the fields pass the checks of addClick, whose messages go through `dialogs`.
class TDriver : public QDialog {
    Q_OBJECT

public:
    TDriver(RateTable& table, std::optional<std::size_t> editRow, Dialogs& dialogs,
            const QLocale& locale, QWidget* parent = nullptr);

    bool EditMode() const { return editRow_.has_value(); }
    void ShowFields(const RateFields& fields);
    RateFields Fields() const;

    QLineEdit* StartTime() const { return startTime_; }
    QLineEdit* EndTime() const { return endTime_; }
    PriceEdit* Cost() const { return cost_; }
    QComboBox* Day() const { return day_; }
    QPushButton* add() const { return add_; }
    QPushButton* cancel() const { return cancel_; }

public slots:
    // Checks the fields; stores the row, marks the table modified and closes, or tells the
    // user what is wrong and stays open.
    void addClick();

private:
    QLabel* AddLabel(const char* text, QWidget* buddy);

    RateTable& table_;
    std::optional<std::size_t> editRow_;
    Dialogs& dialogs_;

    QLineEdit* startTime_ = nullptr;
    QLineEdit* endTime_ = nullptr;
    PriceEdit* cost_ = nullptr;
    QComboBox* day_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace kestrova
