#pragma once

#include <string>

namespace kestrova {

// The program-wide flags and the money unit. The program's entry owns the one instance and
// hands it by reference to the windows that show it and to the controllers that change it.
struct ProgramFlags {
    // The currency unit after prices in the status bar and the hints (UTF-8).
    std::string Edenitsa = "р.";
    bool TabEdit = false;     // the rate table has unsaved changes
    bool PrefShow = false;    // the options dialog is open
    bool IfHintsRun = false;  // the floating window has been created
    bool StatWinCH = false;   // the floating window is shown
    // Set by the exit command: only while it is set does closing the main window end the
    // program.
    bool ExitRequested = false;
};

}  // namespace kestrova
