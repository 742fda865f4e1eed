#include "zevlink/route_check.h"

#include <fcntl.h>
#include <net/if.h>
#include <net/route.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kestrova::zevlink {
namespace {

// Reads a file line by line through a fixed buffer. A line longer than the buffer is skipped
// whole (the route tables' lines are about 150 characters).
class LineReader {
public:
    explicit LineReader(int fd) : fd_(fd) {}

    // The next line without its line end; false at the end of the file or on a read error.
    bool Next(std::string_view& line) {
        for (;;) {
            if (const char* end = FindLineEnd()) {
                const std::size_t length = static_cast<std::size_t>(end - (buffer_ + start_));
                const bool complete = !skipping_;
                line = std::string_view(buffer_ + start_, length);
                start_ += length + 1;
                skipping_ = false;
                if (complete) return true;
                continue;
            }
            if (atEnd_) {
                if (start_ == used_ || skipping_) return false;
                line = std::string_view(buffer_ + start_, used_ - start_);
                start_ = used_;
                return true;
            }
            Refill();
        }
    }

private:
    const char* FindLineEnd() const {
        const void* found = std::memchr(buffer_ + start_, '\n', used_ - start_);
        return static_cast<const char*>(found);
    }

    void Refill() {
        if (start_ > 0) {
            std::memmove(buffer_, buffer_ + start_, used_ - start_);
            used_ -= start_;
            start_ = 0;
        }
        if (used_ == sizeof buffer_) {  // no line end in a full buffer: drop the long line
            skipping_ = true;
            used_ = 0;
        }
        const ssize_t got = ::read(fd_, buffer_ + used_, sizeof buffer_ - used_);
        if (got < 0 && errno == EINTR) return;
        if (got <= 0) {
            atEnd_ = true;
            return;
        }
        used_ += static_cast<std::size_t>(got);
    }

    int fd_;
    char buffer_[1024];
    std::size_t start_ = 0;
    std::size_t used_ = 0;
    bool skipping_ = false;
    bool atEnd_ = false;
};

// Splits a line at blanks and tabs; at most kMax fields are kept. (No substr: it can throw,
// which would tie the library to the C++ run-time library.)
struct Fields {
    static constexpr std::size_t kMax = 12;
    std::string_view items[kMax];
    std::size_t count = 0;

    explicit Fields(std::string_view line) {
        std::size_t i = 0;
        while (count < kMax) {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
            if (i == line.size()) break;
            const std::size_t begin = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
            items[count++] = std::string_view(line.data() + begin, i - begin);
            if (i < line.size() && line[i] == '\r') break;
        }
    }
};

// Hexadecimal digits only, at most 32 bits. (std::from_chars would bring a shared table of
// the C++ library into the export list.)
bool ParseHex(std::string_view text, std::uint32_t& value) {
    if (text.empty() || text.size() > 8) return false;
    std::uint32_t result = 0;
    for (const char c : text) {
        std::uint32_t digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else {
            return false;
        }
        result = result << 4 | digit;
    }
    value = result;
    return true;
}

bool IsAllZeroHex(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text) {
        if (c != '0') return false;
    }
    return true;
}

// A route that is installed and delivers (not "unreachable", "prohibit", "blackhole").
bool IsLiveRoute(std::string_view flagsText) {
    std::uint32_t flags = 0;
    return ParseHex(flagsText, flags) && (flags & RTF_UP) != 0 && (flags & RTF_REJECT) == 0;
}

// Asks for interface flags, opening the query socket on first use.
class InterfaceFlags {
public:
    explicit InterfaceFlags(const char* folder) : folder_(folder) {}
    ~InterfaceFlags() {
        if (socket_ >= 0) ::close(socket_);
    }
    InterfaceFlags(const InterfaceFlags&) = delete;
    InterfaceFlags& operator=(const InterfaceFlags&) = delete;

    // Up and not the loopback; false when the interface is unknown.
    bool IsUsable(std::string_view name) {
        if (name.empty() || name.size() >= IFNAMSIZ || name == "*") return false;
        std::uint32_t flags = 0;
        if (!(folder_ != nullptr ? ReadFromFolder(name, flags) : AskKernel(name, flags))) {
            return false;
        }
        return (flags & IFF_UP) != 0 && (flags & IFF_LOOPBACK) == 0;
    }

private:
    bool AskKernel(std::string_view name, std::uint32_t& flags) {
        if (socket_ < 0) socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (socket_ < 0) return false;
        ifreq request;
        std::memset(&request, 0, sizeof request);
        std::memcpy(request.ifr_name, name.data(), name.size());
        if (::ioctl(socket_, SIOCGIFFLAGS, &request) != 0) return false;
        flags = static_cast<std::uint16_t>(request.ifr_flags);
        return true;
    }

    bool ReadFromFolder(std::string_view name, std::uint32_t& flags) const {
        static constexpr std::string_view kFile = "/flags";
        char path[512];
        const std::size_t folderLength = std::strlen(folder_);
        if (folderLength + 1 + name.size() + kFile.size() + 1 > sizeof path) return false;
        char* out = path;
        std::memcpy(out, folder_, folderLength);
        out += folderLength;
        *out++ = '/';
        std::memcpy(out, name.data(), name.size());
        out += name.size();
        std::memcpy(out, kFile.data(), kFile.size());
        out += kFile.size();
        *out = '\0';

        const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) return false;
        char text[32];
        ssize_t got;
        do {
            got = ::read(fd, text, sizeof text);
        } while (got < 0 && errno == EINTR);
        ::close(fd);
        if (got <= 0) return false;
        std::string_view value(text, static_cast<std::size_t>(got));
        while (!value.empty() && (value.back() == '\n' || value.back() == ' ')) {
            value.remove_suffix(1);
        }
        if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
            value.remove_prefix(2);
        }
        return ParseHex(value, flags);
    }

    const char* folder_;
    int socket_ = -1;
};

// Calls `isDefault` for each line of `path` (after `headerLines`) until one answers true.
template <typename IsDefault>
bool AnyLine(const char* path, int headerLines, IsDefault isDefault) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    LineReader reader(fd);
    std::string_view line;
    bool found = false;
    for (int number = 0; !found && reader.Next(line); ++number) {
        if (number >= headerLines) found = isDefault(Fields(line));
    }
    ::close(fd);
    return found;
}

}  // namespace

bool HasDefaultRoute(const RouteSources& sources) noexcept {
    InterfaceFlags interfaces(sources.interfaceFolder);

    // Iface Destination Gateway Flags RefCnt Use Metric Mask MTU Window IRTT
    const bool ipv4 = AnyLine(sources.ipv4Routes, 1, [&](const Fields& f) {
        std::uint32_t destination = 1;
        std::uint32_t mask = 1;
        return f.count >= 8 && ParseHex(f.items[1], destination) && destination == 0 &&
               ParseHex(f.items[7], mask) && mask == 0 && IsLiveRoute(f.items[3]) &&
               interfaces.IsUsable(f.items[0]);
    });
    if (ipv4) return true;

    // destination prefix-length source prefix-length next-hop metric refcnt use flags device
    return AnyLine(sources.ipv6Routes, 0, [&](const Fields& f) {
        std::uint32_t prefixLength = 1;
        return f.count >= 10 && f.items[0].size() == 32 && IsAllZeroHex(f.items[0]) &&
               ParseHex(f.items[1], prefixLength) && prefixLength == 0 && IsLiveRoute(f.items[8]) &&
               interfaces.IsUsable(f.items[9]);
    });
}

}  // namespace kestrova::zevlink
