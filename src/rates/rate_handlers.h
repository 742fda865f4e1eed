#pragma once

namespace kestrova {

// The rate table's commands of the main window, and the page change that is remembered in
// the settings beside the rate table's file.
class RateHandlers {
public:
    virtual ~RateHandlers() = default;

    virtual void openTabClick() = 0;
    virtual void SaveTabClick() = 0;
    virtual void add_tClick() = 0;
    virtual void edit_tClick() = 0;
    virtual void Del_tClick() = 0;
    virtual void clear_tClick() = 0;
    virtual void TimeList2DblClick() = 0;
    virtual void CostTabChange(int page) = 0;  // the user switched to page `page`
};

}  // namespace kestrova
