#pragma once

#include <filesystem>

#include "meter/meter.h"
#include "platform/background_disk_sync.h"
#include "platform/netlink_interface_table.h"
#include "platform/system_address_lookup.h"
#include "platform/system_clock.h"

namespace kestrova {

// What the meter is given on a Linux machine: Zevlink's answer, the kernel's interface table,
// the local address, the local clock and the disk flush (on a worker thread). Outlives the
// meter it serves.
class LinuxPlatform {
public:
    MeterPorts Ports(const std::filesystem::path& programDir, const RateTable& rates,
                     LocaleFormat locale);

private:
    NetlinkInterfaceTable interfaces_;
    SystemAddressLookup address_;
    SystemClock clock_;
    BackgroundDiskSync diskSync_;
};

}  // namespace kestrova
