#pragma once

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

namespace kestrova {

// Makes files durable on a worker thread of its own, so that a slow disk never holds up the
// window: Request() returns at once. Everything requested is done before the destructor
// returns, so the last save of the program still reaches the disk.
class BackgroundDiskSync {
public:
    using Syncer = std::function<void(const std::filesystem::path&)>;

    // `syncer` empty: SyncFileToDisk.
    explicit BackgroundDiskSync(Syncer syncer = {});
    ~BackgroundDiskSync();
    BackgroundDiskSync(const BackgroundDiskSync&) = delete;
    BackgroundDiskSync& operator=(const BackgroundDiskSync&) = delete;

    void Request(const std::filesystem::path& file);

private:
    void Work();

    const Syncer syncer_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::filesystem::path> pending_;
    bool stopping_ = false;
    std::thread worker_;  // last: starts once everything above is ready
};

}  // namespace kestrova
