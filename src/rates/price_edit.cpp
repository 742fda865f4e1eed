#include "rates/price_edit.h"

#include <QLocale>
#include <QValidator>
#include <optional>
#include <string>

#include "rates/rate_editing.h"

namespace kestrova {

namespace {

// The number texts of the rates use one ASCII character as the decimal point.
char DecimalSeparatorOf(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 0x80) return point.at(0).toLatin1();
    return '.';
}

// Turns a typed "." or "," into the separator and refuses what no price can become.
class PriceValidator : public QValidator {
public:
    PriceValidator(char separator, QObject* parent) : QValidator(parent), separator_(separator) {}

    State validate(QString& input, int& /*pos*/) const override {
        for (QChar& c : input)
            if (c == u'.' || c == u',') c = QLatin1Char(separator_);
        return IsPriceInput(input.toStdString(), separator_) ? Acceptable : Invalid;
    }

private:
    char separator_;
};

}  // namespace

PriceEdit::PriceEdit(const QLocale& locale, QWidget* parent)
    : QLineEdit(parent), separator_(DecimalSeparatorOf(locale)) {
    setValidator(new PriceValidator(separator_, this));
}

bool PriceEdit::ShowAsValue() {
    const std::optional<std::string> shown = PriceFieldText(text().toStdString(), separator_);
    if (!shown) return false;
    const QString value = QString::fromStdString(*shown);
    if (value != text()) setText(value);
    return true;
}

void PriceEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    ShowAsValue();
}

}  // namespace kestrova
