// One whole metering tick with the real Linux layer and real files in a temporary folder.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "base/ini_file.h"
#include "meter/meter.h"
#include "platform/linux_platform.h"
#include "zevlink/inet_check.h"

namespace {

using namespace kestrova;

void RunTicks(benchmark::State& state, bool perMegabyte) {
    std::random_device seed;
    const auto folder =
        std::filesystem::temp_directory_path() / ("kestrova-bench-" + std::to_string(seed()));
    std::filesystem::create_directories(folder / "stats");
    {
        IniFile config(folder / "Config.ini");
        config.WriteInteger("Count", "Edn", perMegabyte ? 1 : 0);
        config.WriteString("Count", "NoCost", "0");
        config.WriteString("General", "EveryMin", "1");
        config.WriteInteger("General", "Log", 1);
        config.WriteInteger("General", "TrafType", 2);
        for (const char* key : {"TrayIcon", "Minimize", "TabSave", "CostFormat", "TypeHint"})
            config.WriteInteger("General", key, 0);
    }
    RateTable rates;
    rates.Append("8:00", "20:00", "2", "Будние дни");
    rates.Append("20:00", "8:00", "1", "Все дни");
    rates.Append("0:00", "23:59", "0,5", "Выходные дни");

    LinuxPlatform platform;
    const ProgramFlags flags;
    Meter meter(MeterPorts{
        .programDir = folder,
        .online = &LinuxPlatform::Online,
        .interfaces = platform.interfaces,
        .address = platform.address,
        .clock = platform.clock,
        .rates = rates,
        .flags = flags,
        .locale = LocaleFormat{},
        .syncToDisk = [&platform](const std::filesystem::path& file) { platform.SyncToDisk(file); },
    });
    meter.Start();
    meter.Run();
    for (auto _ : state) {
        meter.Tick();
        benchmark::DoNotOptimize(meter.View().statText.data());
    }
    state.counters["online"] = InetCheck() ? 1 : 0;
    std::filesystem::remove_all(folder);
}

void BM_TickPerMinute(benchmark::State& state) {
    RunTicks(state, false);
}
void BM_TickPerMegabyte(benchmark::State& state) {
    RunTicks(state, true);
}

BENCHMARK(BM_TickPerMinute)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickPerMegabyte)->Unit(benchmark::kMicrosecond);

}  // namespace
