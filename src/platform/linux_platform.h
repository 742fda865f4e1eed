#pragma once

#include <filesystem>

#include "meter/meter.h"
#include "platform/background_disk_sync.h"
#include "platform/inotify_folder_watch.h"
#include "platform/netlink_interface_table.h"
#include "platform/system_address_lookup.h"
#include "platform/system_clock.h"

namespace kestrova {

// The Linux side of every port the logic declares, one object per port; the program's entry
// wires each to its consumer. Outlives the consumers it serves. New ports (the dial-up list,
// the echo client, the desktop launcher, autostart, printing) get their object here.
class LinuxPlatform {
public:
    // Zevlink's answer: the machine is connected.
    static bool Online();
    // Makes a written file durable, on the worker thread of `diskSync`.
    void SyncToDisk(const std::filesystem::path& file) { diskSync.Request(file); }

    NetlinkInterfaceTable interfaces;
    SystemAddressLookup address;
    SystemClock clock;
    BackgroundDiskSync diskSync;
    InotifyFolderWatch statsWatch;
};

// The meter's ports on this platform, for the program in `programDir`.
MeterPorts MeterPortsOn(LinuxPlatform& platform, const std::filesystem::path& programDir,
                        const RateTable& rates, const ProgramFlags& flags, LocaleFormat locale);

}  // namespace kestrova
