#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/locale_format.h"
#include "base/program_flags.h"
#include "meter/clock.h"
#include "meter/counter_delta.h"
#include "meter/folder_watch.h"
#include "meter/interface_table.h"
#include "meter/local_address.h"
#include "meter/meter_view.h"
#include "meter/month_stats_file.h"
#include "rates/rate_table.h"

namespace kestrova {

// What the meter is given by the platform and the program; the references are not owned and
// outlive the meter.
struct MeterPorts {
    std::filesystem::path programDir;  // Config.ini, stats/, logfile.log live here
    std::function<bool()> online;      // InetCheck() == 1; required
    InterfaceTable& interfaces;
    AddressLookup& address;
    const Clock& clock;
    const RateTable& rates;     // read at every tick
    const ProgramFlags& flags;  // the money unit Edenitsa, shown after prices
    LocaleFormat locale;
    // Makes a written file durable; called at session end, month change and close only.
    std::function<void(const std::filesystem::path&)> syncToDisk;
    // Notices a deleted month file; without it the month check looks at the disk every time.
    FolderWatch* statsWatch = nullptr;
};

// The metering engine: the once-a-second tick with its session and month counters, the
// traffic freeze while paused, the monthly statistics file and the connection log. Plain
// logic: the window calls it and shows View().
class Meter {
public:
    explicit Meter(MeterPorts ports);

    // Start-up: the links as they stand (a connection already running is counted from now),
    // the month's file and its statistics. Run() or Pause() follows, as the stored state says.
    void Start();
    // The metering tick, once a second.
    void Tick();
    // Once a second beside the tick: keeps the traffic still while metering is paused.
    void MinusTraficTick();
    // The month change and a deleted month file. True when the month changed, and with it
    // what View() shows.
    bool MonthCheck();
    // Milliseconds from now until the next month begins, by the clock.
    std::int64_t MillisecondsToNextMonth() const;

    void Run();    // writes Status=1
    void Pause();  // writes Status=0
    bool Running() const { return running_; }

    // Sets the month's statistics to zero (after the user said yes).
    void Reset();
    // The program ends: charges the started minute and stores the month. Running it again
    // charges nothing more.
    void SaveAtClose();

    // Log size control, once a second while enabled.
    void LogSizeCheck();

    const MeterView& View() const { return view_; }
    // Problems met since the last call, each reported once until it clears up.
    std::vector<std::string> TakeMessages();

    // The state, for tests and for the window.
    double CurrentRate() const { return currentRate_; }
    std::int32_t MonthSeconds() const { return monthSeconds_; }
    std::int32_t SessionSeconds() const { return sessionSeconds_; }
    bool SessionActive() const { return sessionActive_; }
    std::uint64_t SessionIn() const { return sessionIn_; }
    std::uint64_t SessionOut() const { return sessionOut_; }
    std::uint64_t MonthIn() const { return monthIn_; }
    std::uint64_t MonthOut() const { return monthOut_; }
    double MonthCost() const;    // cost of the month in the current mode
    double SessionCost() const;  // cost of the session in the current mode
    const std::string& MonthKey() const { return monthKey_; }
    std::filesystem::path StatsFile() const;
    std::filesystem::path ConfigFile() const;

private:
    struct TickSettings {
        bool perMegabyte = false;
        int noCost = 0;
        int trafType = 0;
        bool everyMin = false;
        bool log = false;
        std::filesystem::path logFile;
        std::string interfaceName;  // the link to meter; empty: the last dial-up row
    };
    // How far the meter has taken a link's counters into account.
    struct LinkMark {
        Octets counters;
        std::uint64_t lastSeen = 0;  // the good snapshot that last held the link
    };
    TickSettings ReadTickSettings();
    void SelectRate();
    InterfaceSnapshot Snapshot();
    Octets AccountLinks(const InterfaceSnapshot& rows, const InterfaceRow* counted);
    void SetRunning(bool running);
    void CountOnline(const TickSettings& s, const InterfaceSnapshot& rows);
    void EndSession(const TickSettings& s);
    void BeginSession();
    void AccrueMinute(const TickSettings& s);
    void AccrueTraffic(const TickSettings& s, const Octets& bytes);
    const InterfaceRow* DialupRow(const InterfaceSnapshot& rows, const std::string& name);
    bool StartedMinuteDue(int noCost) const;
    void ChargeStartedMinute();
    void SwitchMode(const TickSettings& s);
    void UpdateMonthCost();
    MonthFigures Figures() const;
    void WriteMonth(const MonthFigures& figures);
    void LoadMonth();
    void CreateMonthFileIfMissing();
    void RecreateRemovedMonthFile();
    void WriteLog(const TickSettings& s, const std::vector<std::string>& lines);
    void RefreshView();
    void Report(const std::string& key, const std::string& message);
    void Clear(const std::string& key);
    void Sync(const std::filesystem::path& file);
    std::string CurrentMonthKey() const;

    MeterPorts ports_;
    // Metering state.
    double currentRate_ = 1.0;
    std::int32_t monthSeconds_ = 0;
    std::int32_t sessionSeconds_ = 0;
    bool sessionActive_ = false;
    bool connectionSeen_ = false;
    bool running_ = false;
    int pppRowIndex_ = 0;
    // Every link read during this run, by kernel interface index: the counters up to which
    // its bytes were counted or passed over. Each good snapshot moves every link's mark, so a
    // byte is counted once at most, and only when it passed while its link was metered.
    std::unordered_map<int, LinkMark> links_;
    std::uint64_t goodSnapshots_ = 0;  // 0: the meter has not seen the table yet
    std::uint64_t sessionIn_ = 0, sessionOut_ = 0;
    std::uint64_t monthIn_ = 0, monthOut_ = 0;  // the month without the session's bytes
    std::string monthKey_;
    // Money at full precision. The month's cost in the current mode is costBeforeSession_
    // plus the mode's session cost; the other mode's month field keeps what it last showed.
    double costBeforeSession_ = 0;
    double costMoney_ = 0, sesionCost_ = 0, traficCost_ = 0, traficCostSeans_ = 0;
    // The session's seconds its charged minutes cover: a minute is never charged twice.
    std::int32_t paidThrough_ = 0;
    bool perMegabyte_ = false;
    std::string dialupName_;
    MeterView view_;
    std::vector<std::string> messages_;
    std::vector<std::string> reported_;
};

}  // namespace kestrova
