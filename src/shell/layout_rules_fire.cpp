// The fire page: the seven gun buttons, the slot indicators of guns 6 and 7, the three slot rows
// (stop on release, count, X, Y, Y adjustment, time, colour) and Confirm / Cancel.

#include <string>
#include <vector>

#include "shell/layout_rules.h"

namespace velq::layout_detail {
namespace {

constexpr int kGuns = 7;
constexpr int kSlotIndicators = 5;
constexpr int kRows = 3;

std::string Numbered(const char* stem, int n) {
    return stem + std::to_string(n);
}

// Key "<stem><n>" (or "<stem><n><suffix>") places edit "<edit_stem><n><edit_suffix>".
void AddEdit(LayoutRules& rules, const std::string& key, const std::string& edit) {
    rules.push_back({key + "_X", [key, edit](LayoutEmitter& e) {
                         e.Move(edit, e.Int(key + "_X"), e.Int(key + "_Y"));
                     }});
}

// The fifteen edits of the three rows.
std::vector<std::string> RowEdits() {
    std::vector<std::string> edits;
    for (int k = 1; k <= kRows; ++k) {
        const std::string n = std::to_string(k);
        edits.push_back("Edt_FireCnt" + n);
        edits.push_back("Edt_FireX" + n);
        edits.push_back("Edt_FireY" + n);
        edits.push_back("Edt_FireY" + n + "Offset");
        edits.push_back("Edt_FireTime" + n);
    }
    return edits;
}

}  // namespace

void AddFireRules(LayoutRules& rules) {
    rules.push_back({"Size_J", [](LayoutEmitter& e) {
                         const int size = e.Int("Size_J");
                         for (const std::string& edit : RowEdits()) {
                             e.FontSize(edit, size);
                         }
                         e.FontSize("Btn_FireConfirm", size);
                         e.FontSize("Btn_FireExit", size);
                     }});
    rules.push_back({"Color_J_Font_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_J_Font_");
                         for (const std::string& edit : RowEdits()) {
                             e.FontColor(edit, colour);
                         }
                     }});
    rules.push_back({"Color_J_Back_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_J_Back_");
                         for (const std::string& edit : RowEdits()) {
                             e.BackColor(edit, colour);
                         }
                     }});
    rules.push_back({"Color_J_Border_R", [](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour("Color_J_Border_");
                         for (const std::string& edit : RowEdits()) {
                             e.BorderColor(edit, colour);
                         }
                     }});
    rules.push_back(
        {"P5_X", [](LayoutEmitter& e) { e.Move("Img_P5", e.Int("P5_X"), e.Int("P5_Y")); }});
    for (int n = 1; n <= kGuns; ++n) {
        const std::string key = Numbered("Fire", n);
        rules.push_back({key + "_X", [key, n](LayoutEmitter& e) {
                             const std::string picture = Numbered("Img_Fire", n);
                             e.Move(picture, e.Int(key + "_X"), e.Int(key + "_Y"));
                             e.FitToPicture(Numbered("Btn_Fire", n), picture);
                         }});
    }
    for (int n = 1; n <= kSlotIndicators; ++n) {
        AddEdit(rules, Numbered("GunMode", n), Numbered("Img_GunMode", n));
    }
    for (int k = 1; k <= kRows; ++k) {
        const std::string key = Numbered("RKFS", k);
        rules.push_back({key + "_X", [key, k](LayoutEmitter& e) {
                             const std::string picture = Numbered("Img_FireRKFS", k);
                             e.Move(picture, e.Int(key + "_X"), e.Int(key + "_Y"));
                             // The click label is a little larger than its check picture.
                             e.FitToPicture(Numbered("lbl_FireRKFS", k), picture, -2, 0, 4, 4);
                         }});
    }
    for (int k = 1; k <= kRows; ++k) {
        AddEdit(rules, Numbered("FireCnt", k), Numbered("Edt_FireCnt", k));
    }
    for (int k = 1; k <= kRows; ++k) {
        AddEdit(rules, Numbered("FireX", k), Numbered("Edt_FireX", k));
    }
    for (int k = 1; k <= kRows; ++k) {
        AddEdit(rules, Numbered("FireY", k), Numbered("Edt_FireY", k));
    }
    for (int k = 1; k <= kRows; ++k) {
        AddEdit(rules, Numbered("FireY", k) + "_Offset", Numbered("Edt_FireY", k) + "Offset");
    }
    for (int k = 1; k <= kRows; ++k) {
        AddEdit(rules, Numbered("FireTime", k), Numbered("Edt_FireTime", k));
    }
    for (int k = 1; k <= kRows; ++k) {
        const std::string key = Numbered("FireColor", k);
        rules.push_back({key + "_X", [key, k](LayoutEmitter& e) {
                             const std::string picture = Numbered("Img_FireColor", k);
                             e.Move(picture, e.Int(key + "_X"), e.Int(key + "_Y"));
                             e.FitToPicture(Numbered("cs_FireColor", k), picture);
                             e.FitToPicture(Numbered("IB_FireColor", k), picture);
                         }});
    }
    rules.push_back({"FireConfirm_X", [](LayoutEmitter& e) {
                         e.Move("Img_FireConfirm", e.Int("FireConfirm_X"), e.Int("FireConfirm_Y"));
                         e.FitToPicture("Btn_FireConfirm", "Img_FireConfirm");
                     }});
    rules.push_back({"FireCancel_X", [](LayoutEmitter& e) {
                         e.Move("Img_FireExit", e.Int("FireCancel_X"), e.Int("FireCancel_Y"));
                         e.FitToPicture("Btn_FireExit", "Img_FireExit");
                     }});
}

}  // namespace velq::layout_detail
