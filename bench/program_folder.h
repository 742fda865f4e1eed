#pragma once

// The running program's folder for a benchmark: Config.ini as a user's (every key the options
// dialog and the floating window write, the log on), this month's statistics file holding a
// month's figures, and the log, in a temporary folder removed afterwards.

#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#include "meter/month_stats_file.h"
#include "rates/rate_table.h"

namespace kestrova::bench {

namespace fs = std::filesystem;

// Config.ini as a user's, log file and pricing given by the caller.
inline std::string UserConfig(const fs::path& log, bool perMegabyte) {
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

inline std::string MonthKeyNow() {
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

// A user's rate table: weekdays by day and by night, and weekends.
inline RateTable UserRates() {
    RateTable rates;
    rates.Append("8:00", "20:00", "2", "Будние дни");
    rates.Append("20:00", "8:00", "1", "Все дни");
    rates.Append("0:00", "23:59", "0,5", "Выходные дни");
    return rates;
}

}  // namespace kestrova::bench
