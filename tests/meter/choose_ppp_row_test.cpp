#include <gtest/gtest.h>

#include <vector>

#include "meter/interface_table.h"

namespace kestrova {
namespace {

InterfaceSnapshot RowsOfTypes(const std::vector<int>& types) {
    InterfaceSnapshot rows;
    for (const int type : types) {
        InterfaceRow row;
        row.index = static_cast<int>(rows.size()) + 1;
        row.type = type;
        rows.push_back(row);
    }
    return rows;
}

TEST(ChoosePppRow, PicksTheLastDialUpRowOrKeepsThePrevious) {
    struct Case {
        const char* what;
        std::vector<int> types;
        int previous;
        int expected;
    };
    const Case cases[] = {
        {"empty table", {}, 0, 0},
        {"no dial-up row", {kIfTypeLoopback, kIfTypeOther}, 3, 3},
        {"one dial-up row", {kIfTypeLoopback, kIfTypePpp, kIfTypeOther}, 0, 1},
        {"the later of two", {kIfTypePpp, kIfTypeOther, kIfTypePpp, kIfTypeOther}, 0, 2},
        {"last row", {kIfTypeOther, kIfTypePpp}, 7, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ChoosePppRow(RowsOfTypes(c.types), c.previous), c.expected);
    }
}

}  // namespace
}  // namespace kestrova
