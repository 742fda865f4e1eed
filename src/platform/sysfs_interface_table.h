#pragma once

#include <string>

#include "meter/interface_table.h"

namespace kestrova {

// The interface table as sysfs shows it: one folder per network interface under `root`.
// Point-to-point links (PPP, and TUN links such as raw-IP mobile-broadband modems) are
// reported as dial-up rows; the loopback never is.
class SysfsInterfaceTable : public InterfaceTable {
public:
    explicit SysfsInterfaceTable(std::string root = "/sys/class/net");

    // Rows in interface-index order; an interface that disappears while it is read is left
    // out, and an unreadable root gives an empty snapshot.
    InterfaceSnapshot Snapshot() override;

private:
    std::string root_;
};

}  // namespace kestrova
