// The window shows what the logic gives it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

#include "base/program_flags.h"
#include "gui/currency_edit.h"
#include "meter/meter_view.h"
#include "rates/rate_table.h"
#include "shell/main_form.h"
#include "support/gui_app.h"
#include "support/scripted_dialogs.h"

namespace kestrova {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class MainFormShow : public ::testing::Test {
protected:
    void SetUp() override {
        testing::GuiApp();
        form = std::make_unique<TMainForm>(dialogs, flags);
        for (QTimer* t : form->findChildren<QTimer*>()) t->stop();
        form->SetMoneySeparators(',', QStringLiteral(" "));
        form->show();
    }

    // Shown when its page is: the other pages hide their widgets along with the page.
    static bool Shown(const QWidget* w) { return !w->isHidden(); }

    MeterView SampleView() const {
        MeterView view;
        view.ip = "10.64.0.7";
        view.timeToday = "101:02:03";
        view.sesionTime = "00:12:34";
        view.costMoney = "1234,50";
        view.costMoneyValue = 1234.5;
        view.sesionCost = "6,00";
        view.sesionCostValue = 6.0;
        view.traficCost = "";
        view.traficCostSeans = "";
        view.inTraf = "1,50 МБ";
        view.outTraf = "200,00 КБ";
        view.totalIn = "1,20 ГБ";
        view.totalOut = "80,00 МБ";
        view.conSpeed = "97,66 КБ/c";
        view.stPanel = "Текущая стоимость минуты: 0,50р.";
        return view;
    }

    ScriptedDialogs dialogs;

    ProgramFlags flags;
    std::unique_ptr<TMainForm> form;
};

TEST_F(MainFormShow, ShowMeterPutsEveryTextIntoItsField) {
    form->SetCostFormat(0);
    form->ShowMeter(SampleView());
    const std::pair<QLineEdit*, const char*> fields[] = {
        {form->IP(), "10.64.0.7"},         {form->TimeToday(), "101:02:03"},
        {form->SesionTime(), "00:12:34"},  {form->InTraf(), "1,50 МБ"},
        {form->OutTraf(), "200,00 КБ"},    {form->TotalIn(), "1,20 ГБ"},
        {form->TotalOut(), "80,00 МБ"},    {form->conSpeed(), "97,66 КБ/c"},
        {form->CostMoney(), "1 234,50р."}, {form->SesionCost(), "6,00р."},
    };
    for (const auto& [field, text] : fields) EXPECT_EQ(field->text(), U(text)) << text;
    EXPECT_EQ(form->CostMoney()->MoneyText(), QStringLiteral("1234,50"));
    EXPECT_EQ(form->TraficCost()->MoneyText(), QString());
    EXPECT_EQ(form->StPanel()->text(), U("Текущая стоимость минуты: 0,50р."));
}

TEST_F(MainFormShow, ShowMeterShowsTheCostPairOfTheMode) {
    MeterView view = SampleView();
    for (bool perMegabyte : {true, false, true}) {
        view.perMegabyte = perMegabyte;
        form->ShowMeter(view);
        for (QWidget* w : std::initializer_list<QWidget*>{
                 form->TraficCost(), form->TraficCostSeans(), form->Label5(), form->Label6()})
            EXPECT_EQ(Shown(w), perMegabyte) << w->objectName().toStdString();
        for (QWidget* w : std::initializer_list<QWidget*>{form->CostMoney(), form->SesionCost(),
                                                          form->Label3(), form->Label4()})
            EXPECT_EQ(Shown(w), !perMegabyte) << w->objectName().toStdString();
    }
}

TEST_F(MainFormShow, ExactlyOneOfRunAndPauseIsVisibleAndEnabled) {
    MeterView view = SampleView();
    for (bool running : {false, true, true, false}) {
        view.running = running;
        form->ShowMeter(view);
        EXPECT_EQ(form->PauseBut()->isVisible(), running);
        EXPECT_EQ(form->RunBut()->isVisible(), !running);
        EXPECT_EQ(form->PauseBut()->isEnabled(), running);
        EXPECT_EQ(form->RunBut()->isEnabled(), !running);
    }
}

TEST_F(MainFormShow, ShowRatesFillsTheListAndMarksTheCaption) {
    RateTable table;
    table.Append("8:00", "20:00", "0,5", "Будние дни");
    table.Append("20:00", "8:00", "0,25", "Все дни");
    form->ShowRates(table);
    ASSERT_EQ(form->TimeList()->topLevelItemCount(), 2);
    const QTreeWidgetItem* second = form->TimeList()->topLevelItem(1);
    const char* texts[] = {"2", "20:00", "8:00", "0,25", "Все дни"};
    for (int c = 0; c < 5; ++c) EXPECT_EQ(second->text(c), U(texts[c]));
    EXPECT_EQ(form->windowTitle(), U("Kestrova v1.0.1 Beta"));
    EXPECT_FALSE(form->TabEdit());
    EXPECT_EQ(form->SelectedRate(), -1);

    // An edit keeps the selection; the marker follows the table's flag.
    form->TimeList()->setCurrentItem(form->TimeList()->topLevelItem(1));
    EXPECT_EQ(form->SelectedRate(), 1);
    table.Replace(1, "21:00", "7:00", "0,2", "Все дни");
    table.MarkModified();
    form->ShowRates(table);
    EXPECT_EQ(form->SelectedRate(), 1);
    EXPECT_EQ(form->TimeList()->topLevelItem(1)->text(1), QStringLiteral("21:00"));
    EXPECT_EQ(form->windowTitle(), U("Kestrova v1.0.1 Beta *"));
    EXPECT_TRUE(form->TabEdit());

    // A deletion leaves no row selected.
    table.Remove(0);
    form->ShowRates(table);
    EXPECT_EQ(form->SelectedRate(), -1);
    EXPECT_EQ(form->TimeList()->topLevelItem(0)->text(0), QStringLiteral("2")) << "no renumbering";

    table.SetModified(false);
    form->ShowRates(table);
    EXPECT_EQ(form->windowTitle(), U("Kestrova v1.0.1 Beta"));
}

TEST_F(MainFormShow, CostFormatSetsPatternsAndUnit) {
    form->CostMoney()->SetValue(1234.5);
    EXPECT_EQ(form->CostMoney()->text(), QStringLiteral("1 234,5")) << "initial pattern ,0.##";
    form->SetCostFormat(4);
    EXPECT_EQ(form->CostMoney()->text(), U("1 234,50уе."));
    EXPECT_EQ(form->Edenitsa(), U("у.е."));
    for (CurrencyEdit* field : {form->SesionCost(), form->TraficCost(), form->TraficCostSeans()})
        EXPECT_EQ(field->DisplayPattern(), U(",0.00у.е.'.';-,0.00у.е.'.'"));
    // Any other number leaves both as they are.
    form->SetCostFormat(7);
    EXPECT_EQ(form->CostMoney()->text(), U("1 234,50уе."));
    EXPECT_EQ(form->Edenitsa(), U("у.е."));
    form->SetCostFormat(0);
    form->CostMoney()->SetValue(-1234.5);
    EXPECT_EQ(form->CostMoney()->text(), U("-1 234,50р."));
    EXPECT_EQ(form->Edenitsa(), U("р."));
}

TEST_F(MainFormShow, MoneyFieldKeepsHundredthsAndShowsItsTextWhileFocused) {
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->SetCostFormat(0);
    // The money fields of the pages are disabled; a field of its own shows the focus case.
    CurrencyEdit field(form->Tabliti()->widget(TMainForm::PingPage));
    field.SetSeparators(',', QStringLiteral(" "));
    field.SetDisplayPattern(U(",0.00р'.';-,0.00р'.'"));
    field.SetValue(2.345);
    EXPECT_DOUBLE_EQ(field.Value(), 2.35);
    EXPECT_EQ(field.MoneyText(), QStringLiteral("2,35"));
    EXPECT_EQ(field.text(), U("2,35р."));
    form->Tabliti()->setCurrentIndex(TMainForm::PingPage);
    field.show();
    field.setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return field.hasFocus(); }));
    EXPECT_EQ(field.text(), QStringLiteral("2,35"));
    form->Host()->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !field.hasFocus(); }));
    EXPECT_EQ(field.text(), U("2,35р."));
    field.SetValue(0.001);
    EXPECT_EQ(field.MoneyText(), QString()) << "empty for zero";
}

}  // namespace
}  // namespace kestrova
