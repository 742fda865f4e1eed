#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <vector>

#include "platform/background_disk_sync.h"

namespace kestrova {
namespace {

using namespace std::chrono_literals;

TEST(BackgroundDiskSync, RequestDoesNotWaitAndEverythingIsDoneAtTheEnd) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::mutex mutex;
    std::vector<std::filesystem::path> done;
    {
        BackgroundDiskSync sync([&](const std::filesystem::path& file) {
            released.wait();  // a disk that takes its time
            const std::lock_guard lock(mutex);
            done.push_back(file);
        });
        const auto start = std::chrono::steady_clock::now();
        sync.Request("/x/stats/3-2027.ini");
        sync.Request("/x/logfile.log");
        sync.Request("/x/logfile.log");  // already waiting: one flush covers both
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
        release.set_value();
    }  // the destructor waits for the pending work
    const std::vector<std::filesystem::path> expected{"/x/stats/3-2027.ini", "/x/logfile.log"};
    EXPECT_EQ(done, expected);
}

}  // namespace
}  // namespace kestrova
