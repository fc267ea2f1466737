// The macro page: the two macro lists, the record and new/delete buttons, the delay group, the
// release and repeat options, the insert box and the right-click panel of the macro list.

#include <array>
#include <string>

#include "shell/layout_rules.h"

namespace velq::layout_detail {
namespace {

// Lists drawn with the macro page's list colours.
constexpr std::array<const char*, 4> kColouredLists{"LB_PCMacroName", "LB_macro",
                                                    "LB_FireMacroName", "LB_FireMacro"};

// The text buttons of the two pop-up panels (hover colours in the layout style).
constexpr std::array<const char*, 10> kTextButtons{
    "Btn_Del",    "Btn_Insert",    "Btn_Edit",   "Btn_NewMacro",  "Btn_NewName",
    "Btn_Export", "Btn_ExportOne", "Btn_Import", "Btn_ImportOne", "Btn_DelPCMacro"};

// The buttons of `Pnl_PCMacro`, which fill the panel's width inside its border.
constexpr std::array<const char*, 7> kLibraryButtons{
    "Btn_DelPCMacro", "Btn_Export",  "Btn_ExportOne", "Btn_ImportOne",
    "Btn_NewMacro",   "Btn_NewName", "Btn_Import"};

// A picture button: picture at (X, Y), caption label on it at its size, widened by `overhang`
// on each side, still centred on the picture.
struct PictureButton {
    const char* key;
    const char* picture;
    const char* label;
    int overhang = 0;
};

// The insert box's record picture is narrower than its captions ("Stop (pare)" while
// recording, the Chinese ones): its label reaches over the box's free margin on either side,
// short of the OK button, so every caption shows whole.
constexpr int kInsertStartOverhang = 8;

constexpr std::array<PictureButton, 6> kPictureButtons{{
    {"BtnNew", "Img_New", "Btn_New"},
    {"BtnStart", "Img_Start", "Btn_Start"},
    {"BtnDelete", "Img_Delete", "Btn_Delete"},
    {"InsertBtnStart", "Img_InsertStart", "Btn_InsertStart", kInsertStartOverhang},
    {"InsertBtnOK", "Img_OK", "Btn_OK"},
    {"InsertBtnCancel", "Img_Cancel", "Btn_Cancel"},
}};

void AddPictureButton(LayoutRules& rules, const PictureButton& button) {
    const std::string key = button.key;
    const std::string picture = button.picture;
    const std::string label = button.label;
    const int overhang = button.overhang;
    rules.push_back({key + "_X", [key, picture, label, overhang](LayoutEmitter& e) {
                         e.Move(picture, e.Int(key + "_X"), e.Int(key + "_Y"));
                         e.FitToPicture(label, picture, -overhang, 0, 2 * overhang, 0);
                     }});
}

// One key pair placing one control.
void AddPlace(LayoutRules& rules, const std::string& key, const std::string& control) {
    rules.push_back({key + "_X", [key, control](LayoutEmitter& e) {
                         e.Move(control, e.Int(key + "_X"), e.Int(key + "_Y"));
                     }});
}

// A delay option: picture at (X, Y), caption 2 pixels to its left.
void AddDelayOption(LayoutRules& rules, const std::string& key, const std::string& name) {
    rules.push_back({key + "_X", [key, name](LayoutEmitter& e) {
                         const int x = e.Int(key + "_X");
                         const int y = e.Int(key + "_Y");
                         e.Move("LED_" + name, x, y);
                         e.Move("IB_" + name, x - 2, y);
                     }});
}

// A list placed and sized by four keys.
void AddList(LayoutRules& rules, const std::string& key, const std::string& list) {
    rules.push_back({key + "_X", [key, list](LayoutEmitter& e) {
                         e.Move(list, e.Int(key + "_X"), e.Int(key + "_Y"));
                         e.SetHeight(list, e.Int(key + "_H"));
                         e.SetWidth(list, e.Int(key + "_W"));
                     }});
}

}  // namespace

void AddMacroRules(LayoutRules& rules) {
    rules.push_back({"Size_F", [](LayoutEmitter& e) {
                         const int size = e.Int("Size_F");
                         e.FontSize("LB_PCMacroName", size);
                         e.FontSize("LB_macro", size);
                         for (const char* button : kTextButtons) {
                             e.FontSize(button, size);
                         }
                     }});
    rules.push_back({"Color_F_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_F_");
                         for (const char* list : kColouredLists) {
                             e.FontColor(list, colour);
                         }
                     }});
    rules.push_back({"Color_F_LBack_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_F_LBack_");
                         e.style().macro_list_back_color = colour;
                         for (const char* list : kColouredLists) {
                             e.BackColor(list, colour);
                         }
                     }});
    rules.push_back({"Color_F_LBorder_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_F_LBorder_");
                         for (const char* list : kColouredLists) {
                             e.BorderColor(list, colour);
                         }
                     }});
    rules.push_back({"Color_F_Font_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_F_Font_");
                         e.style().macro_font_color = colour;
                         for (const char* button : kTextButtons) {
                             e.FontColor(button, colour);
                         }
                         // The captions that lie on button pictures (new, record, delete and
                         // the insert box's): without the macro text colour they kept the
                         // default dark text, which reads as disabled on the dark pictures.
                         for (const PictureButton& button : kPictureButtons) {
                             e.FontColor(button.label, colour);
                         }
                     }});
    rules.push_back({"Color_F_Back_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_F_Back_");
                         e.style().macro_back_color = colour;
                         for (const char* button : kTextButtons) {
                             e.BackColor(button, colour);
                         }
                     }});
    rules.push_back(
        {"P4_X", [](LayoutEmitter& e) { e.Move("Img_P4", e.Int("P4_X"), e.Int("P4_Y")); }});
    AddList(rules, "PCMacroName", "LB_PCMacroName");
    // The item height is applied once at start-up, after the first layout.
    rules.push_back({"MacroNameHeight", [](LayoutEmitter& e) {
                         e.style().macro_name_height = e.Int("MacroNameHeight");
                     }});
    AddList(rules, "MacroContent", "LB_macro");
    for (const PictureButton& button : kPictureButtons) {
        AddPictureButton(rules, button);
    }
    AddPlace(rules, "DelayTime", "Gb_Delay");
    AddDelayOption(rules, "RecDelay", "RecDelay");
    AddCheckedOnly(rules, "RecDelay_H");
    AddDelayOption(rules, "DelaySetting", "DelayTime");
    AddDelayOption(rules, "NoDelay", "NoDelay");
    AddPlace(rules, "DelayEdit", "Edt_Delay");
    AddPlace(rules, "CircleEdit", "Edt_Circle_Times");
    AddPlace(rules, "ReleaseStop", "Img_ReleaseStop");
    AddPlace(rules, "ReleaseContinue", "Img_ReleaseContiue");
    AddPlace(rules, "CircleTimes", "Img_CircleTimes");
    AddPlace(rules, "CircleAll", "Img_CircleAll");
    rules.push_back({"Insert_X", [](LayoutEmitter& e) {
                         const int x = e.Int("Insert_X");
                         const int y = e.Int("Insert_Y");
                         e.Move("Gb_Insert", x, y);
                         e.Move("Img_InsertBase", x + 10, y + 10);
                     }});
    AddPlace(rules, "InsertList", "CB_Insert");
    rules.push_back(
        {"InsertRecDelay_X", [](LayoutEmitter& e) {
             const int x = e.Int("InsertRecDelay_X");
             const int y = e.Int("InsertRecDelay_Y");
             const int step = e.Int("InsertRecDelay_H");
             int row = 0;
             for (const char* name : {"InsertRecDelay", "InsertDelayTime", "InsertNoDelay"}) {
                 e.Move(std::string("LED_") + name, x, y + row * step);
                 e.Move(std::string("IB_") + name, x - 2, y + row * step);
                 ++row;
             }
         }});
    rules.push_back({"InsertDelayEdit_X", [](LayoutEmitter& e) {
                         const int x = e.Int("InsertDelayEdit_X");
                         const int y = e.Int("InsertDelayEdit_Y");
                         e.Move("Edt_InsertDelay", x, y);
                         e.Move("lbl_Delay", x - 74, y + 2);
                         e.Move("lbl_s_A", x + 44, y + 2);
                     }});
    rules.push_back({"InsertAxisEdit_X", [](LayoutEmitter& e) {
                         const int x = e.Int("InsertAxisEdit_X");
                         const int y = e.Int("InsertAxisEdit_Y");
                         // One place for the three fields: the insert box shows one at a time.
                         for (const char* name : {"XAxisValue", "YAxisValue", "Repeat"}) {
                             e.Move(std::string("edt_") + name, x, y);
                             e.Move(std::string("lbl_") + name, x - 64, y + 2);
                         }
                     }});
    rules.push_back({"Color_MACRO_R", [](LayoutEmitter& e) {
                         e.style().macro_highlight_color = e.Colour("Color_MACRO_");
                     }});
    rules.push_back({"Edit_PCMarco_Width", [](LayoutEmitter& e) {
                         const int width = e.Int("Edit_PCMarco_Width");
                         e.SetWidth("Pnl_PCMacro", width);
                         for (const char* button : kLibraryButtons) {
                             e.SetWidth(button, width - 2);
                         }
                     }});
}

}  // namespace velq::layout_detail
