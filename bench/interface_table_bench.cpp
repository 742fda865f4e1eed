// One snapshot of the machine's interface table, as the metering tick takes it once a second,
// read both ways: one small file read per value from sysfs, or one netlink dump. The whole tick
// should stay well under 100 microseconds.
#include <benchmark/benchmark.h>

#include "platform/netlink_interface_table.h"
#include "platform/sysfs_interface_table.h"

namespace {

using namespace kestrova;

void Snapshots(benchmark::State& state, InterfaceTable& table) {
    std::size_t rows = 0;
    for (auto _ : state) {
        const auto snapshot = table.Snapshot();
        rows = snapshot.size();
        benchmark::DoNotOptimize(snapshot.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void BM_SysfsInterfaceTableSnapshot(benchmark::State& state) {
    SysfsInterfaceTable table;
    Snapshots(state, table);
}

void BM_NetlinkInterfaceTableSnapshot(benchmark::State& state) {
    NetlinkInterfaceTable table;
    Snapshots(state, table);
}

BENCHMARK(BM_SysfsInterfaceTableSnapshot)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NetlinkInterfaceTableSnapshot)->Unit(benchmark::kMicrosecond);

}  // namespace
