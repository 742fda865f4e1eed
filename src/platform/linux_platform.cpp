#include "platform/linux_platform.h"

#include "zevlink/inet_check.h"

namespace kestrova {

bool LinuxPlatform::Online() {
    return InetCheck();
}

MeterPorts MeterPortsOn(LinuxPlatform& platform, const std::filesystem::path& programDir,
                        const RateTable& rates, const ProgramFlags& flags, LocaleFormat locale) {
    return MeterPorts{
        .programDir = programDir,
        .online = &LinuxPlatform::Online,
        .interfaces = platform.interfaces,
        .address = platform.address,
        .clock = platform.clock,
        .rates = rates,
        .flags = flags,
        .locale = locale,
        .syncToDisk = [&platform](const std::filesystem::path& file) { platform.SyncToDisk(file); },
        .statsWatch = &platform.statsWatch,
    };
}

}  // namespace kestrova
