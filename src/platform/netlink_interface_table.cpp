#include "platform/netlink_interface_table.h"

#include <fcntl.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <span>
#include <utility>

#include "platform/link_fields.h"
#include "platform/netlink_link_message.h"

namespace kestrova {
namespace {

// A reply that does not come within this time fails the snapshot: the tick must not hang on it.
constexpr suseconds_t kReceiveTimeoutMicroseconds = 200'000;

// Attempts at a whole dump when a reply was truncated or the links changed meanwhile.
constexpr int kDumpAttempts = 3;

// The buffer grows in whole pages.
constexpr std::size_t kBufferStep = 4096;

constexpr std::size_t kHeaderLength = NLMSG_HDRLEN;

constexpr std::size_t MessageAlign(std::size_t length) {
    return NLMSG_ALIGN(length);
}

}  // namespace

NetlinkInterfaceTable::NetlinkInterfaceTable(std::string sysfsRoot, std::size_t receiveBuffer)
    : sysfsRoot_(std::move(sysfsRoot)),
      buffer_(std::max(receiveBuffer, sizeof(nlmsghdr))),
      marks_(sysfsRoot_) {
    Open();
}

NetlinkInterfaceTable::~NetlinkInterfaceTable() {
    Close();
}

bool NetlinkInterfaceTable::Open() {
    socket_ = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (socket_ < 0) return false;

    const timeval timeout{0, kReceiveTimeoutMicroseconds};
    sockaddr_nl local{};
    local.nl_family = AF_NETLINK;  // port 0: the kernel chooses a free one
    socklen_t localLength = sizeof local;
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    // Connected to the kernel, the socket takes no messages from other sockets.
    const bool ok =
        ::setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout) == 0 &&
        ::bind(socket_, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0 &&
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&local), &localLength) == 0 &&
        localLength == sizeof local &&
        ::connect(socket_, reinterpret_cast<const sockaddr*>(&kernel), sizeof kernel) == 0;
    if (!ok) {
        Close();
        return false;
    }
    portId_ = local.nl_pid;
    return true;
}

void NetlinkInterfaceTable::Close() {
    if (socket_ >= 0) ::close(socket_);
    socket_ = -1;
}

bool NetlinkInterfaceTable::SendRequest(std::uint32_t sequence) {
    struct {
        nlmsghdr header;
        ifinfomsg info;
    } request{};
    static_assert(sizeof request == NLMSG_LENGTH(sizeof(ifinfomsg)));
    request.header.nlmsg_len = sizeof request;
    request.header.nlmsg_type = RTM_GETLINK;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = sequence;
    request.header.nlmsg_pid = portId_;
    request.info.ifi_family = AF_UNSPEC;
    for (;;) {
        const ssize_t sent = ::send(socket_, &request, sizeof request, 0);
        if (sent < 0 && errno == EINTR) continue;
        return sent == static_cast<ssize_t>(sizeof request);
    }
}

NetlinkInterfaceTable::ReceiveResult NetlinkInterfaceTable::Receive() {
    sockaddr_nl from{};
    iovec part{buffer_.data(), buffer_.size()};
    msghdr message{};
    message.msg_name = &from;
    message.msg_namelen = sizeof from;
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    for (;;) {
        // MSG_TRUNC: the datagram's whole length, even when it is longer than the buffer.
        const ssize_t got = ::recvmsg(socket_, &message, MSG_TRUNC);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return -1;  // an error, or the receive timeout
        if (message.msg_namelen != sizeof from || from.nl_pid != 0) return 0;
        return got;
    }
}

NetlinkInterfaceTable::DumpOutcome NetlinkInterfaceTable::Dump(InterfaceSnapshot& rows) {
    const std::uint32_t sequence = ++sequence_;
    if (!SendRequest(sequence)) return DumpOutcome::kFailed;

    bool interrupted = false;
    for (;;) {
        const ReceiveResult got = Receive();
        if (got < 0) return DumpOutcome::kFailed;
        const auto end = static_cast<std::size_t>(got);
        if (end > buffer_.size()) {
            buffer_.resize((end + kBufferStep - 1) / kBufferStep * kBufferStep);
            return DumpOutcome::kTruncated;
        }

        std::size_t offset = 0;
        while (end - offset >= sizeof(nlmsghdr)) {
            const std::byte* at = buffer_.data() + offset;
            const auto header = ReadUnaligned<nlmsghdr>(at);
            if (header.nlmsg_len < kHeaderLength || header.nlmsg_len > end - offset) {
                return DumpOutcome::kFailed;
            }
            const std::span<const std::byte> body(at + kHeaderLength,
                                                  header.nlmsg_len - kHeaderLength);
            offset = std::min(end, offset + MessageAlign(header.nlmsg_len));

            // Left over from an earlier request, or not meant for this socket.
            if (header.nlmsg_seq != sequence || header.nlmsg_pid != portId_) continue;
            if ((header.nlmsg_flags & NLM_F_DUMP_INTR) != 0) interrupted = true;

            switch (header.nlmsg_type) {
                case NLMSG_DONE:
                    // The dump's own error code follows the header.
                    if (body.size() >= sizeof(int) && ReadUnaligned<int>(body.data()) < 0) {
                        return DumpOutcome::kFailed;
                    }
                    return interrupted ? DumpOutcome::kInterrupted : DumpOutcome::kComplete;
                case NLMSG_ERROR:
                    // Error 0 is an acknowledgement; anything else ends the dump.
                    if (body.size() < sizeof(int) || ReadUnaligned<int>(body.data()) != 0) {
                        return DumpOutcome::kFailed;
                    }
                    break;
                case NLMSG_OVERRUN:
                    return DumpOutcome::kFailed;
                case RTM_NEWLINK: {
                    InterfaceRow row;
                    LinkKind kind;
                    if (ParseLinkMessage(body, row, kind)) {
                        rows.push_back(std::move(row));
                        kinds_.push_back(kind);
                    }
                    break;
                }
                default:
                    break;
            }
        }
    }
}

void NetlinkInterfaceTable::TypeRows(InterfaceSnapshot& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        InterfaceRow& row = rows[i];
        row.type =
            InterfaceTypeOf(kinds_[i].linkType, kinds_[i].flags, marks_.For(row.index, row.name));
        if (row.type == kIfTypePpp) row.speed = DialUpSpeed(row, kinds_[i]);
    }
    marks_.KeepOnly(rows);
}

std::uint64_t NetlinkInterfaceTable::DialUpSpeed(const InterfaceRow& row, const LinkKind& kind) {
    if (lastSpeed_.index == row.index && lastSpeed_.flags == kind.flags &&
        lastSpeed_.name == row.name)
        return lastSpeed_.speed;
    speedPath_.assign(sysfsRoot_);
    speedPath_ += '/';
    speedPath_ += row.name;
    speedPath_ += "/speed";
    lastSpeed_ = {row.index, row.name, kind.flags, ReadLinkSpeed(AT_FDCWD, speedPath_.c_str())};
    return lastSpeed_.speed;
}

InterfaceSnapshot NetlinkInterfaceTable::Snapshot() {
    InterfaceSnapshot rows;
    rows.reserve(lastRowCount_);
    for (int attempt = 1; attempt <= kDumpAttempts; ++attempt) {
        if (socket_ < 0 && !Open()) return {};
        rows.clear();
        kinds_.clear();
        const DumpOutcome outcome = Dump(rows);
        if (outcome == DumpOutcome::kFailed) {
            Close();
            return {};
        }
        if (outcome == DumpOutcome::kTruncated) {
            // The rest of the lost dump goes with the socket; the next one has room.
            Close();
            continue;
        }
        // Links that changed during the last attempt still give a usable table.
        if (outcome == DumpOutcome::kComplete || attempt == kDumpAttempts) {
            TypeRows(rows);
            const auto byIndex = [](const InterfaceRow& a, const InterfaceRow& b) {
                return a.index < b.index;
            };
            if (!std::is_sorted(rows.begin(), rows.end(), byIndex)) {
                std::sort(rows.begin(), rows.end(), byIndex);
            }
            lastRowCount_ = rows.size();
            return rows;
        }
    }
    return {};
}

}  // namespace kestrova
