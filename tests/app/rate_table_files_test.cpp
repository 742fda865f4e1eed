// Opening and saving rate tables through the window's commands and dialogs.

#include "app_fixture.h"
#include "rates/rate_file.h"

namespace kestrova::testing {
namespace {

class RateFilesTest : public AppTest {
protected:
    QString File(const char* name) { return QString::fromStdString((dir.path() / name).string()); }
    std::string Table() { return Config().ReadString("General", "Table", ""); }
};

TEST_F(RateFilesTest, SaveAndOpenRoundTrip) {
    Start();
    rates.Append("8:00", "23:59", "0,5", "Будние дни");
    rates.Append("0:00", "8:00", "0,25", "Все дни");
    rates.SetModified(true);
    form->SetTabEdit(true);
    dialogs.QueueFile(File("rates"));
    form->findChild<QAction*>("SaveTab")->trigger();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, QStringLiteral("Данные успешно записаны в файл."));
    EXPECT_EQ(dialogs.Messages()[0].caption, QStringLiteral("Информация."));
    EXPECT_EQ(Table(), (dir.path() / "rates.kvtl").string());
    EXPECT_FALSE(rates.Modified());
    EXPECT_FALSE(form->windowTitle().contains('*'));
    EXPECT_EQ(ReadAll(dir.path() / "rates.kvtl"),
              "8:00|23:59|0,5|\xc1\xf3\xe4\xed\xe8\xe5 \xe4\xed\xe8\r\n0:00|8:00|0,25|"
              "\xc2\xf1\xe5 \xe4\xed\xe8\r\n");
    ASSERT_EQ(dialogs.FileRequests().size(), 1u);
    EXPECT_EQ(dialogs.FileRequests()[0].title, QStringLiteral("Сохранить файл"));

    rates.Clear();
    dialogs.QueueFile(File("rates.kvtl"));
    form->findChild<QAction*>("openTab")->trigger();
    ASSERT_EQ(form->TimeList()->topLevelItemCount(), 2);
    EXPECT_EQ(form->TimeList()->topLevelItem(1)->text(4), QStringLiteral("Все дни"));
    EXPECT_EQ(form->TimeList()->topLevelItem(1)->text(0), QStringLiteral("2"));
}

TEST_F(RateFilesTest, SaveOfAnUnchangedTableAsksFirst) {
    Start();
    form->findChild<QAction*>("SaveTab")->trigger();  // the script answers No
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
    form->findChild<QAction*>("SaveTab")->trigger();
    EXPECT_EQ(dialogs.FileRequests().size(), 2u);
    EXPECT_EQ(dialogs.Messages()[0].text, QStringLiteral("Файл ") + File("old.kvtl") +
                                              QStringLiteral(" существует. Заменить его?"));
    EXPECT_EQ(ReadAll(dir.path() / "old.kvtl"), "8:00|9:00|1|\xc2\xf1\xe5 \xe4\xed\xe8\r\n");
}

TEST_F(RateFilesTest, OpenErrors) {
    Start();
    dialogs.QueueFile(File("none.kvtl"));
    form->findChild<QAction*>("openTab")->trigger();
    EXPECT_EQ(dialogs.Messages().back().text,
              QStringLiteral("Ошибка доступа к файлу") + File("none.kvtl") + QStringLiteral("!"));

    WriteAll(dir.path() / "text.kvtl", "a|b|c|d\r\nb|c|d|e\r\nnot a rate\r\nc|d|e|f\r\n");
    dialogs.QueueFile(File("text.kvtl"));
    form->findChild<QAction*>("openTab")->trigger();
    EXPECT_EQ(dialogs.Messages().back().text, QStringLiteral("Несовместимый тип файла!"));
    EXPECT_EQ(form->TimeList()->topLevelItemCount(), 2);
    EXPECT_EQ(Table(), "");  // not remembered
}

TEST_F(RateFilesTest, LastTableLoadsAtStart) {
    WriteAll(dir.path() / "mine.kvtl", "8:00|20:00|3|Все дни\n");
    Config().WriteString("General", "Table", (dir.path() / "mine.kvtl").string());
    Start();
    EXPECT_EQ(form->TimeList()->topLevelItemCount(), 1);
    EXPECT_FALSE(rates.Modified());
    EXPECT_TRUE(dialogs.Messages().empty());
}

}  // namespace
}  // namespace kestrova::testing
