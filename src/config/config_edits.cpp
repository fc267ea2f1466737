#include "config/config_edits.h"

#include <algorithm>

#include "common/dpi.h"

namespace velq {
namespace {

bool IsAimKey(const FunctionCode& code) {
    return code.type == static_cast<uint8_t>(CodeType::kAIMKey);
}

// Three clicks per press, the count the fire key falls back to when continuous fire ends.
constexpr uint8_t kThreeClicks = 2;

}  // namespace

bool HasAimKey(const MouseConfig& config) {
    return std::any_of(config.office.begin(), config.office.end(), IsAimKey) ||
           std::any_of(config.gaming.begin(), config.gaming.end(), IsAimKey);
}

bool ChooseAimDpi(MouseConfig& config, uint8_t index) {
    if (!HasAimKey(config)) {
        config.aim_dpi = 0;
        return false;
    }
    config.aim_dpi = index;
    for (ProfileButtons* buttons : {&config.office, &config.gaming}) {
        for (FunctionCode& code : *buttons) {
            if (IsAimKey(code)) {
                code.p1 = index;
            }
        }
    }
    return true;
}

void SetFireClicks(MouseConfig& config, int clicks) {
    config.fire_key.while_held = false;
    config.fire_key.repeat = static_cast<uint8_t>(std::clamp(clicks, 1, 255) - 1);
}

void ToggleContinuousFire(MouseConfig& config) {
    FireKeyConfig& fire = config.fire_key;
    fire.while_held = !fire.while_held;
    if (!fire.while_held) {
        fire.repeat = kThreeClicks;
    }
}

int FireCountPosition(const FireKeyConfig& fire) {
    return fire.while_held ? kWhileHeldCountPosition : int{fire.repeat};
}

void SetRememberKeyMode(MouseConfig& config, bool remember) {
    config.options.remember_key_mode = remember;
    if (!remember) {
        config.key_mode = 0;
    }
}

void SetLevelCount(MouseConfig& config, int count) {
    config.dpi.count = static_cast<uint8_t>(std::clamp(count, kMinLevelCount, kDpiLevels));
    config.dpi.current = static_cast<uint8_t>(config.dpi.count - 1);
}

void ChooseLightType(MouseConfig& config, LightType type) {
    config.lighting.type = type;
    if (type == LightType::kFlowing || type == LightType::kTwoColour) {
        config.lighting.mode = kModeOfANewlyChosenLight;
    }
}

bool KeepsLeftClick(const ProfileButtons& buttons) {
    return std::find(buttons.begin(), buttons.end(), kLeftClickCode) != buttons.end();
}

bool AssignButtonFunction(ProfileButtons& buttons, std::size_t button, const FunctionCode& code,
                          LeftClickRule rule) {
    if (button >= buttons.size()) {
        return false;
    }
    ProfileButtons changed = buttons;
    changed[button] = code;
    if (rule == LeftClickRule::kKept && !KeepsLeftClick(changed)) {
        return false;
    }
    buttons = changed;
    return true;
}

}  // namespace velq
