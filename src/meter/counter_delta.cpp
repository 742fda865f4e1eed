#include "meter/counter_delta.h"

namespace kestrova {

namespace {

std::uint64_t CounterDelta(std::uint64_t before, std::uint64_t now) {
    return now >= before ? now - before : now;
}

}  // namespace

Octets CountedBytes(const std::optional<Octets>& before, const Octets& now) {
    if (!before) return now;
    return {CounterDelta(before->in, now.in), CounterDelta(before->out, now.out)};
}

}  // namespace kestrova
