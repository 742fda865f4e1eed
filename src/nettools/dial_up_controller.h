#pragma once

#include "nettools/dial_up_handlers.h"

class QPushButton;
class QTimer;
class QTreeWidget;

namespace kestrova {

// The dial-up connection list with its hang-up button `hangUp`, refreshed by `autoUpdate`.
class DialUpController : public DialUpHandlers {
public:
    DialUpController(QTreeWidget& connectionsList, QPushButton& hangUp, QTimer& autoUpdate)
        : connectionsList_(connectionsList), hangUp_(hangUp), autoUpdate_(autoUpdate) {}

    void AutoUpdateTimer() override;
    void ConnectionsListViewClick() override;
    void SpeedButton22Click() override;

private:
    QTreeWidget& connectionsList_;
    QPushButton& hangUp_;
    QTimer& autoUpdate_;
};

}  // namespace kestrova
