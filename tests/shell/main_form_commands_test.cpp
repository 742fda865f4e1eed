// Every command of the main window reaches its operation, and each key acts where it should.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

#include "base/program_flags.h"
#include "rates/rate_table.h"
#include "recording_handlers.h"
#include "shell/main_form.h"
#include "support/gui_app.h"
#include "support/scripted_dialogs.h"

namespace kestrova {
namespace {

using testing::RecordingHandlers;

class MainFormCommands : public ::testing::Test {
protected:
    void SetUp() override {
        testing::GuiApp();
        form = std::make_unique<TMainForm>(dialogs, flags);
        // Timers would add their calls at random moments.
        for (QTimer* t : form->findChildren<QTimer*>()) t->stop();
        form->SetHandlers(handlers.All());
    }

    // Shows the window and makes it the active one, so that its keys are live.
    void Activate() {
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    void Focus(QWidget* w) {
        w->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([w] { return w->hasFocus(); }));
    }

    QAction* Action(const char* name) {
        auto* a = form->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }

    ScriptedDialogs dialogs;

    ProgramFlags flags;
    RecordingHandlers handlers;
    std::unique_ptr<TMainForm> form;
};

TEST_F(MainFormCommands, EveryMenuItemRunsItsOperation) {
    const std::pair<const char*, const char*> items[] = {
        // Main menu.
        {"openTab", "openTabClick"},
        {"SaveTab", "SaveTabClick"},
        {"ExportMenuItem", "ExportRunClick"},
        {"ExitMenuItem", "ExitButtonClick"},
        {"AddMenuItem", "add_tClick"},
        {"EditMenuItem", "edit_tClick"},
        {"DeleteMenuItem", "Del_tClick"},
        {"ClearMenuItem", "clear_tClick"},
        {"PrefMenuItem", "PrefButClick"},
        {"ResetMenuItem", "ResetStatsClick"},
        {"N21", "N21Click"},
        {"N23", "N23Click"},
        {"AboutMenuItem", "HelpButClick"},
        // Rate list menu.
        {"Add_t", "add_tClick"},
        {"edit_t", "edit_tClick"},
        {"Del_t", "Del_tClick"},
        {"Clear_t", "clear_tClick"},
        {"TabListOpen", "openTabClick"},
        {"TabListSave", "SaveTabClick"},
        // Connection list menu.
        {"N24", "N24Click"},
        {"N25", "N25Click"},
        // Tray menu.
        {"Money", "MoneyClick"},
        {"TrayPrefItem", "PrefButClick"},
        {"N33", "N33Click"},
        {"TrayExitItem", "ExitButtonClick"},
        // The hidden key items.
        {"HotPref", "PrefButClick"},
        {"HotOpen", "openTabClick"},
        {"HotSave", "SaveTabClick"},
        {"HotHelp", "N21Click"},
        {"HotExit", "ExitButtonClick"},
        {"HotHint", "ToolButton1Click"},
    };
    for (const auto& [name, operation] : items) {
        handlers.calls.clear();
        QAction* action = Action(name);
        ASSERT_NE(action, nullptr);
        action->trigger();
        EXPECT_EQ(handlers.calls, std::vector<std::string>{operation}) << name;
    }
}

TEST_F(MainFormCommands, EveryButtonRunsItsOperation) {
    form->show();
    form->Tabliti()->setCurrentIndex(TMainForm::ConnectionsPage);
    form->disconect()->setEnabled(true);
    form->Button2()->setEnabled(true);
    const std::pair<QAbstractButton*, const char*> buttons[] = {
        {form->PrefBut(), "PrefButClick"},       {form->ToolButton1(), "ToolButton1Click"},
        {form->ExportRun(), "ExportRunClick"},   {form->HelpBut(), "HelpButClick"},
        {form->ExitButton(), "ExitButtonClick"}, {form->ResetStat(), "ResetStatsClick"},
        {form->PauseBut(), "PauseButClick"},     {form->disconect(), "SpeedButton22Click"},
        {form->Button1(), "Button1Click"},       {form->Button2(), "Button2Click"},
    };
    for (const auto& [button, operation] : buttons) {
        handlers.calls.clear();
        button->click();
        EXPECT_EQ(handlers.calls, std::vector<std::string>{operation}) << operation;
    }
    form->ShowRunState(false);
    handlers.calls.clear();
    form->RunBut()->click();
    EXPECT_EQ(handlers.calls, std::vector<std::string>{"RunButClick"});
}

TEST_F(MainFormCommands, EveryTimerRunsItsOperation) {
    const std::pair<QTimer*, const char*> timers[] = {
        {form->Timer(), "TimerTimer"},
        {form->MinusTrafic(), "MinusTraficTimer"},
        {form->TimerMinimize(), "TimerMinimizeTimer"},
        {form->AutoUpdate(), "AutoUpdateTimer"},
        {form->Hint1(), "Hint1Timer"},
        {form->Refresh(), "RefreshTimer"},
        {form->pingtimer(), "pingtimerTimer"},
        {form->sizekntr(), "sizekntrTimer"},
        {form->onrunminim(), "onrunminimTimer"},
    };
    for (const auto& [timer, operation] : timers) {
        handlers.calls.clear();
        timer->start(1);
        const std::string name = operation;
        EXPECT_TRUE(QTest::qWaitFor([&] { return handlers.Count(name) > 0; }, 2000)) << operation;
        timer->stop();
    }
}

TEST_F(MainFormCommands, PageChangeByTheUserReachesCostTabChangeButARestoreDoesNot) {
    form->Tabliti()->setCurrentIndex(TMainForm::PingPage);
    EXPECT_EQ(handlers.pages, std::vector<int>{TMainForm::PingPage});
    form->SetActivePage(TMainForm::TrafficPage);
    EXPECT_EQ(form->Tabliti()->currentIndex(), TMainForm::TrafficPage);
    EXPECT_EQ(handlers.pages, std::vector<int>{TMainForm::PingPage});
}

TEST_F(MainFormCommands, ListClicksReachTheirOperations) {
    form->show();
    RateTable table;
    table.Append("8:00", "20:00", "0,5", "Все дни");
    form->ShowRates(table);
    QWidget* rates = form->TimeList()->viewport();
    // On a row and on the empty part of the list.
    QTest::mouseDClick(rates, Qt::LeftButton, {}, QPoint(20, 8));
    QTest::mouseDClick(rates, Qt::LeftButton, {}, QPoint(20, rates->height() - 5));
    EXPECT_EQ(handlers.Count("TimeList2DblClick"), 2);

    form->Tabliti()->setCurrentIndex(TMainForm::ConnectionsPage);
    QTest::mouseClick(form->ConnectionsListView()->viewport(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(handlers.Count("ConnectionsListViewClick"), 1);
}

TEST_F(MainFormCommands, WindowWideKeysActWithTheFocusInTheHostField) {
    Activate();
    form->Tabliti()->setCurrentIndex(TMainForm::PingPage);
    Focus(form->Host());
    const std::pair<QKeyCombination, const char*> keys[] = {
        {Qt::CTRL | Qt::Key_O, "openTabClick"},    {Qt::CTRL | Qt::Key_S, "SaveTabClick"},
        {Qt::CTRL | Qt::Key_P, "PrefButClick"},    {Qt::Key_F1, "N21Click"},
        {Qt::CTRL | Qt::Key_Q, "ExitButtonClick"}, {Qt::CTRL | Qt::Key_H, "ToolButton1Click"},
    };
    for (const auto& [key, operation] : keys) {
        handlers.calls.clear();
        QTest::keyClick(form->Host(), key.key(), key.keyboardModifiers());
        EXPECT_EQ(handlers.Count(operation), 1) << operation;
    }
    EXPECT_EQ(form->Host()->text(), QStringLiteral("localhost")) << "the keys did not type";
}

TEST_F(MainFormCommands, WindowWideKeysActWithTheFocusOnTheRateListAndWithHelpHidden) {
    Activate();
    Focus(form->TimeList());
    QTest::keyClick(form->TimeList(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(handlers.Count("openTabClick"), 1);
    form->N21()->setVisible(false);
    QTest::keyClick(form->TimeList(), Qt::Key_F1);
    EXPECT_EQ(handlers.Count("N21Click"), 1);
}

TEST_F(MainFormCommands, RateKeysActOnTheRateListOnly) {
    Activate();
    Focus(form->TimeList());
    QTest::keyClick(form->TimeList(), Qt::Key_Delete);
    QTest::keyClick(form->TimeList(), Qt::Key_Insert);
    QTest::keyClick(form->TimeList(), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(handlers.calls,
              (std::vector<std::string>{"Del_tClick", "edit_tClick", "add_tClick"}));

    // Typed into the host field, the same keys edit the field.
    handlers.calls.clear();
    form->Tabliti()->setCurrentIndex(TMainForm::PingPage);
    handlers.calls.clear();
    Focus(form->Host());
    form->Host()->setCursorPosition(0);
    QTest::keyClick(form->Host(), Qt::Key_Delete);
    QTest::keyClick(form->Host(), Qt::Key_Insert);
    QTest::keyClick(form->Host(), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(form->Host()->text(), QStringLiteral("ocalhost"));
    EXPECT_EQ(handlers.Count("Del_tClick"), 0);
    EXPECT_EQ(handlers.Count("edit_tClick"), 0);
    EXPECT_EQ(handlers.Count("add_tClick"), 0);
}

TEST_F(MainFormCommands, HostKeyPressSeesTypedCharactersAndMayKeepThem) {
    Activate();
    form->Tabliti()->setCurrentIndex(TMainForm::PingPage);
    Focus(form->Host());
    form->Host()->clear();
    handlers.consumeKey = u'\r';
    QTest::keyClicks(form->Host(), QStringLiteral("ya"));
    QTest::keyClick(form->Host(), Qt::Key_Return);
    QTest::keyClick(form->Host(), Qt::Key_Left);  // types nothing: not a key press of a character
    EXPECT_EQ(handlers.keys, (std::u16string{u'y', u'a', u'\r'}));
    EXPECT_EQ(form->Host()->text(), QStringLiteral("ya"));

    // A character the handler uses does not reach the field.
    handlers.consumeKey = u'x';
    QTest::keyClick(form->Host(), Qt::Key_X);
    EXPECT_EQ(form->Host()->text(), QStringLiteral("ya"));
}

TEST_F(MainFormCommands, CloseAsksTheHandlersWhetherToClose) {
    form->show();
    handlers.closeAction = CloseAction::StayOpen;
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    handlers.closeAction = CloseAction::Close;
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(handlers.Count("FormClose"), 2);
}

TEST_F(MainFormCommands, CreateAndDestroyReachTheHandlers) {
    form->FormCreate();
    EXPECT_EQ(handlers.calls, std::vector<std::string>{"FormCreate"});
    form.reset();
    EXPECT_EQ(handlers.calls, (std::vector<std::string>{"FormCreate", "FormDestroy"}));
}

TEST(MainFormWithoutHandlers, EveryCommandDoesNothing) {
    testing::GuiApp();
    ScriptedDialogs dialogs;
    ProgramFlags flags;
    TMainForm form(dialogs, flags);
    form.show();
    for (QAction* action : form.findChildren<QAction*>()) action->trigger();
    // The window's own buttons (Qt's inner ones, such as the menu bar's extension, pop up
    // menus of their own).
    for (QAbstractButton* button : form.findChildren<QAbstractButton*>())
        if (!button->objectName().isEmpty() && !button->objectName().startsWith("qt_"))
            button->click();
    for (QTimer* timer : form.findChildren<QTimer*>()) timer->start(1);
    QTest::qWait(20);
    form.Tabliti()->setCurrentIndex(TMainForm::PingPage);
    QTest::keyClick(form.Host(), Qt::Key_Return);
    form.FormCreate();
    EXPECT_TRUE(form.close()) << "closes as a plain window does";
    EXPECT_EQ(&form.UserDialogs(), &dialogs);
}

}  // namespace
}  // namespace kestrova
