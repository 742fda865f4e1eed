#include "meter/interface_table.h"

namespace kestrova {

int ChoosePppRow(const InterfaceSnapshot& rows, int previous) {
    for (auto i = rows.size(); i-- > 0;) {
        if (rows[i].type == kIfTypePpp) return static_cast<int>(i);
    }
    return previous;
}

}  // namespace kestrova
