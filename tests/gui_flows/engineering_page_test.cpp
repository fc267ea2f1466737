#include <QApplication>

#include <gtest/gtest.h>

#include "config/ui/page_values.h"
#include "gui/gui_test_rig.h"

namespace velq::ui::testing {
namespace {

// Every setting the configuration binds has its control on the factory page.
TEST(EngineeringPage, EverySettingHasItsControl) {
    EnsureApplication();
    WindowRig rig;
    rig.Start();
    rig.window->EnsureEngineeringPage();
    for (const char* name : PageValueControls()) {
        EXPECT_NE(rig.window->Control(QString::fromLatin1(name)), nullptr) << name;
    }
}

// A configuration shown on the page reads back unchanged: the lists hold their items, the
// radio pairs stay exclusive, the numbers survive their fields.
TEST(EngineeringPage, ConfigurationShownAndReadBackIsTheSame) {
    EnsureApplication();
    WindowRig rig;
    rig.Start();
    rig.window->EnsureEngineeringPage();
    MouseConfig config;
    config.options.led_switch_keys = false;
    config.options.gun_function = false;
    config.options.remember_key_mode = false;
    config.options.sensor_orientation = 7;
    config.options.middle_long_press = true;
    config.options.smoothing = true;
    config.dpi.count = 7;
    config.dpi.current = 6;
    config.dpi.levels[0].value = 11;
    config.dpi.levels[6].value = 3;
    config.dpi.levels[3].colour.g = 200;
    config.lighting.full_brightness = false;
    config.lighting.lamps = 7;
    config.lighting.modes_offered = {true, true, false, true, true, true, true};
    config.lighting.mode = 5;
    config.lighting.step = 5;
    config.lighting.on = false;
    config.key_mode = 1;
    config.vendor_code = 18;
    config.product_code = 52;
    config.fire_key = {false, 254, 96};  // 255 clicks, the most short of continuous fire
    config.fire_slots[9].y_adjust = -12;
    config.fire_slots[9].colour.b = 77;
    for (LightType type : {LightType::kFlowing, LightType::kTwoColour}) {
        config.lighting.type = type;
        rig.window->ShowConfig(config);
        MouseConfig read;
        if (type == LightType::kTwoColour) {
            read.lighting.step = config.lighting.step;  // only the flowing light has a step
        }
        rig.window->CollectConfig(read);
        EXPECT_EQ(read, config);
    }

    // A level's 0xFF shows no entry in its list and stays as it is.
    config.dpi.levels[2].value = 0xFF;
    config.lighting.type = LightType::kBreathing;
    rig.window->ShowConfig(config);
    MouseConfig read = config;
    rig.window->CollectConfig(read);
    EXPECT_EQ(read, config);
}

TEST(EngineeringPage, CommandRowReturnsToThePages) {
    EnsureApplication();
    WindowRig rig;
    rig.Start();
    rig.Unblock();
    rig.window->EngineerUnlock();
    rig.window->ClickTab(Page::kEngineering);
    ASSERT_EQ(rig.window->current_page(), Page::kEngineering);
    rig.Click("btn_EngLight");
    EXPECT_EQ(rig.window->current_page(), Page::kLight);
}

}  // namespace
}  // namespace velq::ui::testing
