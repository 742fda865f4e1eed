#include "settings/options_controller.h"

#include "base/program_flags.h"

namespace kestrova {

void OptionsController::PrefButClick() {
    // The options dialog comes with its own window (it sets PrefShow while open); until then
    // the command does nothing.
}

}  // namespace kestrova
