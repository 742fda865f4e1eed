#include <algorithm>
#include <system_error>

#include "base/atomic_file.h"
#include "base/config_keys.h"
#include "base/ini_file.h"
#include "meter/meter.h"
#include "meter/month_stats_file.h"
#include "meter/value_format.h"

// The month's statistics file: start, the once-a-second seconds, the month change, the reset
// and the close.

namespace kestrova {

std::string Meter::CurrentMonthKey() const {
    const LocalDateTime now = ports_.clock.Now();
    return MonthKeyOf(now.year, now.month);
}

void Meter::CreateMonthFileIfMissing() {
    const std::filesystem::path file = StatsFile();
    std::error_code error;
    if (std::filesystem::exists(file, error)) return;
    std::filesystem::create_directories(file.parent_path(), error);
    if (ReplaceFileAtomically(file, "")) {
        Clear("stats");
    } else {
        Report("stats", IniWriteError(file).what());
    }
}

void Meter::Start() {
    if (ports_.online()) {
        // A connection already running is counted from now.
        const InterfaceSnapshot rows = ports_.interfaces.Snapshot();
        if (const InterfaceRow* row = DialupRow(rows)) {
            baseInterface_ = row->index;
            baseInOctets_ = static_cast<std::int64_t>(row->inOctets);
            baseOutOctets_ = static_cast<std::int64_t>(row->outOctets);
            baseFresh_ = true;
        }
    }
    perMegabyte_ = IniFile(ConfigFile()).ReadInteger(config::Count::Edn, 0) != 0;
    monthKey_ = CurrentMonthKey();
    CreateMonthFileIfMissing();
    const MonthStatsFile stats(StatsFile());
    monthSeconds_ = std::max(0, stats.Seconds());  // a damaged file may hold anything
    monthIn_ = stats.TrafficIn();
    monthOut_ = stats.TrafficOut();
    costMoney_ = traficCost_ = StoredCost();
    RefreshView();
}

double Meter::StoredCost() {
    const MonthStatsFile stats(StatsFile());
    if (const auto cost = stats.Cost()) {
        Clear("cost");
        return *cost;
    }
    Report("cost", "Значение Cost в файле " + StatsFile().string() + " не является числом: \"" +
                       stats.CostText() + "\". Используется 0.");
    return 0.0;
}

void Meter::WriteSeconds() {
    try {
        MonthStatsFile(StatsFile()).WriteSeconds(monthSeconds_);
        Clear("stats");
    } catch (const IniWriteError& error) {
        Report("stats", error.what());
    }
}

void Meter::StoreMonth(double cost) {
    try {
        MonthStatsFile stats(StatsFile());
        stats.WriteCost(cost, ports_.locale.decimalSeparator);
        stats.WriteTraffic(monthIn_ + sessionIn_, monthOut_ + sessionOut_);
        stats.WriteSeconds(monthSeconds_);
        Clear("stats");
    } catch (const IniWriteError& error) {
        Report("stats", error.what());
    }
}

bool Meter::MonthCheck() {
    const std::string key = CurrentMonthKey();
    if (key != monthKey_) {
        // The finished month keeps all of its figures, with the minute in progress.
        const int noCost = ReadTickSettings().noCost;
        double cost = perMegabyte_ ? traficCost_ : costMoney_;
        if (!perMegabyte_ && StartedMinuteDue(noCost)) cost += currentRate_;
        StoreMonth(cost);
        Sync(StatsFile());
        // The new month starts from zero; a running session goes on, its counters from now.
        monthSeconds_ = sessionSeconds_ = 0;
        costMoney_ = sesionCost_ = traficCost_ = traficCostSeans_ = 0;
        lastCountedKB_ = 0;
        baseInOctets_ += static_cast<std::int64_t>(sessionIn_);
        baseOutOctets_ += static_cast<std::int64_t>(sessionOut_);
        sessionIn_ = sessionOut_ = monthIn_ = monthOut_ = 0;
        monthKey_ = key;
        CreateMonthFileIfMissing();
        RefreshView();
        return true;
    }
    CreateMonthFileIfMissing();
    return false;
}

void Meter::Reset() {
    try {
        MonthStatsFile stats(StatsFile());
        stats.WriteCost(0, ports_.locale.decimalSeparator);
        stats.WriteSeconds(0);
        // Written too, so a crash before the next save cannot bring the old traffic back.
        stats.WriteTraffic(0, 0);
        Clear("stats");
    } catch (const IniWriteError& error) {
        Report("stats", error.what());
    }
    monthSeconds_ = sessionSeconds_ = 0;
    costMoney_ = sesionCost_ = traficCost_ = traficCostSeans_ = 0;
    lastCountedKB_ = 0;
    // Rebase on the counters as they stand, so a running connection shows zero afterwards.
    baseInOctets_ += static_cast<std::int64_t>(sessionIn_);
    baseOutOctets_ += static_cast<std::int64_t>(sessionOut_);
    sessionIn_ = sessionOut_ = monthIn_ = monthOut_ = 0;
    RefreshView();
    view_.inTraf = view_.outTraf = view_.totalIn = view_.totalOut = "0 Байт";
}

void Meter::SaveAtClose() {
    const TickSettings s = ReadTickSettings();
    if (s.perMegabyte != perMegabyte_) SwitchMode(s);
    if (!perMegabyte_ && StartedMinuteDue(s.noCost)) costMoney_ += currentRate_;
    StoreMonth(perMegabyte_ ? traficCost_ : costMoney_);
    Sync(StatsFile());
    RefreshView();
}

}  // namespace kestrova
