#include "gui/fade_in.h"

#include <QGuiApplication>
#include <QPropertyAnimation>
#include <QWidget>
#include <algorithm>

namespace kestrova {

namespace {

// The platforms whose windows can be translucent.
bool PlatformHasOpacity() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform == QLatin1String("windows") ||
           platform == QLatin1String("cocoa");
}

}  // namespace

void FadeIn(QWidget* window, int opacity255) {
    const qreal target = std::clamp(opacity255, 0, 255) / 255.0;
    if (!PlatformHasOpacity()) {
        window->setWindowOpacity(target);
        window->show();
        return;
    }
    window->setWindowOpacity(0.0);
    window->show();
    auto* fade = new QPropertyAnimation(window, "windowOpacity", window);
    fade->setDuration(300);
    fade->setStartValue(0.0);
    fade->setEndValue(target);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

}  // namespace kestrova
