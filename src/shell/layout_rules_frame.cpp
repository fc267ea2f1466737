// The frame of every page: the A buttons (Confirm, Apply, Read ...), the B page tabs and
// profile and language buttons, the main page's button slots and combo-key options, the page
// picture of the office and gaming pages and the function menu.

#include <array>
#include <string>
#include <vector>

#include "shell/layout_rules.h"

namespace velq::layout_detail {
namespace {

// Each A or B button is a picture `Img_<stem><copy>` under a caption label `Btn_<stem><copy>`.
struct FrameButton {
    int number;
    const char* stem;
};

constexpr std::array<FrameButton, 8> kAButtons{{
    {1, "Confirm_"},
    {2, "Apply_"},
    {3, "Confirm1_"},
    {4, "Exit_"},
    {5, "Confirm2_"},
    {6, "Confirm3_"},
    {7, "Mini_"},
    {8, "Read_"},
}};

// B3 has no button; B12 (a combined advanced and light page) is in the texts but not used.
constexpr std::array<FrameButton, 10> kBButtons{{
    {1, "Main_"},
    {2, "Second_"},
    {4, "Adv_"},
    {5, "Breath_"},
    {11, "Macro_"},
    {6, "Save_"},
    {7, "Load_"},
    {8, "Lang1_"},
    {9, "Lang2_"},
    {10, "Lang3_"},
}};

constexpr std::array<const char*, 8> kSizeALabels{"Confirm_",  "Apply_",    "Read_", "Confirm1_",
                                                  "Confirm2_", "Confirm3_", "Save_", "Load_"};

constexpr std::array<const char*, 9> kSizeBLabels{
    "Main_", "Second_", "Adv_", "Breath_", "Macro_", "Engineer_", "Lang1_", "Lang2_", "Lang3_"};

// The function menu: each panel with its entries and ">>" markers.
struct MenuPanel {
    const char* panel;
    std::array<const char*, 10> entries;  // nullptr ends the list
};

constexpr std::array<MenuPanel, 7> kMenuPanels{{
    {"Pnl_Main",
     {"Key_Standard", "Key_Special", "Key_Media", "Key_WWW", "Key_MyPC", "Key_Assembly",
      "Key_Macro", "Key_FireMacro", "Key_TLFireMacro", nullptr}},
    {"Pnl_Special",
     {"Key_CPIKey", "Key_Fire", "Key_AIMKey", "Key_LEDMode", "Key_LEDSwitch", "Key_KeyMode",
      "Key_KeyOff", "Key_FnFire", nullptr, nullptr}},
    {"Pnl_CPIKey", {"Key_CPI", "Key_CPII", "Key_CPID", nullptr}},
    {"Pnl_MseKey", {"Key_Left", "Key_Right", "Key_Middle", "Key_B4", "Key_B5", nullptr}},
    {"Pnl_Media",
     {"Key_PlayPause", "Key_Stop", "Key_PreviousTrack", "Key_NextTrack", "Key_VolumePlus",
      "Key_VolumeMinus", "Key_Mute", nullptr}},
    {"Pnl_MyPC", {"Key_Computer", "Key_Calculator", "Key_EMail", "Key_Desktop", nullptr}},
    {"Pnl_WWW",
     {"Key_WWWHome", "Key_WWWSearch", "Key_WWWBack", "Key_WWWForward", "Key_WWWStop",
      "Key_WWWRefresh", "Key_WWWFavorites", nullptr}},
}};

constexpr std::array<const char*, 8> kMenuMarkers{"ST_Standard",    "ST_Special", "ST_Media",
                                                  "ST_WWW",         "ST_MyPC",    "ST_Macro",
                                                  "ST_TLFireMacro", "ST_CPIKey"};

template <typename F>
void ForEachMenuEntry(const MenuPanel& panel, F&& f) {
    for (const char* entry : panel.entries) {
        if (entry == nullptr) {
            break;
        }
        f(entry);
    }
}

// Every text of the menu: entries, markers and the pop-up lists (macros, gun keys) that use the
// same look.
template <typename F>
void ForEachMenuText(F&& f) {
    for (const MenuPanel& panel : kMenuPanels) {
        ForEachMenuEntry(panel, f);
    }
    for (const char* marker : kMenuMarkers) {
        f(marker);
    }
    f("LB_Name");
    f("LB_Script");
}

// Menu widths: the panel takes the width, its entries fill it inside the one-pixel border.
void MenuWidth(LayoutEmitter& e, const MenuPanel& panel, int width) {
    e.SetWidth(panel.panel, width);
    ForEachMenuEntry(panel, [&](const char* entry) { e.SetWidth(entry, width - 2); });
}

// The copies of a frame button: one on each of the four pages with the frame; the window's
// own minimise and close buttons also on the fire page, which covers the rest of the frame.
std::vector<std::string> CopiesOf(const std::string& stem) {
    std::vector<std::string> copies = FourCopies(stem);
    if (stem == "Exit_" || stem == "Mini_") {
        copies.push_back(stem + "5");
    }
    return copies;
}

// A frame button (A) or a tab-like button (B): picture and caption label of all its copies,
// moved together or hidden together. A B label leaves room for the irregular edges of its
// picture (`Btn_Space_F`, `Btn_Space_B`); an A label takes the picture's size.
void AddFrameButton(LayoutRules& rules, char family, const FrameButton& button) {
    const std::string key = std::string("Btn_") + family + std::to_string(button.number) + "_";
    const std::string stem = button.stem;
    const bool spaced = family == 'B';
    rules.push_back({key + "Enable", [key, stem, spaced](LayoutEmitter& e) {
                         if (!e.Enabled(key + "Enable")) {
                             for (const std::string& copy : CopiesOf(stem)) {
                                 e.Hide("Img_" + copy);
                                 e.Hide("Btn_" + copy);
                             }
                             return;
                         }
                         const int x = e.Int(key + "X");
                         const int y = e.Int(key + "Y");
                         const int front = spaced ? e.Int("Btn_Space_F") : 0;
                         const int back = spaced ? e.Int("Btn_Space_B") : 0;
                         for (const std::string& copy : CopiesOf(stem)) {
                             e.Show("Img_" + copy);
                             e.Move("Img_" + copy, x, y);
                             e.Show("Btn_" + copy);
                             e.FitToPicture("Btn_" + copy, "Img_" + copy, front, 0, -(front + back),
                                            0);
                         }
                     }});
}

void AddKeySlot(LayoutRules& rules, int n) {
    const std::string key = "Key" + std::to_string(n) + "_";
    const std::string label = "Key" + std::to_string(n);
    const std::string picture = "Img_Key" + std::to_string(n);
    rules.push_back({key + "Enable", [key, label, picture](LayoutEmitter& e) {
                         if (!e.Enabled(key + "Enable")) {
                             e.Hide(label);
                             e.Hide(picture);
                             return;
                         }
                         const int x = e.Int(key + "X");
                         const int y = e.Int(key + "Y");
                         const int width = e.Int("Key_Width");
                         for (const std::string& control : {label, picture}) {
                             e.Show(control);
                             e.Move(control, x, y);
                             e.SetWidth(control, width);
                         }
                     }});
}

void AddComboKey(LayoutRules& rules, int n) {
    const std::string key = "ComboKey" + std::to_string(n) + "_";
    const std::string picture = "Img_ComboKey" + std::to_string(n);
    const std::string caption = "IB_ComboKey" + std::to_string(n);
    rules.push_back({key + "Enable", [n, key, picture, caption](LayoutEmitter& e) {
                         const bool enabled = e.Enabled(key + "Enable");
                         if (n == 3) {
                             e.style().combo_key3_permitted = enabled;
                         }
                         if (!enabled) {
                             e.Hide(picture);
                             e.Hide(caption);
                             return;
                         }
                         const int x = e.Int(key + "X");
                         const int y = e.Int(key + "Y");
                         const int dx = e.Int("ComboKey_D");
                         const int dy = e.Int("ComboKey_H");
                         e.Move(picture, x, y);
                         e.Move(caption, x + dx, y + dy);
                         // The gun option only shows on the gaming page with gun display on; the
                         // page tabs apply the same test when they switch pages.
                         const bool visible =
                             n != 3 || (e.context().gun_display &&
                                        e.context().current_page == LayoutPage::kGaming);
                         e.SetVisible(picture, visible);
                         e.SetVisible(caption, visible);
                     }});
}

}  // namespace

void AddFrameRules(LayoutRules& rules) {
    rules.push_back({"Size_A", [](LayoutEmitter& e) {
                         const int size = e.Int("Size_A");
                         for (const char* stem : kSizeALabels) {
                             for (const std::string& copy : FourCopies(stem)) {
                                 e.FontSize("Btn_" + copy, size);
                             }
                         }
                     }});
    rules.push_back({"Color_A_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_A_");
                         for (const char* stem : kSizeALabels) {
                             for (const std::string& copy : FourCopies(stem)) {
                                 e.FontColor("Btn_" + copy, colour);
                             }
                         }
                     }});
    for (const FrameButton& button : kAButtons) {
        AddFrameButton(rules, 'A', button);
    }

    rules.push_back({"Size_B", [](LayoutEmitter& e) {
                         const int size = e.Int("Size_B");
                         for (const char* stem : kSizeBLabels) {
                             for (const std::string& copy : FourCopies(stem)) {
                                 e.FontSize("Btn_" + copy, size);
                             }
                         }
                     }});
    rules.push_back({"Color_B_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_B_");
                         for (const char* stem : kSizeBLabels) {
                             for (const std::string& copy : FourCopies(stem)) {
                                 e.FontColor("Btn_" + copy, colour);
                             }
                         }
                     }});
    AddCheckedOnly(rules, "Btn_Space_F");
    AddCheckedOnly(rules, "Btn_Space_B");
    for (const FrameButton& button : kBButtons) {
        AddFrameButton(rules, 'B', button);
    }

    rules.push_back({"Size_C", [](LayoutEmitter& e) {
                         const int size = e.Int("Size_C");
                         for (int n = 1; n <= 9; ++n) {
                             e.FontSize("Key" + std::to_string(n), size);
                         }
                         for (int n = 1; n <= 3; ++n) {
                             e.FontSize("IB_ComboKey" + std::to_string(n), size - 1);
                         }
                     }});
    rules.push_back({"Color_C_R", [](LayoutEmitter& e) {
                         // The combo-key captions share the slots' text colour: no other key
                         // colours them.
                         const uint32_t colour = e.Colour("Color_C_");
                         for (int n = 1; n <= 9; ++n) {
                             e.FontColor("Key" + std::to_string(n), colour);
                         }
                         for (int n = 1; n <= 3; ++n) {
                             e.FontColor("IB_ComboKey" + std::to_string(n), colour);
                         }
                     }});
    rules.push_back(
        {"P1_X", [](LayoutEmitter& e) { e.Move("Img_P1", e.Int("P1_X"), e.Int("P1_Y")); }});
    for (int n = 1; n <= 9; ++n) {
        AddKeySlot(rules, n);
    }
    AddCheckedOnly(rules, "Key_Width");
    for (int n = 1; n <= 3; ++n) {
        AddComboKey(rules, n);
    }
    AddCheckedOnly(rules, "ComboKey_D");
    AddCheckedOnly(rules, "ComboKey_H");
    rules.push_back({"Combox_Width", [](LayoutEmitter& e) {
                         const int width = e.Int("Combox_Width");
                         for (int n = 1; n <= 3; ++n) {
                             e.SetWidth("IB_ComboKey" + std::to_string(n), width);
                         }
                     }});

    rules.push_back({"Size_G", [](LayoutEmitter& e) {
                         const int size = e.Int("Size_G");
                         ForEachMenuText([&](const char* control) { e.FontSize(control, size); });
                     }});
    rules.push_back({"Color_G_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_G_");
                         e.style().menu_font_color = colour;
                         ForEachMenuText(
                             [&](const char* control) { e.FontColor(control, colour); });
                     }});
    rules.push_back({"Color_G_Back_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_G_Back_");
                         e.style().menu_back_color = colour;
                         for (const MenuPanel& panel : kMenuPanels) {
                             e.BackColor(panel.panel, colour);
                         }
                         e.BackColor("LB_Name", colour);
                         e.BackColor("LB_Script", colour);
                     }});
    rules.push_back({"Color_G_Border_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_G_Border_");
                         for (const MenuPanel& panel : kMenuPanels) {
                             e.BorderColor(panel.panel, colour);
                         }
                         e.BorderColor("LB_Name", colour);
                         e.BorderColor("LB_Script", colour);
                     }});
    rules.push_back({"Color_G_SF_R", [](LayoutEmitter& e) {
                         e.style().menu_selected_font_color = e.Colour("Color_G_SF_");
                     }});
    rules.push_back({"Color_G_SP_R", [](LayoutEmitter& e) {
                         e.style().menu_selected_back_color = e.Colour("Color_G_SP_");
                     }});
    rules.push_back(
        {"M_L_W", [](LayoutEmitter& e) { MenuWidth(e, kMenuPanels[0], e.Int("M_L_W")); }});
    rules.push_back(
        {"SP_L_W", [](LayoutEmitter& e) { MenuWidth(e, kMenuPanels[1], e.Int("SP_L_W")); }});
    rules.push_back({"O_L_W", [](LayoutEmitter& e) {
                         const int width = e.Int("O_L_W");
                         for (size_t i = 2; i < kMenuPanels.size(); ++i) {
                             MenuWidth(e, kMenuPanels[i], width);
                         }
                     }});
}

}  // namespace velq::layout_detail
