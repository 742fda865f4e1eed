#pragma once

#include "settings/options_handlers.h"

class QWidget;

namespace kestrova {

struct ProgramFlags;

// The options dialog: at most one at a time (PrefShow), over `window`.
class OptionsController : public OptionsHandlers {
public:
    OptionsController(QWidget& window, ProgramFlags& flags) : window_(window), flags_(flags) {}

    void PrefButClick() override;

private:
    QWidget& window_;
    ProgramFlags& flags_;
};

}  // namespace kestrova
