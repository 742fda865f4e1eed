#include "nettools/ping_controller.h"

namespace kestrova {

bool PingController::HostKeyPress(char16_t /*key*/) {
    // Enter starts the ping once the echo client exists; until then every key goes to the
    // field.
    return false;
}

void PingController::Button1Click() {
    // Starts a ping series on the echo client once it exists; nothing yet.
}

void PingController::Button2Click() {
    // Stops the ping worker; nothing runs yet.
}

void PingController::pingtimerTimer() {
    // One probe of the series per tick; nothing runs yet.
}

}  // namespace kestrova
