// The caption labels placed and styled by the "<prefix>_Lable_..." keys: each prefix drives one
// label (a few drive a row of labels), with position, font colour, font size and width.

#include <array>
#include <string>
#include <vector>

#include "shell/layout_rules.h"

namespace velq::layout_detail {
namespace {

struct CaptionLabel {
    const char* prefix;
    const char* control;
};

// Prefixes with the full key set _Lable_X, _Y, _R, _G, _B, _Size, _Width.
constexpr std::array<CaptionLabel, 48> kCaptionLabels{{
    {"Fire_Key", "lbl_FireKey"},
    {"Fire_Key_Count", "lbl_Fire_Count"},
    {"Fire_Key_Time", "lbl_Fire_Time"},
    {"Fire_Key_Continue", "lbl_Fire_Continue"},
    {"Mouse_Speed", "lbl_Mouse_Speed"},
    {"Mouse_IsControl", "lbl_Is_Control"},
    {"Mouse_Double_Click", "lbl_Double_Click"},
    {"Mouse_Roller_Speed", "lbl_Roller_Speed"},
    {"Mouse_Roll_All_Screen", "lbl_Roll_All_Screen"},
    {"DPI_Setting", "lbl_DPI_Setting"},
    {"DPI_Value", "lbl_DPI_Value"},
    {"DPI_Note", "lbl_DPI_Note"},
    {"LED_Status", "lbl_LED_Status"},
    {"LED_On", "lbl_LEDOn"},
    {"LED_Off", "lbl_LEDOff"},
    // Left button + DPI switches the light mode; middle button + DPI switches the light.
    {"LCPI_Status", "lbl_LLED_Status"},
    {"LCPI_On", "lbl_LCPIOn"},
    {"LCPI_Off", "lbl_LCPIOff"},
    {"MCPI_Status", "lbl_MCPI_Status"},
    {"MCPI_On", "lbl_B4CPIOn"},
    {"MCPI_Off", "lbl_B4CPIOff"},
    {"LED_Light_Status", "lbl_Led_Light"},
    // The brightness captions ("all", "half") are carried by the key-mode labels.
    {"LED_Light_All", "lbl_SaveKeyMode"},
    {"LED_Light_Half", "lbl_NoSaveKeyMode"},
    {"LED_Mode", "lbl_Led_Mode"},
    {"LED_Effect_Setting", "lbl_LED_Effect_Setting"},
    {"LED_Effect_Slow", "lbl_LED_Effect_Slow"},
    {"LED_Effect_Fast", "lbl_LED_Effect_Fast"},
    {"Marco_List", "lbl_Marco_List"},
    {"Marco_Content", "lbl_Marco_Content"},
    {"Marco_Options", "lbl_Marco_Options"},
    {"Marco_Record_Delay", "IB_RecDelay"},
    {"Marco_Delay_Setting", "IB_DelayTime"},
    {"Marco_No_Delay", "IB_NoDelay"},
    {"Marco_MS", "lbl_MS"},
    {"Marco_Stop_Release", "IB_ReleaseContiue"},
    {"Marco_Stop_Over", "IB_ReleaseStop"},
    {"Marco_Circle_Times", "IB_CircleTimes"},
    {"Marco_Circle_ALL", "IB_CircleAll"},
    {"Gun_List", "lbl_Fire_Guns"},
    {"Gun_Name", "lbl_Fire_Gun_Name"},
    {"Gun_Marco_Stop_Release", "lbl_Fire_Marco_Stop_Release"},
    {"Gun_Marco_Fire_X", "lbl_Fire_Marco_X"},
    {"Gun_Marco_Fire_Count", "lbl_Fire_Marco_Count"},
    {"Gun_Marco_Fire_Y", "lbl_Fire_Marco_Y"},
    {"Gun_Marco_Y_Offset", "lbl_Fire_Marco_Y_Offset"},
    {"Gun_Marco_Fire_Delay", "lbl_Fire_Marco_Delay"},
    {"Gun_Marco_Fire_Color", "lbl_Fire_Marco_Color"},
}};

constexpr int kModes = 7;
constexpr int kSteps = 8;

std::string Numbered(const char* stem, int n) {
    return stem + std::to_string(n);
}

// Font colour and size of a group of labels, from "<prefix>_Lable_R" .. "_Size".
void AddLook(LayoutRules& rules, const std::string& prefix, std::vector<std::string> controls) {
    const std::string stem = prefix + "_Lable_";
    rules.push_back({stem + "R", [stem, controls](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour(stem);
                         for (const std::string& control : controls) {
                             e.FontColor(control, colour);
                         }
                     }});
    rules.push_back({stem + "Size", [stem, controls](LayoutEmitter& e) {
                         const int size = e.Int(stem + "Size");
                         for (const std::string& control : controls) {
                             e.FontSize(control, size);
                         }
                     }});
}

// Position and width of a group of labels sharing one place (from "<prefix>_Lable_X" ..).
void AddPlace(LayoutRules& rules, const std::string& prefix, std::vector<std::string> controls) {
    const std::string stem = prefix + "_Lable_";
    rules.push_back({stem + "X", [stem, controls](LayoutEmitter& e) {
                         const int x = e.Int(stem + "X");
                         const int y = e.Int(stem + "Y");
                         for (const std::string& control : controls) {
                             e.Move(control, x, y);
                         }
                     }});
    rules.push_back({stem + "Width", [stem, controls](LayoutEmitter& e) {
                         const int width = e.Int(stem + "Width");
                         for (const std::string& control : controls) {
                             e.SetWidth(control, width);
                         }
                     }});
}

std::vector<std::string> ModeLabels(int n) {
    // The flowing and two-colour mode entries are never shown together and share one row.
    return {Numbered("lbl_MCULEDMode", n), Numbered("lbl_RBLEDMode", n)};
}

}  // namespace

void AddLabelRules(LayoutRules& rules) {
    for (const CaptionLabel& label : kCaptionLabels) {
        AddPlace(rules, label.prefix, {label.control});
        AddLook(rules, label.prefix, {label.control});
    }
    // "DPI" styles the seven level labels, which the level rows place themselves.
    std::vector<std::string> levels;
    for (int n = 1; n <= kModes; ++n) {
        levels.push_back(Numbered("lbl_DPI", n));
    }
    AddLook(rules, "DPI", levels);
    rules.push_back({"DPI_Lable_Width", [levels](LayoutEmitter& e) {
                         const int width = e.Int("DPI_Lable_Width");
                         for (const std::string& control : levels) {
                             e.SetWidth(control, width);
                         }
                     }});

    std::vector<std::string> modes;
    for (int n = 1; n <= kModes; ++n) {
        AddPlace(rules, Numbered("LED_Mode_", n), ModeLabels(n));
        for (const std::string& control : ModeLabels(n)) {
            modes.push_back(control);
        }
    }
    AddLook(rules, "LED_Mode_Option", modes);

    std::vector<std::string> steps;
    for (int k = 1; k <= kSteps; ++k) {
        const std::string control = Numbered("lbl_MCULEDStep_", k);
        AddPlace(rules, Numbered("LED_Step_", k), {control});
        steps.push_back(control);
    }
    AddLook(rules, "LED_Step_Option", steps);

    // A caption with "-" may be broken into two lines there; the caption step does the work.
    rules.push_back({"Marco_Stop_Over_Lable_Wrap", [](LayoutEmitter& e) {
                         e.style().release_stop_wrap = e.Int("Marco_Stop_Over_Lable_Wrap") == 1;
                     }});
    rules.push_back({"Marco_Stop_Release_Lable_Wrap", [](LayoutEmitter& e) {
                         e.style().release_continue_wrap =
                             e.Int("Marco_Stop_Release_Lable_Wrap") == 1;
                     }});
}

}  // namespace velq::layout_detail
