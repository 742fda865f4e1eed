#pragma once

#include <QLineEdit>
#include <QString>

#include "base/money_pattern.h"

namespace kestrova {

// A read-only money field. It keeps a value rounded to hundredths; while it has no focus it
// shows the value through its display pattern, with the focus it shows its text: two decimals
// with the decimal separator, no unit, empty for zero.
class CurrencyEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CurrencyEdit(QWidget* parent = nullptr);

    double Value() const { return value_; }
    void SetValue(double value);
    // What other parts read as the field's text (the log writes it).
    QString MoneyText() const;

    QString DisplayPattern() const { return pattern_; }
    void SetDisplayPattern(const QString& pattern);
    void SetSeparators(char decimal, const QString& thousands);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Redisplay();

    double value_ = 0.0;
    QString pattern_ = QString::fromUtf8(kInitialMoneyPattern);
    char decimal_ = '.';
    QString thousands_ = QStringLiteral(",");
};

}  // namespace kestrova
