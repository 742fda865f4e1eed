#pragma once

#include "nettools/dial_up_handlers.h"

class QPushButton;
class QTimer;
class QTreeWidget;

namespace kestrova {

// The dial-up connection list with its hang-up button `hangUp`, refreshed by `autoUpdate`.
class DialUpController : public DialUpHandlers {
public:
    // `autoUpdate` is stopped: there is no list to refresh yet, and an idle timer would wake
    // the program every second for nothing.
    DialUpController(QTreeWidget& connectionsList, QPushButton& hangUp, QTimer& autoUpdate);

    void AutoUpdateTimer() override;
    void ConnectionsListViewClick() override;
    void SpeedButton22Click() override;

private:
    QTreeWidget& connectionsList_;
    QPushButton& hangUp_;
    QTimer& autoUpdate_;
};

}  // namespace kestrova
