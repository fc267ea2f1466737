#include "config/config_edits.h"

#include <gtest/gtest.h>

#include <vector>

namespace velq {
namespace {

constexpr FunctionCode kAim{0x0A, 3, 0x00};
constexpr FunctionCode kMiddle{0x01, 0x04, 0x00};

TEST(AimDpiTest, EveryAimKeyOfBothProfilesTakesTheChoice) {
    MouseConfig config;
    config.office[3] = kAim;
    config.gaming[1] = kAim;
    config.gaming[4] = kMiddle;
    const MouseConfig before = config;
    EXPECT_TRUE(ChooseAimDpi(config, 4));
    EXPECT_EQ(config.aim_dpi, 4);
    EXPECT_EQ(config.office[3], (FunctionCode{0x0A, 4, 0x00}));
    EXPECT_EQ(config.gaming[1], (FunctionCode{0x0A, 4, 0x00}));
    // Nothing else moved.
    config.office[3] = before.office[3];
    config.gaming[1] = before.gaming[1];
    config.aim_dpi = before.aim_dpi;
    EXPECT_EQ(config, before);
}

TEST(AimDpiTest, WithoutAnAimKeyTheChoiceFallsBackToTheFirstValue) {
    MouseConfig config;
    config.aim_dpi = 6;
    config.office[2] = kMiddle;
    const MouseConfig before = config;
    EXPECT_FALSE(HasAimKey(config));
    EXPECT_FALSE(ChooseAimDpi(config, 5));
    EXPECT_EQ(config.aim_dpi, 0);
    EXPECT_EQ(config.office, before.office);
    EXPECT_EQ(config.gaming, before.gaming);
}

TEST(FireKeyEditTest, ClicksAndContinuousFire) {
    struct Case {
        bool while_held;
        int clicks;
        uint8_t repeat;  // the stored count after the edit
    };
    const std::vector<Case> cases = {
        {false, 1, 0}, {false, 255, 254}, {true, 10, 9}, {false, 0, 0}, {false, 300, 254},
    };
    for (const Case& c : cases) {
        MouseConfig config;
        config.fire_key = {c.while_held, 7, 40};
        SetFireClicks(config, c.clicks);
        EXPECT_EQ(config.fire_key, (FireKeyConfig{false, c.repeat, 40})) << c.clicks;
        EXPECT_EQ(FireCountPosition(config.fire_key), c.repeat);
    }

    MouseConfig config;
    config.fire_key = {false, 9, 40};
    ToggleContinuousFire(config);
    EXPECT_TRUE(config.fire_key.while_held);
    EXPECT_EQ(FireCountPosition(config.fire_key), kWhileHeldCountPosition);
    EXPECT_EQ(config.fire_key.interval, 40);
    ToggleContinuousFire(config);
    EXPECT_EQ(config.fire_key, (FireKeyConfig{false, 2, 40}));  // back to three clicks
}

TEST(KeyModeEditTest, NotRememberedKeepsKeyModeOne) {
    MouseConfig config;
    config.key_mode = 1;
    SetRememberKeyMode(config, true);
    EXPECT_EQ(config.key_mode, 1);
    SetRememberKeyMode(config, false);
    EXPECT_FALSE(config.options.remember_key_mode);
    EXPECT_EQ(config.key_mode, 0);
}

}  // namespace
}  // namespace velq
