// The advanced page: fire key fields, the pointer sliders with their scales, the seven DPI
// level rows, the DPI count list and the aim key row.

#include <string>

#include "common/dpi.h"
#include "shell/layout_rules.h"

namespace velq::layout_detail {
namespace {

constexpr int kScaleLabels = 11;

std::string Numbered(const char* stem, int n) {
    return stem + std::to_string(n);
}

// A check option: picture at (X, Y), its click label `label_dx` pixels to the left.
void AddOption(LayoutRules& rules, const std::string& key, const std::string& picture,
               const std::string& label, int label_dx) {
    rules.push_back({key + "_X", [key, picture, label, label_dx](LayoutEmitter& e) {
                         const int x = e.Int(key + "_X");
                         const int y = e.Int(key + "_Y");
                         e.Move(picture, x, y);
                         e.Move(label, x - label_dx, y);
                     }});
}

// A pointer slider with its 11 scale labels under it. All three rows space their scale by
// Spd_D; DbSpd_D and ScrSpd_D are not used.
void AddPointerRow(LayoutRules& rules, const std::string& key, const std::string& slider,
                   const char* scale_stem) {
    rules.push_back({key + "_X", [key, slider, scale_stem](LayoutEmitter& e) {
                         const int x = e.Int(key + "_X");
                         const int y = e.Int(key + "_Y");
                         const int spacing = e.Int("Spd_D");
                         e.Move(slider, x, y);
                         for (int i = 1; i <= kScaleLabels; ++i) {
                             e.Move(Numbered(scale_stem, i), x + (i - 1) * spacing + 4, y + 26);
                         }
                     }});
}

template <typename F>
void ForEachSizeDText(F&& f) {
    for (const char* stem : {"lbl_Spd", "lbl_DbSpd", "lbl_ScrSpd"}) {
        for (int i = 1; i <= kScaleLabels; ++i) {
            f(Numbered(stem, i));
        }
    }
    for (int n = 1; n <= kDpiLevels; ++n) {
        f(Numbered("lbl_DPI", n) + "Value");
    }
    f(std::string("lbl_AIMKeyValue"));
    f(std::string("Edt_Repeat1"));
    f(std::string("Edt_DelayTime1"));
}

void AddDpiLevel(LayoutRules& rules, int n) {
    const std::string key = Numbered("DPI", n);
    const std::string colour_picture = "Img_DPI" + std::to_string(n) + "Col";
    rules.push_back({key + "_Color_X", [key, n, colour_picture](LayoutEmitter& e) {
                         e.Move(colour_picture, e.Int(key + "_Color_X"), e.Int(key + "_Color_Y"));
                         // Swatch and click label lie on the colour picture.
                         e.FitToPicture("cs_DPI" + std::to_string(n) + "Col", colour_picture);
                         e.FitToPicture("lbl_DPI" + std::to_string(n) + "Col", colour_picture);
                     }});
    rules.push_back({key + "_Check_X", [key, n](LayoutEmitter& e) {
                         e.Move(Numbered("Img_DPI", n), e.Int(key + "_Check_X"),
                                e.Int(key + "_Check_Y"));
                     }});
    rules.push_back({key + "_X", [key, n](LayoutEmitter& e) {
                         e.Move(Numbered("lbl_DPI", n), e.Int(key + "_X"), e.Int(key + "_Y"));
                     }});
    rules.push_back({key + "_Value_X", [key, n](LayoutEmitter& e) {
                         e.Move(Numbered("lbl_DPI", n) + "Value", e.Int(key + "_Value_X"),
                                e.Int(key + "_Value_Y"));
                     }});
    rules.push_back({key + "_Steps_X", [key, n](LayoutEmitter& e) {
                         e.Move(Numbered("slider_DPI", n), e.Int(key + "_Steps_X"),
                                e.Int(key + "_Steps_Y"));
                     }});
    AddCheckedOnly(rules, key + "_Steps_D");
}

}  // namespace

void AddAdvancedRules(LayoutRules& rules) {
    rules.push_back({"Size_D", [](LayoutEmitter& e) {
                         const int size = e.Int("Size_D");
                         ForEachSizeDText([&](const std::string& c) { e.FontSize(c, size); });
                         for (int n = 1; n <= kDpiLevels; ++n) {
                             e.FontSize(Numbered("lbl_DPI", n), size + 1);
                         }
                         e.FontSize("lbl_AIMKey", size + 1);
                     }});
    rules.push_back({"Color_D_Selected_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_D_Selected_");
                         e.style().dpi_in_use_color = colour;
                         // The page's values and fields read in the colour of a level in use:
                         // the layout gives them no colour of their own, and the default text
                         // colour is lost on the dark page.
                         ForEachSizeDText([&](const std::string& c) { e.FontColor(c, colour); });
                         e.FontColor("lbl_AIMKey", colour);
                     }});
    rules.push_back({"Color_D_notSelected_R", [](LayoutEmitter& e) {
                         e.style().dpi_out_of_use_color = e.Colour("Color_D_notSelected_");
                     }});
    rules.push_back({"Color_D_Back_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_D_Back_");
                         e.BackColor("Edt_Repeat1", colour);
                         e.BackColor("Edt_DelayTime1", colour);
                     }});
    rules.push_back({"Color_D_Border_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_D_Border_");
                         e.BorderColor("Edt_Repeat1", colour);
                         e.BorderColor("Edt_DelayTime1", colour);
                     }});
    rules.push_back(
        {"P2_X", [](LayoutEmitter& e) { e.Move("Img_P2", e.Int("P2_X"), e.Int("P2_Y")); }});
    rules.push_back({"FKCnt_X", [](LayoutEmitter& e) {
                         e.Move("Edt_Repeat1", e.Int("FKCnt_X"), e.Int("FKCnt_Y"));
                     }});
    rules.push_back({"FKDelay_X", [](LayoutEmitter& e) {
                         e.Move("Edt_DelayTime1", e.Int("FKDelay_X"), e.Int("FKDelay_Y"));
                     }});
    AddOption(rules, "IsFireContinue", "Img_FireContinue", "lbl_FireContinue", 8);
    AddPointerRow(rules, "Spd", "slider_Spd", "lbl_Spd");
    AddCheckedOnly(rules, "Spd_D");
    AddPointerRow(rules, "DbSpd", "slider_DbSpd", "lbl_DbSpd");
    AddPointerRow(rules, "ScrSpd", "slider_SrcSpd", "lbl_ScrSpd");
    AddOption(rules, "IsControl", "Img_IsControl", "lbl_IsControl", 8);
    AddOption(rules, "IsScreen", "Img_IsScreen", "lbl_IsScreen", 2);
    for (int n = 1; n <= kDpiLevels; ++n) {
        AddDpiLevel(rules, n);
    }
    rules.push_back({"DPI_Count_X", [](LayoutEmitter& e) {
                         e.Move("cbb_DPICount", e.Int("DPI_Count_X"), e.Int("DPI_Count_Y"));
                     }});
    rules.push_back({"DPI_Count_Visible", [](LayoutEmitter& e) {
                         e.SetVisible("cbb_DPICount", e.Enabled("DPI_Count_Visible"));
                     }});
    rules.push_back({"AIMKey_X", [](LayoutEmitter& e) {
                         e.Move("lbl_AIMKey", e.Int("AIMKey_X"), e.Int("AIMKey_Y"));
                     }});
    rules.push_back({"AIMKey_Value_X", [](LayoutEmitter& e) {
                         e.Move("lbl_AIMKeyValue", e.Int("AIMKey_Value_X"),
                                e.Int("AIMKey_Value_Y"));
                     }});
    rules.push_back({"AIMKey_Steps_X", [](LayoutEmitter& e) {
                         e.Move("slider_DPI8", e.Int("AIMKey_Steps_X"), e.Int("AIMKey_Steps_Y"));
                     }});
    AddCheckedOnly(rules, "AIMKey_Steps_D");
    rules.push_back(
        {"Color_BG_Slider_R", [](LayoutEmitter& e) {
             const uint32_t colour = e.Colour("Color_BG_Slider_");
             std::vector<std::string> sliders{"slider_Spd", "slider_DbSpd", "slider_SrcSpd"};
             for (int n = 1; n <= 8; ++n) {
                 sliders.push_back(Numbered("slider_DPI", n));
             }
             sliders.emplace_back("slider_Breath_Speed");
             for (const std::string& slider : sliders) {
                 e.BackColor(slider, colour);
                 e.SliderPictures(slider, "Slider_Thumb", "Slider_Ruler");
             }
         }});
}

}  // namespace velq::layout_detail
