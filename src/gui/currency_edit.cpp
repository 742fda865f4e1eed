#include "gui/currency_edit.h"

#include <QLocale>
#include <optional>

#include "base/number_format.h"

namespace kestrova {

namespace {

char AsciiDecimalPoint(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 0x80) return point.at(0).toLatin1();
    return '.';
}

}  // namespace

CurrencyEdit::CurrencyEdit(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    const QLocale locale;
    decimal_ = AsciiDecimalPoint(locale);
    thousands_ = locale.groupSeparator();
    Redisplay();
}

void CurrencyEdit::SetValue(double value) {
    // The field keeps hundredths only; every read gives the rounded value.
    const std::optional<double> rounded = ParseDecimal(FormatFixed(value, 2, '.'));
    value_ = rounded.value_or(0.0);
    Redisplay();
}

QString CurrencyEdit::MoneyText() const {
    return QString::fromStdString(MoneyFieldText(value_, decimal_));
}

void CurrencyEdit::SetDisplayPattern(const QString& pattern) {
    pattern_ = pattern;
    Redisplay();
}

void CurrencyEdit::SetSeparators(char decimal, const QString& thousands) {
    decimal_ = decimal;
    thousands_ = thousands;
    Redisplay();
}

void CurrencyEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    Redisplay();
}

void CurrencyEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    Redisplay();
}

void CurrencyEdit::Redisplay() {
    if (hasFocus()) {
        setText(MoneyText());
        return;
    }
    const NumberSeparators separators{std::string(1, decimal_), thousands_.toStdString()};
    setText(QString::fromStdString(FormatWithPattern(pattern_.toStdString(), value_, separators)));
    setCursorPosition(0);
}

}  // namespace kestrova
