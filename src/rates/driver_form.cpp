#include "rates/driver_form.h"

#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>
#include <utility>

#include "gui/dialogs.h"
#include "rates/price_edit.h"
#include "rates/rate_table.h"

namespace kestrova {

namespace {

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

TDriver::TDriver(RateTable& table, std::optional<std::size_t> editRow, Dialogs& dialogs,
                 const QLocale& locale, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      table_(table),
      editRow_(editRow),
      dialogs_(dialogs) {
    setObjectName(QStringLiteral("Driver"));
    setModal(true);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    setFont(font);
    setWindowTitle(Text(EditMode() ? rate_texts::kEditCaption : rate_texts::kAddCaption));

    startTime_ = new QLineEdit(this);
    startTime_->setObjectName(QStringLiteral("StartTime"));
    endTime_ = new QLineEdit(this);
    endTime_->setObjectName(QStringLiteral("EndTime"));
    cost_ = new PriceEdit(locale, this);
    cost_->setObjectName(QStringLiteral("Cost"));
    day_ = new QComboBox(this);
    day_->setObjectName(QStringLiteral("Day"));
    day_->setEditable(false);
    for (const char* day : kDayTexts) day_->addItem(Text(day));
    day_->setCurrentIndex(-1);

    add_ =
        new QPushButton(Text(EditMode() ? rate_texts::kEditButton : rate_texts::kAddButton), this);
    add_->setObjectName(QStringLiteral("add"));
    add_->setDefault(true);
    cancel_ = new QPushButton(Text(rate_texts::kCancelButton), this);
    cancel_->setObjectName(QStringLiteral("cancel"));
    connect(add_, &QPushButton::clicked, this, &TDriver::addClick);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QGridLayout;
    const std::pair<const char*, QWidget*> rows[] = {{rate_texts::kStartLabel, startTime_},
                                                     {rate_texts::kEndLabel, endTime_},
                                                     {rate_texts::kCostLabel, cost_},
                                                     {rate_texts::kDayLabel, day_}};
    int row = 0;
    for (const auto& [label, field] : rows) {
        fields->addWidget(AddLabel(label, field), row, 0);
        fields->addWidget(field, row, 1);
        ++row;
    }
    fields->setColumnMinimumWidth(1, 150);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(add_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    // A small window of fixed size; QDialog centres it on its parent when shown.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QLabel* TDriver::AddLabel(const char* text, QWidget* buddy) {
    auto* label = new QLabel(Text(text), this);
    label->setBuddy(buddy);
    return label;
}

void TDriver::ShowFields(const RateFields& fields) {
    startTime_->setText(QString::fromStdString(fields.start));
    endTime_->setText(QString::fromStdString(fields.end));
    cost_->setText(QString::fromStdString(fields.price));
    const bool known = fields.day && *fields.day < std::size(kDayTexts);
    day_->setCurrentIndex(known ? static_cast<int>(*fields.day) : -1);
}

RateFields TDriver::Fields() const {
    RateFields fields;
    fields.start = startTime_->text().toStdString();
    fields.end = endTime_->text().toStdString();
    fields.price = cost_->text().toStdString();
    if (day_->currentIndex() >= 0) fields.day = static_cast<std::size_t>(day_->currentIndex());
    return fields;
}

void TDriver::addClick() {
    // The price is checked and stored as the field shows it after losing the focus, also when
    // Enter confirms while the field still has it.
    const RateConfirmation result = ConfirmRate(Fields(), cost_->DecimalSeparator());
    if (!result.Accepted()) {
        dialogs_.Error(this, Text(result.error));
        return;
    }
    StoreRate(table_, result.row, editRow_);
    accept();
}

}  // namespace kestrova
