// The settings files are read and written at every metering tick, through the cache that keeps
// their bytes while nothing changes them: these figures show what that costs. A tick reads about
// six keys of Config.ini and writes one key of the month's statistics file in place.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "base/ini_file.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kConfig =
    "[General]\r\nStatus=1\r\nTrayIcon=1\r\nMinimize=0\r\nTabSave=1\r\nTab=2\r\n"
    "Table=/home/user/Kestrova/Home.kvtl\r\nCostFormat=0\r\nTrafType=0\r\nTypeHint=1\r\n"
    "Log=1\r\nLogFile=/home/user/Kestrova/logfile.log\r\nLogSizeEnabled=1\r\nLogSize=100\r\n"
    "EveryMin=0\r\nRunMinimize=0\r\nMinAuto=28\r\n\r\n"
    "[Count]\r\nEdn=0\r\nNoCost=0\r\n\r\n"
    "[StatWin]\r\nStatWin=1\r\nColor=0\r\ntransporant=220\r\nFormVersion=0\r\nFlags=0\r\n"
    "ShowCmd=1\r\nPixelsPerInch=96\r\nMinMaxPos=-1,-1,-1,-1\r\nNormPos=700,10,900,90\r\n\r\n"
    "[StatWinFont]\r\nName=Liberation Sans\r\nSize=8\r\nColor=65280\r\nCharset=204\r\n"
    "Style=0\r\n";

// A folder of its own for one benchmark, removed afterwards.
class BenchFolder {
public:
    BenchFolder()
        : path_(fs::temp_directory_path() /
                ("kestrova-bench-" +
                 std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))) {
        fs::create_directories(path_);
    }
    ~BenchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    fs::path File(const char* name, const char* bytes) const {
        const fs::path file = path_ / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

private:
    fs::path path_;
};

// The last key of a 40-line file: the whole file is read and scanned.
void BM_ReadInteger(benchmark::State& state) {
    BenchFolder folder;
    const kestrova::IniFile config(folder.File("Config.ini", kConfig));
    for (auto _ : state) benchmark::DoNotOptimize(config.ReadInteger("StatWinFont", "Style", 0));
}
BENCHMARK(BM_ReadInteger);

// The tick's write: a new second count into the month's small statistics file.
void BM_WriteInteger(benchmark::State& state) {
    BenchFolder folder;
    kestrova::IniFile stats(folder.File("6-2024.ini", "[Count]\r\nSecond=0\r\nCost=12,5\r\n"));
    std::int64_t second = 0;
    for (auto _ : state) stats.WriteInteger("Count", "Second", ++second);
}
BENCHMARK(BM_WriteInteger);

// One tick's worth of settings work.
void BM_Tick(benchmark::State& state) {
    BenchFolder folder;
    const kestrova::IniFile config(folder.File("Config.ini", kConfig));
    kestrova::IniFile stats(folder.File("6-2024.ini", "[Count]\r\nSecond=0\r\nCost=12,5\r\n"));
    std::int64_t second = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(config.ReadInteger("Count", "Edn", 0));
        benchmark::DoNotOptimize(config.ReadInteger("General", "TrafType", 0));
        benchmark::DoNotOptimize(config.ReadFlag("General", "EveryMin", "0"));
        benchmark::DoNotOptimize(config.ReadString("Count", "NoCost", "0"));
        benchmark::DoNotOptimize(config.ReadInteger("StatWin", "Color", 0));
        benchmark::DoNotOptimize(config.ReadString("StatWinFont", "Name", ""));
        stats.WriteInteger("Count", "Second", ++second);
    }
}
BENCHMARK(BM_Tick);

}  // namespace
