#pragma once

#include <QLineEdit>

class QLocale;

namespace kestrova {

// The price field of the rate dialog: a number with two decimal places. "." and "," both
// type the locale's decimal separator, a third decimal and any other character are refused,
// and on losing the focus the field shows its value with at most two decimals and no
// grouping, or nothing for zero.
class PriceEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit PriceEdit(const QLocale& locale, QWidget* parent = nullptr);

    char DecimalSeparator() const { return separator_; }
    // Shows the text as the field does on losing the focus; false, and the text left as it
    // is, when it is not a number.
    bool ShowAsValue();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    char separator_;
};

}  // namespace kestrova
