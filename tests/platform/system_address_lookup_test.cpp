#include "platform/system_address_lookup.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "platform/ipv4_address.h"

namespace kestrova {
namespace {

using namespace std::chrono_literals;

// Asks until the answer is `expected`; the worker needs a moment to run.
std::string AskUntil(SystemAddressLookup& lookup, const std::string& interfaceName,
                     const std::string& expected) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    std::string answer = lookup.LocalAddress(interfaceName);
    while (answer != expected && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
        answer = lookup.LocalAddress(interfaceName);
    }
    return answer;
}

TEST(InterfaceIpv4Address, ReadsTheNamedInterfaceOnly) {
    EXPECT_EQ(InterfaceIpv4Address("lo"), "127.0.0.1");
    EXPECT_EQ(InterfaceIpv4Address("kvnosuch0"), "");
    EXPECT_EQ(InterfaceIpv4Address(""), "");
}

TEST(SystemAddressLookup, FindsTheDialUpInterfaceAddress) {
    SystemAddressLookup lookup;
    EXPECT_EQ(AskUntil(lookup, "lo", "127.0.0.1"), "127.0.0.1");
}

TEST(SystemAddressLookup, AnswersAtOnceWhileTheLookupIsStillRunning) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    SystemAddressLookup lookup(0ms, [released](const std::string&) {
        released.wait();
        return std::string("10.1.2.3");
    });

    // The finder blocks until released: a caller that waited for it would never get here.
    EXPECT_EQ(lookup.LocalAddress("ppp0"), "");
    EXPECT_EQ(lookup.LocalAddress("ppp0"), "");
    release.set_value();
    EXPECT_EQ(AskUntil(lookup, "ppp0", "10.1.2.3"), "10.1.2.3");
}

TEST(SystemAddressLookup, LooksUpAgainOnANewNameButNotBeforeTheInterval) {
    std::atomic<int> lookups = 0;
    SystemAddressLookup lookup(1h, [&lookups](const std::string& name) {
        ++lookups;
        return "address of " + name;
    });

    EXPECT_EQ(AskUntil(lookup, "ppp0", "address of ppp0"), "address of ppp0");
    for (int i = 0; i < 100; ++i) lookup.LocalAddress("ppp0");
    EXPECT_EQ(lookups, 1);

    EXPECT_EQ(AskUntil(lookup, "ppp1", "address of ppp1"), "address of ppp1");
    EXPECT_EQ(lookups, 2);
}

TEST(SystemAddressLookup, RefreshesOnceTheIntervalHasPassed) {
    std::atomic<int> lookups = 0;
    SystemAddressLookup lookup(
        0ms, [&lookups](const std::string&) { return std::to_string(++lookups); });
    EXPECT_EQ(AskUntil(lookup, "ppp0", "1"), "1");
    // Every later question may start a new look-up; the answers keep moving on.
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (lookups < 3 && std::chrono::steady_clock::now() < deadline) {
        lookup.LocalAddress("ppp0");
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_GE(lookups, 3);
}

}  // namespace
}  // namespace kestrova
