#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "meter/interface_table.h"
#include "platform/link_marks_cache.h"
#include "platform/netlink_link_message.h"

namespace kestrova {

// The interface table from one RTM_GETLINK dump of a routing netlink socket per snapshot:
// index, name, link type, flags and 64-bit byte counters of every link in one round trip.
// Rows are typed as SysfsInterfaceTable types them, with each link's sysfs marks read once
// when the link is first seen (`sysfsRoot`/<name>). Netlink does not carry the nominal speed:
// it is read from sysfs (`sysfsRoot`/<name>/speed) for dial-up rows only, 0 for the others.
//
// The socket is opened once and kept; after an error it is closed and the next snapshot opens
// a new one. It belongs to the network namespace of the thread that opens it.
class NetlinkInterfaceTable : public InterfaceTable {
public:
    // Enough for any dump datagram of the kernel's usual size.
    static constexpr std::size_t kDefaultReceiveBuffer = 32 * 1024;

    // `receiveBuffer` is the size to start with; it grows when a reply does not fit.
    explicit NetlinkInterfaceTable(std::string sysfsRoot = "/sys/class/net",
                                   std::size_t receiveBuffer = kDefaultReceiveBuffer);
    ~NetlinkInterfaceTable() override;
    NetlinkInterfaceTable(const NetlinkInterfaceTable&) = delete;
    NetlinkInterfaceTable& operator=(const NetlinkInterfaceTable&) = delete;

    // Rows in interface-index order; an empty snapshot when the dump fails.
    InterfaceSnapshot Snapshot() override;

private:
    enum class DumpOutcome {
        kComplete,
        kInterrupted,  // complete, but the links changed while it was taken
        kTruncated,    // a reply did not fit: the buffer has grown, the dump is lost
        kFailed,
    };
    // A datagram's length, 0 for one that is not the kernel's, -1 on error; may exceed the
    // buffer's size when the datagram was truncated.
    using ReceiveResult = std::ptrdiff_t;

    bool Open();
    void Close();
    bool SendRequest(std::uint32_t sequence);
    ReceiveResult Receive();
    DumpOutcome Dump(InterfaceSnapshot& rows);
    void TypeRows(InterfaceSnapshot& rows);
    std::uint64_t DialUpSpeed(const InterfaceRow& row, const LinkKind& kind);

    std::string sysfsRoot_;
    std::string speedPath_;  // reused for each speed read
    // The dial-up link's speed as last read: read again only when the link changes (another
    // link, or its flags: down and up again).
    struct SpeedRead {
        int index = 0;
        std::string name;
        std::uint64_t flags = 0;
        std::uint64_t speed = 0;
    };
    SpeedRead lastSpeed_;
    std::vector<std::byte> buffer_;  // reused for every reply
    std::vector<LinkKind> kinds_;    // of each row of the dump, reused
    LinkMarksCache marks_;
    int socket_ = -1;
    std::uint32_t portId_ = 0;
    std::uint32_t sequence_ = 0;
    std::size_t lastRowCount_ = 0;
};

}  // namespace kestrova
