#pragma once

#include <QApplication>

#include "shell/look.h"

namespace kestrova::testing {

// The application object of this test binary, headless, with the program's look. It is never
// destroyed: Qt's input devices, made by the simulated key presses, unregister themselves from
// a list that is gone by the time function statics are destroyed at exit.
inline QApplication& RatesGuiApp() {
    static int argc = 1;
    static char name[] = "rates_gui_tests";
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
