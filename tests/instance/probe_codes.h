#pragma once

// What instance_probe prints and how it ends, shared by the probe and the tests.
namespace kestrova::test::probe {

// Exit codes.
constexpr int kUsage = 2;
constexpr int kFirstStopped = 10;   // was the first copy and saw the stop file
constexpr int kFirstTimedOut = 11;  // was the first copy and its lifetime ran out
constexpr int kSecond = 20;
constexpr int kLockError = 30;
constexpr int kListenError = 31;

// Lines on standard output.
constexpr const char* kFirstLine = "first";            // listening now
constexpr const char* kActivationLine = "activation";  // one per request received
constexpr const char* kErrorPrefix = "error: ";        // followed by the error text

}  // namespace kestrova::test::probe
