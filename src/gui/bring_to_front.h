#pragma once

class QWidget;

namespace kestrova {

// Restores `window` from minimised (keeping maximised), shows it and brings it to the front.
void BringToFront(QWidget* window);

}  // namespace kestrova
