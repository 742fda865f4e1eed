// Start, close, exit and the meter's commands on the real main window.

#include <QTimer>
#include <csignal>
#include <cstring>

#include "app_fixture.h"
#include "meter/value_format.h"
#include "shell/termination_watch.h"

namespace kestrova::testing {
namespace {

bool Shown(QWidget* w) {
    return !w->isHidden();
}

TEST_F(AppTest, FirstStartWithoutSettings) {
    Start();
    EXPECT_TRUE(Shown(form->RunBut()));  // paused
    EXPECT_FALSE(Shown(form->PauseBut()));
    EXPECT_EQ(Config().ReadString("General", "Status", ""), "0");
    EXPECT_EQ(form->Edenitsa(), QStringLiteral("р."));
    EXPECT_EQ(form->TimeList()->topLevelItemCount(), 0);
    EXPECT_EQ(form->onrunminim()->interval(), 280);
    EXPECT_TRUE(form->onrunminim()->isActive());
    EXPECT_FALSE(controller->LogSizeControl());
    EXPECT_FALSE(form->N21()->isVisible());  // no help file
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "stats" / "3-2027.ini"));
}

TEST_F(AppTest, StoredSettingsAtStart) {
    Config().WriteString("General", "Status", "1");
    Config().WriteString("General", "TabSave", "1");
    Config().WriteInteger("General", "Tab", 2);
    Config().WriteInteger("General", "CostFormat", 1);
    Config().WriteString("General", "LogSizeEnabled", "1");
    Config().WriteInteger("Count", "Edn", 1);
    Start();
    EXPECT_TRUE(Shown(form->PauseBut()));
    EXPECT_FALSE(Shown(form->RunBut()));
    EXPECT_EQ(form->Tabliti()->currentIndex(), 2);
    EXPECT_EQ(form->Edenitsa(), QStringLiteral("$."));
    EXPECT_TRUE(controller->LogSizeControl());
    EXPECT_TRUE(Shown(form->TraficCost()));
    EXPECT_FALSE(Shown(form->CostMoney()));
}

TEST_F(AppTest, RunAndPauseShowExactlyOneButton) {
    Start();
    form->RunBut()->click();
    EXPECT_TRUE(Shown(form->PauseBut()));
    EXPECT_FALSE(Shown(form->RunBut()));
    EXPECT_EQ(Config().ReadString("General", "Status", ""), "1");
    form->PauseBut()->click();
    EXPECT_TRUE(Shown(form->RunBut()));
    EXPECT_FALSE(Shown(form->PauseBut()));
    EXPECT_EQ(Config().ReadString("General", "Status", ""), "0");
}

TEST_F(AppTest, TickShowsTheMeter) {
    Config().WriteString("General", "Status", "1");
    Start();
    online = true;
    interfaces.Link(4);
    Seconds(61, 1024);
    EXPECT_EQ(form->SesionTime()->text(), QStringLiteral("00:01:01"));
    EXPECT_EQ(form->TimeToday()->text(), QStringLiteral("00:01:01"));
    EXPECT_EQ(form->InTraf()->text(), QStringLiteral("61,00 КБ"));
    EXPECT_EQ(form->SesionCost()->text(), QStringLiteral("1,00р."));  // shown by the pattern
    EXPECT_EQ(form->StPanel()->text(), QStringLiteral("Текущая стоимость минуты: 1,00р."));
}

// Out of sight the window keeps the figures and shows them when it comes back.
TEST_F(AppTest, MinimisedWindowShowsTheFiguresWhenRestored) {
    Config().WriteString("General", "Status", "1");
    Start();
    form->show();
    online = true;
    interfaces.Link(4);
    Seconds(2);
    form->showMinimized();
    Seconds(3);
    EXPECT_EQ(form->SesionTime()->text(), QStringLiteral("00:00:02"));
    form->showNormal();
    EXPECT_EQ(form->SesionTime()->text(), QStringLiteral("00:00:05"));
    form->hide();
    Seconds(1);
    form->show();
    EXPECT_EQ(form->SesionTime()->text(), QStringLiteral("00:00:06"));
    Seconds(1);
    EXPECT_EQ(form->SesionTime()->text(), QStringLiteral("00:00:07"));
}

// Timers with nothing to do are stopped: the traffic freeze while running, the dial-up list,
// the log size control (it runs with the tick); the month timer waits for the month's end.
TEST_F(AppTest, IdleTimersDoNotRun) {
    clock.Set(2027, 3, 31, 23, 59, 58);
    Config().WriteString("General", "LogSizeEnabled", "1");
    Start();
    EXPECT_TRUE(form->MinusTrafic()->isActive());  // paused
    form->RunBut()->click();
    EXPECT_FALSE(form->MinusTrafic()->isActive());
    form->PauseBut()->click();
    EXPECT_TRUE(form->MinusTrafic()->isActive());
    EXPECT_FALSE(form->AutoUpdate()->isActive());
    EXPECT_FALSE(form->sizekntr()->isActive());
    EXPECT_TRUE(form->TimerMinimize()->isActive());
    EXPECT_EQ(form->TimerMinimize()->interval(), 2000);
    clock.Set(2027, 4, 1, 0, 0, 0);
    form->TimerMinimizeTimer();
    EXPECT_EQ(meter->MonthKey(), "4-2027");
    EXPECT_EQ(form->TimerMinimize()->interval(), 3'600'000);  // an hour at most
}

// The tick counts into the month the clock shows, even before the month timer fires.
TEST_F(AppTest, TickFollowsAClockSetIntoAnotherMonth) {
    Config().WriteString("General", "Status", "1");
    Start();
    online = true;
    interfaces.Link(4);
    Seconds(5);
    clock.Set(2027, 5, 2, 10, 0, 0);
    Seconds(1);
    EXPECT_EQ(meter->MonthKey(), "5-2027");
    EXPECT_EQ(Stats().Seconds(), 1);
    EXPECT_EQ(MonthStatsFile(dir.path() / "stats" / "3-2027.ini").Seconds(), 5);
}

TEST_F(AppTest, CloseWithoutExitKeepsRunning) {
    Config().WriteString("General", "Status", "1");
    Start();
    online = true;
    interfaces.Link(4);
    Seconds(30);
    EXPECT_FALSE(form->close());  // the window stays, minimised
    EXPECT_TRUE(dialogs.Messages().empty());
    Seconds(30);
    EXPECT_EQ(meter->SessionSeconds(), 60);
}

TEST_F(AppTest, ExitStoresTheMonth) {
    Config().WriteString("General", "Status", "1");
    Start();
    online = true;
    interfaces.Link(4);
    Seconds(90, 1000);
    form->ExitButton()->click();
    EXPECT_TRUE(dialogs.Messages().empty());
    EXPECT_TRUE(controller->ExitRequested());
    EXPECT_DOUBLE_EQ(*Stats().Cost(), 2.0);  // one minute and the started one
    EXPECT_EQ(Stats().TrafficIn(), 90000u);
    Seconds(5);  // nothing counts after the save
    EXPECT_EQ(Stats().Seconds(), 90);
}

TEST_F(AppTest, ExitWithUnsavedTableAsks) {
    Start();
    rates.Append("8:00", "20:00", "2", "Все дни");
    rates.SetModified(true);
    dialogs.QueueAnswer(Answer::No);
    form->ExitButton()->click();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text,
              QStringLiteral("Таблица расценок была изменена. Желаете выйти и потерять "
                             "несохранённые данные?"));
    EXPECT_EQ(dialogs.Messages()[0].caption, QStringLiteral("Внимание!"));
    EXPECT_FALSE(std::filesystem::file_size(Stats().Path()) > 0);  // not saved: still running
    dialogs.QueueAnswer(Answer::Yes);
    form->close();  // the exit request stays: asked again
    EXPECT_EQ(dialogs.Messages().size(), 2u);
    EXPECT_TRUE(Stats().Cost().has_value());
    EXPECT_NE(testing::ReadAll(Stats().Path()).find("Cost=0"), std::string::npos);
}

TEST_F(AppTest, TerminateSavesWithoutQuestions) {
    Config().WriteString("General", "Status", "1");
    Start();
    rates.SetModified(true);
    online = true;
    interfaces.Link(4);
    Seconds(61, 500);
    controller->Terminate();
    EXPECT_TRUE(dialogs.Messages().empty());
    EXPECT_DOUBLE_EQ(*Stats().Cost(), 2.0);
    EXPECT_EQ(Stats().TrafficIn(), 30500u);
}

TEST_F(AppTest, ResetAsksFirst) {
    Config().WriteString("General", "Status", "1");
    Start();
    online = true;
    interfaces.Link(4);
    Seconds(70);
    form->ResetStat()->click();  // the script says No
    EXPECT_EQ(meter->MonthSeconds(), 70);
    EXPECT_EQ(dialogs.Messages().back().text,
              QStringLiteral("Вы действительно хотите обнулить текущую статистику?"));
    dialogs.QueueAnswer(Answer::Yes);
    form->ResetStat()->click();
    EXPECT_EQ(meter->MonthSeconds(), 0);
    EXPECT_EQ(form->TimeToday()->text(), QStringLiteral("00:00:00"));
    EXPECT_EQ(form->TotalIn()->text(), QStringLiteral("0 Байт"));
}

TEST_F(AppTest, PageIsRememberedOnlyWithTabSave) {
    Start();
    form->Tabliti()->setCurrentIndex(3);
    EXPECT_EQ(Config().ReadString("General", "Tab", "none"), "none");
    Config().WriteString("General", "TabSave", "1");
    form->Tabliti()->setCurrentIndex(4);
    EXPECT_EQ(Config().ReadInteger("General", "Tab", -1), 4);
}

TEST_F(AppTest, MeterProblemsAreShownOnce) {
    Config().WriteString("General", "Status", "1");
    Config().WriteString("Count", "NoCost", "много");
    Start();
    online = true;
    interfaces.Link(4);
    Seconds(20);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].caption, QStringLiteral("Ошибка!"));
    EXPECT_TRUE(dialogs.Messages()[0].text.contains(QStringLiteral("NoCost")));
}

// The window's own timers, run by the event loop as in the program, only faster.
void SpeedUpTimers(TMainForm& form) {
    form.Timer()->setInterval(5);
    form.MinusTrafic()->setInterval(5);
}

// A message box that nobody answers for 30 ticks: the meter counts all 30 seconds meanwhile,
// and the window shows the tick's figures before the box comes.
TEST_F(AppTest, MeteringGoesOnWhileAMessageIsOpen) {
    Config().WriteString("General", "Status", "1");
    Config().WriteString("Count", "NoCost", "много");
    Start();
    SpeedUpTimers(*form);
    online = true;
    interfaces.Link(4);
    int openedAt = -1;
    QString shownAtOpen;
    std::string meterAtOpen;
    dialogs.HoldNextBox([&] { return meter->SessionSeconds() >= openedAt + 30; },
                        [&] {
                            openedAt = meter->SessionSeconds();
                            shownAtOpen = form->SesionTime()->text();
                            meterAtOpen = FormatDuration(openedAt);
                        });
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.BoxesClosed() == 1; }, 20000));
    EXPECT_TRUE(dialogs.Held()) << "the meter stopped while the box was open, at "
                                << meter->SessionSeconds() << " s";
    EXPECT_GE(meter->SessionSeconds(), openedAt + 30);
    EXPECT_EQ(shownAtOpen.toStdString(), meterAtOpen);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_TRUE(dialogs.Messages()[0].text.contains(QStringLiteral("NoCost")));
}

// A message of the meter that comes while a question is open waits until it is answered.
TEST_F(AppTest, MeterMessageWaitsForTheOpenQuestion) {
    Config().WriteString("General", "Status", "1");
    Config().WriteString("Count", "NoCost", "много");
    Start();
    SpeedUpTimers(*form);
    online = true;
    interfaces.Link(4);
    dialogs.HoldNextBox([&] { return meter->SessionSeconds() >= 10; });
    form->ResetStat()->click();  // held open for ten ticks, then answered No
    EXPECT_TRUE(dialogs.Held());
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.Messages().size() == 2; }, 5000));
    EXPECT_EQ(dialogs.Messages()[0].caption, QStringLiteral("Внимание!"));
    EXPECT_EQ(dialogs.Messages()[1].caption, QStringLiteral("Ошибка!"));
    EXPECT_EQ(dialogs.MostOpenAtOnce(), 1);
}

// A kill signal saves and ends without the unsaved-table question, through the program's
// own signal watch and event loop, which closes the window as it quits.
class TerminationTest : public AppTest, public ::testing::WithParamInterface<int> {};

TEST_P(TerminationTest, SignalEndsWithUnsavedTableAndNoQuestion) {
    Config().WriteString("General", "Status", "1");
    Start();
    TerminationWatch watch;
    QObject::connect(&watch, &TerminationWatch::terminationRequested, controller,
                     &MainController::Terminate);
    form->show();
    rates.Append("0:00", "23:59", "1", "Все дни");
    rates.SetModified(true);
    online = true;
    interfaces.Link(4);
    Seconds(61, 500);
    dialogs.QueueAnswer(Answer::No);  // what a question would be answered, were one asked
    QTimer::singleShot(0, [] { ::raise(GetParam()); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // the program did not end
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(dialogs.Messages().empty());
    EXPECT_FALSE(form->isVisible());
    EXPECT_DOUBLE_EQ(*Stats().Cost(), 2.0);
    EXPECT_EQ(Stats().TrafficIn(), 30500u);
}

INSTANTIATE_TEST_SUITE_P(KillSignals, TerminationTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& signal) {
                             return std::string(sigabbrev_np(signal.param));
                         });

// Opening a table whose file ends in foreign lines shows the rows read before the message.
TEST_F(AppTest, OpenedTableIsShownBeforeItsMessage) {
    Start();
    WriteAll(dir.path() / "mixed.kvtl", "8:00|20:00|2|Все дни\r\nforeign text\r\n");
    dialogs.QueueFile(QString::fromStdString((dir.path() / "mixed.kvtl").string()));
    int rowsAtMessage = -1;
    dialogs.HoldNextBox([] { return true; },
                        [&] { rowsAtMessage = form->TimeList()->topLevelItemCount(); });
    form->findChild<QAction*>("openTab")->trigger();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, QStringLiteral("Несовместимый тип файла!"));
    EXPECT_EQ(rowsAtMessage, 1);
}

TEST_F(AppTest, StartRemovesLeftoverTemporaries) {
    WriteAll(dir.path() / "Config.ini.5e1f.tmp", "[General]\r\n");
    WriteAll(dir.path() / "stats" / "3-2027.ini.77.tmp", "[Count]\r\n");
    Start();
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "Config.ini.5e1f.tmp"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "stats" / "3-2027.ini.77.tmp"));
}

}  // namespace
}  // namespace kestrova::testing
