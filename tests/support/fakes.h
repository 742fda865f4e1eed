#pragma once

// Stand-ins for what the platform gives the logic: the clock, the interface table, the address.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "meter/clock.h"
#include "meter/folder_watch.h"
#include "meter/interface_table.h"
#include "meter/local_address.h"

namespace kestrova::testing {

// A clock that moves only when told to.
class FakeClock : public Clock {
public:
    // Wednesday, 10 March 2027, 10:00:00.000 unless set otherwise.
    FakeClock() { Set(2027, 3, 10, 10, 0, 0); }

    void Set(int year, int month, int day, int hour, int minute, int second, int ms = 0) {
        using namespace std::chrono;
        const sys_days date = year_month_day{std::chrono::year{year},
                                             std::chrono::month{static_cast<unsigned>(month)},
                                             std::chrono::day{static_cast<unsigned>(day)}};
        now_ = date + hours{hour} + minutes{minute} + seconds{second} + milliseconds{ms};
    }
    void Advance(std::chrono::milliseconds by) { now_ += by; }
    void AdvanceSeconds(int seconds) { now_ += std::chrono::seconds{seconds}; }

    LocalDateTime Now() const override {
        using namespace std::chrono;
        const sys_days date = floor<days>(now_);
        const year_month_day ymd{date};
        const hh_mm_ss<milliseconds> time{now_ - date};
        LocalDateTime t;
        t.year = static_cast<int>(ymd.year());
        t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
        t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
        t.weekday = static_cast<int>(weekday{date}.c_encoding()) + 1;
        t.hour = static_cast<int>(time.hours().count());
        t.minute = static_cast<int>(time.minutes().count());
        t.second = static_cast<int>(time.seconds().count());
        t.millisecond = static_cast<int>(time.subseconds().count());
        return t;
    }

private:
    std::chrono::sys_time<std::chrono::milliseconds> now_;
};

// A folder watch the test tells of removals.
class FakeFolderWatch : public FolderWatch {
public:
    std::vector<std::filesystem::path> watched;  // every Watch call
    bool removed = false;

    void Watch(const std::filesystem::path& folder) override { watched.push_back(folder); }
    bool TakeRemovals() override { return std::exchange(removed, false); }
};

// An interface table the test edits between ticks.
class FakeInterfaces : public InterfaceTable {
public:
    InterfaceSnapshot rows;
    int snapshots = 0;

    InterfaceSnapshot Snapshot() override {
        ++snapshots;
        return rows;
    }
    // Adds (or replaces) a dial-up link.
    InterfaceRow& Link(int index, const std::string& name = "ppp0") {
        for (auto& row : rows)
            if (row.index == index) return row;
        InterfaceRow row;
        row.index = index;
        row.name = name;
        row.type = kIfTypePpp;
        rows.push_back(row);
        return rows.back();
    }
    void Drop(int index) {
        std::erase_if(rows, [&](const auto& r) { return r.index == index; });
    }
};

class FakeAddress : public AddressLookup {
public:
    std::string address = "10.64.0.2";
    std::string LocalAddress(const std::string&) override { return address; }
};

// A folder of its own for each test, removed afterwards.
class TempDir {
public:
    TempDir() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("kestrova-test-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

}  // namespace kestrova::testing
