// The rate commands as the main window runs them, with the modal dialog played by a driver.
#include "rates/rate_commands.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTime>

#include "dialog_driver.h"
#include "rates/driver_form.h"
#include "rates/price_edit.h"
#include "rates/rate_table.h"
#include "support/gui_app.h"
#include "support/scripted_dialogs.h"

namespace kestrova {
namespace {

using testing::DialogDriver;

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class RateCommands : public ::testing::Test {
protected:
    void SetUp() override { testing::GuiApp(); }

    // Wednesday, 10 March 2027, 8:05:17.
    const QDateTime now{QDate(2027, 3, 10), QTime(8, 5, 17)};
    const QLocale russian{QLocale::Russian, QLocale::Russia};
    RateTable table;
    ScriptedDialogs dialogs;
};

TEST_F(RateCommands, LongTimeIsTheLocalesNotationWithoutTheZone) {
    EXPECT_EQ(LongTimeText(russian, QTime(8, 5, 17)), U("08:05:17"));
    EXPECT_EQ(LongTimeText(QLocale(QLocale::English, QLocale::UnitedStates), QTime(20, 5, 17)),
              U("8:05:17 PM"));
}

TEST_F(RateCommands, AddProposesAndAppendsARow) {
    QString start, end, cost, day;
    DialogDriver driver([&](TDriver& dialog) {
        start = dialog.StartTime()->text();
        end = dialog.EndTime()->text();
        cost = dialog.Cost()->text();
        day = dialog.Day()->currentText();
        dialog.Cost()->setText(QStringLiteral("1,5"));
        dialog.add()->click();
    });
    EXPECT_TRUE(RunRateDialog(nullptr, dialogs, table, std::nullopt, russian, now));
    EXPECT_EQ(driver.Shown(), 1);
    EXPECT_EQ(start, U("08:05"));
    EXPECT_EQ(end, U("23:59"));
    EXPECT_EQ(cost, U(""));
    EXPECT_EQ(day, U("Среда"));

    ASSERT_EQ(table.Count(), 1u);
    EXPECT_EQ(table.Row(0).number, "1");
    EXPECT_EQ(table.Row(0).start, "08:05");
    EXPECT_EQ(table.Row(0).end, "23:59");
    EXPECT_EQ(table.Row(0).price, "1,5");
    EXPECT_EQ(table.Row(0).day, "Среда");
    EXPECT_TRUE(table.Modified());
}

TEST_F(RateCommands, AddCancelledLeavesTableAndFlag) {
    table.Append("8:00", "20:00", "2", "Будние дни");
    QString end;
    DialogDriver driver([&](TDriver& dialog) {
        end = dialog.EndTime()->text();
        dialog.cancel()->click();
    });
    EXPECT_FALSE(RunRateDialog(nullptr, dialogs, table, std::nullopt, russian, now));
    EXPECT_EQ(end, U("8:00"));
    EXPECT_EQ(table.Count(), 1u);
    EXPECT_FALSE(table.Modified());
}

TEST_F(RateCommands, EditCopiesTheRowAndChangesItInPlace) {
    table.Append("0:00", "8:00", "1", "Все дни");
    table.Append("8:00", "20:00", "0.50", "Праздники");
    QString start, end, cost, caption;
    int day = 0;
    DialogDriver driver([&](TDriver& dialog) {
        caption = dialog.windowTitle();
        start = dialog.StartTime()->text();
        end = dialog.EndTime()->text();
        cost = dialog.Cost()->text();
        day = dialog.Day()->currentIndex();
        dialog.EndTime()->setText(QStringLiteral("21:00"));
        dialog.add()->click();
    });
    EXPECT_TRUE(EditRateCommand(nullptr, dialogs, table, 1, EditTrigger::DoubleClick, russian));
    EXPECT_EQ(caption, U("Редактировать расценку."));
    EXPECT_EQ(start, U("8:00"));
    EXPECT_EQ(end, U("20:00"));
    EXPECT_EQ(cost, U("0,5"));
    EXPECT_EQ(day, -1);  // a day text that is none of the ten

    ASSERT_EQ(table.Count(), 2u);
    EXPECT_EQ(table.Row(1).number, "2");
    EXPECT_EQ(table.Row(1).end, "21:00");
    EXPECT_EQ(table.Row(1).price, "0,5");
    EXPECT_EQ(table.Row(1).day, "");  // confirmed without choosing a day
    EXPECT_TRUE(table.Modified());
}

TEST_F(RateCommands, EditWithoutASelectionReportsOnlyForTheCommand) {
    table.Append("0:00", "8:00", "1", "Все дни");
    DialogDriver driver;
    EXPECT_FALSE(EditRateCommand(nullptr, dialogs, table, -1, EditTrigger::DoubleClick, russian));
    EXPECT_TRUE(dialogs.Messages().empty());

    EXPECT_FALSE(EditRateCommand(nullptr, dialogs, table, -1, EditTrigger::Command, russian));
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].kind, MessageKind::Error);
    EXPECT_EQ(dialogs.Messages()[0].caption, U("Ошибка!"));
    EXPECT_EQ(dialogs.Messages()[0].text, U("Выберите элемент для редактирования!"));
    EXPECT_EQ(driver.Shown(), 0);
    EXPECT_FALSE(table.Modified());
}

TEST_F(RateCommands, EditOfARowWhosePriceIsNoNumberDoesNotOpen) {
    table.Append("0:00", "8:00", "abc", "Все дни");
    DialogDriver driver;
    EXPECT_FALSE(EditRateCommand(nullptr, dialogs, table, 0, EditTrigger::Command, russian));
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].kind, MessageKind::Error);
    EXPECT_EQ(dialogs.Messages()[0].text, U("'abc' не является числом."));
    EXPECT_EQ(driver.Shown(), 0);
    EXPECT_EQ(table.Row(0).price, "abc");
    EXPECT_FALSE(table.Modified());
}

TEST_F(RateCommands, DeleteAsksOkCancelAndOnlyOkRemoves) {
    table.Append("0:00", "8:00", "1", "Все дни");
    table.Append("8:00", "20:00", "2", "Будние дни");

    EXPECT_FALSE(DeleteRateCommand(nullptr, dialogs, table, 0));  // unanswered: Cancel
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].kind, MessageKind::OkCancel);
    EXPECT_EQ(dialogs.Messages()[0].caption, U("Внимание!"));
    EXPECT_EQ(dialogs.Messages()[0].text, U("Удалить выбранный элемент из списка?"));
    EXPECT_EQ(table.Count(), 2u);
    EXPECT_FALSE(table.Modified());

    dialogs.QueueAnswer(Answer::Ok);
    EXPECT_TRUE(DeleteRateCommand(nullptr, dialogs, table, 0));
    ASSERT_EQ(table.Count(), 1u);
    EXPECT_EQ(table.Row(0).number, "2");
    EXPECT_TRUE(table.Modified());
}

TEST_F(RateCommands, DeleteWithoutASelectionReportsAndAsksNothing) {
    table.Append("0:00", "8:00", "1", "Все дни");
    EXPECT_FALSE(DeleteRateCommand(nullptr, dialogs, table, -1));
    EXPECT_FALSE(DeleteRateCommand(nullptr, dialogs, table, 1));  // no such row
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    for (const ScriptedDialogs::Message& message : dialogs.Messages()) {
        EXPECT_EQ(message.kind, MessageKind::Error);
        EXPECT_EQ(message.caption, U("Ошибка!"));
        EXPECT_EQ(message.text, U("Выберите элемент для удаления!"));
    }
    EXPECT_EQ(table.Count(), 1u);
    EXPECT_FALSE(table.Modified());
}

TEST_F(RateCommands, ClearEmptiesWithoutAskingEvenAnEmptyTable) {
    EXPECT_TRUE(ClearRatesCommand(table));
    EXPECT_TRUE(table.Modified());
    EXPECT_TRUE(dialogs.Messages().empty());
}

}  // namespace
}  // namespace kestrova
