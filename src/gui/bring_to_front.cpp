#include "gui/bring_to_front.h"

#include <QWidget>

namespace kestrova {

void BringToFront(QWidget* window) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace kestrova
