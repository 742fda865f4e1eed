#pragma once

#include <string>

#include "meter/interface_table.h"
#include "platform/link_marks_cache.h"

namespace kestrova {

// The interface table as sysfs shows it: one folder per network interface under `root`.
// Links are typed by InterfaceTypeOf, with each link's marks read once when it is first seen.
class SysfsInterfaceTable : public InterfaceTable {
public:
    explicit SysfsInterfaceTable(std::string root = "/sys/class/net");

    // Rows in interface-index order; an interface that disappears while it is read is left
    // out, and an unreadable root gives an empty snapshot.
    InterfaceSnapshot Snapshot() override;

private:
    std::string root_;
    LinkMarksCache marks_;
};

}  // namespace kestrova
