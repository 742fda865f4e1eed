// Runs Zevlink and the interface table against a real kernel: each test forks a child that
// makes its own network (and mount) namespace, builds a TUN dial-up link in it and routes
// through it. Traffic only ever goes to addresses inside that namespace.

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/if_tun.h>
#include <net/if.h>
#include <net/route.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "meter/interface_table.h"
#include "platform/ipv4_address.h"
#include "platform/netlink_interface_table.h"
#include "platform/sysfs_interface_table.h"
#include "platform/system_address_lookup.h"
#include "zevlink/inet_check.h"

namespace kestrova {
namespace {

constexpr char kTunName[] = "kvppp0";
constexpr char kLocalAddress[] = "10.9.0.1";
constexpr char kPeerAddress[] = "10.9.0.2";
constexpr int kArphrdPpp = 512;

std::string ErrorText(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// The child's findings, sent to the parent one line each: "F text" a failure, "S text" a
// reason to skip, "D" the end of the checks.
class ChildReport {
public:
    explicit ChildReport(int fd) : fd_(fd) {}
    void Fail(const std::string& text) { Send("F " + text); }
    void Skip(const std::string& text) { Send("S " + text); }
    void Done() { Send("D"); }
    // Records a failure unless `ok`; answers `ok`.
    bool Expect(bool ok, const std::string& what) {
        if (!ok) Fail(what);
        return ok;
    }

private:
    void Send(std::string line) {
        std::replace(line.begin(), line.end(), '\n', ' ');
        line += '\n';
        const char* data = line.data();
        std::size_t left = line.size();
        while (left > 0) {
            const ssize_t wrote = ::write(fd_, data, left);
            if (wrote < 0 && errno == EINTR) continue;
            if (wrote <= 0) return;
            data += wrote;
            left -= static_cast<std::size_t>(wrote);
        }
    }
    int fd_;
};

struct ChildOutcome {
    std::vector<std::string> failures;
    std::string skipReason;
    bool done = false;
    std::string ending;  // how the child ended when that was not a clean exit
};

// Runs `checks` in a forked child inside new network and mount namespaces. The child is
// killed by an alarm after 20 s and the parent gives up waiting after 30 s, so a hang in the
// kernel interfaces cannot block the run.
ChildOutcome RunInNewNamespace(const std::function<void(ChildReport&)>& checks) {
    ChildOutcome outcome;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        outcome.failures.push_back(ErrorText("pipe2"));
        return outcome;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        outcome.failures.push_back(ErrorText("fork"));
        ::close(fds[0]);
        ::close(fds[1]);
        return outcome;
    }
    if (child == 0) {
        ::close(fds[0]);
        ::alarm(20);
        ChildReport report(fds[1]);
        if (::unshare(CLONE_NEWNET | CLONE_NEWNS) != 0) {
            report.Skip(ErrorText("unshare(CLONE_NEWNET | CLONE_NEWNS)") +
                        " (needs root and network namespaces)");
        } else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            report.Fail(ErrorText("making / private in the new mount namespace"));
        } else {
            checks(report);
        }
        report.Done();
        ::_exit(0);
    }

    ::close(fds[1]);
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd wait{fds[0], POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) {
            timedOut = ready == 0;
            break;
        }
        char buffer[512];
        const ssize_t got = ::read(fds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        received.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fds[0]);
    if (timedOut) ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }

    std::size_t start = 0;
    while (start < received.size()) {
        auto end = received.find('\n', start);
        if (end == std::string::npos) end = received.size();
        const std::string line = received.substr(start, end - start);
        start = end + 1;
        if (line == "D") outcome.done = true;
        if (line.rfind("F ", 0) == 0) outcome.failures.push_back(line.substr(2));
        if (line.rfind("S ", 0) == 0) outcome.skipReason = line.substr(2);
    }
    if (timedOut) {
        outcome.ending = "the child did not finish within 30 s";
    } else if (WIFSIGNALED(status)) {
        outcome.ending = "the child was ended by signal " + std::to_string(WTERMSIG(status));
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        outcome.ending = "the child exited with status " + std::to_string(WEXITSTATUS(status));
    }
    return outcome;
}

// Hands the child's findings to GoogleTest in the parent.
void ExpectChildPassed(const ChildOutcome& outcome) {
    for (const auto& failure : outcome.failures) ADD_FAILURE() << failure;
    EXPECT_EQ(outcome.ending, "");
    EXPECT_TRUE(outcome.done) << "the child's checks did not run to the end";
}

// Interface configuration through the classic ioctls of a datagram socket; in the child only.
class Interfaces {
public:
    explicit Interfaces(ChildReport& report)
        : report_(report), socket_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
        report_.Expect(socket_ >= 0, ErrorText("socket(AF_INET)"));
    }
    ~Interfaces() {
        if (socket_ >= 0) ::close(socket_);
    }
    Interfaces(const Interfaces&) = delete;
    Interfaces& operator=(const Interfaces&) = delete;

    bool BringUp(const char* name) {
        ifreq request = Request(name);
        if (!Call(SIOCGIFFLAGS, request, "SIOCGIFFLAGS", name)) return false;
        request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
        return Call(SIOCSIFFLAGS, request, "SIOCSIFFLAGS", name);
    }

    bool SetAddresses(const char* name, const char* local, const char* peer) {
        ifreq request = Request(name);
        SetIpv4(request.ifr_addr, local);
        if (!Call(SIOCSIFADDR, request, "SIOCSIFADDR", name)) return false;
        request = Request(name);
        SetIpv4(request.ifr_dstaddr, peer);
        return Call(SIOCSIFDSTADDR, request, "SIOCSIFDSTADDR", name);
    }

    bool AddDefaultRoute(const char* device) { return DefaultRoute(SIOCADDRT, device, "add"); }
    bool DeleteDefaultRoute(const char* device) {
        return DefaultRoute(SIOCDELRT, device, "delete");
    }

    // Adds (or deletes) ::/0 through `device`; false with no failure when IPv6 is absent.
    bool Ipv6DefaultRoute(const char* device, bool add, bool& ipv6Present) {
        const int socket6 = ::socket(AF_INET6, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        ipv6Present = socket6 >= 0;
        if (!ipv6Present) return false;
        in6_rtmsg route{};
        route.rtmsg_dst_len = 0;
        route.rtmsg_flags = RTF_UP;
        route.rtmsg_metric = 1;
        route.rtmsg_ifindex = static_cast<int>(::if_nametoindex(device));
        const bool ok = ::ioctl(socket6, add ? SIOCADDRT : SIOCDELRT, &route) == 0;
        report_.Expect(ok, ErrorText(std::string("IPv6 default route ") + (add ? "add" : "delete") +
                                     " via " + device));
        ::close(socket6);
        return ok;
    }

private:
    static ifreq Request(const char* name) {
        ifreq request{};
        std::strncpy(request.ifr_name, name, IFNAMSIZ - 1);
        return request;
    }

    static void SetIpv4(sockaddr& target, const char* dotted) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        ::inet_pton(AF_INET, dotted, &address.sin_addr);
        std::memcpy(&target, &address, sizeof address);
    }

    bool Call(unsigned long command, ifreq& request, const char* what, const char* name) {
        const bool ok = ::ioctl(socket_, command, &request) == 0;
        return report_.Expect(ok, ErrorText(std::string(what) + " " + name));
    }

    bool DefaultRoute(unsigned long command, const char* device, const char* what) {
        rtentry route{};
        SetIpv4(route.rt_dst, "0.0.0.0");
        SetIpv4(route.rt_genmask, "0.0.0.0");
        route.rt_flags = RTF_UP;
        std::string name = device;
        route.rt_dev = name.data();
        const bool ok = ::ioctl(socket_, command, &route) == 0;
        return report_.Expect(ok,
                              ErrorText(std::string("default route ") + what + " via " + device));
    }

    ChildReport& report_;
    int socket_;
};

// A TUN link switched to the PPP link type before it is up, as a dial-up link would be; or,
// with `dialUp` false, left at its own link type as a VPN client leaves it.
class DialUpTun {
public:
    explicit DialUpTun(ChildReport& report, const char* name = kTunName, bool dialUp = true) {
        fd_ = ::open("/dev/net/tun", O_RDWR | O_CLOEXEC);
        if (fd_ < 0) {
            report.Skip(ErrorText("/dev/net/tun"));
            return;
        }
        ifreq request{};
        std::strncpy(request.ifr_name, name, IFNAMSIZ - 1);
        request.ifr_flags = IFF_TUN | IFF_NO_PI;
        if (!report.Expect(::ioctl(fd_, TUNSETIFF, &request) == 0, ErrorText("TUNSETIFF"))) return;
        ok_ = !dialUp ||
              report.Expect(::ioctl(fd_, TUNSETLINK, kArphrdPpp) == 0, ErrorText("TUNSETLINK"));
    }
    ~DialUpTun() {
        if (fd_ >= 0) ::close(fd_);
    }
    DialUpTun(const DialUpTun&) = delete;
    DialUpTun& operator=(const DialUpTun&) = delete;

    bool Ok() const { return ok_; }
    int Fd() const { return fd_; }

private:
    int fd_ = -1;
    bool ok_ = false;
};

// Makes the link and brings it up with its address and its peer's.
bool SetUpDialUp(ChildReport& report, Interfaces& interfaces, const DialUpTun& tun) {
    return tun.Ok() && interfaces.SetAddresses(kTunName, kLocalAddress, kPeerAddress) &&
           interfaces.BringUp(kTunName) &&
           report.Expect(!InetCheck(), "connected before any default route");
}

std::uint16_t Checksum(const std::uint8_t* data, std::size_t length) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < length; i += 2) sum += (data[i] << 8) | data[i + 1];
    while (sum > 0xFFFF) sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

// An IPv4 UDP datagram of `length` bytes from the peer to this side of the link.
std::vector<std::uint8_t> PacketFromPeer(std::size_t length) {
    std::vector<std::uint8_t> packet(length, 0);
    packet[0] = 0x45;  // IPv4, 20-byte header
    packet[2] = static_cast<std::uint8_t>(length >> 8);
    packet[3] = static_cast<std::uint8_t>(length);
    packet[8] = 64;  // time to live
    packet[9] = IPPROTO_UDP;
    ::inet_pton(AF_INET, kPeerAddress, &packet[12]);
    ::inet_pton(AF_INET, kLocalAddress, &packet[16]);
    const std::uint16_t sum = Checksum(packet.data(), 20);
    packet[10] = static_cast<std::uint8_t>(sum >> 8);
    packet[11] = static_cast<std::uint8_t>(sum);
    const std::size_t udpLength = length - 20;
    packet[20] = 0x9C;  // source port 40000
    packet[21] = 0x40;
    packet[23] = 9;  // discard
    packet[24] = static_cast<std::uint8_t>(udpLength >> 8);
    packet[25] = static_cast<std::uint8_t>(udpLength);
    return packet;  // UDP checksum 0: none, allowed over IPv4
}

const InterfaceRow* FindRow(const InterfaceSnapshot& rows, const std::string& name) {
    for (const auto& row : rows) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

TEST(NetworkNamespace, DefaultRouteThroughDialUpTunMeansConnected) {
    const auto outcome = RunInNewNamespace([](ChildReport& report) {
        Interfaces interfaces(report);
        DialUpTun tun(report);
        if (!SetUpDialUp(report, interfaces, tun)) return;

        if (interfaces.AddDefaultRoute(kTunName)) {
            report.Expect(InetCheck(), "not connected with an IPv4 default route via the tun");
            interfaces.DeleteDefaultRoute(kTunName);
            report.Expect(!InetCheck(), "still connected after the default route was deleted");
        }

        bool ipv6 = false;
        if (interfaces.Ipv6DefaultRoute(kTunName, true, ipv6)) {
            report.Expect(InetCheck(), "not connected with an IPv6 default route via the tun");
            interfaces.Ipv6DefaultRoute(kTunName, false, ipv6);
            report.Expect(!InetCheck(), "still connected after the IPv6 default route went");
        }

        // The answer is that of the calling thread's namespace, not the main thread's.
        std::thread([&report] {
            if (!report.Expect(::unshare(CLONE_NEWNET) == 0, ErrorText("unshare in a thread"))) {
                return;
            }
            Interfaces threadInterfaces(report);
            DialUpTun threadTun(report);
            if (SetUpDialUp(report, threadInterfaces, threadTun) &&
                threadInterfaces.AddDefaultRoute(kTunName)) {
                report.Expect(InetCheck(), "a thread is not told of its own namespace's route");
            }
        }).join();
        report.Expect(!InetCheck(), "the main thread is told of another namespace's route");
    });
    if (!outcome.skipReason.empty()) GTEST_SKIP() << outcome.skipReason;
    ExpectChildPassed(outcome);
}

TEST(NetworkNamespace, DefaultRouteThroughLoopbackAloneIsNotConnected) {
    const auto outcome = RunInNewNamespace([](ChildReport& report) {
        Interfaces interfaces(report);
        if (!interfaces.BringUp("lo")) return;
        if (interfaces.AddDefaultRoute("lo")) {
            report.Expect(!InetCheck(), "connected with an IPv4 default route via lo only");
        }
        bool ipv6 = false;
        if (interfaces.Ipv6DefaultRoute("lo", true, ipv6)) {
            report.Expect(!InetCheck(), "connected with an IPv6 default route via lo only");
        }
    });
    if (!outcome.skipReason.empty()) GTEST_SKIP() << outcome.skipReason;
    ExpectChildPassed(outcome);
}

// A folder to mount a fresh sysfs on in the child: sysfs shows the network namespace of
// whoever mounts it, so the host's /sys would show the host's links.
class SysfsMountPoint {
public:
    SysfsMountPoint()
        : path_((std::filesystem::temp_directory_path() / "kestrova-sys-XXXXXX").string()) {
        made_ = ::mkdtemp(path_.data()) != nullptr;
    }
    ~SysfsMountPoint() {
        std::error_code ignored;
        if (made_) std::filesystem::remove(path_, ignored);
    }
    SysfsMountPoint(const SysfsMountPoint&) = delete;
    SysfsMountPoint& operator=(const SysfsMountPoint&) = delete;

    bool Made() const { return made_; }
    // In the child; the mount goes away with the child's mount namespace.
    bool Mount(ChildReport& report) const {
        if (::mount("sysfs", path_.c_str(), "sysfs", 0, nullptr) == 0) return true;
        report.Skip(ErrorText("mounting sysfs in the new namespace"));
        return false;
    }
    std::string NetFolder() const { return path_ + "/class/net"; }

private:
    std::string path_;
    bool made_ = false;
};

// Traffic over the dial-up link: packets the far end sends in, datagrams sent out to it.
constexpr int kPacketsIn = 10;
constexpr std::size_t kPacketInSize = 100;
constexpr int kDatagramsOut = 5;
constexpr std::size_t kDatagramOutPayload = 72;  // 20 + 8 + 72 bytes each on the wire

void PassTraffic(ChildReport& report, const DialUpTun& tun) {
    // Received: packets the far end sends, written into the tun.
    const auto packet = PacketFromPeer(kPacketInSize);
    for (int i = 0; i < kPacketsIn; ++i) {
        report.Expect(
            ::write(tun.Fd(), packet.data(), packet.size()) == static_cast<ssize_t>(packet.size()),
            ErrorText("writing into the tun"));
    }

    // Sent: datagrams to the peer, routed into the tun and read out of it.
    const int sender = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(9);
    ::inet_pton(AF_INET, kPeerAddress, &peer.sin_addr);
    const std::array<char, kDatagramOutPayload> payload{};
    for (int i = 0; i < kDatagramsOut; ++i) {
        report.Expect(::sendto(sender, payload.data(), payload.size(), 0,
                               reinterpret_cast<const sockaddr*>(&peer),
                               sizeof peer) == static_cast<ssize_t>(payload.size()),
                      ErrorText("sending to the peer"));
    }
    ::close(sender);
    int readBack = 0;
    std::array<char, 2048> frame{};
    pollfd wait{tun.Fd(), POLLIN, 0};
    while (readBack<kDatagramsOut&& ::poll(&wait, 1, 2000)> 0) {
        if (::read(tun.Fd(), frame.data(), frame.size()) > 0) ++readBack;
    }
    report.Expect(readBack == kDatagramsOut,
                  "only " + std::to_string(readBack) + " datagrams came out of the tun");
}

// In a namespace holding only lo and the dial-up tun, both up: `table` shows the tun as the
// dial-up row, with its speed, and counts the traffic that passes over it.
void ExpectDialUpRowCountsTraffic(ChildReport& report, InterfaceTable& table, const DialUpTun& tun,
                                  const std::string& tableName) {
    const auto fail = [&](const std::string& text) { return tableName + ": " + text; };
    const InterfaceSnapshot before = table.Snapshot();
    const InterfaceRow* link = FindRow(before, kTunName);
    const InterfaceRow* loopback = FindRow(before, "lo");
    if (!report.Expect(link != nullptr && loopback != nullptr,
                       fail("the tun and lo are not both in the snapshot"))) {
        return;
    }
    report.Expect(before.size() == 2, fail("rows other than lo and the tun in a new namespace"));
    report.Expect(link->type == kIfTypePpp, fail("the tun is not a dial-up row"));
    report.Expect(loopback->type == kIfTypeLoopback, fail("lo is not the loopback row"));
    report.Expect(loopback->index < link->index, fail("rows are not in interface-index order"));
    report.Expect(ChoosePppRow(before, -1) == static_cast<int>(link - before.data()),
                  fail("ChoosePppRow does not pick the tun"));
    // The tun's nominal speed (10 Mbit/s or 10 Gbit/s, by kernel) in bits per second.
    report.Expect(link->speed >= 10'000'000 && link->speed % 1'000'000 == 0,
                  fail("tun speed reads as " + std::to_string(link->speed) + " bit/s"));

    PassTraffic(report, tun);

    const InterfaceSnapshot after = table.Snapshot();
    const InterfaceRow* later = FindRow(after, kTunName);
    if (!report.Expect(later != nullptr, fail("the tun vanished from the snapshot"))) return;
    report.Expect(later->inOctets - link->inOctets == kPacketsIn * kPacketInSize,
                  fail("received grew by " + std::to_string(later->inOctets - link->inOctets)));
    report.Expect(later->outOctets - link->outOctets >= kDatagramsOut * (28 + kDatagramOutPayload),
                  fail("sent grew by " + std::to_string(later->outOctets - link->outOctets)));
}

TEST(NetworkNamespace, DialUpTunIsThePppRowAndCountsItsTraffic) {
    const SysfsMountPoint sysfs;
    ASSERT_TRUE(sysfs.Made()) << ErrorText("mkdtemp");

    const auto outcome = RunInNewNamespace([&sysfs](ChildReport& report) {
        if (!sysfs.Mount(report)) return;
        Interfaces interfaces(report);
        DialUpTun tun(report);
        if (!SetUpDialUp(report, interfaces, tun) || !interfaces.BringUp("lo")) return;
        SysfsInterfaceTable table(sysfs.NetFolder());
        ExpectDialUpRowCountsTraffic(report, table, tun, "sysfs");

        // The address shown is that of the dial-up link, found by the worker.
        report.Expect(InterfaceIpv4Address(kTunName) == kLocalAddress,
                      "the tun's address reads as '" + InterfaceIpv4Address(kTunName) + "'");
        SystemAddressLookup lookup;
        std::string shown;
        for (int i = 0; i < 500 && shown != kLocalAddress; ++i) {
            shown = lookup.LocalAddress(kTunName);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        report.Expect(shown == kLocalAddress, "the lookup shows '" + shown + "'");
    });
    if (!outcome.skipReason.empty()) GTEST_SKIP() << outcome.skipReason;
    ExpectChildPassed(outcome);
}

TEST(NetworkNamespace, NetlinkTableShowsTheDialUpTunAsSysfsDoes) {
    const SysfsMountPoint sysfs;
    ASSERT_TRUE(sysfs.Made()) << ErrorText("mkdtemp");

    const auto outcome = RunInNewNamespace([&sysfs](ChildReport& report) {
        if (!sysfs.Mount(report)) return;
        Interfaces interfaces(report);
        DialUpTun tun(report);
        if (!SetUpDialUp(report, interfaces, tun) || !interfaces.BringUp("lo")) return;
        // Made here, the table's socket belongs to the new namespace.
        NetlinkInterfaceTable table(sysfs.NetFolder());

        const InterfaceSnapshot fromSysfs = SysfsInterfaceTable(sysfs.NetFolder()).Snapshot();
        const InterfaceSnapshot fromNetlink = table.Snapshot();
        if (report.Expect(fromNetlink.size() == fromSysfs.size(),
                          "netlink shows " + std::to_string(fromNetlink.size()) + " rows, sysfs " +
                              std::to_string(fromSysfs.size()))) {
            for (std::size_t i = 0; i < fromSysfs.size(); ++i) {
                const auto& a = fromNetlink[i];
                const auto& b = fromSysfs[i];
                report.Expect(a.index == b.index && a.name == b.name && a.type == b.type &&
                                  a.speed == b.speed,
                              "netlink row " + a.name + " differs from sysfs row " + b.name);
            }
        }
        ExpectDialUpRowCountsTraffic(report, table, tun, "netlink");
    });
    if (!outcome.skipReason.empty()) GTEST_SKIP() << outcome.skipReason;
    ExpectChildPassed(outcome);
}

// A VPN's TUN link, made after the modem's and up with its own point-to-point address, is
// never the dial-up row, in either table, on the first snapshot or a later one.
TEST(NetworkNamespace, VpnTunIsNotADialUpRow) {
    const SysfsMountPoint sysfs;
    ASSERT_TRUE(sysfs.Made()) << ErrorText("mkdtemp");

    const auto outcome = RunInNewNamespace([&sysfs](ChildReport& report) {
        if (!sysfs.Mount(report)) return;
        Interfaces interfaces(report);
        DialUpTun modem(report);
        if (!SetUpDialUp(report, interfaces, modem)) return;
        constexpr char kVpnName[] = "kvvpn0";
        DialUpTun vpn(report, kVpnName, false);
        if (!vpn.Ok() || !interfaces.SetAddresses(kVpnName, "10.8.0.1", "10.8.0.2") ||
            !interfaces.BringUp(kVpnName)) {
            return;
        }

        NetlinkInterfaceTable netlink(sysfs.NetFolder());
        SysfsInterfaceTable fromSysfs(sysfs.NetFolder());
        for (InterfaceTable* table :
             {static_cast<InterfaceTable*>(&netlink), static_cast<InterfaceTable*>(&fromSysfs)}) {
            const char* tableName = table == &netlink ? "netlink" : "sysfs";
            for (int round = 1; round <= 2; ++round) {
                const auto rows = table->Snapshot();
                const InterfaceRow* modemRow = FindRow(rows, kTunName);
                const InterfaceRow* vpnRow = FindRow(rows, kVpnName);
                const std::string where =
                    std::string(tableName) + ", snapshot " + std::to_string(round) + ": ";
                if (!report.Expect(modemRow != nullptr && vpnRow != nullptr,
                                   where + "the two tuns are not both in the snapshot")) {
                    return;
                }
                report.Expect(modemRow->type == kIfTypePpp,
                              where + "the tun switched to PPP is not a dial-up row");
                report.Expect(vpnRow->type == kIfTypeOther, where + "the VPN tun is a dial-up row");
                report.Expect(ChoosePppRow(rows, -1) == static_cast<int>(modemRow - rows.data()),
                              where + "ChoosePppRow does not pick the modem");
            }
        }
    });
    if (!outcome.skipReason.empty()) GTEST_SKIP() << outcome.skipReason;
    ExpectChildPassed(outcome);
}

}  // namespace
}  // namespace kestrova
