#include "platform/system_address_lookup.h"

#include <utility>

#include "platform/ipv4_address.h"

namespace kestrova {

SystemAddressLookup::SystemAddressLookup(std::chrono::milliseconds refreshInterval, Finder finder)
    : refreshInterval_(refreshInterval),
      finder_(finder ? std::move(finder) : Finder(FindLocalAddress)),
      worker_([this] { Work(); }) {}

SystemAddressLookup::~SystemAddressLookup() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

std::string SystemAddressLookup::LocalAddress(const std::string& dialupInterface) {
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard lock(mutex_);
    if (!lastRequest_ || dialupInterface != interfaceName_ ||
        now - *lastRequest_ >= refreshInterval_) {
        interfaceName_ = dialupInterface;
        lastRequest_ = now;
        requested_ = true;
        wake_.notify_one();
    }
    return address_;
}

void SystemAddressLookup::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || requested_; });
        if (stopping_) return;
        requested_ = false;
        const std::string name = interfaceName_;
        lock.unlock();
        std::string found = finder_(name);
        lock.lock();
        address_ = std::move(found);
    }
}

}  // namespace kestrova
