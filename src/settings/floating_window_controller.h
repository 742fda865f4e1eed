#pragma once

#include "settings/floating_window_handlers.h"

class QTimer;

namespace kestrova {

struct ProgramFlags;

// The floating statistics window: shown and hidden by its commands, its text refreshed by the
// `refresh` timer while it is shown; IfHintsRun and StatWinCH are its flags.
class FloatingWindowController : public FloatingWindowHandlers {
public:
    FloatingWindowController(QTimer& refresh, ProgramFlags& flags)
        : refresh_(refresh), flags_(flags) {}

    void ToolButton1Click() override;
    void N33Click() override;
    void RefreshTimer() override;

private:
    QTimer& refresh_;
    ProgramFlags& flags_;
};

}  // namespace kestrova
