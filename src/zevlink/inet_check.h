#pragma once

// Zevlink: whether the machine is connected to the internet.

#if defined(__GNUC__)
#define ZEVLINK_EXPORT __attribute__((visibility("default")))
#else
#define ZEVLINK_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

// 1 when the kernel has a default route (IPv4 or IPv6) through an interface that is up and is
// not the loopback, in the calling thread's network namespace; otherwise 0. Keeps no state
// but whether the kernel shows each thread's tables, allocates nothing, never blocks; safe to
// call from any thread.
ZEVLINK_EXPORT bool InetCheck(void);

#ifdef __cplusplus
}
#endif
