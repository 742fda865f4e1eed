#include "platform/background_disk_sync.h"

#include <algorithm>

#include "platform/disk_sync.h"

namespace kestrova {

BackgroundDiskSync::BackgroundDiskSync(Syncer syncer)
    : syncer_(syncer ? std::move(syncer) : Syncer(SyncFileToDisk)), worker_([this] { Work(); }) {}

BackgroundDiskSync::~BackgroundDiskSync() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

void BackgroundDiskSync::Request(const std::filesystem::path& file) {
    {
        const std::lock_guard lock(mutex_);
        // A file already waiting gets its flush anyway: it covers the newer content too.
        if (std::find(pending_.begin(), pending_.end(), file) == pending_.end())
            pending_.push_back(file);
    }
    wake_.notify_one();
}

void BackgroundDiskSync::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
        if (pending_.empty()) return;  // stopping, and nothing is left to do
        const std::filesystem::path file = pending_.front();
        pending_.pop_front();
        lock.unlock();
        syncer_(file);
        lock.lock();
    }
}

}  // namespace kestrova
