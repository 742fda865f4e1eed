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
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "base/money_pattern.h"
#include "gui/currency_edit.h"
#include "gui/dialogs.h"
#include "meter/meter_view.h"
#include "rates/rate_table.h"

namespace kestrova {

namespace {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace

TMainForm::TMainForm(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      dialogs_(dialogs),
      edenitsa_(QString::fromUtf8(kInitialMoneyUnit)) {
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

    UpdateCaption();
    // Single border: the client area keeps its size and the caption bar has no maximise button.
    setFixedSize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TMainForm::~TMainForm() {
    if (handlers_ != nullptr) handlers_->FormDestroy();
}

void TMainForm::FormCreate() {
    Forward(&MainFormHandlers::FormCreate);
}

void TMainForm::Forward(Operation operation) {
    if (handlers_ != nullptr) (handlers_->*operation)();
}

// --- What the window shows ---------------------------------------------------------------

void TMainForm::ShowMeter(const MeterView& view) {
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
    const int selected = SelectedRate();
    const bool sameCount =
        static_cast<std::size_t>(timeList_->topLevelItemCount()) == table.Count();
    timeList_->clear();
    QList<QTreeWidgetItem*> items;
    for (const RateRow& row : table.Rows()) {
        items.append(new QTreeWidgetItem(QStringList{
            Text(row.number), Text(row.start), Text(row.end), Text(row.price), Text(row.day)}));
    }
    timeList_->addTopLevelItems(items);
    if (sameCount && selected >= 0 && selected < items.size())
        timeList_->setCurrentItem(items.at(selected));
    else
        timeList_->setCurrentItem(nullptr);
    SetTabEdit(table.Modified());
}

int TMainForm::SelectedRate() const {
    const QList<QTreeWidgetItem*> selected = timeList_->selectedItems();
    if (selected.size() != 1) return -1;
    return timeList_->indexOfTopLevelItem(selected.front());
}

void TMainForm::SetCostFormat(int costFormat) {
    const std::optional<MoneyFormat> format = CostFormatEntry(costFormat);
    if (!format) return;
    const QString pattern = Text(format->pattern);
    for (CurrencyEdit* field : {costMoney_, sesionCost_, traficCost_, traficCostSeans_})
        field->SetDisplayPattern(pattern);
    edenitsa_ = Text(format->unit);
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
    tabEdit_ = modified;
    UpdateCaption();
}

void TMainForm::UpdateCaption() {
    QString caption = QString::fromUtf8(kCaption);
    if (tabEdit_) caption += QString::fromUtf8(kModifiedMarker);
    setWindowTitle(caption);
}

QMenuBar* TMainForm::MainMenu1() const {
    return menuBar();
}

// --- Events ------------------------------------------------------------------------------

void TMainForm::closeEvent(QCloseEvent* event) {
    if (handlers_ != nullptr && handlers_->FormClose() == CloseAction::StayOpen) {
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

bool TMainForm::HostKeyPress(char16_t key) {
    return handlers_ != nullptr && handlers_->HostKeyPress(key);
}

// --- Handlers: each forwards to its operation --------------------------------------------

void TMainForm::TimerTimer() {
    Forward(&MainFormHandlers::TimerTimer);
}
void TMainForm::MinusTraficTimer() {
    Forward(&MainFormHandlers::MinusTraficTimer);
}
void TMainForm::TimerMinimizeTimer() {
    Forward(&MainFormHandlers::TimerMinimizeTimer);
}
void TMainForm::AutoUpdateTimer() {
    Forward(&MainFormHandlers::AutoUpdateTimer);
}
void TMainForm::Hint1Timer() {
    Forward(&MainFormHandlers::Hint1Timer);
}
void TMainForm::RefreshTimer() {
    Forward(&MainFormHandlers::RefreshTimer);
}
void TMainForm::pingtimerTimer() {
    Forward(&MainFormHandlers::pingtimerTimer);
}
void TMainForm::sizekntrTimer() {
    Forward(&MainFormHandlers::sizekntrTimer);
}
void TMainForm::onrunminimTimer() {
    Forward(&MainFormHandlers::onrunminimTimer);
}

void TMainForm::PrefButClick() {
    Forward(&MainFormHandlers::PrefButClick);
}
void TMainForm::ToolButton1Click() {
    Forward(&MainFormHandlers::ToolButton1Click);
}
void TMainForm::ExportRunClick() {
    Forward(&MainFormHandlers::ExportRunClick);
}
void TMainForm::HelpButClick() {
    Forward(&MainFormHandlers::HelpButClick);
}
void TMainForm::ExitButtonClick() {
    Forward(&MainFormHandlers::ExitButtonClick);
}
void TMainForm::ResetStatsClick() {
    Forward(&MainFormHandlers::ResetStatsClick);
}
void TMainForm::PauseButClick() {
    Forward(&MainFormHandlers::PauseButClick);
}
void TMainForm::RunButClick() {
    Forward(&MainFormHandlers::RunButClick);
}

void TMainForm::openTabClick() {
    Forward(&MainFormHandlers::openTabClick);
}
void TMainForm::SaveTabClick() {
    Forward(&MainFormHandlers::SaveTabClick);
}
void TMainForm::add_tClick() {
    Forward(&MainFormHandlers::add_tClick);
}
void TMainForm::edit_tClick() {
    Forward(&MainFormHandlers::edit_tClick);
}
void TMainForm::Del_tClick() {
    Forward(&MainFormHandlers::Del_tClick);
}
void TMainForm::clear_tClick() {
    Forward(&MainFormHandlers::clear_tClick);
}
void TMainForm::TimeList2DblClick() {
    Forward(&MainFormHandlers::TimeList2DblClick);
}

void TMainForm::N21Click() {
    Forward(&MainFormHandlers::N21Click);
}
void TMainForm::N23Click() {
    Forward(&MainFormHandlers::N23Click);
}
void TMainForm::N24Click() {
    Forward(&MainFormHandlers::N24Click);
}
void TMainForm::N25Click() {
    Forward(&MainFormHandlers::N25Click);
}
void TMainForm::N33Click() {
    Forward(&MainFormHandlers::N33Click);
}
void TMainForm::MoneyClick() {
    Forward(&MainFormHandlers::MoneyClick);
}

void TMainForm::CostTabChange(int page) {
    if (restoringPage_ || handlers_ == nullptr) return;
    handlers_->CostTabChange(page);
}
void TMainForm::ConnectionsListViewClick() {
    Forward(&MainFormHandlers::ConnectionsListViewClick);
}
void TMainForm::SpeedButton22Click() {
    Forward(&MainFormHandlers::SpeedButton22Click);
}
void TMainForm::Button1Click() {
    Forward(&MainFormHandlers::Button1Click);
}
void TMainForm::Button2Click() {
    Forward(&MainFormHandlers::Button2Click);
}

}  // namespace kestrova
