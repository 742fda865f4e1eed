#include "meter/meter.h"

#include <algorithm>

#include "meter/connection_log.h"
#include "meter/number_format.h"
#include "meter/value_format.h"
#include "rates/rate_selection.h"
#include "settings/ini_file.h"

// The once-a-second tick: sessions, traffic and cost. The month's file, the start and the
// close are in meter_month.cpp; what the window shows is built in meter_view.cpp.

namespace kestrova {

Meter::Meter(MeterPorts ports) : ports_(std::move(ports)) {}

std::filesystem::path Meter::ConfigFile() const {
    return ports_.programDir / "Config.ini";
}

std::filesystem::path Meter::StatsFile() const {
    return MonthStatsFile::PathFor(ports_.programDir, monthKey_);
}

Meter::TickSettings Meter::ReadTickSettings() {
    const IniFile config(ConfigFile());
    TickSettings s;
    s.perMegabyte = config.ReadInteger("Count", "Edn", 0) != 0;
    const std::string noCost = config.ReadString("Count", "NoCost", "0");
    if (const auto seconds = ParseDecimal(noCost)) {
        s.noCost = static_cast<int>(std::clamp(*seconds, -1e9, 1e9));
        Clear("NoCost");
    } else {
        Report("NoCost", "Значение NoCost в файле " + ConfigFile().string() +
                             " не является числом: \"" + noCost + "\". Используется 0.");
    }
    s.trafType = config.ReadInteger("General", "TrafType", 0);
    s.everyMin = config.ReadFlag("General", "EveryMin", "0");
    s.log = config.ReadInteger("General", "Log", 0) == 1;
    s.logFile =
        config.ReadString("General", "LogFile", (ports_.programDir / "logfile.log").string());
    s.interfaceName = config.ReadString("General", "Interface", "");
    return s;
}

void Meter::SelectRate() {
    if (ports_.rates == nullptr || ports_.clock == nullptr) return;
    const LocalDateTime now = ports_.clock->Now();
    const RateChoice choice =
        kestrova::SelectRate(ports_.rates->Rows(), now.weekday, now.MillisecondOfDay());
    if (choice.price) currentRate_ = *choice.price;
    if (choice.badRow) {
        const RateRow& row = ports_.rates->Row(*choice.badRow);
        Report("rate", "Расценка № " + row.number + " (" + row.start + " - " + row.end + ", " +
                           row.price + ") не может быть прочитана и пропускается.");
    } else {
        Clear("rate");
    }
}

void Meter::Tick() {
    const TickSettings s = ReadTickSettings();
    if (ports_.address != nullptr) view_.ip = ports_.address->LocalAddress(dialupName_);
    if (s.perMegabyte != perMegabyte_) SwitchMode(s);
    SelectRate();
    const InterfaceSnapshot rows = Snapshot();

    if (ports_.online && ports_.online()) {
        view_.trayAnimating = true;
        if (!connectionSeen_ && s.log && ports_.clock != nullptr) {
            const LocalDateTime now = ports_.clock->Now();
            WriteLog(s, SessionStartLines(FormatShortDate(ports_.locale, now),
                                          FormatLongTime(ports_.locale, now)));
        }
        connectionSeen_ = true;
        if (running_)
            CountOnline(s, rows);
        else
            AccountLinks(rows, nullptr);
    } else {
        AccountLinks(rows, nullptr);  // what passes offline is never counted
        if (connectionSeen_ && s.log && ports_.clock != nullptr) {
            RefreshView();  // the end line carries the fields as they stand
            const LocalDateTime now = ports_.clock->Now();
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

InterfaceSnapshot Meter::Snapshot() {
    if (ports_.interfaces == nullptr) return {};
    return ports_.interfaces->Snapshot();
}

// Every link of a snapshot is taken into account up to its counters now; only `counted`, the
// metered link, has its bytes since the last look counted, which this returns. An empty
// snapshot is a failed one: it moves nothing, and the next good one goes on from here.
Octets Meter::AccountLinks(const InterfaceSnapshot& rows, const InterfaceRow* counted) {
    if (rows.empty()) return {};
    // At the first look every link was there before: a link is counted from the moment it is
    // metered, or, when it came up since a look, from its creation.
    const bool lookedBefore = goodSnapshots_ > 0;
    ++goodSnapshots_;
    Octets bytes;
    for (const InterfaceRow& row : rows) {
        const Octets now{row.inOctets, row.outOctets};
        LinkMark& mark = links_[row.index];
        const bool known = mark.lastSeen != 0;
        if (counted != nullptr && row.index == counted->index && lookedBefore)
            bytes = CountedBytes(known ? std::optional<Octets>(mark.counters) : std::nullopt, now);
        mark = {now, goodSnapshots_};
    }
    // A removed link does not come back: its index is not given again soon. A while is left
    // for a snapshot that missed a link.
    constexpr std::uint64_t kForgetAfter = 600;
    std::erase_if(links_, [&](const auto& link) {
        return goodSnapshots_ - link.second.lastSeen > kForgetAfter;
    });
    return bytes;
}

const InterfaceRow* Meter::DialupRow(const InterfaceSnapshot& rows, const std::string& name) {
    const InterfaceRow* row = nullptr;
    if (!name.empty()) {
        // The link the user named is metered, whatever its kind.
        const auto named =
            std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.name == name; });
        if (named != rows.end()) row = &*named;
    } else {
        pppRowIndex_ = ChoosePppRow(rows, pppRowIndex_);
        // A row chosen from an earlier, longer table is not read; nor is a row that is not a
        // dial-up link (the loopback, a network card): its bytes are not the connection's.
        if (pppRowIndex_ >= 0 && static_cast<std::size_t>(pppRowIndex_) < rows.size() &&
            rows[static_cast<std::size_t>(pppRowIndex_)].type == kIfTypePpp)
            row = &rows[static_cast<std::size_t>(pppRowIndex_)];
    }
    if (row != nullptr) dialupName_ = row->name;
    return row;
}

void Meter::CountOnline(const TickSettings& s, const InterfaceSnapshot& rows) {
    const InterfaceRow* row = DialupRow(rows, s.interfaceName);
    if (!sessionActive_) BeginSession();
    sessionActive_ = true;
    const Octets bytes = AccountLinks(rows, row);
    sessionIn_ += bytes.in;
    sessionOut_ += bytes.out;
    view_.inTraf = FormatSize(sessionIn_, ports_.locale.decimalSeparator);
    view_.outTraf = FormatSize(sessionOut_, ports_.locale.decimalSeparator);
    if (row != nullptr)
        view_.conSpeed = FormatSize(row->speed, ports_.locale.decimalSeparator) + "/c";
    ++monthSeconds_;
    ++sessionSeconds_;
    if (s.perMegabyte)
        AccrueTraffic(s, bytes);
    else
        AccrueMinute(s);
    // One write holds the whole month with this second, so a kill loses no more than it.
    WriteMonth(Figures());
}

// A new session starts from zero; the last session's bytes and cost join the month.
void Meter::BeginSession() {
    monthIn_ += sessionIn_;
    monthOut_ += sessionOut_;
    sessionIn_ = sessionOut_ = 0;
    costBeforeSession_ += SessionCost();
    sesionCost_ = traficCostSeans_ = 0;
    sessionSeconds_ = 0;
    paidThrough_ = 0;
}

void Meter::AccrueMinute(const TickSettings& s) {
    if (s.noCost < sessionSeconds_ && sessionSeconds_ % 60 == 0 && sessionSeconds_ > paidThrough_) {
        sesionCost_ += currentRate_;
        paidThrough_ = sessionSeconds_;
        UpdateMonthCost();
    }
}

// The bytes of this second at the rate in force: a change of TrafType prices what follows
// the new way, and what was charged stays.
void Meter::AccrueTraffic(const TickSettings& s, const Octets& bytes) {
    std::uint64_t priced = 0;
    if (s.trafType == 0) priced = bytes.in;
    if (s.trafType == 1) priced = bytes.out;
    if (s.trafType == 2) priced = bytes.in + bytes.out;
    traficCostSeans_ += static_cast<double>(priced) / (1024.0 * 1024.0) * currentRate_;
    UpdateMonthCost();
}

// The pricing changed between minutes and megabytes: what the session cost so far joins the
// month, and the new way of pricing starts from there, counting only what follows.
void Meter::SwitchMode(const TickSettings& s) {
    costBeforeSession_ += SessionCost();
    perMegabyte_ = s.perMegabyte;
    (perMegabyte_ ? traficCostSeans_ : sesionCost_) = 0;
    UpdateMonthCost();
    if (sessionActive_) WriteMonth(Figures());
}

void Meter::UpdateMonthCost() {
    (perMegabyte_ ? traficCost_ : costMoney_) = costBeforeSession_ + SessionCost();
}

bool Meter::StartedMinuteDue(int noCost) const {
    // A connection shorter than the free threshold stays free.
    return sessionActive_ && sessionSeconds_ % 60 != 0 && sessionSeconds_ > noCost &&
           sessionSeconds_ > paidThrough_;
}

void Meter::ChargeStartedMinute() {
    sesionCost_ += currentRate_;
    paidThrough_ = (sessionSeconds_ / 60 + 1) * 60;
    UpdateMonthCost();
}

void Meter::EndSession(const TickSettings& s) {
    // The started minute, even at a whole minute, unless it was charged already.
    if (!s.perMegabyte && s.everyMin && sessionSeconds_ > s.noCost &&
        sessionSeconds_ >= paidThrough_)
        ChargeStartedMinute();
    // The month keeps this session even if the program never closes normally.
    WriteMonth(Figures());
    Sync(StatsFile());
}

void Meter::MinusTraficTick() {
    if (running_ || !ports_.online || !ports_.online()) return;
    // What passes during a pause is never counted.
    AccountLinks(Snapshot(), nullptr);
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
        IniFile(ConfigFile()).WriteInteger("General", "Status", running ? 1 : 0);
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
    const int limit = std::max(1, config.ReadInteger("General", "LogSize", 1));
    const std::filesystem::path log =
        config.ReadString("General", "LogFile", (ports_.programDir / "logfile.log").string());
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
