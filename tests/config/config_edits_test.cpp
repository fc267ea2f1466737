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

// A new level count makes its top level current, held to the counts the mouse has; every
// other setting stays.
TEST(LevelCountEditTest, TheTopLevelBecomesCurrent) {
    struct Case {
        int count;
        uint8_t stored_count;
        uint8_t current;
    };
    const std::vector<Case> cases = {
        {2, 2, 1}, {3, 3, 2}, {7, 7, 6}, {1, 2, 1}, {0, 2, 1}, {9, 7, 6}, {-4, 2, 1},
    };
    for (const Case& c : cases) {
        MouseConfig config;
        config.dpi.count = 4;
        config.dpi.current = 0;
        config.dpi.levels[5].value = 3;
        SetLevelCount(config, c.count);
        MouseConfig wanted;
        wanted.dpi = {c.stored_count, c.current, config.dpi.levels};
        EXPECT_EQ(config, wanted) << c.count;
    }
}

// The flowing and two-colour lights start in mode 2; the seven-colour lights keep the stored
// mode, which they do not use. Nothing else moves.
TEST(LightTypeEditTest, ALightWithModesStartsInModeTwo) {
    struct Case {
        LightType type;
        uint8_t mode;
    };
    const std::vector<Case> cases = {
        {LightType::kFlowing, 2},
        {LightType::kTwoColour, 2},
        {LightType::kSync, 6},
        {LightType::kBreathing, 6},
    };
    for (const Case& c : cases) {
        MouseConfig config;
        config.lighting.type = LightType::kBreathing;
        config.lighting.mode = 6;
        config.lighting.step = 5;
        config.lighting.on = false;
        MouseConfig wanted = config;
        wanted.lighting.type = c.type;
        wanted.lighting.mode = c.mode;
        ChooseLightType(config, c.type);
        EXPECT_EQ(config, wanted) << static_cast<int>(c.type);
    }
}

// One button of a profile stays the left click: a menu entry that would take the last one is
// refused and the profile is left as it was; a key combination or a gun key may take it.
TEST(LeftClickRuleTest, OneButtonOfAProfileStaysTheLeftClick) {
    constexpr FunctionCode kRight{0x01, 0x02, 0x00};
    constexpr FunctionCode kCombination{0x02, 0x01, 0x04};
    struct Case {
        const char* name;
        std::vector<std::size_t> left_clicks;  // the buttons holding the left click before
        std::size_t button;
        FunctionCode code;
        LeftClickRule rule;
        bool assigned;
    };
    const std::vector<Case> cases = {
        {"the only left click", {0}, 0, kRight, LeftClickRule::kKept, false},
        {"the only left click, to the left click",
         {0},
         0,
         kLeftClickCode,
         LeftClickRule::kKept,
         true},
        {"another button", {0}, 3, kRight, LeftClickRule::kKept, true},
        {"one of two left clicks", {0, 7}, 0, kRight, LeftClickRule::kKept, true},
        {"no left click, a left click given", {}, 4, kLeftClickCode, LeftClickRule::kKept, true},
        {"no left click, another function given", {}, 4, kRight, LeftClickRule::kKept, false},
        {"a key combination", {0}, 0, kCombination, LeftClickRule::kWaived, true},
        {"past the last button", {0}, 9, kRight, LeftClickRule::kWaived, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProfileButtons buttons;
        buttons.fill(kMiddle);
        for (std::size_t b : c.left_clicks) {
            buttons[b] = kLeftClickCode;
        }
        const ProfileButtons before = buttons;
        EXPECT_EQ(AssignButtonFunction(buttons, c.button, c.code, c.rule), c.assigned);
        ProfileButtons wanted = before;
        if (c.assigned) {
            wanted[c.button] = c.code;
        }
        EXPECT_EQ(buttons, wanted);
    }

    // The left click is the code 010100 itself, whatever a button is called.
    ProfileButtons buttons;
    buttons.fill(kMiddle);
    EXPECT_FALSE(KeepsLeftClick(buttons));
    buttons[8] = FunctionCode{0x01, 0x01, 0x01};
    EXPECT_FALSE(KeepsLeftClick(buttons));
    buttons[8] = kLeftClickCode;
    EXPECT_TRUE(KeepsLeftClick(buttons));
}

}  // namespace
}  // namespace velq
