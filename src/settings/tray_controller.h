#pragma once

#include "settings/tray_handlers.h"

class QTimer;
class QWidget;

namespace kestrova {

// The tray icon, its hints and the hiding of the main window `window`.
class TrayController : public TrayHandlers {
public:
    TrayController(QWidget& window, QTimer& hint1, QTimer& onrunminim)
        : window_(window), hint1_(hint1), onrunminim_(onrunminim) {}

    void MoneyClick() override;
    void Hint1Timer() override;
    void onrunminimTimer() override;

private:
    QWidget& window_;
    QTimer& hint1_;
    QTimer& onrunminim_;
};

}  // namespace kestrova
