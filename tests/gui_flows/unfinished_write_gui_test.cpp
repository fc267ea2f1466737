// A write that did not complete, and a second Apply, through the real window on the virtual
// mouse: after the user takes a failed edit back the mouse holds what the pages show, and an
// Apply with nothing changed changes no byte.
#include <QComboBox>

#include <gtest/gtest.h>

#include "flows/mouse_images.h"
#include "gui_flows/gui_flows_fixture.h"
#include "image/memory_map.h"

namespace velq::ui::testing {
namespace {

using UnfinishedWritesGui = GuiFlowsTest;

// DPI level 2 changed, an Apply the mouse took only part of (the failure is said), the level set
// back, Apply again: the mouse holds the level the page shows.
TEST_F(UnfinishedWritesGui, TheLevelSetBackAfterAFailedApplyReachesTheMouse) {
    StartReady();
    OpenWithFactoryPage(Page::kAdvanced);
    const VirtualMouse::Memory before = mouse->MemoryCopy();
    const int level2 = qobject_cast<QComboBox*>(rig.Control("cb_CPI2"))->currentIndex();
    const int other = level2 == 7 ? 8 : 7;
    ChooseInList("cb_CPI2", other);
    mouse->NeverAcknowledgeWriteChunk(20);  // the level is stored, the write is not complete
    RunFlow("Btn_Apply_1");
    mouse->NeverAcknowledgeWriteChunk(-1);
    EXPECT_TRUE(Said("Str109"));
    ASSERT_EQ(mouse->MemoryCopy()[kDpiValueOffset + 1], other);

    rig.messages.Clear();
    ChooseInList("cb_CPI2", level2);
    RunFlow("Btn_Apply_1");
    EXPECT_TRUE(rig.messages.messages().empty());
    EXPECT_EQ(mouse->MemoryCopy(), before);
    EXPECT_EQ(Text("cb_CPI2"), qobject_cast<QComboBox*>(rig.Control("cb_CPI2"))->itemText(level2));
}

// An aim key at 1600 on office button 4 and one at 800 on gaming button 5: gaming button 5
// becomes the right button, then Apply three times. Office button 4 keeps 1600, the pages show
// it, and the later Applies change nothing.
TEST_F(UnfinishedWritesGui, ASecondApplyWithNothingChangedChangesNothing) {
    Restart();
    mouse->SetMemory(0, velq::test::RichImage(defaults.eeprom[0]));
    StartReady();
    rig.Click("Btn_Second_1");
    Choose("Key5", {"Key_Standard", "Key_Right"});
    RunFlow("Btn_Apply_1");
    ASSERT_TRUE(rig.messages.messages().empty());
    const VirtualMouse::Memory applied = mouse->MemoryCopy();
    const uint16_t office4 = kProfileRange.address + 3 * 3;
    EXPECT_EQ(applied[office4], 0x0A);
    EXPECT_EQ(applied[office4 + 1], 0x05);
    EXPECT_EQ(rig.window->shown_config().aim_dpi, 0x05);
    for (int n = 2; n <= 3; ++n) {
        RunFlow("Btn_Apply_1");
        EXPECT_EQ(mouse->MemoryCopy(), applied) << "Apply " << n;
    }
    EXPECT_TRUE(rig.messages.messages().empty());
}

}  // namespace
}  // namespace velq::ui::testing
