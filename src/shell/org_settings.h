#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "shell/layout_config.h"
#include "shell/layout_ops.h"

namespace velq {

// The program settings of the embedded [org] text, read once at start-up.
struct OrgSettings {
    bool web_enabled = false;  // Web_Enable: the web button opens `web`
    std::string web;           // Web: address handed to the desktop's open action
    int web_x = 0;             // Web_X, Web_Y: place of the four web buttons
    int web_y = 0;
    int rev_manu_id = 0;        // Rev_Manu_ID: second accepted manufacturer byte (0..255)
    int rev_pro_id = 0;         // Rev_Pro_ID: second accepted product byte (0..255)
    std::string path;           // Path: macro folder; empty = the program's folder
    bool text_rolling = false;  // TR_Enable: scrolling caption under the pointer
    bool gun_display = false;   // GD_Enable, already cleared in driver mode
    int main_panel_height_with_gun = 190;     // Main_Pnl_Height_With_Gun (190 when absent)
    int main_panel_height_without_gun = 170;  // Main_Pnl_Height_WithNo_Gun (170 when absent)
    bool dpi_led_marker_style = true;         // DPILED_Status = 1: only the current bar segment lit
    int gun6_slots = 2;                       // Gun6_Num held to 1..2
    int gun7_slots = 3;                       // Gun7_Num held to 1..3
    int num_order = 0;           // Num_Order held to 0..1: 1 numbers the lamp row 10 down to 1
    int ap_mode = 0;             // Ap_Mode: 0 EEPROM, 1 driver, 2 EEPROM + driver
    bool eeprom_mode = true;     // Ap_Mode 0 or 2
    int dpi_count = 12;          // DPI_Count held to 1..12: DPI steps the sliders offer
    std::string special_config;  // Special_Config: special menu entries, comma separated
};

// The Special_Config list used when the key is absent: every special entry but the gun Fn entry.
inline constexpr std::string_view kDefaultSpecialConfig =
    "Key_CPIKey,Key_Fire,Key_AIMKey,Key_LEDMode,Key_LEDSwitch,Key_KeyMode,Key_KeyOff";

// Reads the [org] keys. A missing key (other than the two panel heights and Special_Config,
// which have defaults) or a non-numeric value is an error naming the key and the section; so is
// an Ap_Mode other than 0, 1, 2 or an ID byte outside 0..255.
[[nodiscard]] LayoutResult<OrgSettings> ReadOrgSettings(const ConfigSection& section);

// Parses a settings text holding the [org] section.
[[nodiscard]] LayoutResult<OrgSettings> ParseOrgSettings(std::string_view text);

// Reads the embedded "org" resource.
[[nodiscard]] LayoutResult<OrgSettings> LoadOrgSettings();

// The four web buttons: pictures Img_Web_1..4 at (Web_X, Web_Y), their labels Btn_Web_1..4 on
// them at the picture's size.
std::vector<LayoutOp> WebButtonOps(const OrgSettings& settings);

}  // namespace velq
