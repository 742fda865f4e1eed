// The five pages of Tabliti, the button column and the status bar.
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/currency_edit.h"
#include "gui/icons.h"
#include "shell/main_form.h"

namespace kestrova {

namespace {

// The menu bar (22) and the tool bar band (51) lie above the central area.
constexpr int kMenuBarHeight = 22;
constexpr int kToolBandHeight = 51;
constexpr int kCentralTop = kMenuBarHeight + kToolBandHeight;

template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* Caption(const char* text, QWidget* parent, const char* name = nullptr) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    if (name != nullptr) label->setObjectName(QString::fromLatin1(name));
    return label;
}

// A display field: the groups that hold them are disabled, so the user cannot edit them.
QLineEdit* Display(const char* name, const char* initial, QWidget* parent) {
    auto* field = Named(new QLineEdit(QString::fromUtf8(initial), parent), name);
    field->setReadOnly(true);
    return field;
}

CurrencyEdit* Money(const char* name, QWidget* parent) {
    return Named(new CurrencyEdit(parent), name);
}

QFont Arial12(bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(bold);
    return font;
}

// A report list: whole rows, one selected at most, no editing, no sorting.
QTreeWidget* ReportList(const char* name, const QStringList& headers,
                        std::initializer_list<int> widths, QWidget* parent) {
    auto* list = Named(new QTreeWidget(parent), name);
    list->setColumnCount(static_cast<int>(headers.size()));
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSortingEnabled(false);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    QHeaderView* header = list->header();
    header->setStretchLastSection(false);
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    // The column widths are fixed; at 12 px the longest caption ("Время окончания") fits.
    header->setFont(Arial12(false));
    int column = 0;
    for (int width : widths) header->resizeSection(column++, width);
    return list;
}

// A label above its field, as the narrow traffic groups show them.
void AddStacked(QVBoxLayout* layout, QLabel* label, QWidget* field) {
    layout->addWidget(label);
    layout->addWidget(field);
    layout->addSpacing(3);
}

}  // namespace

void TMainForm::BuildPages() {
    auto* central = Named(new QWidget(this), "Central");
    setCentralWidget(central);

    tabliti_ = Named(new QTabWidget(central), "Tabliti");
    tabliti_->setGeometry(8, 80 - kCentralTop, 436, 257);
    tabliti_->setFocusPolicy(Qt::TabFocus);
    tabliti_->addTab(BuildRatesPage(), QString::fromUtf8("Расценки"));
    tabliti_->addTab(BuildTimePage(), QString::fromUtf8("Kestrova Время"));
    tabliti_->addTab(BuildTrafficPage(), QString::fromUtf8("Kestrova трафик"));
    tabliti_->addTab(BuildConnectionsPage(), QString::fromUtf8("Соединения"));
    tabliti_->addTab(BuildPingPage(), QString::fromUtf8("Пинг"));
    tabliti_->setCurrentIndex(RatesPage);
    connect(tabliti_, &QTabWidget::currentChanged, this, &TMainForm::CostTabChange);

    BuildButtonColumn(central);
}

QWidget* TMainForm::BuildRatesPage() {
    auto* page = Named(new QWidget, "TabSheet1");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    timeList_ = ReportList("TimeList",
                           {QString::fromUtf8("№"), QString::fromUtf8("Время начала"),
                            QString::fromUtf8("Время окончания"), QString::fromUtf8("Стоимость"),
                            QString::fromUtf8("День недели")},
                           {30, 90, 108, 83, 104}, page);
    timeList_->viewport()->installEventFilter(this);
    layout->addWidget(timeList_);
    return page;
}

QWidget* TMainForm::BuildTimePage() {
    auto* page = Named(new QWidget, "TabSheet2");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 4, 6, 6);
    auto* group = Named(new QGroupBox(QString::fromUtf8("Время и стоимость"), page), "GroupBox1");
    group->setEnabled(false);
    layout->addWidget(group);

    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(16, 14, 16, 12);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    timeToday_ = Display("TimeToday", "00:00:00", group);
    sesionTime_ = Display("SesionTime", "00:00:00", group);
    timeToday_->setFont(Arial12(true));
    sesionTime_->setFont(Arial12(true));
    costMoney_ = Money("CostMoney", group);
    sesionCost_ = Money("SesionCost", group);
    label3_ = Caption("Стоимость:", group, "Label3");
    label4_ = Caption("Стоимость сеанса:", group, "Label4");

    const std::pair<QLabel*, QWidget*> rows[] = {
        {Caption("Общее время:", group, "Label1"), timeToday_},
        {Caption("Последний сеанс:", group, "Label2"), sesionTime_},
        {label3_, costMoney_},
        {label4_, sesionCost_},
    };
    int row = 0;
    for (const auto& [label, field] : rows) {
        field->setFixedWidth(150);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1, Qt::AlignLeft);
        ++row;
    }
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(row, 1);
    return page;
}

QWidget* TMainForm::BuildTrafficPage() {
    auto* page = Named(new QWidget, "TabSheet3");
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(6);

    auto* session = Named(new QGroupBox(QString::fromUtf8("Последний сеанс"), page), "GroupBox2");
    auto* total = Named(new QGroupBox(QString::fromUtf8("Общая статистика"), page), "GroupBox3");
    for (QGroupBox* group : {session, total}) {
        group->setEnabled(false);
        layout->addWidget(group, 1);
    }

    auto* left = new QVBoxLayout(session);
    left->setContentsMargins(10, 6, 10, 6);
    left->setSpacing(1);
    ip_ = Display("IP", "0.0.0.0", session);
    conSpeed_ = Display("conSpeed", "0 Байт/с", session);
    inTraf_ = Display("InTraf", "0 Байт", session);
    outTraf_ = Display("OutTraf", "0 Байт", session);
    AddStacked(left, Caption("IP адрес:", session, "Label7"), ip_);
    AddStacked(left, Caption("Скорость:", session, "Label8"), conSpeed_);
    AddStacked(left, Caption("Принято:", session, "Label9"), inTraf_);
    AddStacked(left, Caption("Отправлено:", session, "Label10"), outTraf_);
    left->addStretch(1);

    auto* right = new QVBoxLayout(total);
    right->setContentsMargins(10, 6, 10, 6);
    right->setSpacing(1);
    totalIn_ = Display("TotalIn", "0 Байт", total);
    totalOut_ = Display("TotalOut", "0 Байт", total);
    traficCost_ = Money("TraficCost", total);
    traficCostSeans_ = Money("TraficCostSeans", total);
    label5_ = Caption("Стоимость:", total, "Label5");
    label6_ = Caption("Стоимость сеанса:", total, "Label6");
    AddStacked(right, Caption("Принято:", total, "Label11"), totalIn_);
    AddStacked(right, Caption("Отправлено:", total, "Label12"), totalOut_);
    AddStacked(right, label5_, traficCost_);
    AddStacked(right, label6_, traficCostSeans_);
    right->addStretch(1);

    ShowCostPair(false);  // per minute until the start-up says otherwise
    return page;
}

QWidget* TMainForm::BuildConnectionsPage() {
    auto* page = Named(new QWidget, "TabSheet4");
    auto* layout = new QHBoxLayout(page);
    // No side margin: the three columns (344) just fit beside the panel.
    layout->setContentsMargins(0, 2, 0, 2);
    layout->setSpacing(0);
    connectionsListView_ = ReportList(
        "ConnectionsListView",
        {QString::fromUtf8("Имя"), QString::fromUtf8("Устройство"), QString::fromUtf8("Статус")},
        {120, 141, 83}, page);
    connectionsListView_->viewport()->installEventFilter(this);
    layout->addWidget(connectionsListView_, 1);

    auto* panel = Named(new QWidget(page), "Panel2");
    panel->setFixedWidth(87);
    disconect_ = Named(new QPushButton(QString::fromUtf8("Разовать"), panel), "disconect");
    disconect_->setGeometry(7, 4, 73, 25);
    disconect_->setEnabled(false);
    connect(disconect_, &QPushButton::clicked, this, &TMainForm::SpeedButton22Click);
    layout->addWidget(panel);
    return page;
}

QWidget* TMainForm::BuildPingPage() {
    auto* page = Named(new QWidget, "TabSheet5");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(6);

    auto* panel = Named(new QWidget(page), "Panel1");
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    host_ = Named(new QLineEdit(QStringLiteral("localhost"), panel), "Host");
    host_->installEventFilter(this);
    auto* label = Caption("Адрес сайта/IP:", panel, "Label13");
    label->setBuddy(host_);
    button1_ = Named(new QPushButton(QString::fromUtf8("Проверить"), panel), "Button1");
    button2_ = Named(new QPushButton(panel), "Button2");
    button2_->setVisible(false);
    button2_->setEnabled(false);
    row->addWidget(label);
    row->addWidget(host_, 1);
    row->addWidget(button1_);
    row->addWidget(button2_);
    layout->addWidget(panel);
    connect(button1_, &QPushButton::clicked, this, &TMainForm::Button1Click);
    connect(button2_, &QPushButton::clicked, this, &TMainForm::Button2Click);

    memo1_ = Named(new QPlainTextEdit(page), "Memo1");
    memo1_->setReadOnly(true);
    memo1_->setFixedSize(417, 137);
    memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(memo1_, 0, Qt::AlignLeft);
    layout->addStretch(1);
    return page;
}

void TMainForm::BuildButtonColumn(QWidget* central) {
    auto* column = Named(new QWidget(central), "ButtonColumn");
    column->setGeometry(448, 80 - kCentralTop, 73, 257);
    auto make = [column](const char* name, Glyph glyph, int top) {
        auto* button = Named(new QToolButton(column), name);
        button->setGeometry(8, top, 57, 40);
        button->setIcon(GlyphIcon(glyph, kButtonIconSize));
        button->setIconSize(QSize(kButtonIconSize, kButtonIconSize));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        return button;
    };
    resetStat_ = make("ResetStat", Glyph::Reset, 24);
    pauseBut_ = make("PauseBut", Glyph::Pause, 80);
    runBut_ = make("RunBut", Glyph::Run, 80);
    pauseBut_->setToolTip(QString::fromUtf8("Пауза"));
    runBut_->setToolTip(QString::fromUtf8("Запустить"));
    runBut_->setVisible(false);
    connect(resetStat_, &QToolButton::clicked, this, &TMainForm::ResetStatsClick);
    connect(pauseBut_, &QToolButton::clicked, this, &TMainForm::PauseButClick);
    connect(runBut_, &QToolButton::clicked, this, &TMainForm::RunButClick);
}

void TMainForm::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(25);
    stPanel_ = Named(new QLabel(bar), "StPanel");
    stPanel_->setFixedHeight(25);
    bar->addWidget(stPanel_, 1);
}

}  // namespace kestrova
