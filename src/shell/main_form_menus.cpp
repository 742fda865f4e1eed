// The menus, the tool bar, the keys and the timers of the main window.
//
// Keys. A menu item shows its key but does not own it (its shortcut is scoped to the menu's
// own widget), so that no key is bound twice:
//  - Ctrl+P, Ctrl+O, Ctrl+S, F1, Ctrl+Q and Ctrl+H belong to the items of the never-shown
//    menu HOTKeyPOPUP, added to the window with a window-wide scope: they act wherever the
//    focus is in the window, also while the "Помощь" item is hidden;
//  - Ins, Shift+Ins and Del belong to the items of TabList1, added to TimeList with a
//    widget scope: they act only while the rate list has the focus, and typed into an edit
//    field they edit the field.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <optional>

#include "gui/icons.h"
#include "shell/main_form.h"

namespace kestrova {

namespace {

using Slot = void (TMainForm::*)();

// An item of a menu that the user sees; `shown` is the key written beside its text.
QAction* Item(QMenu* menu, const char* name, const char* text, std::optional<Glyph> glyph,
              const QKeySequence& shown, TMainForm* form, Slot slot) {
    auto* action = new QAction(QString::fromUtf8(text), menu);
    action->setObjectName(QString::fromLatin1(name));
    if (glyph) action->setIcon(GlyphIcon(*glyph, kMenuIconSize));
    if (!shown.isEmpty()) {
        action->setShortcut(shown);
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
    }
    menu->addAction(action);
    QObject::connect(action, &QAction::triggered, form, slot);
    return action;
}

QMenu* Submenu(QMenuBar* bar, const char* name, const char* title) {
    QMenu* menu = bar->addMenu(QString::fromUtf8(title));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QMenu* Popup(QWidget* owner, const char* name) {
    auto* menu = new QMenu(owner);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

}  // namespace

void TMainForm::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    bar->setFixedHeight(22);
    bar->setNativeMenuBar(false);

    QMenu* file = Submenu(bar, "FileMenu", "Файл");
    Item(file, "openTab", "Открыть таблицу", Glyph::Open, QKeySequence(Qt::CTRL | Qt::Key_O), this,
         &TMainForm::openTabClick);
    Item(file, "SaveTab", "Сохранить таблицу", Glyph::Save, QKeySequence(Qt::CTRL | Qt::Key_S),
         this, &TMainForm::SaveTabClick);
    file->addSeparator();
    Item(file, "ExportMenuItem", "Экспорт статистики", Glyph::Export, {}, this,
         &TMainForm::ExportRunClick);
    file->addSeparator();
    Item(file, "ExitMenuItem", "Выход", Glyph::Exit, QKeySequence(Qt::CTRL | Qt::Key_Q), this,
         &TMainForm::ExitButtonClick);

    QMenu* edit = Submenu(bar, "EditMenu", "Правка");
    Item(edit, "AddMenuItem", "Добавить", Glyph::Add, QKeySequence(Qt::SHIFT | Qt::Key_Insert),
         this, &TMainForm::add_tClick);
    Item(edit, "EditMenuItem", "Редактировать", Glyph::Edit, QKeySequence(Qt::Key_Insert), this,
         &TMainForm::edit_tClick);
    Item(edit, "DeleteMenuItem", "Удалить", Glyph::Delete, QKeySequence(Qt::Key_Delete), this,
         &TMainForm::Del_tClick);
    edit->addSeparator();
    Item(edit, "ClearMenuItem", "Очистить таблицу", Glyph::Clear, {}, this,
         &TMainForm::clear_tClick);

    QMenu* settings = Submenu(bar, "SettingsMenu", "Настройки");
    Item(settings, "PrefMenuItem", "Основные настройки", Glyph::Options,
         QKeySequence(Qt::CTRL | Qt::Key_P), this, &TMainForm::PrefButClick);
    settings->addSeparator();
    Item(settings, "ResetMenuItem", "Сбросить статистику", Glyph::Reset, {}, this,
         &TMainForm::ResetStatsClick);

    QMenu* help = Submenu(bar, "HelpMenu", "Справка");
    n21_ = Item(help, "N21", "Помощь", Glyph::Help, QKeySequence(Qt::Key_F1), this,
                &TMainForm::N21Click);
    Item(help, "N23", "Зайти на сайт", Glyph::WebSite, {}, this, &TMainForm::N23Click);
    Item(help, "AboutMenuItem", "О программе", Glyph::About, {}, this, &TMainForm::HelpButClick);
}

void TMainForm::BuildPopups() {
    tabList1_ = Popup(this, "TabList1");
    QAction* add = Item(tabList1_, "Add_t", "Добавить", Glyph::Add,
                        QKeySequence(Qt::SHIFT | Qt::Key_Insert), this, &TMainForm::add_tClick);
    QAction* change = Item(tabList1_, "edit_t", "Редактировать", Glyph::Edit,
                           QKeySequence(Qt::Key_Insert), this, &TMainForm::edit_tClick);
    QAction* remove = Item(tabList1_, "Del_t", "Удалить", Glyph::Delete,
                           QKeySequence(Qt::Key_Delete), this, &TMainForm::Del_tClick);
    tabList1_->addSeparator();
    Item(tabList1_, "Clear_t", "Очистить список", Glyph::Clear, {}, this, &TMainForm::clear_tClick);
    tabList1_->addSeparator();
    Item(tabList1_, "TabListOpen", "Открыть таблицу", Glyph::Open,
         QKeySequence(Qt::CTRL | Qt::Key_O), this, &TMainForm::openTabClick);
    Item(tabList1_, "TabListSave", "Сохранить таблицу", Glyph::Save,
         QKeySequence(Qt::CTRL | Qt::Key_S), this, &TMainForm::SaveTabClick);
    // The rate list's own keys.
    for (QAction* action : {add, change, remove}) timeList_->addAction(action);
    connect(timeList_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { tabList1_->popup(timeList_->viewport()->mapToGlobal(at)); });

    connectpopup_ = Popup(this, "connectpopup");
    Item(connectpopup_, "N24", "Настроить модем", Glyph::Modem, {}, this, &TMainForm::N24Click);
    Item(connectpopup_, "N25", "Отобразить сетевые подключения", Glyph::Network, {}, this,
         &TMainForm::N25Click);
    connect(connectionsListView_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) {
                connectpopup_->popup(connectionsListView_->viewport()->mapToGlobal(at));
            });

    trayPopUp_ = Popup(this, "TrayPopUp");
    Item(trayPopUp_, "Money", "Показать главное окно", Glyph::ShowWindow, {}, this,
         &TMainForm::MoneyClick);
    Item(trayPopUp_, "TrayPrefItem", "Настройки", Glyph::Options,
         QKeySequence(Qt::CTRL | Qt::Key_P), this, &TMainForm::PrefButClick);
    trayPopUp_->addSeparator();
    Item(trayPopUp_, "N33", "Плавающее окошко", Glyph::FloatingWindow, {}, this,
         &TMainForm::N33Click);
    trayPopUp_->addSeparator();
    Item(trayPopUp_, "TrayExitItem", "Выход", Glyph::Exit, QKeySequence(Qt::CTRL | Qt::Key_Q), this,
         &TMainForm::ExitButtonClick);
}

void TMainForm::BuildShortcuts() {
    hotKeyPopup_ = Popup(this, "HOTKeyPOPUP");
    struct Key {
        const char* name;
        const char* text;
        QKeySequence keys;
        Slot slot;
    };
    const Key keys[] = {
        {"HotPref", "Настройки", QKeySequence(Qt::CTRL | Qt::Key_P), &TMainForm::PrefButClick},
        {"HotOpen", "Открыть таблицу", QKeySequence(Qt::CTRL | Qt::Key_O),
         &TMainForm::openTabClick},
        {"HotSave", "Сохранить таблицу", QKeySequence(Qt::CTRL | Qt::Key_S),
         &TMainForm::SaveTabClick},
        {"HotHelp", "Помощь", QKeySequence(Qt::Key_F1), &TMainForm::N21Click},
        {"HotExit", "Выход", QKeySequence(Qt::CTRL | Qt::Key_Q), &TMainForm::ExitButtonClick},
        {"HotHint", "Показать/спрятать подсказку", QKeySequence(Qt::CTRL | Qt::Key_H),
         &TMainForm::ToolButton1Click},
    };
    for (const Key& key : keys) {
        QAction* action = Item(hotKeyPopup_, key.name, key.text, std::nullopt, {}, this, key.slot);
        action->setShortcut(key.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
}

void TMainForm::BuildToolBar() {
    auto* band = new QToolBar(this);
    band->setObjectName(QStringLiteral("ToolBar1"));
    band->setMovable(false);
    band->setFloatable(false);
    band->setContextMenuPolicy(Qt::PreventContextMenu);
    band->toggleViewAction()->setVisible(false);
    band->setIconSize(QSize(kToolBarIconSize, kToolBarIconSize));
    addToolBar(Qt::TopToolBarArea, band);
    band->setFixedHeight(51);  // after docking, which resets the bar's size limits
    setContextMenuPolicy(Qt::NoContextMenu);

    struct Button {
        QToolButton** member;
        const char* name;
        Glyph glyph;
        Slot slot;
    };
    const Button buttons[] = {
        {&prefBut_, "PrefBut", Glyph::Options, &TMainForm::PrefButClick},
        {&toolButton1_, "ToolButton1", Glyph::FloatingWindow, &TMainForm::ToolButton1Click},
        {&exportRun_, "ExportRun", Glyph::Export, &TMainForm::ExportRunClick},
        {&helpBut_, "HelpBut", Glyph::About, &TMainForm::HelpButClick},
        {&exitButton_, "ExitButton", Glyph::Exit, &TMainForm::ExitButtonClick},
    };
    bool first = true;
    for (const Button& b : buttons) {
        if (!first) band->addSeparator();
        first = false;
        // No caption and no hint: the pictures speak for themselves.
        auto* button = new QToolButton(band);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setFixedSize(49, 42);
        button->setIcon(GlyphIcon(b.glyph, kToolBarIconSize));
        button->setIconSize(QSize(kToolBarIconSize, kToolBarIconSize));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        band->addWidget(button);
        connect(button, &QToolButton::clicked, this, b.slot);
        *b.member = button;
    }
}

void TMainForm::BuildTimers() {
    auto make = [this](const char* name, int interval, bool singleShot, Slot slot) {
        auto* timer = new QTimer(this);
        timer->setObjectName(QString::fromLatin1(name));
        timer->setInterval(interval);
        timer->setSingleShot(singleShot);
        connect(timer, &QTimer::timeout, this, slot);
        return timer;
    };
    timer_ = make("Timer", 1000, false, &TMainForm::TimerTimer);
    // Every lost tick is a lost second of metered time.
    timer_->setTimerType(Qt::PreciseTimer);
    minusTrafic_ = make("MinusTrafic", 1000, false, &TMainForm::MinusTraficTimer);
    timerMinimize_ = make("TimerMinimize", 300, false, &TMainForm::TimerMinimizeTimer);
    autoUpdate_ = make("AutoUpdate", 1000, false, &TMainForm::AutoUpdateTimer);
    hint1_ = make("Hint1", 1200, true, &TMainForm::Hint1Timer);
    refresh_ = make("Refresh", 750, false, &TMainForm::RefreshTimer);
    pingtimer_ = make("pingtimer", 1000, false, &TMainForm::pingtimerTimer);
    sizekntr_ = make("sizekntr", 1000, false, &TMainForm::sizekntrTimer);
    onrunminim_ = make("onrunminim", 280, true, &TMainForm::onrunminimTimer);

    for (QTimer* running : {timer_, minusTrafic_, timerMinimize_, autoUpdate_}) running->start();
}

}  // namespace kestrova
