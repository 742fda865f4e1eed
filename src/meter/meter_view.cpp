#include "base/number_format.h"
#include "meter/meter.h"
#include "meter/value_format.h"

namespace kestrova {

double Meter::MonthCost() const {
    return perMegabyte_ ? traficCost_ : costMoney_;
}
double Meter::SessionCost() const {
    return perMegabyte_ ? traficCostSeans_ : sesionCost_;
}

void Meter::RefreshView() {
    const char sep = ports_.locale.decimalSeparator;
    MeterView& v = view_;
    v.timeToday = FormatDuration(static_cast<std::uint32_t>(monthSeconds_));
    v.sesionTime = FormatDuration(static_cast<std::uint32_t>(sessionSeconds_));
    v.costMoneyValue = costMoney_;
    v.sesionCostValue = sesionCost_;
    v.traficCostValue = traficCost_;
    v.traficCostSeansValue = traficCostSeans_;
    v.costMoney = MoneyFieldText(costMoney_, sep);
    v.sesionCost = MoneyFieldText(sesionCost_, sep);
    v.traficCost = MoneyFieldText(traficCost_, sep);
    v.traficCostSeans = MoneyFieldText(traficCostSeans_, sep);
    v.totalIn = FormatSize(monthIn_ + sessionIn_, sep);
    v.totalOut = FormatSize(monthOut_ + sessionOut_, sep);
    v.perMegabyte = perMegabyte_;
    v.running = running_;
    v.stPanel =
        std::string(perMegabyte_ ? "Текущая стоимость мегабайта: " : "Текущая стоимость минуты: ") +
        FormatFixed(currentRate_, 2, sep) + ports_.flags.Edenitsa;
    v.statText = "Сеанс:\rСтоимость: " + FormatFixed(SessionCost(), 2, sep) +
                 "\rВремя: " + v.sesionTime + "\rТрафик: " + v.inTraf +
                 "\r\rОбщая:\rСтоимость: " + FormatFixed(MonthCost(), 2, sep) +
                 "\rВремя: " + v.timeToday + "\rТрафик: " + v.totalIn;
}

}  // namespace kestrova
