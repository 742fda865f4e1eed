#pragma once

namespace kestrova {

// The options dialog's command of the main window.
class OptionsHandlers {
public:
    virtual ~OptionsHandlers() = default;

    virtual void PrefButClick() = 0;  // the options dialog
};

}  // namespace kestrova
