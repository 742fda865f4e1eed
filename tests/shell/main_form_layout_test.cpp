// The names, texts, places and timers of the main window that other parts rely on.
#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

#include "base/program_flags.h"
#include "gui/currency_edit.h"
#include "shell/main_form.h"
#include "support/gui_app.h"
#include "support/scripted_dialogs.h"

namespace kestrova {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class MainFormLayout : public ::testing::Test {
protected:
    void SetUp() override {
        testing::GuiApp();
        form = std::make_unique<TMainForm>(dialogs, flags);
        form->show();
    }

    // Where `w` lies in the window's client area.
    QRect InWindow(const QWidget* w) const {
        return QRect(w->mapTo(form.get(), QPoint(0, 0)), w->size());
    }

    ScriptedDialogs dialogs;

    ProgramFlags flags;
    std::unique_ptr<TMainForm> form;
};

TEST_F(MainFormLayout, WindowIsFixedWithItsCaption) {
    EXPECT_EQ(form->windowTitle(), U("Kestrova v1.0.1 Beta"));
    EXPECT_EQ(form->size(), QSize(528, 367));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    const Qt::WindowFlags windowFlags = form->windowFlags();
    EXPECT_FALSE(windowFlags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(windowFlags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(windowFlags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(windowFlags.testFlag(Qt::WindowSystemMenuHint));
}

TEST_F(MainFormLayout, BandsAndAreasLieWhereTheLayoutPutsThem) {
    EXPECT_EQ(InWindow(form->MainMenu1()), QRect(0, 0, 528, 22));
    auto* band = form->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(InWindow(band), QRect(0, 22, 528, 51));
    EXPECT_EQ(InWindow(form->Tabliti()), QRect(8, 80, 436, 257));
    EXPECT_EQ(form->Tabliti()->tabBar()->height(), 20);
    auto* column = form->findChild<QWidget*>(QStringLiteral("ButtonColumn"));
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(InWindow(column), QRect(448, 80, 73, 257));
    EXPECT_EQ(form->ResetStat()->geometry().size(), QSize(57, 40));
    EXPECT_EQ(form->ResetStat()->y(), 24);
    EXPECT_EQ(form->PauseBut()->geometry(), form->RunBut()->geometry());
    EXPECT_EQ(form->PauseBut()->geometry().size(), QSize(57, 40));
    EXPECT_EQ(form->PauseBut()->y(), 80);
    QStatusBar* bar = form->statusBar();
    EXPECT_EQ(bar->objectName(), QStringLiteral("StatusBar"));
    EXPECT_EQ(InWindow(bar), QRect(0, 342, 528, 25));
    EXPECT_EQ(form->StPanel()->parentWidget(), bar);
}

TEST_F(MainFormLayout, ToolBarHasFivePlainIconButtons) {
    const QToolButton* buttons[] = {form->PrefBut(), form->ToolButton1(), form->ExportRun(),
                                    form->HelpBut(), form->ExitButton()};
    const char* names[] = {"PrefBut", "ToolButton1", "ExportRun", "HelpBut", "ExitButton"};
    int previousRight = -1;
    for (int i = 0; i < 5; ++i) {
        const QToolButton* b = buttons[i];
        EXPECT_EQ(b->objectName(), QString::fromLatin1(names[i]));
        EXPECT_EQ(b->size(), QSize(49, 42)) << names[i];
        EXPECT_TRUE(b->text().isEmpty()) << names[i];
        EXPECT_TRUE(b->toolTip().isEmpty()) << names[i];
        EXPECT_EQ(b->iconSize(), QSize(30, 30));
        EXPECT_FALSE(b->icon().isNull());
        EXPECT_GT(b->x(), previousRight) << "left to right";
        previousRight = b->x() + b->width();
    }
    auto* band = form->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    int separators = 0;
    for (QAction* a : band->actions()) separators += a->isSeparator() ? 1 : 0;
    EXPECT_EQ(separators, 4);
}

TEST_F(MainFormLayout, PagesHaveTheirCaptionsInOrder) {
    const char* captions[] = {"Расценки", "Kestrova Время", "Kestrova трафик", "Соединения",
                              "Пинг"};
    ASSERT_EQ(form->Tabliti()->count(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(form->Tabliti()->tabText(i), U(captions[i]));
    EXPECT_EQ(form->Tabliti()->currentIndex(), 0);
}

void ExpectColumns(const QTreeWidget* list, const std::vector<std::pair<const char*, int>>& cols) {
    ASSERT_EQ(list->columnCount(), static_cast<int>(cols.size()));
    for (int i = 0; i < list->columnCount(); ++i) {
        EXPECT_EQ(list->headerItem()->text(i), U(cols[i].first));
        EXPECT_EQ(list->header()->sectionSize(i), cols[i].second) << cols[i].first;
    }
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(list->isSortingEnabled());
    EXPECT_FALSE(list->rootIsDecorated());
}

TEST_F(MainFormLayout, ListsHaveTheirColumns) {
    EXPECT_EQ(form->TimeList()->objectName(), QStringLiteral("TimeList"));
    ExpectColumns(form->TimeList(), {{"№", 30},
                                     {"Время начала", 90},
                                     {"Время окончания", 108},
                                     {"Стоимость", 83},
                                     {"День недели", 104}});
    EXPECT_EQ(form->TimeList()->parentWidget(), form->Tabliti()->widget(0));
    ExpectColumns(form->ConnectionsListView(), {{"Имя", 120}, {"Устройство", 141}, {"Статус", 83}});
    EXPECT_FALSE(form->ConnectionsListView()->header()->sectionsClickable());
    EXPECT_EQ(form->ConnectionsListView()->parentWidget(), form->Tabliti()->widget(3));
}

TEST_F(MainFormLayout, FieldsHaveTheirNamesAndInitialTexts) {
    struct Field {
        const char* name;
        const char* text;
        int page;
    };
    const Field fields[] = {
        {"TimeToday", "00:00:00", 1}, {"SesionTime", "00:00:00", 1}, {"IP", "0.0.0.0", 2},
        {"conSpeed", "0 Байт/с", 2},  {"InTraf", "0 Байт", 2},       {"OutTraf", "0 Байт", 2},
        {"TotalIn", "0 Байт", 2},     {"TotalOut", "0 Байт", 2},     {"Host", "localhost", 4},
    };
    for (const Field& f : fields) {
        auto* edit = form->findChild<QLineEdit*>(QString::fromLatin1(f.name));
        ASSERT_NE(edit, nullptr) << f.name;
        EXPECT_EQ(edit->text(), U(f.text)) << f.name;
        EXPECT_TRUE(form->Tabliti()->widget(f.page)->isAncestorOf(edit)) << f.name;
    }
    for (const char* name : {"CostMoney", "SesionCost", "TraficCost", "TraficCostSeans"}) {
        auto* money = form->findChild<CurrencyEdit*>(QString::fromLatin1(name));
        ASSERT_NE(money, nullptr) << name;
        EXPECT_TRUE(money->isReadOnly());
        EXPECT_EQ(money->DisplayPattern(), QStringLiteral(",0.##"));
        EXPECT_EQ(money->MoneyText(), QString()) << "empty for zero";
    }
    EXPECT_EQ(form->Edenitsa(), U("р."));
    EXPECT_EQ(form->TimeToday()->font().pixelSize(), 12);
    EXPECT_TRUE(form->TimeToday()->font().bold());
    EXPECT_EQ(form->SesionTime()->font().pixelSize(), 12);
    EXPECT_EQ(form->IP()->font().pixelSize(), 14);
    EXPECT_EQ(form->IP()->font().family(), QStringLiteral("Arial"));
}

TEST_F(MainFormLayout, MeterGroupsAreDisabledDisplaysWithTheirLabels) {
    const std::pair<const char*, int> groups[] = {
        {"Время и стоимость", 1}, {"Последний сеанс", 2}, {"Общая статистика", 2}};
    for (const auto& [title, page] : groups) {
        QGroupBox* found = nullptr;
        for (QGroupBox* g : form->Tabliti()->widget(page)->findChildren<QGroupBox*>())
            if (g->title() == U(title)) found = g;
        ASSERT_NE(found, nullptr) << title;
        EXPECT_FALSE(found->isEnabled()) << title;
    }
    // The labels that the cost pair switches.
    const std::pair<QLabel*, const char*> labels[] = {{form->Label3(), "Стоимость:"},
                                                      {form->Label4(), "Стоимость сеанса:"},
                                                      {form->Label5(), "Стоимость:"},
                                                      {form->Label6(), "Стоимость сеанса:"}};
    for (const auto& [label, text] : labels) EXPECT_EQ(label->text(), U(text));
    EXPECT_EQ(form->Label3()->objectName(), QStringLiteral("Label3"));
    EXPECT_EQ(form->Label6()->objectName(), QStringLiteral("Label6"));
    // Every other label text of the two pages.
    QStringList texts;
    for (int page : {1, 2})
        for (QLabel* l : form->Tabliti()->widget(page)->findChildren<QLabel*>()) texts << l->text();
    for (const char* text :
         {"Общее время:", "Последний сеанс:", "IP адрес:", "Скорость:", "Принято:", "Отправлено:"})
        EXPECT_TRUE(texts.contains(U(text))) << text;
    // Per minute as built.
    EXPECT_FALSE(form->CostMoney()->isHidden());
    EXPECT_TRUE(form->TraficCost()->isHidden());
}

TEST_F(MainFormLayout, ConnectionAndPingPagesHaveTheirControls) {
    EXPECT_EQ(form->disconect()->text(), U("Разовать"));
    EXPECT_EQ(form->disconect()->size(), QSize(73, 25));
    EXPECT_FALSE(form->disconect()->isEnabled());
    EXPECT_EQ(form->disconect()->parentWidget()->width(), 87);

    EXPECT_EQ(form->Button1()->text(), U("Проверить"));
    EXPECT_TRUE(form->Button2()->isHidden());
    EXPECT_FALSE(form->Button2()->isEnabled());
    EXPECT_TRUE(form->Memo1()->isReadOnly());
    EXPECT_EQ(form->Memo1()->size(), QSize(417, 137));
    EXPECT_EQ(form->Memo1()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QStringList texts;
    for (QLabel* l : form->Tabliti()->widget(4)->findChildren<QLabel*>()) texts << l->text();
    EXPECT_TRUE(texts.contains(U("Адрес сайта/IP:")));
}

TEST_F(MainFormLayout, ButtonColumnShowsPauseAsBuilt) {
    EXPECT_FALSE(form->RunBut()->isVisible());
    EXPECT_TRUE(form->PauseBut()->isVisible());
    EXPECT_EQ(form->PauseBut()->toolTip(), U("Пауза"));
    EXPECT_EQ(form->RunBut()->toolTip(), U("Запустить"));
    EXPECT_TRUE(form->ResetStat()->toolTip().isEmpty());
}

// Item texts of a menu, "-" for a separator, with the key shown beside each.
QStringList Items(const QMenu* menu) {
    QStringList items;
    for (const QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            items << QStringLiteral("-");
            continue;
        }
        QString item = a->text();
        if (!a->shortcut().isEmpty())
            item += QStringLiteral(" | ") + a->shortcut().toString(QKeySequence::PortableText);
        items << item;
    }
    return items;
}

TEST_F(MainFormLayout, MainMenuHasItsItemsAndShownKeys) {
    const QList<QAction*> menus = form->MainMenu1()->actions();
    ASSERT_EQ(menus.size(), 4);
    const char* titles[] = {"Файл", "Правка", "Настройки", "Справка"};
    const QStringList expected[] = {
        {U("Открыть таблицу | Ctrl+O"), U("Сохранить таблицу | Ctrl+S"), "-",
         U("Экспорт статистики"), "-", U("Выход | Ctrl+Q")},
        {U("Добавить | Shift+Ins"), U("Редактировать | Ins"), U("Удалить | Del"), "-",
         U("Очистить таблицу")},
        {U("Основные настройки | Ctrl+P"), "-", U("Сбросить статистику")},
        {U("Помощь | F1"), U("Зайти на сайт"), U("О программе")},
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(menus[i]->text(), U(titles[i]));
        ASSERT_NE(menus[i]->menu(), nullptr);
        EXPECT_EQ(Items(menus[i]->menu()), expected[i]) << titles[i];
    }
    EXPECT_EQ(form->N21()->objectName(), QStringLiteral("N21"));
    EXPECT_EQ(form->N21()->text(), U("Помощь"));
}

TEST_F(MainFormLayout, PopupMenusHaveTheirItems) {
    EXPECT_EQ(form->TabList1()->objectName(), QStringLiteral("TabList1"));
    EXPECT_EQ(Items(form->TabList1()),
              (QStringList{U("Добавить | Shift+Ins"), U("Редактировать | Ins"), U("Удалить | Del"),
                           "-", U("Очистить список"), "-", U("Открыть таблицу | Ctrl+O"),
                           U("Сохранить таблицу | Ctrl+S")}));
    EXPECT_EQ(Items(form->connectpopup()),
              (QStringList{U("Настроить модем"), U("Отобразить сетевые подключения")}));
    EXPECT_EQ(Items(form->TrayPopUp()),
              (QStringList{U("Показать главное окно"), U("Настройки | Ctrl+P"), "-",
                           U("Плавающее окошко"), "-", U("Выход | Ctrl+Q")}));
    EXPECT_EQ(Items(form->HOTKeyPOPUP()),
              (QStringList{U("Настройки | Ctrl+P"), U("Открыть таблицу | Ctrl+O"),
                           U("Сохранить таблицу | Ctrl+S"), U("Помощь | F1"), U("Выход | Ctrl+Q"),
                           U("Показать/спрятать подсказку | Ctrl+H")}));
    for (const char* name : {"Add_t", "edit_t", "Del_t", "Clear_t"})
        EXPECT_NE(form->TabList1()->findChild<QAction*>(QString::fromLatin1(name)), nullptr)
            << name;
}

TEST_F(MainFormLayout, TimersHaveTheirIntervalsAndStartState) {
    struct Expected {
        QTimer* timer;
        const char* name;
        int interval;
        bool running;
        bool singleShot;
    };
    const Expected timers[] = {
        {form->Timer(), "Timer", 1000, true, false},
        {form->MinusTrafic(), "MinusTrafic", 1000, true, false},
        {form->TimerMinimize(), "TimerMinimize", 300, true, false},
        {form->AutoUpdate(), "AutoUpdate", 1000, true, false},
        {form->Hint1(), "Hint1", 1200, false, true},
        {form->Refresh(), "Refresh", 750, false, false},
        {form->pingtimer(), "pingtimer", 1000, false, false},
        {form->sizekntr(), "sizekntr", 1000, false, false},
        {form->onrunminim(), "onrunminim", 280, false, true},
    };
    for (const Expected& t : timers) {
        EXPECT_EQ(t.timer->objectName(), QString::fromLatin1(t.name));
        EXPECT_EQ(t.timer->interval(), t.interval) << t.name;
        EXPECT_EQ(t.timer->isActive(), t.running) << t.name;
        EXPECT_EQ(t.timer->isSingleShot(), t.singleShot) << t.name;
    }
    EXPECT_EQ(form->Timer()->timerType(), Qt::PreciseTimer);
}

}  // namespace
}  // namespace kestrova
