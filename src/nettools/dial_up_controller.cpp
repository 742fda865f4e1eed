#include "nettools/dial_up_controller.h"

#include <QTimer>

namespace kestrova {

DialUpController::DialUpController(QTreeWidget& connectionsList, QPushButton& hangUp,
                                   QTimer& autoUpdate)
    : connectionsList_(connectionsList), hangUp_(hangUp), autoUpdate_(autoUpdate) {
    autoUpdate_.stop();
}

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
