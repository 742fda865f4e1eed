#pragma once

#include "windows/about_handlers.h"

class QWidget;

namespace kestrova {

// The about window, made anew for each command, over `window`.
class AboutController : public AboutHandlers {
public:
    explicit AboutController(QWidget& window) : window_(window) {}

    void HelpButClick() override;

private:
    QWidget& window_;
};

}  // namespace kestrova
