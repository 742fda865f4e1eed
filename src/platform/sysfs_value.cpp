#include "platform/sysfs_value.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstddef>
#include <string_view>

namespace kestrova {
namespace {

// Room for any 64-bit value with sign, prefix and line end; longer contents are not numbers.
constexpr std::size_t kBufferSize = 32;

// The file's text without surrounding blanks and line ends; nullopt when unreadable or too long.
std::optional<std::string_view> ReadSmallFile(int dirFd, const char* path,
                                              char (&buffer)[kBufferSize]) {
    const int fd = ::openat(dirFd, path, O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    std::size_t used = 0;
    bool failed = false;
    while (used < kBufferSize) {
        const ssize_t got = ::read(fd, buffer + used, kBufferSize - used);
        if (got < 0) {
            if (errno == EINTR) continue;
            failed = true;
            break;
        }
        if (got == 0) break;
        used += static_cast<std::size_t>(got);
    }
    ::close(fd);
    if (failed || used == kBufferSize) return std::nullopt;

    std::string_view text(buffer, used);
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return std::nullopt;
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

template <typename T>
std::optional<T> ParseWhole(std::string_view text, int base) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::int64_t> ReadSysfsInteger(int dirFd, const char* path) {
    char buffer[kBufferSize];
    const auto text = ReadSmallFile(dirFd, path, buffer);
    if (!text) return std::nullopt;
    return ParseWhole<std::int64_t>(*text, 10);
}

std::optional<std::uint64_t> ReadSysfsUnsigned(int dirFd, const char* path) {
    char buffer[kBufferSize];
    const auto text = ReadSmallFile(dirFd, path, buffer);
    if (!text) return std::nullopt;
    return ParseWhole<std::uint64_t>(*text, 10);
}

std::optional<std::uint64_t> ReadSysfsHex(int dirFd, const char* path) {
    char buffer[kBufferSize];
    auto text = ReadSmallFile(dirFd, path, buffer);
    if (!text) return std::nullopt;
    if (text->size() > 2 && (*text)[0] == '0' && ((*text)[1] == 'x' || (*text)[1] == 'X')) {
        text->remove_prefix(2);
    }
    return ParseWhole<std::uint64_t>(*text, 16);
}

}  // namespace kestrova
