#include <gtest/gtest.h>

#include "gui/gui_test_rig.h"
#include "settings/ui/light_page.h"

namespace velq::ui::testing {
namespace {

// The flowing and two-colour mode entries share a row: only one type's entries are on screen,
// and a language switch keeps that choice.
TEST(LightEntries, OnlyTheLightingTypesOwnModesShow) {
    EnsureApplication();
    WindowRig rig;
    rig.Start();
    EXPECT_FALSE(rig.Control("Img_MCULEDMode3")->isHidden());
    EXPECT_TRUE(rig.Control("Img_RBLEDMode3")->isHidden());
    EXPECT_TRUE(rig.Control("lbl_RBLEDMode1")->isHidden());

    rig.window->PageOf<LightPage>()->ShowLightingEntries(0b1111011, false);  // mode 3 not offered
    EXPECT_TRUE(rig.Control("Img_MCULEDMode3")->isHidden());
    EXPECT_TRUE(rig.Control("lbl_MCULEDMode3")->isHidden());
    EXPECT_FALSE(rig.Control("Img_MCULEDMode4")->isHidden());

    rig.window->PageOf<LightPage>()->ShowLightingEntries(0, true);
    ASSERT_TRUE(rig.window->SwitchLanguage(2));
    EXPECT_TRUE(rig.Control("Img_MCULEDMode1")->isHidden());
    EXPECT_FALSE(rig.Control("Img_RBLEDMode1")->isHidden());
    EXPECT_FALSE(rig.Control("lbl_RBLEDMode2")->isHidden());
}

}  // namespace
}  // namespace velq::ui::testing
