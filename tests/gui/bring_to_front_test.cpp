#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "gui/bring_to_front.h"
#include "support/gui_app.h"

namespace kestrova {
namespace {

struct FrontCase {
    const char* name;
    Qt::WindowStates before;
    bool shownBefore;
    Qt::WindowStates after;
};
void PrintTo(const FrontCase& c, std::ostream* os) {
    *os << c.name;
}

class BringToFrontTest : public ::testing::TestWithParam<FrontCase> {
protected:
    void SetUp() override { testing::GuiApp(); }
};

TEST_P(BringToFrontTest, RestoresShowsAndActivates) {
    QWidget window;
    QWidget other;  // holds the focus until the window comes forward
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window.setWindowState(GetParam().before);
    if (GetParam().shownBefore) window.show();

    BringToFront(&window);

    EXPECT_EQ(window.windowState(), GetParam().after);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

INSTANTIATE_TEST_SUITE_P(
    States, BringToFrontTest,
    ::testing::Values(FrontCase{"Minimised", Qt::WindowMinimized, true, Qt::WindowNoState},
                      FrontCase{"MinimisedFromMaximised", Qt::WindowMinimized | Qt::WindowMaximized,
                                true, Qt::WindowMaximized},
                      FrontCase{"Hidden", Qt::WindowNoState, false, Qt::WindowNoState},
                      FrontCase{"BehindAnother", Qt::WindowNoState, true, Qt::WindowNoState}),
    [](const ::testing::TestParamInfo<FrontCase>& param) { return param.param.name; });

}  // namespace
}  // namespace kestrova
