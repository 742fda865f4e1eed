#pragma once

#include "export/export_handlers.h"

class QWidget;

namespace kestrova {

// The statistics export: the export dialog, made anew for each command, over `window`.
class ExportController : public ExportHandlers {
public:
    explicit ExportController(QWidget& window) : window_(window) {}

    void ExportRunClick() override;

private:
    QWidget& window_;
};

}  // namespace kestrova
