#include "shell/ui/control_kinds.h"

#include <cctype>

namespace velq::ui {
namespace {

using K = ControlKind;
using P = ControlPlace;

// First match wins, so the narrow names stand before the wide patterns that would also take
// them ("Img_FireContinue" before "Img_Fire#", "Pnl_PCMacro" before "Pnl_*").
constexpr auto kKindTable = std::to_array<ControlKindRow>({
    // Window frame: background, page cover, status line, hidden state radios.
    {"Img_Base_#", K::kPicture, P::kCopy, ""},
    {"Disable_All_#", K::kCover, P::kCopy, "", true},
    {"lbl_Content", K::kLabel, P::kWindow, ""},
    {"rb_*", K::kRadio, P::kWindow, "", true},
    // Frame buttons and page tabs, one copy on each of the pages 1 to 4.
    {"Img_Confirm*_#", K::kPicture, P::kCopy, "BtnS_01"},
    {"Img_Apply_#", K::kPicture, P::kCopy, "BtnS_01"},
    {"Img_Read_#", K::kPicture, P::kCopy, "BtnS_01"},
    {"Img_Save_#", K::kPicture, P::kCopy, "BtnS_01"},
    {"Img_Load_#", K::kPicture, P::kCopy, "BtnS_01"},
    {"Img_Exit_#", K::kPicture, P::kCopy, "ExitS_01"},
    {"Img_Mini_#", K::kPicture, P::kCopy, "MiniS_01"},
    {"Img_Main_#", K::kPicture, P::kCopy, "SetS_03"},
    {"Img_Second_#", K::kPicture, P::kCopy, "SetS_01"},
    {"Img_Adv_#", K::kPicture, P::kCopy, "SetS_01"},
    {"Img_Breath_#", K::kPicture, P::kCopy, "SetS_01"},
    {"Img_Macro_#", K::kPicture, P::kCopy, "SetS_01"},
    {"Img_Engineer_#", K::kPicture, P::kCopy, "SetS_01", true},  // until unlocked
    {"Img_Lang1_#", K::kPicture, P::kCopy, "Lang_03"},
    {"Img_Lang#_#", K::kPicture, P::kCopy, "Lang_01"},
    {"Img_Web_#", K::kPicture, P::kCopy, "WebS_01"},
    {"Btn_Confirm*_#", K::kButton, P::kCopy, ""},
    {"Btn_Apply_#", K::kButton, P::kCopy, ""},
    {"Btn_Read_#", K::kButton, P::kCopy, ""},
    {"Btn_Save_#", K::kButton, P::kCopy, ""},
    {"Btn_Load_#", K::kButton, P::kCopy, ""},
    {"Btn_Exit_#", K::kButton, P::kCopy, ""},
    {"Btn_Mini_#", K::kButton, P::kCopy, ""},
    {"Btn_Main_#", K::kButton, P::kCopy, ""},
    {"Btn_Second_#", K::kButton, P::kCopy, ""},
    {"Btn_Adv_#", K::kButton, P::kCopy, ""},
    {"Btn_Breath_#", K::kButton, P::kCopy, ""},
    {"Btn_Macro_#", K::kButton, P::kCopy, ""},
    {"Btn_Engineer_#", K::kButton, P::kCopy, "", true},
    {"Btn_Lang#_#", K::kButton, P::kCopy, ""},
    {"Btn_Web_#", K::kButton, P::kCopy, ""},
    // Office and gaming page: button slots, combo-key options, function menu.
    {"Img_P1", K::kPicture, P::kPage1, ""},
    {"Key#", K::kButton, P::kPage1, ""},
    {"Img_Key#", K::kPicture, P::kPage1, "KeyS_01"},
    {"Img_ComboKey#", K::kPicture, P::kPage1, "CbS_D"},
    {"IB_ComboKey#", K::kLabel, P::kPage1, ""},
    {"cb_KeyMode", K::kCombo, P::kPage1, "", true},
    {"Pnl_PCMacro", K::kPanel, P::kPage4, "", true},
    {"Pnl_*", K::kPanel, P::kPage1, "", true},
    {"ST_*", K::kMenuMarker, P::kMenu, ""},
    {"Key_*", K::kMenuEntry, P::kMenu, ""},
    {"LB_Name", K::kList, P::kPage1, "", true},
    {"LB_Script", K::kList, P::kPage1, "", true},
    // Advanced page: fire key, pointer rows, DPI levels, aim key.
    {"Img_P2", K::kPicture, P::kPage2, ""},
    {"Edt_Repeat1", K::kEdit, P::kPage2, ""},
    {"Edt_DelayTime1", K::kEdit, P::kPage2, ""},
    {"Img_FireContinue", K::kPicture, P::kPage2, "CbS_D"},
    {"Img_IsControl", K::kPicture, P::kPage2, "CbS_D"},
    {"Img_IsScreen", K::kPicture, P::kPage2, "CbS_D"},
    {"lbl_FireContinue", K::kLabel, P::kPage2, ""},
    {"lbl_IsControl", K::kLabel, P::kPage2, ""},
    {"lbl_IsScreen", K::kLabel, P::kPage2, ""},
    {"slider_Breath_Speed", K::kSlider, P::kPage3, ""},
    {"slider_*", K::kSlider, P::kPage2, ""},
    {"lbl_Spd*", K::kLabel, P::kPage2, ""},
    {"lbl_DbSpd*", K::kLabel, P::kPage2, ""},
    {"lbl_ScrSpd*", K::kLabel, P::kPage2, ""},
    {"Img_DPI#Col", K::kPicture, P::kPage2, "Col_F"},
    {"cs_DPI#Col", K::kSwatch, P::kPage2, ""},
    {"lbl_DPI#Col", K::kLabel, P::kPage2, ""},
    {"Img_DPI#", K::kPicture, P::kPage2, "CbS_D"},
    {"lbl_DPI*", K::kLabel, P::kPage2, ""},
    {"lbl_AIMKey*", K::kLabel, P::kPage2, ""},
    {"cbb_DPICount", K::kCombo, P::kPage2, ""},
    {"lbl_Fire_Marco_*", K::kLabel, P::kPage5, ""},
    {"lbl_Fire_Gun*", K::kLabel, P::kPage5, ""},
    {"lbl_FireKey", K::kLabel, P::kPage2, ""},
    {"lbl_Fire_*", K::kLabel, P::kPage2, ""},
    {"lbl_Mouse_Speed", K::kLabel, P::kPage2, ""},
    {"lbl_Is_Control", K::kLabel, P::kPage2, ""},
    {"lbl_Double_Click", K::kLabel, P::kPage2, ""},
    {"lbl_Roller_Speed", K::kLabel, P::kPage2, ""},
    {"lbl_Roll_All_Screen", K::kLabel, P::kPage2, ""},
    // Light page: options, lamp-number and step rows.
    {"Img_P3", K::kPicture, P::kPage3, ""},
    {"Img_MCULEDNum_#*", K::kPicture, P::kPage3, "Bar1_D"},
    {"Img_MCULEDStep_#", K::kPicture, P::kPage3, "Bar2_D"},
    {"Img_MCULEDMode#", K::kPicture, P::kPage3, "RdS_D"},
    {"Img_RBLEDMode#", K::kPicture, P::kPage3, "RdS_D"},
    {"Img_LED*", K::kPicture, P::kPage3, "CbS_D"},
    {"Img_B4CPI*", K::kPicture, P::kPage3, "CbS_D"},
    {"Img_LCPI*", K::kPicture, P::kPage3, "CbS_D"},
    {"Img_*SaveKeyMode", K::kPicture, P::kPage3, "RdS_D"},
    {"Img_MCULED*", K::kPicture, P::kPage3, "CbS_D"},
    {"lbl_LED*", K::kLabel, P::kPage3, ""},
    {"lbl_Led_*", K::kLabel, P::kPage3, ""},
    {"lbl_LLED_Status", K::kLabel, P::kPage3, ""},
    {"lbl_MCPI_Status", K::kLabel, P::kPage3, ""},
    {"lbl_B4CPI*", K::kLabel, P::kPage3, ""},
    {"lbl_LCPI*", K::kLabel, P::kPage3, ""},
    {"lbl_*SaveKeyMode", K::kLabel, P::kPage3, ""},
    {"lbl_MCULED*", K::kLabel, P::kPage3, ""},
    {"lbl_RBLED*", K::kLabel, P::kPage3, ""},
    // Macro page: lists, library panel, record buttons, delay and insert boxes, options.
    {"Img_P4", K::kPicture, P::kPage4, ""},
    {"LB_PCMacroName", K::kList, P::kPage4, ""},
    {"LB_MacroName", K::kList, P::kPage4, ""},
    {"LB_macro", K::kList, P::kPage4, ""},
    {"Btn_DelPCMacro", K::kButton, P::kPcMacro, ""},
    {"Btn_Export*", K::kButton, P::kPcMacro, ""},
    {"Btn_Import*", K::kButton, P::kPcMacro, ""},
    {"Btn_NewMacro", K::kButton, P::kPcMacro, ""},
    {"Btn_NewName", K::kButton, P::kPcMacro, ""},
    {"Btn_Del", K::kButton, P::kPage4, ""},
    {"Btn_Insert", K::kButton, P::kPage4, ""},
    {"Btn_Edit", K::kButton, P::kPage4, ""},
    {"Img_New", K::kPicture, P::kPage4, "MacroS_01"},
    {"Img_Start", K::kPicture, P::kPage4, "MacroS_01"},
    {"Img_Delete", K::kPicture, P::kPage4, "MacroS_01"},
    {"Btn_New", K::kButton, P::kPage4, ""},
    {"Btn_Start", K::kButton, P::kPage4, ""},
    {"Btn_Delete", K::kButton, P::kPage4, ""},
    {"Gb_Delay", K::kGroup, P::kPage4, ""},
    {"Gb_Insert", K::kGroup, P::kPage4, "", true},
    {"Img_InsertBase", K::kPicture, P::kPage4, "InsertDelayBase", true},
    {"LED_Insert*", K::kPicture, P::kGbInsert, "RdS_D"},
    {"IB_Insert*", K::kLabel, P::kGbInsert, ""},
    {"LED_*", K::kPicture, P::kGbDelay, "RdS_D"},
    {"IB_RecDelay", K::kLabel, P::kGbDelay, ""},
    {"IB_DelayTime", K::kLabel, P::kGbDelay, ""},
    {"IB_NoDelay", K::kLabel, P::kGbDelay, ""},
    {"Edt_Delay", K::kEdit, P::kGbDelay, ""},
    {"lbl_MS", K::kLabel, P::kGbDelay, ""},
    {"CB_Insert", K::kCombo, P::kGbInsert, ""},
    {"Edt_InsertDelay", K::kEdit, P::kGbInsert, ""},
    {"lbl_Delay", K::kLabel, P::kGbInsert, ""},
    {"lbl_s_A", K::kLabel, P::kGbInsert, ""},
    {"edt_XAxisValue", K::kEdit, P::kGbInsert, ""},
    {"edt_YAxisValue", K::kEdit, P::kGbInsert, "", true},
    {"edt_Repeat", K::kEdit, P::kGbInsert, "", true},
    {"lbl_XAxisValue", K::kLabel, P::kGbInsert, ""},
    {"lbl_YAxisValue", K::kLabel, P::kGbInsert, "", true},
    {"lbl_Repeat", K::kLabel, P::kGbInsert, "", true},
    {"Img_InsertStart", K::kPicture, P::kGbInsert, "MacroBtnS_01"},
    {"Img_OK", K::kPicture, P::kGbInsert, "MacroBtnS_01"},
    {"Img_Cancel", K::kPicture, P::kGbInsert, "MacroBtnS_01"},
    {"Btn_InsertStart", K::kButton, P::kGbInsert, ""},
    {"Btn_OK", K::kButton, P::kGbInsert, ""},
    {"Btn_Cancel", K::kButton, P::kGbInsert, ""},
    {"Edt_Circle_Times", K::kEdit, P::kPage4, ""},
    {"Img_ReleaseStop", K::kPicture, P::kPage4, "RdS_E"},
    {"Img_ReleaseContiue", K::kPicture, P::kPage4, "RdS_D"},
    {"Img_CircleTimes", K::kPicture, P::kPage4, "RdS_E"},
    {"Img_CircleAll", K::kPicture, P::kPage4, "RdS_D"},
    {"IB_Release*", K::kLabel, P::kPage4, ""},
    {"IB_Circle*", K::kLabel, P::kPage4, ""},
    {"lbl_Marco_*", K::kLabel, P::kPage4, ""},
    // Fire page: guns, slot indicators, rows of edits, colours, Confirm and Cancel.
    {"Img_P5", K::kPicture, P::kPage5, ""},
    {"Img_FireConfirm", K::kPicture, P::kPage5, "BtnS_01"},
    {"Img_FireExit", K::kPicture, P::kPage5, "BtnS_01"},
    {"Btn_FireConfirm", K::kButton, P::kPage5, ""},
    {"Btn_FireExit", K::kButton, P::kPage5, ""},
    {"Img_FireColor#", K::kPicture, P::kPage5, "Col_F"},
    {"cs_FireColor#", K::kSwatch, P::kPage5, ""},
    {"IB_FireColor#", K::kLabel, P::kPage5, ""},
    {"Img_FireRKFS#", K::kPicture, P::kPage5, "CbS_D"},
    {"lbl_FireRKFS#", K::kLabel, P::kPage5, ""},
    {"Img_Fire#", K::kPicture, P::kPage5, "Gun#_01"},
    {"Btn_Fire#", K::kButton, P::kPage5, ""},
    {"Img_GunMode#", K::kPicture, P::kPage5, "GunMode#"},
    {"Edt_Fire*", K::kEdit, P::kPage5, ""},
    {"LB_FireMacro*", K::kList, P::kPage5, "", true},
    // Engineering page: the DPI lists that Apply reads.
    {"cb_CPI#", K::kCombo, P::kPage6, ""},
});

struct MenuPanelRow {
    std::string_view panel;
    std::array<std::string_view, 9> entries;  // empty ends the list
};

constexpr auto kMenuPanels = std::to_array<MenuPanelRow>({
    {"Pnl_Main",
     {"Key_Standard", "Key_Special", "Key_Media", "Key_WWW", "Key_MyPC", "Key_Assembly",
      "Key_Macro", "Key_FireMacro", "Key_TLFireMacro"}},
    {"Pnl_Special",
     {"Key_CPIKey", "Key_Fire", "Key_AIMKey", "Key_LEDMode", "Key_LEDSwitch", "Key_KeyMode",
      "Key_KeyOff", "Key_FnFire"}},
    {"Pnl_CPIKey", {"Key_CPI", "Key_CPII", "Key_CPID"}},
    {"Pnl_MseKey", {"Key_Left", "Key_Right", "Key_Middle", "Key_B4", "Key_B5"}},
    {"Pnl_Media",
     {"Key_PlayPause", "Key_Stop", "Key_PreviousTrack", "Key_NextTrack", "Key_VolumePlus",
      "Key_VolumeMinus", "Key_Mute"}},
    {"Pnl_MyPC", {"Key_Computer", "Key_Calculator", "Key_EMail", "Key_Desktop"}},
    {"Pnl_WWW",
     {"Key_WWWHome", "Key_WWWSearch", "Key_WWWBack", "Key_WWWForward", "Key_WWWStop",
      "Key_WWWRefresh", "Key_WWWFavorites"}},
});

// A marker "ST_X" stands on the row of the entry "Key_X".
std::string EntryOfMarker(std::string_view name) {
    if (name.starts_with("ST_")) {
        return "Key_" + std::string(name.substr(3));
    }
    return std::string(name);
}

bool MatchFrom(std::string_view pattern, std::string_view name) {
    if (pattern.empty()) {
        return name.empty();
    }
    const char p = pattern.front();
    if (p == '*') {
        for (size_t skip = 0; skip <= name.size(); ++skip) {
            if (MatchFrom(pattern.substr(1), name.substr(skip))) {
                return true;
            }
        }
        return false;
    }
    if (name.empty()) {
        return false;
    }
    if (p == '#') {
        return std::isdigit(static_cast<unsigned char>(name.front())) != 0 &&
               MatchFrom(pattern.substr(1), name.substr(1));
    }
    return p == name.front() && MatchFrom(pattern.substr(1), name.substr(1));
}

// The first run of digits in a name ("Img_Fire3" -> "3").
std::string FirstNumber(std::string_view name) {
    size_t begin = 0;
    while (begin < name.size() && std::isdigit(static_cast<unsigned char>(name[begin])) == 0) {
        ++begin;
    }
    size_t end = begin;
    while (end < name.size() && std::isdigit(static_cast<unsigned char>(name[end])) != 0) {
        ++end;
    }
    return std::string(name.substr(begin, end - begin));
}

}  // namespace

bool MatchControlPattern(std::string_view pattern, std::string_view name) {
    return MatchFrom(pattern, name);
}

std::optional<ControlSpec> ClassifyControl(std::string_view name) {
    for (const ControlKindRow& row : kKindTable) {
        if (!MatchControlPattern(row.pattern, name)) {
            continue;
        }
        ControlSpec entry{row.kind, row.place, std::string(row.picture), row.hidden, 0};
        if (const size_t hash = entry.picture.find('#'); hash != std::string::npos) {
            entry.picture.replace(hash, 1, FirstNumber(name));
        }
        if (row.place == ControlPlace::kCopy) {
            entry.copy = name.back() - '0';
        }
        return entry;
    }
    return std::nullopt;
}

std::string_view MenuPanelOf(std::string_view entry) {
    const std::string key = EntryOfMarker(entry);
    for (const MenuPanelRow& panel : kMenuPanels) {
        for (std::string_view e : panel.entries) {
            if (!e.empty() && e == key) {
                return panel.panel;
            }
        }
    }
    return {};
}

int MenuRowOf(std::string_view entry) {
    const std::string key = EntryOfMarker(entry);
    for (const MenuPanelRow& panel : kMenuPanels) {
        for (size_t i = 0; i < panel.entries.size(); ++i) {
            if (!panel.entries[i].empty() && panel.entries[i] == key) {
                return static_cast<int>(i);
            }
        }
    }
    return -1;
}

std::string_view GroupOf(ControlPlace place) {
    switch (place) {
        case ControlPlace::kGbDelay:
            return "Gb_Delay";
        case ControlPlace::kGbInsert:
            return "Gb_Insert";
        case ControlPlace::kPcMacro:
            return "Pnl_PCMacro";
        default:
            return {};
    }
}

}  // namespace velq::ui
