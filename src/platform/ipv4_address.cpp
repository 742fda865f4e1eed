#include "platform/ipv4_address.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace kestrova {
namespace {

std::string DottedText(const in_addr& address) {
    char text[INET_ADDRSTRLEN] = {};
    if (::inet_ntop(AF_INET, &address, text, sizeof text) == nullptr) return {};
    return text;
}

}  // namespace

std::string InterfaceIpv4Address(const std::string& name) {
    if (name.empty()) return {};
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return {};
    std::string result;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
        if (entry->ifa_name == nullptr || name != entry->ifa_name) continue;
        sockaddr_in address;
        std::memcpy(&address, entry->ifa_addr, sizeof address);
        result = DottedText(address.sin_addr);
        break;
    }
    ::freeifaddrs(list);
    return result;
}

std::string HostNameIpv4Address() {
    char hostName[256] = {};
    if (::gethostname(hostName, sizeof hostName - 1) != 0) return {};

    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;  // one entry per address, not one per socket type
    addrinfo* found = nullptr;
    if (::getaddrinfo(hostName, nullptr, &hints, &found) != 0) return {};
    std::string result;
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family != AF_INET || entry->ai_addr == nullptr) continue;
        sockaddr_in address;
        std::memcpy(&address, entry->ai_addr, sizeof address);
        result = DottedText(address.sin_addr);
        break;
    }
    ::freeaddrinfo(found);
    return result;
}

std::string FindLocalAddress(const std::string& dialupInterface) {
    std::string address = InterfaceIpv4Address(dialupInterface);
    if (address.empty()) address = HostNameIpv4Address();
    return address;
}

}  // namespace kestrova
