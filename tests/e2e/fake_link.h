// A point-to-point link made of a TUN device whose far end is this process: the end-to-end
// tests' modem and VPN. Pings sent to the far end leave through the link (the kernel counts
// them as sent); the far end answers them by writing the replies into the device (counted as
// received). Closing the device takes the link and its routes away, as a dialler does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace e2e {

struct LinkSettings {
    std::string name;
    std::string local;  // this machine's address on the link
    std::string peer;   // the far end's address
    bool ppp = false;   // switched to the PPP link type before it is brought up
    bool defaultRoute = false;
};

struct LinkCounters {
    std::uint64_t rx = 0;
    std::uint64_t tx = 0;
};

class FakeLink {
public:
    // Creates the device and brings it up; exits on failure.
    explicit FakeLink(LinkSettings settings);
    ~FakeLink();
    FakeLink(const FakeLink&) = delete;
    FakeLink& operator=(const FakeLink&) = delete;

    int Fd() const { return tun_; }
    // One echo request of `payload` bytes from this machine to the far end.
    void SendPing(std::size_t payload);
    // Reads what the link carried to the far end; echo requests are answered when `answer`.
    void Serve(bool answer);
    // What the kernel has counted on the link so far.
    LinkCounters Counters() const;

private:
    LinkSettings settings_;
    int tun_ = -1;
    int pinger_ = -1;
    std::uint16_t sequence_ = 0;
};

[[noreturn]] void Die(const char* what);

}  // namespace e2e
