// The tray's controller on a plain window and timers, without the main window.
#include "settings/tray_controller.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>

#include "support/gui_app.h"

namespace kestrova {
namespace {

TEST(TrayController, MoneyClickBringsTheMinimisedWindowBack) {
    testing::GuiApp();
    QWidget window;
    QTimer hint1;
    QTimer onrunminim;
    TrayController controller(window, hint1, onrunminim);
    window.showMinimized();
    controller.MoneyClick();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.windowState().testFlag(Qt::WindowMinimized));
}

TEST(TrayController, RunMinimisedFiresOnce) {
    testing::GuiApp();
    QWidget window;
    QTimer hint1;
    QTimer onrunminim;
    TrayController controller(window, hint1, onrunminim);
    onrunminim.start(280);
    controller.onrunminimTimer();
    EXPECT_FALSE(onrunminim.isActive());
}

}  // namespace
}  // namespace kestrova
