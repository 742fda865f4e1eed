// The shell commands' controller on a plain window, without the main window.
#include "nettools/shell_command_controller.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "base/program_flags.h"
#include "support/gui_app.h"

namespace kestrova {
namespace {

TEST(ShellCommandController, ExitSetsExitRequestedAndClosesTheWindow) {
    testing::GuiApp();
    QWidget window;
    ProgramFlags flags;
    bool requestedWhenClosing = false;
    // The close handling decides by the flag, so it must be set before the close.
    struct Watch : QObject {
        ProgramFlags& flags;
        bool& seen;
        Watch(ProgramFlags& f, bool& s) : flags(f), seen(s) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Close) seen = flags.ExitRequested;
            return false;
        }
    } watch(flags, requestedWhenClosing);
    window.installEventFilter(&watch);
    window.show();

    ShellCommandController controller(window, flags);
    controller.ExitButtonClick();
    EXPECT_TRUE(flags.ExitRequested);
    EXPECT_TRUE(requestedWhenClosing);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace kestrova
