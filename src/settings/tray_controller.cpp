#include "settings/tray_controller.h"

#include <QTimer>

#include "gui/bring_to_front.h"

namespace kestrova {

void TrayController::MoneyClick() {
    BringToFront(&window_);
}

void TrayController::Hint1Timer() {
    // The balloon decision comes with the tray icon; until then the timer does nothing.
}

void TrayController::onrunminimTimer() {
    // One shot. Hiding the window to the tray comes with the tray icon; until then the
    // window stays as it is.
    onrunminim_.stop();
}

}  // namespace kestrova
