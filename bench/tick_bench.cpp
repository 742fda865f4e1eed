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
#include <thread>

#include "base/ini_file.h"
#include "meter/meter.h"
#include "platform/linux_platform.h"
#include "program_folder.h"
#include "zevlink/inet_check.h"

namespace {

using namespace kestrova;
using kestrova::bench::ProgramFolder;

void RunTicks(benchmark::State& state, bool perMegabyte, bool afterIdle) {
    const ProgramFolder folder(perMegabyte);
    const RateTable rates = kestrova::bench::UserRates();
    LinuxPlatform platform;
    const ProgramFlags flags;
    Meter meter(MeterPortsOn(platform, folder.Path(), rates, flags, LocaleFormat{}));
    meter.Start();
    meter.Run();
    // The window's tick: the month as the clock has it, the meter's second, and the log size
    // control, which the user's settings turn on.
    const auto tick = [&meter] {
        meter.MonthCheck();
        meter.Tick();
        meter.LogSizeCheck();
    };
    tick();  // the session's first tick writes the log's start line
    for (auto _ : state) {
        if (afterIdle) {
            state.PauseTiming();
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            state.ResumeTiming();
        }
        tick();
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
