#pragma once

#include <cstdint>
#include <optional>

namespace kestrova {

// A link's byte counters: received and sent.
struct Octets {
    std::uint64_t in = 0;
    std::uint64_t out = 0;

    bool operator==(const Octets&) const = default;
};

// The bytes a link passed between `before`, its counters when the meter last read it, and
// `now`. A link the meter did not see at its last look (nullopt) came up since: it is counted
// from its creation, so all its counters are new. A counter below its earlier reading was
// started again from zero (the driver reset it, or a new link got the old one's index): all it
// holds now is new, and nothing is counted twice or made negative.
Octets CountedBytes(const std::optional<Octets>& before, const Octets& now);

}  // namespace kestrova
