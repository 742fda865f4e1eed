#pragma once

#include <cstdint>
#include <optional>

namespace kestrova {

// Small numeric files of sysfs ("1\n", "0x1091\n", "-1\n"), read with one open and read into a
// stack buffer. `dirFd` is an open folder and `path` is relative to it. nullopt when the file
// cannot be opened or read, or does not hold one number.

// A decimal integer, which may be negative (`speed` reads -1 when unknown).
std::optional<std::int64_t> ReadSysfsInteger(int dirFd, const char* path);

// An unsigned decimal integer, 64 bits (byte counters).
std::optional<std::uint64_t> ReadSysfsUnsigned(int dirFd, const char* path);

// A hexadecimal integer with or without "0x" (`flags`).
std::optional<std::uint64_t> ReadSysfsHex(int dirFd, const char* path);

}  // namespace kestrova
