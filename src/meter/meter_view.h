#pragma once

#include <string>

namespace kestrova {

// Everything the main window shows of the meter, as texts ready to display, plus the money
// values for the fields' display pattern. Rebuilt by every operation of the meter.
struct MeterView {
    std::string ip;                       // IP
    std::string timeToday = "00:00:00";   // TimeToday: month time
    std::string sesionTime = "00:00:00";  // SesionTime: session time
    // Money field texts: two decimals, no unit, empty for zero.
    std::string costMoney;        // CostMoney: month cost, per minute
    std::string sesionCost;       // SesionCost: session cost, per minute
    std::string traficCost;       // TraficCost: month cost, per megabyte
    std::string traficCostSeans;  // TraficCostSeans: session cost, per megabyte
    // The same four values at full precision, for the fields' display pattern.
    double costMoneyValue = 0, sesionCostValue = 0, traficCostValue = 0, traficCostSeansValue = 0;
    std::string inTraf = "0 Байт", outTraf = "0 Байт";    // session bytes
    std::string totalIn = "0 Байт", totalOut = "0 Байт";  // month bytes
    std::string conSpeed = "0 Байт/с";
    std::string stPanel;         // status bar: the rate in force
    bool perMegabyte = false;    // which cost pair is visible
    bool trayAnimating = false;  // the tray icon cycles while online
    bool running = false;        // PauseBut visible when true, RunBut when false
    std::string statText;        // lines separated by "\r"
};

}  // namespace kestrova
