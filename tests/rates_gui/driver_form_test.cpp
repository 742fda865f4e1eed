// The rate dialog on its own: its widgets and texts, the price field and addClick.
#include "rates/driver_form.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <vector>

#include "rates/price_edit.h"
#include "rates/rate_table.h"
#include "support/gui_app.h"
#include "support/scripted_dialogs.h"

namespace kestrova {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class DriverForm : public ::testing::Test {
protected:
    void SetUp() override { testing::GuiApp(); }

    std::unique_ptr<TDriver> Make(std::optional<std::size_t> editRow = std::nullopt) {
        return std::make_unique<TDriver>(table, editRow, dialogs, russian);
    }

    const QLocale russian{QLocale::Russian, QLocale::Russia};
    RateTable table;
    ScriptedDialogs dialogs;
};

TEST_F(DriverForm, AddModeHasItsNamedWidgetsTextsAndNoChoiceOfDay) {
    const auto dialog = Make();
    EXPECT_EQ(dialog->windowTitle(), U("Добавить расценку..."));
    EXPECT_TRUE(dialog->isModal());
    EXPECT_FALSE(dialog->EditMode());

    EXPECT_EQ(dialog->findChild<QLineEdit*>("StartTime"), dialog->StartTime());
    EXPECT_EQ(dialog->findChild<QLineEdit*>("EndTime"), dialog->EndTime());
    EXPECT_EQ(dialog->findChild<QLineEdit*>("Cost"), dialog->Cost());
    EXPECT_EQ(dialog->findChild<QComboBox*>("Day"), dialog->Day());
    ASSERT_EQ(dialog->findChild<QPushButton*>("add"), dialog->add());
    ASSERT_EQ(dialog->findChild<QPushButton*>("cancel"), dialog->cancel());
    EXPECT_EQ(dialog->add()->text(), U("Добавить"));
    EXPECT_EQ(dialog->cancel()->text(), U("Отмена"));

    QComboBox* day = dialog->Day();
    EXPECT_FALSE(day->isEditable());
    EXPECT_EQ(day->currentIndex(), -1);
    ASSERT_EQ(day->count(), 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(day->itemText(i), U(kDayTexts[i])) << i;

    // Each label names the field beside it.
    const std::vector<std::pair<const char*, QWidget*>> labels = {
        {"Время начала:", dialog->StartTime()},
        {"Время окончания:", dialog->EndTime()},
        {"Стоимость:", dialog->Cost()},
        {"День:", dialog->Day()}};
    for (const auto& [text, field] : labels) {
        const QLabel* found = nullptr;
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            if (label->text() == U(text)) found = label;
        ASSERT_NE(found, nullptr) << text;
        EXPECT_EQ(found->buddy(), field) << text;
    }
}

TEST_F(DriverForm, EditModeHasItsCaptions) {
    table.Append("8:00", "23:59", "1", "");
    const auto dialog = Make(0);
    EXPECT_TRUE(dialog->EditMode());
    EXPECT_EQ(dialog->windowTitle(), U("Редактировать расценку."));
    EXPECT_EQ(dialog->add()->text(), U("Изменить"));
    EXPECT_EQ(dialog->cancel()->text(), U("Отмена"));
}

TEST_F(DriverForm, IsASmallFixedWindowWithoutTitleBarButtonsCentredOnItsParent) {
    QWidget parent;
    parent.setGeometry(100, 80, 528, 367);
    parent.show();
    TDriver dialog(table, std::nullopt, dialogs, russian, &parent);
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    for (const Qt::WindowType button :
         {Qt::WindowSystemMenuHint, Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint,
          Qt::WindowMaximizeButtonHint, Qt::WindowContextHelpButtonHint})
        EXPECT_FALSE(flags.testFlag(button)) << button;
    EXPECT_EQ(dialog.font().family(), U("Arial"));
    EXPECT_EQ(dialog.font().pixelSize(), 14);

    dialog.show();
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_LT(dialog.width(), parent.width());
    const QPoint offset = dialog.frameGeometry().center() - parent.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
}

TEST_F(DriverForm, CostTypesTheLocalesSeparatorAndRefusesAThirdDecimal) {
    const auto dialog = Make();
    PriceEdit* cost = dialog->Cost();
    EXPECT_EQ(cost->DecimalSeparator(), ',');

    const std::vector<std::pair<const char*, const char*>> typed = {
        {"1.257", "1,25"}, {"1,5", "1,5"},   {".5", ",5"},
        {"1.2.3", "1,23"}, {"12a-3", "123"}, {"1 000", "1000"}};
    for (const auto& [keys, expected] : typed) {
        cost->clear();
        QTest::keyClicks(cost, QString::fromLatin1(keys));
        EXPECT_EQ(cost->text(), U(expected)) << keys;
    }

    PriceEdit english(QLocale(QLocale::English, QLocale::UnitedStates));
    QTest::keyClicks(&english, QStringLiteral("2,505"));
    EXPECT_EQ(english.text(), U("2.50"));
}

TEST_F(DriverForm, CostShowsAtMostTwoDecimalsAndNothingForZeroOnLosingTheFocus) {
    const auto dialog = Make();
    PriceEdit* cost = dialog->Cost();
    const std::vector<std::pair<const char*, const char*>> shown = {
        {"0,50", "0,5"}, {"2,00", "2"}, {"1,", "1"}, {",25", "0,25"}, {"0", ""}, {"0,0", ""}};
    for (const auto& [keys, expected] : shown) {
        cost->clear();
        QTest::keyClicks(cost, U(keys));
        QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(cost, &focusOut);
        EXPECT_EQ(cost->text(), U(expected)) << keys;
    }
}

struct AddClickCase {
    const char* start;
    const char* end;
    const char* price;
    const char* message;
};

TEST_F(DriverForm, AddClickShowsTheFirstFailedChecksMessageAndStaysOpen) {
    const std::vector<AddClickCase> cases = {
        {"24:00", "23:59", "1", "Введённое время начала некорректно!"},
        {"8:00", "24:00", "1", "Введённое время окончания некорректно!"},
        {"8:00", "23:59", "", "Вы не ввели стоимость одной минуты/мегабайта."},
        {"8:00", "23:59", "0", "Вы не ввели стоимость одной минуты/мегабайта."},
    };
    for (const AddClickCase& c : cases) {
        dialogs.ClearRecords();
        const auto dialog = Make();
        dialog->show();
        dialog->ShowFields({c.start, c.end, c.price, 0});
        dialog->add()->click();
        ASSERT_EQ(dialogs.Messages().size(), 1u) << c.message;
        EXPECT_EQ(dialogs.Messages()[0].kind, MessageKind::Error);
        EXPECT_EQ(dialogs.Messages()[0].caption, U("Ошибка!"));
        EXPECT_EQ(dialogs.Messages()[0].text, U(c.message));
        EXPECT_TRUE(dialog->isVisible()) << c.message;
        EXPECT_EQ(dialog->StartTime()->text(), U(c.start));
        EXPECT_EQ(table.Count(), 0u);
        EXPECT_FALSE(table.Modified());
    }
}

TEST_F(DriverForm, AddClickAppendsTheRowMarksTheTableAndCloses) {
    table.Append("0:00", "8:00", "1", "Все дни");
    const auto dialog = Make();
    dialog->show();
    dialog->ShowFields({"8:00:30", "23:59", "", std::nullopt});
    // Confirmed with Enter while the price field still has the focus.
    QTest::keyClicks(dialog->Cost(), QStringLiteral("0.50"));
    QTest::keyClick(dialog->Cost(), Qt::Key_Return);

    EXPECT_TRUE(dialogs.Messages().empty());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_EQ(table.Count(), 2u);
    const RateRow& row = table.Row(1);
    EXPECT_EQ(row.number, "2");
    EXPECT_EQ(row.start, "8:00:30");
    EXPECT_EQ(row.end, "23:59");
    EXPECT_EQ(row.price, "0,5");
    EXPECT_EQ(row.day, "");
    EXPECT_TRUE(table.Modified());
}

TEST_F(DriverForm, AddClickInEditModeReplacesTheRowInItsPlace) {
    table.Append("0:00", "8:00", "1", "Все дни");
    table.Append("8:00", "20:00", "2", "Будние дни");
    table.Append("20:00", "0:00", "3", "Все дни");
    const auto dialog = Make(1);
    dialog->show();
    dialog->ShowFields({"9:00", "21:00", "2,5", 5});
    dialog->add()->click();

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    ASSERT_EQ(table.Count(), 3u);
    EXPECT_EQ(table.Row(1).number, "2");
    EXPECT_EQ(table.Row(1).start, "9:00");
    EXPECT_EQ(table.Row(1).end, "21:00");
    EXPECT_EQ(table.Row(1).price, "2,5");
    EXPECT_EQ(table.Row(1).day, "Суббота");
    EXPECT_EQ(table.Row(2).start, "20:00");
    EXPECT_TRUE(table.Modified());
}

TEST_F(DriverForm, CancelClosesAndChangesNothing) {
    table.Append("0:00", "8:00", "1", "Все дни");
    const auto dialog = Make(0);
    dialog->show();
    dialog->ShowFields({"9:00", "21:00", "2,5", 5});
    dialog->cancel()->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(table.Row(0).start, "0:00");
    EXPECT_FALSE(table.Modified());
    EXPECT_TRUE(dialogs.Messages().empty());
}

}  // namespace
}  // namespace kestrova
