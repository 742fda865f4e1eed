#pragma once

#include <QApplication>
#include <QByteArray>

#include "shell/look.h"

namespace kestrova::testing {

// The one application object of a window test binary, with the program's look; headless
// unless a platform was chosen.
inline QApplication& GuiApp() {
    static int argc = 1;
    static char name[] = "shell_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit Qt's own globals may already be gone, and the process ends anyway.
    static QApplication* app = [] {
        auto* created = new QApplication(argc, argv);
        ApplyLook(*created);
        return created;
    }();
    return *app;
}

}  // namespace kestrova::testing
