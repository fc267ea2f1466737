// The light page: on/off option pairs, brightness, the flowing and two-colour mode entries, the
// speed slider with its (parked) step bar and the lamp-number row.

#include <array>
#include <string>

#include "shell/layout_rules.h"

namespace velq::layout_detail {
namespace {

constexpr int kModes = 7;
constexpr int kLamps = 10;
constexpr int kSteps = 8;
// The speed slider replaced the step bar; its pictures stay out of sight at this left edge.
constexpr int kParkedLeft = 9000;

std::string Numbered(const char* stem, int n) {
    return stem + std::to_string(n);
}

// An option: picture at (X, Y); with `label` its caption label at (X - 4, Y - 2).
struct LightOption {
    const char* key;
    const char* control;  // picture name without "Img_"; the label uses "lbl_"
    bool places_label;
};

constexpr std::array<LightOption, 10> kOptions{{
    {"LEDOn", "LEDOn", false},
    {"LEDOff", "LEDOff", false},
    {"B4CPIOn", "B4CPIOn", true},
    {"B4CPIOff", "B4CPIOff", true},
    {"LEDSwitchOn", "LCPIOn", true},
    {"LEDSwitchOff", "LCPIOff", true},
    {"SaveKeyMode", "SaveKeyMode", true},
    {"NoSaveKeyMode", "NoSaveKeyMode", true},
    {"LED3Control", "MCULED3Control", true},
    {"LED6Control", "MCULED6Control", true},
}};

void AddOption(LayoutRules& rules, const std::string& key, const std::string& control,
               bool places_label) {
    rules.push_back({key + "_X", [key, control, places_label](LayoutEmitter& e) {
                         const int x = e.Int(key + "_X");
                         const int y = e.Int(key + "_Y");
                         e.Move("Img_" + control, x, y);
                         if (places_label) {
                             e.Move("lbl_" + control, x - 4, y - 2);
                         }
                     }});
}

template <typename F>
void ForEachNumberAndStepLabel(F&& f) {
    for (int i = 1; i <= kLamps; ++i) {
        f(Numbered("lbl_MCULEDNum_", i));
    }
    for (int k = 1; k <= kSteps; ++k) {
        f(Numbered("lbl_MCULEDStep_", k));
    }
}

}  // namespace

void AddLightRules(LayoutRules& rules) {
    rules.push_back({"Size_E", [](LayoutEmitter& e) {
                         const int size = e.Int("Size_E");
                         ForEachNumberAndStepLabel(
                             [&](const std::string& c) { e.FontSize(c, size); });
                     }});
    rules.push_back({"Color_E_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_E_");
                         ForEachNumberAndStepLabel(
                             [&](const std::string& c) { e.FontColor(c, colour); });
                     }});
    rules.push_back(
        {"P3_X", [](LayoutEmitter& e) { e.Move("Img_P3", e.Int("P3_X"), e.Int("P3_Y")); }});
    for (const LightOption& option : kOptions) {
        AddOption(rules, option.key, option.control, option.places_label);
    }
    for (int n = 1; n <= kModes; ++n) {
        AddOption(rules, Numbered("MCULEDMode", n), Numbered("MCULEDMode", n), true);
    }
    rules.push_back({"MCULEDNum_X", [](LayoutEmitter& e) {
                         const int x = e.Int("MCULEDNum_X");
                         const int y = e.Int("MCULEDNum_Y");
                         const int gap = e.Int("MCULEDNum_D");
                         const bool reversed = e.context().num_order == 1;
                         for (int i = 1; i <= kLamps; ++i) {
                             e.MoveInRow(Numbered("Img_MCULEDNum_", i), "Img_MCULEDNum_1", x, y,
                                         i - 1, gap);
                             // Label i stands under picture i, or under picture 11 - i when the
                             // numbers run from 10 down to 1.
                             const int label = reversed ? kLamps + 1 - i : i;
                             e.MoveInRow(Numbered("lbl_MCULEDNum_", label), "Img_MCULEDNum_1", x,
                                         y + 24, i - 1, gap);
                         }
                     }});
    rules.push_back({"MCULEDStep_X", [](LayoutEmitter& e) {
                         const int x = e.Int("MCULEDStep_X");
                         const int y = e.Int("MCULEDStep_Y");
                         e.Move("slider_Breath_Speed", x, y);
                         for (int k = 1; k <= kSteps; ++k) {
                             e.Move(Numbered("Img_MCULEDStep_", k), kParkedLeft, y);
                         }
                     }});
    AddCheckedOnly(rules, "MCULEDStep_D");
    for (int n = 1; n <= kModes; ++n) {
        AddOption(rules, Numbered("RBLEDMode", n), Numbered("RBLEDMode", n), true);
    }
}

}  // namespace velq::layout_detail
