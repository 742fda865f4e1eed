#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <memory>

#include "base/program_flags.h"
#include "shell/main_form_handlers.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolButton;
class QTreeWidget;

namespace kestrova {

class CurrencyEdit;
class Dialogs;
class RateTable;
struct MeterView;

// The main window: the meter's figures, the rate table, the dial-up list and the ping tool on
// five pages, and every command of the program. It binds each widget, menu item, key and
// timer to its operation in its subsystem's handler set (MainFormHandlers) and shows what the
// logic gives it; it keeps no metering state of its own, and the program-wide flags it shows
// are the entry's ProgramFlags.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 528;
    static constexpr int kClientHeight = 367;
    // The window fades in to this opacity (of 255).
    static constexpr int kOpacity = 245;
    static constexpr const char* kCaption = "Kestrova v1.0.1 Beta";
    // Appended to the caption while the rate table has unsaved changes.
    static constexpr const char* kModifiedMarker = " *";

    enum Page { RatesPage = 0, TimePage = 1, TrafficPage = 2, ConnectionsPage = 3, PingPage = 4 };

    // The timers Timer, MinusTrafic, TimerMinimize and AutoUpdate run from here on; they fire
    // once the event loop runs.
    TMainForm(Dialogs& dialogs, ProgramFlags& flags, QWidget* parent = nullptr);
    // Runs FormDestroy of the meter's handlers still plugged in.
    ~TMainForm() override;

    // The operations behind the commands; not owned. A command whose subsystem has no
    // handlers does nothing. Handlers that die before the window unplug with {}.
    void SetHandlers(const MainFormHandlers& handlers) { handlers_ = handlers; }
    const MainFormHandlers& Handlers() const { return handlers_; }
    Dialogs& UserDialogs() const { return dialogs_; }

    // Runs the handlers' start-up once they are plugged in, before the window is first shown.
    void FormCreate();

    // --- What the window shows -----------------------------------------------------------
    // Every text of the view in its field, the cost pair of the mode, Run or Pause, the
    // status bar. While the window is minimised or hidden the view is only kept, and shown
    // when the window comes back into sight.
    void ShowMeter(const MeterView& view);
    // CostMoney and SesionCost with Label3 and Label4 per minute, TraficCost and
    // TraficCostSeans with Label5 and Label6 per megabyte.
    void ShowCostPair(bool perMegabyte);
    // PauseBut visible and enabled while running, RunBut while paused.
    void ShowRunState(bool running);
    // The rows in TimeList and the modified marker of the caption. The selected row stays
    // selected when the row count is unchanged (an edit), otherwise none is.
    void ShowRates(const RateTable& table);
    // Index of the selected rate row, -1 when none is selected.
    int SelectedRate() const;
    // The display pattern of the money fields and Edenitsa by the CostFormat table; any
    // other number leaves both as they are.
    void SetCostFormat(int costFormat);
    // The separators the money fields write (the user's locale).
    void SetMoneySeparators(char decimal, const QString& thousands);
    // Makes `page` the current page without running CostTabChange (a restore at start).
    void SetActivePage(int page);

    // --- State held for other parts (never shown): the entry's flags ----------------------
    ProgramFlags& Flags() const { return flags_; }
    QString Edenitsa() const { return QString::fromStdString(flags_.Edenitsa); }
    // The rate table has unsaved changes; the caption carries the marker while it is set.
    bool TabEdit() const { return flags_.TabEdit; }
    void SetTabEdit(bool modified);
    // The caption, with the modified marker while TabEdit is set.
    void ShowTabEdit();

    // --- Widgets -------------------------------------------------------------------------
    QTabWidget* Tabliti() const { return tabliti_; }
    QTreeWidget* TimeList() const { return timeList_; }
    QLineEdit* TimeToday() const { return timeToday_; }
    QLineEdit* SesionTime() const { return sesionTime_; }
    CurrencyEdit* CostMoney() const { return costMoney_; }
    CurrencyEdit* SesionCost() const { return sesionCost_; }
    CurrencyEdit* TraficCost() const { return traficCost_; }
    CurrencyEdit* TraficCostSeans() const { return traficCostSeans_; }
    QLabel* Label3() const { return label3_; }
    QLabel* Label4() const { return label4_; }
    QLabel* Label5() const { return label5_; }
    QLabel* Label6() const { return label6_; }
    QLineEdit* IP() const { return ip_; }
    QLineEdit* conSpeed() const { return conSpeed_; }
    QLineEdit* InTraf() const { return inTraf_; }
    QLineEdit* OutTraf() const { return outTraf_; }
    QLineEdit* TotalIn() const { return totalIn_; }
    QLineEdit* TotalOut() const { return totalOut_; }
    QTreeWidget* ConnectionsListView() const { return connectionsListView_; }
    QPushButton* disconect() const { return disconect_; }
    QLineEdit* Host() const { return host_; }
    QPushButton* Button1() const { return button1_; }
    QPushButton* Button2() const { return button2_; }
    QPlainTextEdit* Memo1() const { return memo1_; }
    QToolButton* ResetStat() const { return resetStat_; }
    QToolButton* PauseBut() const { return pauseBut_; }
    QToolButton* RunBut() const { return runBut_; }
    QToolButton* PrefBut() const { return prefBut_; }
    QToolButton* ToolButton1() const { return toolButton1_; }
    QToolButton* ExportRun() const { return exportRun_; }
    QToolButton* HelpBut() const { return helpBut_; }
    QToolButton* ExitButton() const { return exitButton_; }
    QLabel* StPanel() const { return stPanel_; }

    // --- Menus (their items are found by name, e.g. findChild<QAction*>("Del_t")) --------
    QMenuBar* MainMenu1() const;
    QMenu* TabList1() const { return tabList1_; }
    QMenu* connectpopup() const { return connectpopup_; }
    // The tray icon's menu; the tray gives it to its icon.
    QMenu* TrayPopUp() const { return trayPopUp_; }
    // Never shown: its items give the window its keys wherever the focus is.
    QMenu* HOTKeyPOPUP() const { return hotKeyPopup_; }
    // "Справка" → "Помощь", hidden at start when the help file is missing.
    QAction* N21() const { return n21_; }

    // --- Timers --------------------------------------------------------------------------
    QTimer* Timer() const { return timer_; }
    QTimer* MinusTrafic() const { return minusTrafic_; }
    QTimer* TimerMinimize() const { return timerMinimize_; }
    QTimer* AutoUpdate() const { return autoUpdate_; }
    QTimer* Hint1() const { return hint1_; }
    QTimer* Refresh() const { return refresh_; }
    QTimer* pingtimer() const { return pingtimer_; }
    QTimer* sizekntr() const { return sizekntr_; }
    QTimer* onrunminim() const { return onrunminim_; }

public slots:
    // Timers.
    void TimerTimer();
    void MinusTraficTimer();
    void TimerMinimizeTimer();
    void AutoUpdateTimer();
    void Hint1Timer();
    void RefreshTimer();
    void pingtimerTimer();
    void sizekntrTimer();
    void onrunminimTimer();
    // Tool bar and button column.
    void PrefButClick();
    void ToolButton1Click();
    void ExportRunClick();
    void HelpButClick();
    void ExitButtonClick();
    void ResetStatsClick();
    void PauseButClick();
    void RunButClick();
    // Rate table.
    void openTabClick();
    void SaveTabClick();
    void add_tClick();
    void edit_tClick();
    void Del_tClick();
    void clear_tClick();
    void TimeList2DblClick();
    // Help, site, modem, network, tray.
    void N21Click();
    void N23Click();
    void N24Click();
    void N25Click();
    void N33Click();
    void MoneyClick();
    // Pages.
    void CostTabChange(int page);
    void ConnectionsListViewClick();
    void SpeedButton22Click();
    void Button1Click();
    void Button2Click();

protected:
    // FormClose: the handlers decide whether the window closes.
    void closeEvent(QCloseEvent* event) override;
    // HostKeyPress, the double click on TimeList and the click on ConnectionsListView.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The window comes into sight: the view kept meanwhile is shown.
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    template <class Set>
    static void Forward(Set* set, void (Set::*operation)()) {
        if (set != nullptr) (set->*operation)();
    }
    bool HostKeyPress(char16_t key);
    // Minimised, or hidden after it was shown; a window never shown yet (tests) is laid out.
    bool OutOfSight() const;
    void ShowKeptMeter();

    // main_form_pages.cpp
    void BuildPages();
    QWidget* BuildRatesPage();
    QWidget* BuildTimePage();
    QWidget* BuildTrafficPage();
    QWidget* BuildConnectionsPage();
    QWidget* BuildPingPage();
    void BuildButtonColumn(QWidget* central);
    void BuildStatusBar();
    // main_form_menus.cpp
    void BuildMenus();
    void BuildPopups();
    void BuildToolBar();
    void BuildShortcuts();
    void BuildTimers();

    Dialogs& dialogs_;
    ProgramFlags& flags_;
    MainFormHandlers handlers_;
    bool restoringPage_ = false;
    // The latest view, while the window is out of sight.
    std::unique_ptr<MeterView> keptView_;

    QTabWidget* tabliti_ = nullptr;
    QTreeWidget* timeList_ = nullptr;
    QLineEdit* timeToday_ = nullptr;
    QLineEdit* sesionTime_ = nullptr;
    CurrencyEdit* costMoney_ = nullptr;
    CurrencyEdit* sesionCost_ = nullptr;
    CurrencyEdit* traficCost_ = nullptr;
    CurrencyEdit* traficCostSeans_ = nullptr;
    QLabel* label3_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* label5_ = nullptr;
    QLabel* label6_ = nullptr;
    QLineEdit* ip_ = nullptr;
    QLineEdit* conSpeed_ = nullptr;
    QLineEdit* inTraf_ = nullptr;
    QLineEdit* outTraf_ = nullptr;
    QLineEdit* totalIn_ = nullptr;
    QLineEdit* totalOut_ = nullptr;
    QTreeWidget* connectionsListView_ = nullptr;
    QPushButton* disconect_ = nullptr;
    QLineEdit* host_ = nullptr;
    QPushButton* button1_ = nullptr;
    QPushButton* button2_ = nullptr;
    QPlainTextEdit* memo1_ = nullptr;
    QToolButton* resetStat_ = nullptr;
    QToolButton* pauseBut_ = nullptr;
    QToolButton* runBut_ = nullptr;
    QToolButton* prefBut_ = nullptr;
    QToolButton* toolButton1_ = nullptr;
    QToolButton* exportRun_ = nullptr;
    QToolButton* helpBut_ = nullptr;
    QToolButton* exitButton_ = nullptr;
    QLabel* stPanel_ = nullptr;

    QMenu* tabList1_ = nullptr;
    QMenu* connectpopup_ = nullptr;
    QMenu* trayPopUp_ = nullptr;
    QMenu* hotKeyPopup_ = nullptr;
    QAction* n21_ = nullptr;

    QTimer* timer_ = nullptr;
    QTimer* minusTrafic_ = nullptr;
    QTimer* timerMinimize_ = nullptr;
    QTimer* autoUpdate_ = nullptr;
    QTimer* hint1_ = nullptr;
    QTimer* refresh_ = nullptr;
    QTimer* pingtimer_ = nullptr;
    QTimer* sizekntr_ = nullptr;
    QTimer* onrunminim_ = nullptr;
};

}  // namespace kestrova
