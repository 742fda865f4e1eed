#include "meter/meter.h"

#include <algorithm>

#include "base/config_keys.h"
#include "base/ini_file.h"
#include "base/number_format.h"
#include "meter/connection_log.h"
#include "meter/month_stats_file.h"
#include "meter/rate_selection.h"
#include "meter/value_format.h"

// The once-a-second tick: sessions, traffic and cost. The month's file, the start and the
// close are in meter_month.cpp; what the window shows is built in meter_view.cpp.

namespace kestrova {

Meter::Meter(MeterPorts ports) : ports_(std::move(ports)) {}

std::filesystem::path Meter::ConfigFile() const {
    return config::FileIn(ports_.programDir);
}

std::filesystem::path Meter::StatsFile() const {
    return MonthStatsFile::PathFor(ports_.programDir, monthKey_);
}

Meter::TickSettings Meter::ReadTickSettings() {
    const IniFile config(ConfigFile());
    TickSettings s;
    s.perMegabyte = config.ReadInteger(config::Count::Edn, 0) != 0;
    const std::string noCost = config.ReadString(config::Count::NoCost, "0");
    if (const auto seconds = ParseDecimal(noCost)) {
        s.noCost = static_cast<int>(std::clamp(*seconds, -1e9, 1e9));
        Clear("NoCost");
    } else {
        Report("NoCost", "Значение NoCost в файле " + ConfigFile().string() +
                             " не является числом: \"" + noCost + "\". Используется 0.");
    }
    s.trafType = config.ReadInteger(config::General::TrafType, 0);
    s.everyMin = config.ReadFlag(config::General::EveryMin, "0");
    s.log = config.ReadInteger(config::General::Log, 0) == 1;
    s.logFile = config.ReadString(config::General::LogFile,
                                  config::DefaultLogFile(ports_.programDir).string());
    return s;
}

void Meter::SelectRate() {
    const LocalDateTime now = ports_.clock.Now();
    const RateChoice choice =
        kestrova::SelectRate(ports_.rates.Rows(), now.weekday, now.MillisecondOfDay());
    if (choice.price) currentRate_ = *choice.price;
    if (choice.badRow) {
        const RateRow& row = ports_.rates.Row(*choice.badRow);
        Report("rate", "Расценка № " + row.number + " (" + row.start + " - " + row.end + ", " +
                           row.price + ") не может быть прочитана и пропускается.");
    } else {
        Clear("rate");
    }
}

void Meter::Tick() {
    const TickSettings s = ReadTickSettings();
    view_.ip = ports_.address.LocalAddress(dialupName_);
    if (s.perMegabyte != perMegabyte_) SwitchMode(s);
    SelectRate();

    if (ports_.online()) {
        view_.trayAnimating = true;
        if (!connectionSeen_ && s.log) {
            const LocalDateTime now = ports_.clock.Now();
            WriteLog(s, SessionStartLines(FormatShortDate(ports_.locale, now),
                                          FormatLongTime(ports_.locale, now)));
        }
        connectionSeen_ = true;
        if (running_) CountOnline(s);
    } else {
        ObserveLink();
        if (connectionSeen_ && s.log) {
            RefreshView();  // the end line carries the fields as they stand
            const LocalDateTime now = ports_.clock.Now();
            WriteLog(s, SessionEndLines(FormatShortDate(ports_.locale, now),
                                        FormatLongTime(ports_.locale, now), view_.sesionTime,
                                        perMegabyte_ ? view_.traficCostSeans : view_.sesionCost,
                                        view_.inTraf, view_.outTraf));
            Sync(s.logFile);
        }
        connectionSeen_ = false;
        if (sessionActive_) EndSession(s);
        sessionActive_ = false;
        view_.trayAnimating = false;
    }
    RefreshView();
}

const InterfaceRow* Meter::DialupRow(const InterfaceSnapshot& rows) {
    pppRowIndex_ = ChoosePppRow(rows, pppRowIndex_);
    // A row chosen from an earlier, longer table is not read; nor is a row that is not a
    // dial-up link (the loopback, a network card): its bytes are not the connection's.
    if (pppRowIndex_ < 0 || static_cast<std::size_t>(pppRowIndex_) >= rows.size()) return nullptr;
    const InterfaceRow* row = &rows[static_cast<std::size_t>(pppRowIndex_)];
    if (row->type != kIfTypePpp) return nullptr;
    dialupName_ = row->name;
    lastSeen_ = *row;
    return row;
}

void Meter::CountOnline(const TickSettings& s) {
    const InterfaceSnapshot rows = ports_.interfaces.Snapshot();
    const std::optional<InterfaceRow> previousSeen = lastSeen_;
    const InterfaceRow* row = DialupRow(rows);
    if (!sessionActive_) BeginSession(row, previousSeen);
    sessionActive_ = true;
    if (row != nullptr) {
        CountTraffic(*row);
        view_.inTraf = FormatSize(sessionIn_, ports_.locale.decimalSeparator);
        view_.outTraf = FormatSize(sessionOut_, ports_.locale.decimalSeparator);
        view_.conSpeed = FormatSize(row->speed, ports_.locale.decimalSeparator) + "/c";
    }
    ++monthSeconds_;
    ++sessionSeconds_;
    WriteSeconds();
    if (s.perMegabyte)
        AccrueTraffic(s);
    else
        AccrueMinute(s);
}

// A new session starts from zero: the last session's bytes join the month, and the counters
// of this connection are counted from now (the same interface) or from its creation (a link
// that came up since).
void Meter::BeginSession(const InterfaceRow* row, const std::optional<InterfaceRow>& previousSeen) {
    monthIn_ += sessionIn_;
    monthOut_ += sessionOut_;
    sessionIn_ = sessionOut_ = 0;
    sessionSeconds_ = 0;
    sesionCost_ = 0;
    traficCostSeans_ = 0;
    lastCountedKB_ = 0;
    if (row != nullptr) {
        const bool sameLink = baseInterface_ && *baseInterface_ == row->index;
        if (!(sameLink && baseFresh_)) {
            // The same link counts from the previous tick's counters; a new one from zero.
            const bool seen = previousSeen && previousSeen->index == row->index &&
                              previousSeen->inOctets <= row->inOctets &&
                              previousSeen->outOctets <= row->outOctets;
            baseInOctets_ = seen ? static_cast<std::int64_t>(previousSeen->inOctets) : 0;
            baseOutOctets_ = seen ? static_cast<std::int64_t>(previousSeen->outOctets) : 0;
        }
        baseInterface_ = row->index;
    }
    baseFresh_ = false;
}

void Meter::CountTraffic(const InterfaceRow& row) {
    const auto in = static_cast<std::int64_t>(row.inOctets);
    const auto out = static_cast<std::int64_t>(row.outOctets);
    if (!baseInterface_ || *baseInterface_ != row.index) {
        // Another link carries the connection now: count it from its creation.
        baseInterface_ = row.index;
        baseInOctets_ = -static_cast<std::int64_t>(sessionIn_);
        baseOutOctets_ = -static_cast<std::int64_t>(sessionOut_);
    }
    // A counter below what was already counted was reset: go on from its new value.
    if (in - baseInOctets_ < static_cast<std::int64_t>(sessionIn_))
        baseInOctets_ = -static_cast<std::int64_t>(sessionIn_);
    if (out - baseOutOctets_ < static_cast<std::int64_t>(sessionOut_))
        baseOutOctets_ = -static_cast<std::int64_t>(sessionOut_);
    sessionIn_ = static_cast<std::uint64_t>(in - baseInOctets_);
    sessionOut_ = static_cast<std::uint64_t>(out - baseOutOctets_);
}

void Meter::AccrueMinute(const TickSettings& s) {
    if (s.noCost < sessionSeconds_ && sessionSeconds_ % 60 == 0) {
        sesionCost_ += currentRate_;
        costMoney_ = StoredCost() + sesionCost_;
    }
}

void Meter::AccrueTraffic(const TickSettings& s) {
    const double kb = CountedKB(s.trafType);
    traficCostSeans_ += (kb - lastCountedKB_) * currentRate_ / 1024.0;
    traficCost_ = StoredCost() + traficCostSeans_;
    lastCountedKB_ = kb;
}

// The pricing changed between minutes and megabytes: what the session cost so far is stored
// with the month, and the new way of pricing starts from there, counting only what follows.
void Meter::SwitchMode(const TickSettings& s) {
    if (sessionActive_) StoreMonth(perMegabyte_ ? traficCost_ : costMoney_);
    perMegabyte_ = s.perMegabyte;
    const double stored = StoredCost();
    if (perMegabyte_) {
        traficCostSeans_ = 0;
        lastCountedKB_ = CountedKB(s.trafType);
        traficCost_ = stored;
    } else {
        sesionCost_ = 0;
        costMoney_ = stored;
    }
}

double Meter::CountedKB(int trafType) const {
    switch (trafType) {
        case 0:
            return static_cast<double>(sessionIn_) / 1024.0;
        case 1:
            return static_cast<double>(sessionOut_) / 1024.0;
        case 2:
            return static_cast<double>(sessionIn_ + sessionOut_) / 1024.0;
        default:
            return 0;
    }
}

bool Meter::StartedMinuteDue(int noCost) const {
    // A connection shorter than the free threshold stays free.
    return sessionActive_ && sessionSeconds_ % 60 != 0 && sessionSeconds_ > noCost;
}

void Meter::EndSession(const TickSettings& s) {
    if (!s.perMegabyte && s.everyMin && sessionSeconds_ > s.noCost) {
        sesionCost_ += currentRate_;
        costMoney_ = StoredCost() + sesionCost_;
    }
    // The month keeps this session even if the program never closes normally.
    StoreMonth(s.perMegabyte ? traficCost_ : costMoney_);
    Sync(StatsFile());
}

// Offline ticks keep an eye on the link, so a session that starts on it later counts from the
// counters of the tick before.
void Meter::ObserveLink() {
    const InterfaceSnapshot rows = ports_.interfaces.Snapshot();
    if (DialupRow(rows) == nullptr) lastSeen_.reset();
}

void Meter::MinusTraficTick() {
    if (running_ || !ports_.online()) return;
    const InterfaceSnapshot rows = ports_.interfaces.Snapshot();
    const InterfaceRow* row = DialupRow(rows);
    if (row == nullptr) return;
    // Move the baselines with the counters, so what passes during a pause is never counted.
    baseInterface_ = row->index;
    baseInOctets_ =
        static_cast<std::int64_t>(row->inOctets) - static_cast<std::int64_t>(sessionIn_);
    baseOutOctets_ =
        static_cast<std::int64_t>(row->outOctets) - static_cast<std::int64_t>(sessionOut_);
}

void Meter::Run() {
    SetRunning(true);
}
void Meter::Pause() {
    SetRunning(false);
}

void Meter::SetRunning(bool running) {
    running_ = running;
    view_.running = running;
    try {
        IniFile(ConfigFile()).WriteInteger(config::General::Status, running ? 1 : 0);
        Clear("config");
    } catch (const IniWriteError& error) {
        Report("config", error.what());
    }
}

void Meter::WriteLog(const TickSettings& s, const std::vector<std::string>& lines) {
    if (AppendToLog(s.logFile, lines)) {
        Clear("log");
    } else {
        Report("log", "Не удаётся записать журнал соединений " + s.logFile.string() + ".");
    }
}

void Meter::LogSizeCheck() {
    const IniFile config(ConfigFile());
    // A limit below one kilobyte would cut the log down to its last line every second.
    const int limit = std::max(1, config.ReadInteger(config::General::LogSize, 1));
    const std::filesystem::path log = config.ReadString(
        config::General::LogFile, config::DefaultLogFile(ports_.programDir).string());
    if (ControlLogSize(log, limit)) {
        Clear("logsize");
    } else {
        Report("logsize", "Не удаётся сократить журнал соединений " + log.string() + ".");
    }
}

void Meter::Report(const std::string& key, const std::string& message) {
    if (std::find(reported_.begin(), reported_.end(), key) != reported_.end()) return;
    reported_.push_back(key);
    messages_.push_back(message);
}

void Meter::Clear(const std::string& key) {
    reported_.erase(std::remove(reported_.begin(), reported_.end(), key), reported_.end());
}

std::vector<std::string> Meter::TakeMessages() {
    std::vector<std::string> taken;
    taken.swap(messages_);
    return taken;
}

void Meter::Sync(const std::filesystem::path& file) {
    if (ports_.syncToDisk) ports_.syncToDisk(file);
}

}  // namespace kestrova
