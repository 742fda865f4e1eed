// The kill run of the end-to-end tests: this process is the far end of a dial-up link (a TUN
// device of type PPP with the default route), starts the real program, lets it meter the link
// while pings flow, kills it with SIGKILL at a random moment, checks the files it left, and
// starts it again, as often as asked; a last run ends with SIGTERM after the traffic stopped.
//
// After each kill every file must be whole: Config.ini keeps the test's settings, each month
// file and the log parse to their last line, and the *.tmp files the kill left (every fifth kill
// adds half-written copies) are gone once the next run has ticked. And the month's Second, Cost
// and traffic must lag the truth of the run by at most one second's worth, with a quarter second
// more for the timer's jitter. The truth of a run, on top of what the files held at its start:
// - time: from one second before its first counted tick (when the start-up had chosen the link
//   and the one-second timer began) to the kill;
// - traffic: what the kernel counted on the link from that tick to the kill; the pings are held
//   back until that tick, so the program's start-up baseline is exactly the counters then;
// - money: that traffic's price (per megabyte of both directions, TrafType 2).
// One second's worth of traffic is what the kernel counted in the last 1.25 s before the kill.
// The last run must hold the traffic and its price exactly.
//
// Usage: e2e_kill_driver <program folder> <kills> <seed> <longest run in ms> <rate>
// Run it inside a network namespace of the test's own, with DISPLAY set.

#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "fake_link.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Now() {
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The lines of a text file that must end with its last line's end; `problem` names a cut.
std::optional<std::vector<std::string>> WholeLines(const std::string& bytes, std::string& problem) {
    std::vector<std::string> lines;
    if (bytes.empty()) return lines;
    if (bytes.back() != '\n') {
        problem = "the last line has no end";
        return std::nullopt;
    }
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find('\n', start);
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

using Ini = std::map<std::string, std::map<std::string, std::string>>;  // lower-case names

std::optional<Ini> ParseIni(const fs::path& file, std::string& problem) {
    std::error_code error;
    if (!fs::exists(file, error)) return Ini{};
    const auto lines = WholeLines(ReadAll(file), problem);
    if (!lines) return std::nullopt;
    Ini ini;
    std::string section;
    for (const std::string& line : *lines) {
        if (line.empty()) continue;
        if (line.front() == '[' && line.back() == ']') {
            section = Lower(line.substr(1, line.size() - 2));
            ini[section];
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == 0 || equals == std::string::npos || section.empty()) {
            problem = "a line that is neither a section nor a key: \"" + line + "\"";
            return std::nullopt;
        }
        ini[section][Lower(line.substr(0, equals))] = line.substr(equals + 1);
    }
    return ini;
}

bool IsInteger(const std::string& text) {
    const std::size_t digits = text.find_first_not_of('-') == 1 ? 1 : 0;
    return text.size() > digits &&
           text.find_first_not_of("0123456789", digits) == std::string::npos;
}

// Plain decimal text with either separator.
bool IsDecimal(const std::string& text) {
    const std::size_t separator = text.find_first_of(".,");
    if (separator == std::string::npos) return IsInteger(text);
    const std::string fraction = text.substr(separator + 1);
    return IsInteger(text.substr(0, separator)) && !fraction.empty() &&
           fraction.find_first_not_of("0123456789") == std::string::npos;
}

struct Month {
    std::int64_t seconds = 0;
    double cost = 0;
    std::int64_t in = 0;
    std::int64_t out = 0;
};

// The sum of every month file (a run across a month's end has two).
std::optional<Month> ReadMonths(const fs::path& stats, std::string& problem) {
    Month sum;
    for (const auto& entry : fs::directory_iterator(stats)) {
        if (entry.path().extension() != ".ini") continue;
        const auto ini = ParseIni(entry.path(), problem);
        if (!ini) {
            problem = entry.path().filename().string() + ": " + problem;
            return std::nullopt;
        }
        const auto count = ini->find("count");
        if (count == ini->end()) continue;  // an empty file is a month without figures yet
        for (const auto& [key, value] : count->second) {
            const bool ok = key == "cost" ? IsDecimal(value) : IsInteger(value);
            if (!ok) {
                problem = entry.path().filename().string() + ": " + key + "=" + value;
                return std::nullopt;
            }
            std::string number = value;
            std::replace(number.begin(), number.end(), ',', '.');
            if (key == "second") sum.seconds += std::stoll(number);
            if (key == "cost") sum.cost += std::stod(number);
            if (key == "totaltraficin") sum.in += std::stoll(number);
            if (key == "totaltraficout") sum.out += std::stoll(number);
        }
    }
    return sum;
}

// The Windows-1251 form of a text of ASCII and Russian letters.
std::string Cp1251(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        const unsigned code = ((c & 0x1fu) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3fu);
        out += static_cast<char>(code == 0x451 ? 0xb8 : code == 0x401 ? 0xa8 : code - 0x410 + 0xc0);
    }
    return out;
}

std::vector<fs::path> TemporaryFiles(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.path().extension() == ".tmp") found.push_back(entry.path());
    return found;
}

struct Sample {
    double time;
    e2e::LinkCounters counters;
};

struct Lags {
    double seconds = 0;
    std::int64_t in = 0;
    std::int64_t out = 0;
    double cost = 0;
};

class KillRun {
public:
    KillRun(fs::path prog, unsigned seed, double longestRun, double rate)
        : prog_(std::move(prog)),
          random_(seed),
          longestRun_(longestRun),
          rate_(rate),
          link_({"ppp-e2e", "10.77.0.1", "10.77.0.2", true, true}) {
        std::string problem;
        const auto config = ParseIni(prog_ / "Config.ini", problem);
        if (!config) Fatal("the test's Config.ini: " + problem);
        config_ = *config;
        watch_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (watch_ < 0 || inotify_add_watch(watch_, (prog_ / "stats").c_str(),
                                            IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO) < 0)
            e2e::Die("inotify");
    }

    // One run ended by SIGKILL at a random moment after its first tick.
    void KilledRun(int number) {
        const Month before = Start();
        std::uniform_real_distribution<double> after(0.0, longestRun_);
        const double killAt = firstTick_ + after(random_);
        Meter(killAt, true);
        const e2e::LinkCounters end = link_.Counters();
        const double killed = Now();
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
        link_.Serve(false);
        leftovers_ = TemporaryFiles(prog_);
        if (!leftovers_.empty()) ++killsLeavingTemporary_;
        if (number % 5 == 0) PlantHalfWrittenCopies();
        Check("kill " + std::to_string(number), before, end, killed, false);
    }

    // The last run: the traffic stops, the program sees it, and SIGTERM ends it.
    void EndedRun() {
        const Month before = Start();
        Meter(firstTick_ + 3.0, true);
        Meter(Now() + 2.5, false);  // ticks after the last packet see the final counters
        const e2e::LinkCounters end = link_.Counters();
        const double ended = Now();
        kill(pid_, SIGTERM);
        const double deadline = Now() + 10;
        while (waitpid(pid_, nullptr, WNOHANG) == 0) {
            if (Now() > deadline) Fatal("the program did not end on SIGTERM");
            usleep(20000);
        }
        pid_ = -1;
        Check("SIGTERM", before, end, ended, true);
        for (const fs::path& file : TemporaryFiles(prog_))
            Fail("*.tmp", "left after the end: " + file.string());
    }

    int Summary(int kills) const {
        std::printf(
            "\n%d kills: largest lag %.3f s of time, %lld B in, %lld B out, %.6f of money\n"
            "%d kills left a *.tmp file, %d half-written copies were planted; all runs: %.1f s, "
            "%llu B in, %llu B out, %.6f in "
            "truth; the files hold %lld s, %lld B in, %lld B out, %.6f\n",
            kills, largest_.seconds, static_cast<long long>(largest_.in),
            static_cast<long long>(largest_.out), largest_.cost, killsLeavingTemporary_, planted_,
            truth_.seconds, static_cast<unsigned long long>(truth_.in),
            static_cast<unsigned long long>(truth_.out), truth_.cost,
            static_cast<long long>(last_.seconds), static_cast<long long>(last_.in),
            static_cast<long long>(last_.out), last_.cost);
        if (failures_.empty()) {
            std::printf("PASS\n");
            return 0;
        }
        std::printf("FAIL:");
        for (const auto& [kind, count] : failures_)
            std::printf(" %s %d times;", kind.c_str(), count);
        std::printf("\n");
        return 1;
    }

    void Stop() {
        if (pid_ > 0) kill(pid_, SIGKILL);
    }

private:
    struct Truth {
        double seconds = 0;
        std::uint64_t in = 0;
        std::uint64_t out = 0;
        double cost = 0;
    };

    double Price(std::uint64_t bytes) const {
        return static_cast<double>(bytes) / 1024.0 / 1024.0 * rate_;
    }

    [[noreturn]] void Fatal(const std::string& what) {
        std::printf("FAIL: %s\n", what.c_str());
        Stop();
        std::exit(1);
    }

    // A failed check of one kind (a file's wholeness, or one of the month's figures).
    void Fail(const std::string& kind, const std::string& what) {
        std::printf("  FAIL: %s\n", what.c_str());
        ++failures_[kind];
    }

    // What a kill between writing a replacement and renaming it over the file leaves: a half
    // of the new contents beside the file, named as the program names its temporaries. Kills
    // seldom land in that instant, so every fifth one stands for it.
    void PlantHalfWrittenCopies() {
        std::vector<fs::path> targets = {prog_ / "Config.ini"};
        for (const auto& entry : fs::directory_iterator(prog_ / "stats"))
            if (entry.path().extension() == ".ini") targets.push_back(entry.path());
        for (const fs::path& target : targets) {
            const std::string bytes = ReadAll(target);
            char marker[20];
            std::snprintf(marker, sizeof marker, ".%08x.tmp", static_cast<unsigned>(random_()));
            fs::path copy = target;
            copy += marker;
            std::ofstream(copy, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
            leftovers_.push_back(copy);
            ++planted_;
        }
    }

    Month CurrentMonth(std::string& problem) const {
        return ReadMonths(prog_ / "stats", problem).value_or(Month{});
    }

    // Starts the program with the traffic held back and waits for its first counted tick.
    Month Start() {
        std::string problem;
        const Month before = CurrentMonth(problem);
        pid_ = fork();
        if (pid_ < 0) e2e::Die("fork");
        if (pid_ == 0) {
            const fs::path output = prog_.parent_path() / "kestrova.out";
            std::freopen(output.c_str(), "a", stdout);
            std::freopen(output.c_str(), "a", stderr);
            const std::string program = (prog_ / "kestrova").string();
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        const double deadline = Now() + 20;
        for (;;) {
            Wait(Now() + 0.1);
            link_.Serve(false);
            std::string ignored;
            if (CurrentMonth(ignored).seconds > before.seconds) break;
            if (Now() > deadline) Fatal("no counted tick within 20 s of the start");
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) Fatal("the program ended by itself");
        }
        firstTick_ = Now();
        for (const fs::path& file : leftovers_)
            if (fs::exists(file))
                Fail("*.tmp", file.string() + " was left by the kill and is still there");
        leftovers_.clear();
        samples_.assign(1, {firstTick_, link_.Counters()});
        return before;
    }

    // Waits for the link, the month files or the deadline, whichever comes first.
    void Wait(double until) {
        pollfd fds[2] = {{link_.Fd(), POLLIN, 0}, {watch_, POLLIN, 0}};
        const double left = std::max(0.0, until - Now());
        poll(fds, 2, static_cast<int>(std::ceil(left * 1000)));
        char events[4096];
        while (read(watch_, events, sizeof events) > 0) {
        }
    }

    // Lets the program meter until `until`, with pings when `traffic`.
    void Meter(double until, bool traffic) {
        std::uniform_int_distribution<std::size_t> payload(200, 1400);
        double nextPing = Now();
        while (Now() < until) {
            if (traffic && Now() >= nextPing) {
                link_.SendPing(payload(random_));
                nextPing += 0.1;
            }
            Wait(traffic ? std::min(until, nextPing) : until);
            link_.Serve(traffic);
            samples_.push_back({Now(), link_.Counters()});
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) Fatal("the program ended by itself");
        }
    }

    // The counters as they stood at `moment` (the first sample's when that is earlier).
    e2e::LinkCounters CountersBefore(double moment) const {
        e2e::LinkCounters found = samples_.front().counters;
        for (const Sample& sample : samples_)
            if (sample.time <= moment) found = sample.counters;
        return found;
    }

    void CheckFiles(const std::string& what, int runs) {
        std::string problem;
        const auto config = ParseIni(prog_ / "Config.ini", problem);
        if (!config) {
            Fail("Config.ini", what + ": Config.ini: " + problem);
        } else {
            for (const auto& [section, keys] : config_)
                for (const auto& [key, value] : keys) {
                    const auto now = config->find(section);
                    const bool kept = now != config->end() && now->second.count(key) &&
                                      now->second.at(key) == value;
                    if (!kept) Fail("Config.ini", what + ": Config.ini lost " + key + "=" + value);
                }
        }
        const auto log = WholeLines(ReadAll(prog_ / "logfile.log"), problem);
        if (!log) {
            Fail("logfile.log", what + ": logfile.log: " + problem);
            return;
        }
        const std::string start = Cp1251("Соединение начато: ");
        const std::string known[] = {start, Cp1251("Соединение завершено: "),
                                     Cp1251("Время в сети: ")};
        int starts = 0;
        for (const std::string& line : *log) {
            if (line.rfind(start, 0) == 0) ++starts;
            const bool ok = line.empty() || std::any_of(std::begin(known), std::end(known),
                                                        [&](const std::string& prefix) {
                                                            return line.rfind(prefix, 0) == 0;
                                                        });
            if (!ok) Fail("logfile.log", what + ": logfile.log has a broken line");
        }
        if (starts != runs)
            Fail("logfile.log", what + ": logfile.log has " + std::to_string(starts) +
                                    " start lines after " + std::to_string(runs) + " runs");
    }

    void Check(const std::string& what, const Month& before, const e2e::LinkCounters& end,
               double moment, bool exact) {
        ++runs_;
        CheckFiles(what, runs_);
        std::string problem;
        const auto month = ReadMonths(prog_ / "stats", problem);
        if (!month) {
            Fail("stats", what + ": " + problem);
            return;
        }
        const e2e::LinkCounters& start = samples_.front().counters;
        const Truth truth{moment - (firstTick_ - 1.0), end.rx - start.rx, end.tx - start.tx,
                          Price(end.rx - start.rx + end.tx - start.tx)};
        const e2e::LinkCounters second = exact ? end : CountersBefore(moment - 1.25);
        const std::int64_t allowIn = static_cast<std::int64_t>(end.rx - second.rx);
        const std::int64_t allowOut = static_cast<std::int64_t>(end.tx - second.tx);
        const double allowCost = Price(end.rx - second.rx + end.tx - second.tx) + 1e-6;

        const Lags lag{truth.seconds - static_cast<double>(month->seconds - before.seconds),
                       static_cast<std::int64_t>(truth.in) - (month->in - before.in),
                       static_cast<std::int64_t>(truth.out) - (month->out - before.out),
                       truth.cost - (month->cost - before.cost)};
        std::printf(
            "%s after %.2f s: time lag %.3f s, in %lld of %llu B (lag %lld, allowed %lld), out "
            "%lld of %llu B (lag %lld, allowed %lld), money %.6f of %.6f (lag %.6f)\n",
            what.c_str(), truth.seconds, lag.seconds, static_cast<long long>(month->in - before.in),
            static_cast<unsigned long long>(truth.in), static_cast<long long>(lag.in),
            static_cast<long long>(allowIn), static_cast<long long>(month->out - before.out),
            static_cast<unsigned long long>(truth.out), static_cast<long long>(lag.out),
            static_cast<long long>(allowOut), month->cost - before.cost, truth.cost, lag.cost);
        if (lag.seconds > 1.25 || lag.seconds < -0.25) Fail("Second", what + ": Second");
        if (lag.in > allowIn || lag.in < 0) Fail("TotalTraficIn", what + ": TotalTraficIn");
        if (lag.out > allowOut || lag.out < 0) Fail("TotalTraficOut", what + ": TotalTraficOut");
        if (lag.cost > allowCost || lag.cost < -1e-6) Fail("Cost", what + ": Cost");

        largest_.seconds = std::max(largest_.seconds, lag.seconds);
        largest_.in = std::max(largest_.in, lag.in);
        largest_.out = std::max(largest_.out, lag.out);
        largest_.cost = std::max(largest_.cost, lag.cost);
        truth_.seconds += truth.seconds;
        truth_.in += truth.in;
        truth_.out += truth.out;
        truth_.cost += truth.cost;
        last_ = *month;
    }

    fs::path prog_;
    std::mt19937 random_;
    double longestRun_;
    double rate_;
    e2e::FakeLink link_;
    Ini config_;
    int watch_ = -1;
    pid_t pid_ = -1;
    double firstTick_ = 0;
    std::vector<Sample> samples_;
    std::vector<fs::path> leftovers_;
    int runs_ = 0;
    std::map<std::string, int> failures_;
    int killsLeavingTemporary_ = 0;
    int planted_ = 0;
    Lags largest_;
    Truth truth_;
    Month last_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s <program folder> <kills> <seed> <longest run ms> <rate>\n",
                     argv[0]);
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int kills = std::atoi(argv[2]);
    KillRun run(argv[1], static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)),
                std::atof(argv[4]) / 1000.0, std::atof(argv[5]));
    for (int i = 1; i <= kills; ++i) run.KilledRun(i);
    run.EndedRun();
    return run.Summary(kills);
}
