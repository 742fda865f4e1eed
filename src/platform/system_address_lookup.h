#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "meter/local_address.h"

namespace kestrova {

// The machine's address, found on a worker thread of its own so that a slow name server never
// holds up the caller. LocalAddress() answers at once with the last address found and asks the
// worker for a fresh one: at once when the interface name changes, otherwise at most once per
// refresh interval.
class SystemAddressLookup : public AddressLookup {
public:
    // Finds the address for a dial-up interface name; may block. Runs on the worker only.
    using Finder = std::function<std::string(const std::string& dialupInterface)>;

    static constexpr std::chrono::milliseconds kDefaultRefresh{5000};

    explicit SystemAddressLookup(std::chrono::milliseconds refreshInterval = kDefaultRefresh,
                                 Finder finder = {});
    // Stops the worker and waits for it; a look-up in progress is finished first.
    ~SystemAddressLookup() override;

    SystemAddressLookup(const SystemAddressLookup&) = delete;
    SystemAddressLookup& operator=(const SystemAddressLookup&) = delete;

    std::string LocalAddress(const std::string& dialupInterface) override;

private:
    void Work();

    const std::chrono::milliseconds refreshInterval_;
    const Finder finder_;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    bool requested_ = false;  // the caller wants a fresh look-up
    std::string interfaceName_;
    std::optional<std::chrono::steady_clock::time_point> lastRequest_;
    std::string address_;  // what the worker last found

    std::thread worker_;  // last: starts once everything above is ready
};

}  // namespace kestrova
