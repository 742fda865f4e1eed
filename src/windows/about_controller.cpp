#include "windows/about_controller.h"

namespace kestrova {

void AboutController::HelpButClick() {
    // The about window comes with its own window; until then the command does nothing.
}

}  // namespace kestrova
