// One whole metering tick as the running program makes it: the real Linux layer, a Config.ini
// as a user's (every key the options dialog and the floating window write), the month's
// statistics file holding a month's figures, and the connection log on, all in the program's
// layout in a folder of their own. Online on a dial-up link with traffic when run where there
// is one (the side-by-side run starts these benchmarks in its network namespace); otherwise
// online or offline as this machine is.
//
// Back to back, a tick finds everything in the processor's caches; the running program ticks
// once a second, after other programs have run. The AfterIdle benchmarks leave 100 ms between
// ticks to show that cost.

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "meter/meter.h"
#include "meter/month_stats_file.h"
#include "platform/linux_platform.h"
#include "zevlink/inet_check.h"

namespace {

using namespace kestrova;
namespace fs = std::filesystem;

// Config.ini as a user's, log file and pricing given by the caller.
std::string UserConfig(const fs::path& log, bool perMegabyte) {
    return "[General]\r\nStatus=1\r\nTrayIcon=1\r\nMinimize=1\r\nTabSave=1\r\nTab=0\r\n"
           "Table=" +
           (log.parent_path() / "Home.kvtl").string() +
           "\r\nCostFormat=0\r\nTrafType=2\r\nTypeHint=1\r\nLog=1\r\nLogFile=" + log.string() +
           "\r\nLogSizeEnabled=1\r\nLogSize=100\r\nEveryMin=1\r\nRunMinimize=0\r\nMinAuto=28\r\n"
           "\r\n[Count]\r\nEdn=" +
           std::string(perMegabyte ? "1" : "0") +
           "\r\nNoCost=0\r\n\r\n"
           "[StatWin]\r\nStatWin=0\r\nColor=0\r\ntransporant=220\r\nFormVersion=0\r\nFlags=0\r\n"
           "ShowCmd=1\r\nPixelsPerInch=96\r\nMinMaxPos=-1,-1,-1,-1\r\nNormPos=700,10,900,90\r\n"
           "\r\n[StatWinFont]\r\nName=Liberation Sans\r\nSize=8\r\nColor=65280\r\nCharset=204\r\n"
           "Style=0\r\n";
}

std::string MonthKeyNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::to_string(local.tm_mon + 1) + "-" + std::to_string(local.tm_year + 1900);
}

// The program's folder: Config.ini, stats/ with this month's file, the log.
class ProgramFolder {
public:
    explicit ProgramFolder(bool perMegabyte) {
        std::random_device seed;
        path_ = fs::temp_directory_path() / ("kestrova-bench-" + std::to_string(seed()));
        fs::create_directories(path_ / "stats");
        std::ofstream(path_ / "Config.ini", std::ios::binary)
            << UserConfig(path_ / "logfile.log", perMegabyte);
        std::ofstream(MonthStatsFile::PathFor(path_, MonthKeyNow()), std::ios::binary)
            << "[Count]\r\nSecond=123456\r\nCost=1234,5\r\nTotalTraficIn=987654321\r\n"
               "TotalTraficOut=123456789\r\n";
    }
    ~ProgramFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

void RunTicks(benchmark::State& state, bool perMegabyte, bool afterIdle) {
    const ProgramFolder folder(perMegabyte);
    RateTable rates;
    rates.Append("8:00", "20:00", "2", "Будние дни");
    rates.Append("20:00", "8:00", "1", "Все дни");
    rates.Append("0:00", "23:59", "0,5", "Выходные дни");

    LinuxPlatform platform;
    Meter meter(platform.Ports(folder.Path(), rates, LocaleFormat{}));
    meter.Start();
    meter.Run();
    meter.Tick();  // the session's first tick writes the log's start line
    for (auto _ : state) {
        if (afterIdle) {
            state.PauseTiming();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            state.ResumeTiming();
        }
        meter.Tick();
        benchmark::DoNotOptimize(meter.View().statText.data());
    }
    state.counters["online"] = InetCheck() ? 1 : 0;
    state.counters["sessionBytes"] = static_cast<double>(meter.SessionIn() + meter.SessionOut());
}

void BM_TickPerMinute(benchmark::State& state) {
    RunTicks(state, false, false);
}
void BM_TickPerMegabyte(benchmark::State& state) {
    RunTicks(state, true, false);
}
void BM_TickPerMinuteAfterIdle(benchmark::State& state) {
    RunTicks(state, false, true);
}

BENCHMARK(BM_TickPerMinute)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickPerMegabyte)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickPerMinuteAfterIdle)->Unit(benchmark::kMicrosecond)->Iterations(50);

}  // namespace
