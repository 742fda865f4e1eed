#include "platform/linux_platform.h"

#include "zevlink/inet_check.h"

namespace kestrova {

MeterPorts LinuxPlatform::Ports(const std::filesystem::path& programDir, const RateTable& rates,
                                LocaleFormat locale) {
    MeterPorts ports;
    ports.programDir = programDir;
    ports.online = [] { return InetCheck(); };
    ports.interfaces = &interfaces_;
    ports.address = &address_;
    ports.clock = &clock_;
    ports.rates = &rates;
    ports.locale = std::move(locale);
    ports.syncToDisk = [this](const std::filesystem::path& file) { diskSync_.Request(file); };
    return ports;
}

}  // namespace kestrova
