#pragma once

namespace kestrova {

// The statistics export's command of the main window.
class ExportHandlers {
public:
    virtual ~ExportHandlers() = default;

    virtual void ExportRunClick() = 0;  // the export dialog
};

}  // namespace kestrova
