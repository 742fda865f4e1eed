#pragma once

namespace kestrova {

// The about window's command of the main window.
class AboutHandlers {
public:
    virtual ~AboutHandlers() = default;

    virtual void HelpButClick() = 0;  // the about window
};

}  // namespace kestrova
