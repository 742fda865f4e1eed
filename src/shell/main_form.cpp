#include "shell/main_form.h"

#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "base/money_pattern.h"
#include "gui/currency_edit.h"
#include "gui/dialogs.h"
#include "meter/meter_view.h"
#include "rates/rate_list_view.h"
#include "rates/rate_table.h"

namespace kestrova {

namespace {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace

TMainForm::TMainForm(Dialogs& dialogs, ProgramFlags& flags, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      dialogs_(dialogs),
      flags_(flags) {
    setObjectName(QStringLiteral("MainForm"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    setFont(font);

    BuildMenus();
    BuildToolBar();
    BuildPages();
    BuildPopups();
    BuildShortcuts();
    BuildStatusBar();
    BuildTimers();

    ShowTabEdit();
    // Single border: the client area keeps its size and the caption bar has no maximise button.
    setFixedSize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TMainForm::~TMainForm() {
    if (handlers_.meter != nullptr) handlers_.meter->FormDestroy();
}

void TMainForm::FormCreate() {
    Forward(handlers_.meter, &MeterHandlers::FormCreate);
}

// --- What the window shows ---------------------------------------------------------------

void TMainForm::ShowMeter(const MeterView& view) {
    // Laying out the texts is most of a tick's cost; nobody sees them while out of sight.
    if (OutOfSight()) {
        if (keptView_ == nullptr) keptView_ = std::make_unique<MeterView>();
        *keptView_ = view;
        return;
    }
    keptView_.reset();
    ip_->setText(Text(view.ip));
    timeToday_->setText(Text(view.timeToday));
    sesionTime_->setText(Text(view.sesionTime));
    costMoney_->SetValue(view.costMoneyValue);
    sesionCost_->SetValue(view.sesionCostValue);
    traficCost_->SetValue(view.traficCostValue);
    traficCostSeans_->SetValue(view.traficCostSeansValue);
    inTraf_->setText(Text(view.inTraf));
    outTraf_->setText(Text(view.outTraf));
    totalIn_->setText(Text(view.totalIn));
    totalOut_->setText(Text(view.totalOut));
    conSpeed_->setText(Text(view.conSpeed));
    stPanel_->setText(Text(view.stPanel));
    ShowCostPair(view.perMegabyte);
    ShowRunState(view.running);
}

void TMainForm::ShowCostPair(bool perMegabyte) {
    for (QWidget* w : {static_cast<QWidget*>(traficCost_), static_cast<QWidget*>(traficCostSeans_),
                       static_cast<QWidget*>(label5_), static_cast<QWidget*>(label6_)})
        w->setVisible(perMegabyte);
    for (QWidget* w : {static_cast<QWidget*>(costMoney_), static_cast<QWidget*>(sesionCost_),
                       static_cast<QWidget*>(label3_), static_cast<QWidget*>(label4_)})
        w->setVisible(!perMegabyte);
}

void TMainForm::ShowRunState(bool running) {
    // Hide first, so that the two are never visible together.
    QToolButton* shown = running ? pauseBut_ : runBut_;
    QToolButton* hidden = running ? runBut_ : pauseBut_;
    hidden->setEnabled(false);
    hidden->setVisible(false);
    shown->setEnabled(true);
    shown->setVisible(true);
}

void TMainForm::ShowRates(const RateTable& table) {
    ShowRateRows(*timeList_, table);
    SetTabEdit(table.Modified());
}

int TMainForm::SelectedRate() const {
    return SelectedRateRow(*timeList_);
}

void TMainForm::SetCostFormat(int costFormat) {
    const std::optional<MoneyFormat> format = CostFormatEntry(costFormat);
    if (!format) return;
    const QString pattern = Text(format->pattern);
    for (CurrencyEdit* field : {costMoney_, sesionCost_, traficCost_, traficCostSeans_})
        field->SetDisplayPattern(pattern);
    flags_.Edenitsa = format->unit;
}

void TMainForm::SetMoneySeparators(char decimal, const QString& thousands) {
    for (CurrencyEdit* field : {costMoney_, sesionCost_, traficCost_, traficCostSeans_})
        field->SetSeparators(decimal, thousands);
}

void TMainForm::SetActivePage(int page) {
    restoringPage_ = true;
    tabliti_->setCurrentIndex(page);
    restoringPage_ = false;
}

void TMainForm::SetTabEdit(bool modified) {
    flags_.TabEdit = modified;
    ShowTabEdit();
}

void TMainForm::ShowTabEdit() {
    QString caption = QString::fromUtf8(kCaption);
    if (flags_.TabEdit) caption += QString::fromUtf8(kModifiedMarker);
    setWindowTitle(caption);
}

QMenuBar* TMainForm::MainMenu1() const {
    return menuBar();
}

// --- Events ------------------------------------------------------------------------------

void TMainForm::closeEvent(QCloseEvent* event) {
    if (handlers_.meter != nullptr && handlers_.meter->FormClose() == CloseAction::StayOpen) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    // Filters are installed while the pages are built: the later widgets may not exist yet.
    if (watched == host_ && event->type() == QEvent::KeyPress) {
        // Only keys that type a character reach the key handler, as Enter does ('\r').
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty() && HostKeyPress(text.at(0).unicode())) return true;
    } else if (timeList_ != nullptr && watched == timeList_->viewport() &&
               event->type() == QEvent::MouseButtonDblClick) {
        // On a row or on the empty part of the list alike; the handler looks at the selection.
        TimeList2DblClick();
    } else if (connectionsListView_ != nullptr && watched == connectionsListView_->viewport() &&
               event->type() == QEvent::MouseButtonRelease) {
        ConnectionsListViewClick();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::OutOfSight() const {
    return isMinimized() || (isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide));
}

void TMainForm::ShowKeptMeter() {
    if (keptView_ == nullptr || OutOfSight()) return;
    const std::unique_ptr<MeterView> view = std::move(keptView_);
    ShowMeter(*view);
}

void TMainForm::showEvent(QShowEvent* event) {
    ShowKeptMeter();
    QMainWindow::showEvent(event);
}

void TMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) ShowKeptMeter();
}

bool TMainForm::HostKeyPress(char16_t key) {
    return handlers_.ping != nullptr && handlers_.ping->HostKeyPress(key);
}

// --- Handlers: each forwards to its operation --------------------------------------------

void TMainForm::TimerTimer() {
    Forward(handlers_.meter, &MeterHandlers::TimerTimer);
}
void TMainForm::MinusTraficTimer() {
    Forward(handlers_.meter, &MeterHandlers::MinusTraficTimer);
}
void TMainForm::TimerMinimizeTimer() {
    Forward(handlers_.meter, &MeterHandlers::TimerMinimizeTimer);
}
void TMainForm::AutoUpdateTimer() {
    Forward(handlers_.dialUp, &DialUpHandlers::AutoUpdateTimer);
}
void TMainForm::Hint1Timer() {
    Forward(handlers_.tray, &TrayHandlers::Hint1Timer);
}
void TMainForm::RefreshTimer() {
    Forward(handlers_.floatingWindow, &FloatingWindowHandlers::RefreshTimer);
}
void TMainForm::pingtimerTimer() {
    Forward(handlers_.ping, &PingHandlers::pingtimerTimer);
}
void TMainForm::sizekntrTimer() {
    Forward(handlers_.meter, &MeterHandlers::sizekntrTimer);
}
void TMainForm::onrunminimTimer() {
    Forward(handlers_.tray, &TrayHandlers::onrunminimTimer);
}

void TMainForm::PrefButClick() {
    Forward(handlers_.options, &OptionsHandlers::PrefButClick);
}
void TMainForm::ToolButton1Click() {
    Forward(handlers_.floatingWindow, &FloatingWindowHandlers::ToolButton1Click);
}
void TMainForm::ExportRunClick() {
    Forward(handlers_.exportStats, &ExportHandlers::ExportRunClick);
}
void TMainForm::HelpButClick() {
    Forward(handlers_.about, &AboutHandlers::HelpButClick);
}
void TMainForm::ExitButtonClick() {
    Forward(handlers_.shellCommands, &ShellCommandHandlers::ExitButtonClick);
}
void TMainForm::ResetStatsClick() {
    Forward(handlers_.meter, &MeterHandlers::ResetStatsClick);
}
void TMainForm::PauseButClick() {
    Forward(handlers_.meter, &MeterHandlers::PauseButClick);
}
void TMainForm::RunButClick() {
    Forward(handlers_.meter, &MeterHandlers::RunButClick);
}

void TMainForm::openTabClick() {
    Forward(handlers_.rates, &RateHandlers::openTabClick);
}
void TMainForm::SaveTabClick() {
    Forward(handlers_.rates, &RateHandlers::SaveTabClick);
}
void TMainForm::add_tClick() {
    Forward(handlers_.rates, &RateHandlers::add_tClick);
}
void TMainForm::edit_tClick() {
    Forward(handlers_.rates, &RateHandlers::edit_tClick);
}
void TMainForm::Del_tClick() {
    Forward(handlers_.rates, &RateHandlers::Del_tClick);
}
void TMainForm::clear_tClick() {
    Forward(handlers_.rates, &RateHandlers::clear_tClick);
}
void TMainForm::TimeList2DblClick() {
    Forward(handlers_.rates, &RateHandlers::TimeList2DblClick);
}

void TMainForm::N21Click() {
    Forward(handlers_.shellCommands, &ShellCommandHandlers::N21Click);
}
void TMainForm::N23Click() {
    Forward(handlers_.shellCommands, &ShellCommandHandlers::N23Click);
}
void TMainForm::N24Click() {
    Forward(handlers_.shellCommands, &ShellCommandHandlers::N24Click);
}
void TMainForm::N25Click() {
    Forward(handlers_.shellCommands, &ShellCommandHandlers::N25Click);
}
void TMainForm::N33Click() {
    Forward(handlers_.floatingWindow, &FloatingWindowHandlers::N33Click);
}
void TMainForm::MoneyClick() {
    Forward(handlers_.tray, &TrayHandlers::MoneyClick);
}

void TMainForm::CostTabChange(int page) {
    if (restoringPage_ || handlers_.rates == nullptr) return;
    handlers_.rates->CostTabChange(page);
}
void TMainForm::ConnectionsListViewClick() {
    Forward(handlers_.dialUp, &DialUpHandlers::ConnectionsListViewClick);
}
void TMainForm::SpeedButton22Click() {
    Forward(handlers_.dialUp, &DialUpHandlers::SpeedButton22Click);
}
void TMainForm::Button1Click() {
    Forward(handlers_.ping, &PingHandlers::Button1Click);
}
void TMainForm::Button2Click() {
    Forward(handlers_.ping, &PingHandlers::Button2Click);
}

}  // namespace kestrova
