#include <algorithm>
#include <chrono>
#include <system_error>

#include "base/atomic_file.h"
#include "base/config_keys.h"
#include "base/ini_file.h"
#include "meter/meter.h"
#include "meter/month_stats_file.h"
#include "meter/value_format.h"

// The month's statistics file: start, the once-a-second write, the month change, the reset
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

// Looks at the disk only when a file may have left the stats folder.
void Meter::RecreateRemovedMonthFile() {
    if (ports_.statsWatch != nullptr && !ports_.statsWatch->TakeRemovals()) return;
    CreateMonthFileIfMissing();
    if (ports_.statsWatch != nullptr) ports_.statsWatch->Watch(StatsFile().parent_path());
}

std::int64_t Meter::MillisecondsToNextMonth() const {
    using namespace std::chrono;
    const LocalDateTime now = ports_.clock.Now();
    const year_month_day today{year{now.year}, month{static_cast<unsigned>(now.month)},
                               day{static_cast<unsigned>(now.day)}};
    const sys_days next = year_month_day{today.year() / today.month() / 1} + months{1};
    const auto left =
        duration_cast<milliseconds>(next - sys_days{today}).count() - now.MillisecondOfDay();
    return std::max<std::int64_t>(left, 1);
}

void Meter::Start() {
    // The first look at the links: a connection already running is counted from now.
    AccountLinks(Snapshot(), nullptr);
    perMegabyte_ = IniFile(ConfigFile()).ReadInteger(config::Count::Edn, 0) != 0;
    monthKey_ = CurrentMonthKey();
    CreateMonthFileIfMissing();
    if (ports_.statsWatch != nullptr) ports_.statsWatch->Watch(StatsFile().parent_path());
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
    RecreateRemovedMonthFile();
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
