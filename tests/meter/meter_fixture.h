#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "base/ini_file.h"
#include "meter/meter.h"
#include "meter/month_stats_file.h"
#include "support/fakes.h"

namespace kestrova::testing {

// A meter in a program folder of its own, with a fake clock, link and connection state.
class MeterTest : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path root = dir.path();  // the program's folder
    FakeClock clock;
    FakeInterfaces interfaces;
    FakeAddress address;
    RateTable rates;
    ProgramFlags flags;
    bool online = false;
    std::vector<std::filesystem::path> synced;
    std::unique_ptr<Meter> meter;
    FolderWatch* statsWatch = nullptr;  // none: the month check looks at the disk

    void SetUp() override {
        UseProgramFolder(dir.path());
        // Every system has its loopback: an empty table is one that could not be read.
        interfaces.Link(1, "lo").type = kIfTypeLoopback;
    }

    // A fresh program folder, for tables of cases that each need one.
    void UseProgramFolder(const std::filesystem::path& folder) {
        root = folder;
        std::filesystem::create_directories(root / "stats");
    }

    IniFile Config() { return IniFile(root / "Config.ini"); }
    void Set(const char* section, const char* key, const std::string& value) {
        Config().WriteString(section, key, value);
    }

    // Creates the meter and runs its start-up, running or paused as `running` says.
    void Start(bool running = true, char separator = '.') {
        LocaleFormat locale;
        locale.decimalSeparator = separator;
        meter = std::make_unique<Meter>(MeterPorts{
            .programDir = root,
            .online = [this] { return online; },
            .interfaces = interfaces,
            .address = address,
            .clock = clock,
            .rates = rates,
            .flags = flags,
            .locale = locale,
            .syncToDisk = [this](const std::filesystem::path& p) { synced.push_back(p); },
            .statsWatch = statsWatch,
        });
        meter->Start();
        running ? meter->Run() : meter->Pause();
    }

    // One second of the program: the clock moves, traffic flows, both timers fire.
    void Seconds(int n, std::uint64_t inPerSecond = 0, std::uint64_t outPerSecond = 0,
                 int link = 0) {
        for (int i = 0; i < n; ++i) {
            clock.AdvanceSeconds(1);
            if (online && inPerSecond + outPerSecond > 0) {
                InterfaceRow& row = interfaces.Link(link == 0 ? LastLink() : link);
                row.inOctets += inPerSecond;
                row.outOctets += outPerSecond;
            }
            meter->MinusTraficTick();
            meter->Tick();
            meter->MonthCheck();
        }
    }

    // The machine dials up: a new PPP link appears and the default route goes through it.
    InterfaceRow& Connect(int index = 7) {
        online = true;
        return interfaces.Link(index);
    }
    void Disconnect(int index = 7) {
        online = false;
        interfaces.Drop(index);
    }

    MonthStatsFile Stats(const std::string& key = "") {
        return MonthStatsFile(MonthStatsFile::PathFor(root, key.empty() ? meter->MonthKey() : key));
    }

    int LastLink() const { return interfaces.rows.empty() ? 7 : interfaces.rows.back().index; }
};

}  // namespace kestrova::testing
