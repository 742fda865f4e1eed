#pragma once

#include <string>

namespace kestrova {

// The dotted IPv4 address of interface `name` (getifaddrs, does not block); empty when the
// interface is missing or has no IPv4 address.
std::string InterfaceIpv4Address(const std::string& name);

// The first IPv4 address the host's own name resolves to; may block on name resolution.
// Empty when the name cannot be resolved.
std::string HostNameIpv4Address();

// The address the meter shows: that of `dialupInterface` when it has one, otherwise the host
// name's. May block.
std::string FindLocalAddress(const std::string& dialupInterface);

}  // namespace kestrova
