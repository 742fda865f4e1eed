#include <algorithm>
#include <system_error>

#include "meter/meter.h"
#include "meter/month_stats_file.h"
#include "meter/value_format.h"
#include "settings/atomic_file.h"
#include "settings/ini_file.h"

// The month's statistics file: start, the once-a-second write, the month change, the reset
// and the close.

namespace kestrova {

std::string Meter::CurrentMonthKey() const {
    if (ports_.clock == nullptr) return monthKey_;
    const LocalDateTime now = ports_.clock->Now();
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
    // The first look at the links: a connection already running is counted from now.
    AccountLinks(Snapshot(), nullptr);
    perMegabyte_ = IniFile(ConfigFile()).ReadInteger("Count", "Edn", 0) != 0;
    monthKey_ = CurrentMonthKey();
    CreateMonthFileIfMissing();
    LoadMonth();
    RefreshView();
}

// The month of monthKey_ as its file holds it; a session in progress goes on from zero in it.
void Meter::LoadMonth() {
    const MonthStatsFile stats(StatsFile());
    monthSeconds_ = std::max(0, stats.Seconds());  // a damaged file may hold anything
    monthIn_ = stats.TrafficIn();
    monthOut_ = stats.TrafficOut();
    if (const auto cost = stats.Cost()) {
        costBeforeSession_ = *cost;
        Clear("cost");
    } else {
        costBeforeSession_ = 0;
        Report("cost", "Значение Cost в файле " + StatsFile().string() + " не является числом: \"" +
                           stats.CostText() + "\". Используется 0.");
    }
    costMoney_ = traficCost_ = costBeforeSession_;
    sessionSeconds_ = 0;
    sesionCost_ = traficCostSeans_ = 0;
    paidThrough_ = 0;
    sessionIn_ = sessionOut_ = 0;
}

MonthFigures Meter::Figures() const {
    return {monthSeconds_, MonthCost(), monthIn_ + sessionIn_, monthOut_ + sessionOut_};
}

// Figures held in memory, written whole: a store may run any number of times.
void Meter::WriteMonth(const MonthFigures& figures) {
    try {
        MonthStatsFile(StatsFile()).Write(figures, ports_.locale.decimalSeparator);
        Clear("stats");
    } catch (const IniWriteError& error) {
        Report("stats", error.what());
    }
}

bool Meter::MonthCheck() {
    const std::string key = CurrentMonthKey();
    if (key != monthKey_) {
        // The finished month keeps all of its figures, with the minute in progress.
        MonthFigures finished = Figures();
        if (!perMegabyte_ && StartedMinuteDue(ReadTickSettings().noCost))
            finished.cost += currentRate_;
        WriteMonth(finished);
        Sync(StatsFile());
        // The new month goes on from what its file holds (nothing, unless the clock went back
        // into a month already metered); a running session goes on, its counters from now.
        monthKey_ = key;
        CreateMonthFileIfMissing();
        LoadMonth();
        RefreshView();
        return true;
    }
    CreateMonthFileIfMissing();
    return false;
}

void Meter::Reset() {
    monthSeconds_ = sessionSeconds_ = 0;
    costBeforeSession_ = costMoney_ = sesionCost_ = traficCost_ = traficCostSeans_ = 0;
    paidThrough_ = 0;
    // A running connection shows zero afterwards: its links are counted from their last look.
    sessionIn_ = sessionOut_ = monthIn_ = monthOut_ = 0;
    WriteMonth(Figures());
    RefreshView();
    view_.inTraf = view_.outTraf = view_.totalIn = view_.totalOut = "0 Байт";
}

void Meter::SaveAtClose() {
    const TickSettings s = ReadTickSettings();
    if (s.perMegabyte != perMegabyte_) SwitchMode(s);
    if (!perMegabyte_ && StartedMinuteDue(s.noCost)) ChargeStartedMinute();
    WriteMonth(Figures());
    Sync(StatsFile());
    RefreshView();
}

}  // namespace kestrova
