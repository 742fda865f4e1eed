#include "platform/sysfs_interface_table.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/link_fields.h"
#include "platform/sysfs_value.h"

namespace kestrova {
namespace {

// One interface folder; nullopt when a file it must have cannot be read (the link went away).
std::optional<InterfaceRow> ReadInterface(int folderFd, const char* name, LinkMarksCache& marks) {
    const auto index = ReadSysfsInteger(folderFd, "ifindex");
    const auto linkType = ReadSysfsInteger(folderFd, "type");
    const auto flags = ReadSysfsHex(folderFd, "flags");
    const auto received = ReadSysfsUnsigned(folderFd, "statistics/rx_bytes");
    const auto sent = ReadSysfsUnsigned(folderFd, "statistics/tx_bytes");
    if (!index || !linkType || !flags || !received || !sent) return std::nullopt;
    if (*index <= 0 || *index > std::numeric_limits<int>::max()) return std::nullopt;

    InterfaceRow row;
    row.index = static_cast<int>(*index);
    row.name = name;
    row.type = InterfaceTypeOf(*linkType, *flags, marks.For(row.index, row.name));
    row.inOctets = *received;
    row.outOctets = *sent;
    row.speed = ReadLinkSpeed(folderFd, "speed");
    return row;
}

}  // namespace

SysfsInterfaceTable::SysfsInterfaceTable(std::string root)
    : root_(std::move(root)), marks_(root_) {}

InterfaceSnapshot SysfsInterfaceTable::Snapshot() {
    InterfaceSnapshot rows;
    DIR* folder = ::opendir(root_.c_str());
    if (folder == nullptr) return rows;
    const int rootFd = ::dirfd(folder);

    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name(entry->d_name);
        if (name == "." || name == "..") continue;
        // The entries are symbolic links into the device tree; O_DIRECTORY follows them.
        const int folderFd = ::openat(rootFd, entry->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folderFd < 0) continue;
        auto row = ReadInterface(folderFd, entry->d_name, marks_);
        ::close(folderFd);
        if (row) rows.push_back(std::move(*row));
    }
    ::closedir(folder);

    std::sort(rows.begin(), rows.end(),
              [](const InterfaceRow& a, const InterfaceRow& b) { return a.index < b.index; });
    marks_.KeepOnly(rows);
    return rows;
}

}  // namespace kestrova
