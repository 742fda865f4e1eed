#pragma once

#include <QApplication>

#include "gui/look.h"

namespace kestrova::testing {

// The one application object of a window test binary, headless unless a platform was chosen,
// with the program's look. It is never destroyed: Qt's input devices, made by simulated key
// presses, unregister themselves from a list that is gone by the time statics die at exit.
inline QApplication& GuiApp() {
    static int argc = 1;
    static char name[] = "kestrova_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* const app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        auto* created = new QApplication(argc, argv);
        ApplyLook(*created);
        return created;
    }();
    return *app;
}

}  // namespace kestrova::testing
