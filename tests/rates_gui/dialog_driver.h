#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <utility>

#include "rates/driver_form.h"

namespace kestrova::testing {

// Plays the user of a modal rate dialog: once a rate dialog is shown it runs `step` on it and
// then closes it with "Отмена" if `step` left it open, so that exec() always returns.
class DialogDriver {
public:
    explicit DialogDriver(std::function<void(TDriver&)> step = {}) : step_(std::move(step)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }

    // How many rate dialogs were shown.
    int Shown() const { return shown_; }

private:
    void Poll() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<TDriver*>(widget);
            if (dialog == nullptr || !dialog->isVisible()) continue;
            ++shown_;
            if (step_) step_(*dialog);
            if (dialog->isVisible()) dialog->reject();
        }
    }

    std::function<void(TDriver&)> step_;
    QTimer timer_;
    int shown_ = 0;
};

}  // namespace kestrova::testing
