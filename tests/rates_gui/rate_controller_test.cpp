// The rate table's controller on a plain rate list, without the main window: opening and
// saving rate tables, the row commands and TabEdit.
#include "rates/rate_controller.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QTreeWidget>
#include <memory>

#include "base/ini_file.h"
#include "base/program_flags.h"
#include "rates/rate_table.h"
#include "support/fakes.h"
#include "support/gui_app.h"
#include "support/scripted_dialogs.h"

namespace kestrova::testing {
namespace {

class RateFilesTest : public ::testing::Test {
protected:
    // The controller as the program makes it, and its start.
    void Start() {
        controller = std::make_unique<RateController>(
            window, list, rates, dialogs, flags, dir.path() / "Config.ini",
            QLocale(QLocale::Russian), [this] { ++tabEditShown; });
        controller->LoadAtStart();
    }

    IniFile Config() { return IniFile(dir.path() / "Config.ini"); }
    QString File(const char* name) { return QString::fromStdString((dir.path() / name).string()); }
    std::string Table() { return Config().ReadString("General", "Table", ""); }

    QApplication& app = GuiApp();  // before the widgets
    TempDir dir;
    QWidget window;
    QTreeWidget list;
    RateTable rates;
    ScriptedDialogs dialogs;
    ProgramFlags flags;
    int tabEditShown = 0;
    std::unique_ptr<RateController> controller;
};

TEST_F(RateFilesTest, SaveAndOpenRoundTrip) {
    Start();
    rates.Append("8:00", "23:59", "0,5", "Будние дни");
    rates.Append("0:00", "8:00", "0,25", "Все дни");
    rates.SetModified(true);
    flags.TabEdit = true;
    dialogs.QueueFile(File("rates"));
    controller->SaveTabClick();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, QStringLiteral("Данные успешно записаны в файл."));
    EXPECT_EQ(dialogs.Messages()[0].caption, QStringLiteral("Информация."));
    EXPECT_EQ(Table(), (dir.path() / "rates.kvtl").string());
    EXPECT_FALSE(rates.Modified());
    EXPECT_FALSE(flags.TabEdit);
    EXPECT_EQ(ReadAll(dir.path() / "rates.kvtl"),
              "8:00|23:59|0,5|\xc1\xf3\xe4\xed\xe8\xe5 \xe4\xed\xe8\r\n0:00|8:00|0,25|"
              "\xc2\xf1\xe5 \xe4\xed\xe8\r\n");
    ASSERT_EQ(dialogs.FileRequests().size(), 1u);
    EXPECT_EQ(dialogs.FileRequests()[0].title, QStringLiteral("Сохранить файл"));

    rates.Clear();
    dialogs.QueueFile(File("rates.kvtl"));
    controller->openTabClick();
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(list.topLevelItem(1)->text(4), QStringLiteral("Все дни"));
    EXPECT_EQ(list.topLevelItem(1)->text(0), QStringLiteral("2"));
}

TEST_F(RateFilesTest, SaveOfAnUnchangedTableAsksFirst) {
    Start();
    controller->SaveTabClick();  // the script answers No
    EXPECT_EQ(dialogs.Messages().back().text,
              QStringLiteral("Таблица не была изменена. Сохранить её?"));
    EXPECT_TRUE(dialogs.FileRequests().empty());
}

TEST_F(RateFilesTest, OverwriteQuestionForTheNameAsTyped) {
    Start();
    rates.Append("8:00", "9:00", "1", "Все дни");
    rates.SetModified(true);
    WriteAll(dir.path() / "old.kvtl", "x|y|z|w\r\n");
    dialogs.QueueFile(File("old.kvtl"));
    dialogs.QueueAnswer(Answer::No);  // not this one: the dialog comes again
    dialogs.QueueFile(File("old"));   // "old" itself does not exist: no question
    controller->SaveTabClick();
    EXPECT_EQ(dialogs.FileRequests().size(), 2u);
    EXPECT_EQ(dialogs.Messages()[0].text, QStringLiteral("Файл ") + File("old.kvtl") +
                                              QStringLiteral(" существует. Заменить его?"));
    EXPECT_EQ(ReadAll(dir.path() / "old.kvtl"), "8:00|9:00|1|\xc2\xf1\xe5 \xe4\xed\xe8\r\n");
}

TEST_F(RateFilesTest, OpenErrors) {
    Start();
    dialogs.QueueFile(File("none.kvtl"));
    controller->openTabClick();
    EXPECT_EQ(dialogs.Messages().back().text,
              QStringLiteral("Ошибка доступа к файлу") + File("none.kvtl") + QStringLiteral("!"));

    WriteAll(dir.path() / "text.kvtl", "a|b|c|d\r\nb|c|d|e\r\nnot a rate\r\nc|d|e|f\r\n");
    dialogs.QueueFile(File("text.kvtl"));
    controller->openTabClick();
    EXPECT_EQ(dialogs.Messages().back().text, QStringLiteral("Несовместимый тип файла!"));
    EXPECT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(Table(), "");  // not remembered
}

TEST_F(RateFilesTest, LastTableLoadsAtStart) {
    WriteAll(dir.path() / "mine.kvtl", "8:00|20:00|3|Все дни\n");
    Config().WriteString("General", "Table", (dir.path() / "mine.kvtl").string());
    Start();
    EXPECT_EQ(list.topLevelItemCount(), 1);
    EXPECT_FALSE(rates.Modified());
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(RateFilesTest, RowCommandsActOnTheSelectedRowAndSetTabEdit) {
    WriteAll(dir.path() / "two.kvtl", "8:00|9:00|1|Все дни\r\n9:00|10:00|2|Все дни\r\n");
    Config().WriteString("General", "Table", (dir.path() / "two.kvtl").string());
    Start();
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_FALSE(flags.TabEdit);

    controller->Del_tClick();  // nothing selected
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, QStringLiteral("Выберите элемент для удаления!"));

    list.setCurrentItem(list.topLevelItem(0));
    dialogs.QueueAnswer(Answer::Ok);
    const int shownBefore = tabEditShown;
    controller->Del_tClick();
    ASSERT_EQ(list.topLevelItemCount(), 1);
    EXPECT_EQ(list.topLevelItem(0)->text(1), QStringLiteral("9:00"));
    EXPECT_TRUE(flags.TabEdit);
    EXPECT_GT(tabEditShown, shownBefore);
}

}  // namespace
}  // namespace kestrova::testing
