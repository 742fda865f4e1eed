#include <gtest/gtest.h>

#include "meter/counter_delta.h"

namespace kestrova {
namespace {

TEST(CountedBytes, FromTheLastReadingOrFromCreation) {
    constexpr std::uint64_t kHuge = 1ull << 40;
    const struct {
        const char* name;
        std::optional<Octets> before;
        Octets now, counted;
    } cases[] = {
        {"growth since the last reading", Octets{1000, 200}, {1500, 260}, {500, 60}},
        {"no traffic", Octets{1000, 200}, {1000, 200}, {0, 0}},
        {"counters past 4 GiB", Octets{kHuge, 5}, {kHuge + 7, 5}, {7, 0}},
        {"a link that came up since: from its creation", std::nullopt, {4000, 40}, {4000, 40}},
        {"a new link with nothing passed yet", std::nullopt, {0, 0}, {0, 0}},
        {"both counters restarted", Octets{9000, 900}, {300, 30}, {300, 30}},
        {"only the received counter restarted", Octets{9000, 900}, {300, 950}, {300, 50}},
        {"restarted at zero", Octets{kHuge, kHuge}, {0, 0}, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Octets counted = CountedBytes(c.before, c.now);
        EXPECT_EQ(counted.in, c.counted.in);
        EXPECT_EQ(counted.out, c.counted.out);
    }
}

}  // namespace
}  // namespace kestrova
