#include "nettools/dial_up_controller.h"

namespace kestrova {

void DialUpController::AutoUpdateTimer() {
    // Refreshes the list from the dial-up list port once it exists; nothing yet.
}

void DialUpController::ConnectionsListViewClick() {
    // Enables the hang-up button for a selected connection; nothing yet.
}

void DialUpController::SpeedButton22Click() {
    // Hangs up the selected connection; nothing yet.
}

}  // namespace kestrova
