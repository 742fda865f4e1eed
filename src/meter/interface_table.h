#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrova {

// Interface type of a dial-up (point-to-point) link.
inline constexpr int kIfTypePpp = 23;
inline constexpr int kIfTypeOther = 1;
inline constexpr int kIfTypeLoopback = 24;

// One row of the interface table: what the meter needs of a network interface.
struct InterfaceRow {
    int index = 0;  // the kernel's interface index: tells a re-created link from the old one
    std::string name;
    int type = kIfTypeOther;
    std::uint64_t inOctets = 0;   // bytes received
    std::uint64_t outOctets = 0;  // bytes sent
    std::uint64_t speed = 0;      // nominal speed, bits per second; 0 when unknown
};

using InterfaceSnapshot = std::vector<InterfaceRow>;

// The system's interface table, in interface-index order.
class InterfaceTable {
public:
    virtual ~InterfaceTable() = default;
    // An empty snapshot when the table cannot be read.
    virtual InterfaceSnapshot Snapshot() = 0;
};

// The index of the last dial-up row of the snapshot, or `previous` when it has none.
int ChoosePppRow(const InterfaceSnapshot& rows, int previous);

}  // namespace kestrova
