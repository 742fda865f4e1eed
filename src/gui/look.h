#pragma once

class QApplication;

namespace kestrova {

// The program's own look for every window: the Fusion style under the program's style sheet
// (from the resources) and Arial 14 px as the font.
void ApplyLook(QApplication& app);

}  // namespace kestrova
