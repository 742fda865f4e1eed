#include "export/export_controller.h"

namespace kestrova {

void ExportController::ExportRunClick() {
    // The export dialog comes with its own window; until then the command does nothing.
}

}  // namespace kestrova
