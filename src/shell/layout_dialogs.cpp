#include "shell/layout_dialogs.h"

#include <array>

#include "shell/layout_rules.h"

namespace velq {
namespace {

using layout_detail::LayoutEmitter;
using layout_detail::LayoutRules;

// The names that differ between the dialogs; the three buttons are the same in all five.
struct DialogNames {
    const char* size_key;     // "Size_K"
    const char* colour_stem;  // "Color_K_"
    const char* input_stem;   // "Color_K_AK_"
    const char* prefix;       // "AK" / "MN" for title, input and buttons
    const char* title;
    const char* input;
    bool modifiers;
};

DialogNames NamesOf(EditorDialog dialog) {
    switch (dialog) {
        case EditorDialog::kKeyCombination:
            return {"Size_K",       "Color_K_",     "Color_K_AK_", "AK",
                    "lbl_Assembly", "Edt_Assembly", true};
        case EditorDialog::kMacroName:
            return {"Size_L",        "Color_L_",      "Color_L_MN_", "MN",
                    "lbl_MacroName", "Edt_MacroName", false};
        case EditorDialog::kKey:
            return {"Size_L", "Color_L_", "Color_L_MN_", "MN", "lbl_EditKey", "Edt_EditKey", false};
        case EditorDialog::kDelay:
        case EditorDialog::kValue:
            return {"Size_L",       "Color_L_",     "Color_L_MN_", "MN",
                    "lbl_EditTime", "Edt_EditTime", false};
    }
    return {};
}

struct ModifierBox {
    const char* key;
    const char* control;
};

constexpr std::array<ModifierBox, 4> kModifierBoxes{{
    {"MK_C", "CB_Ctrl"},
    {"MK_S", "CB_Shift"},
    {"MK_A", "CB_Alt"},
    {"MK_W", "CB_Win"},
}};

// The picture buttons with a caption on them (the close button is a picture alone).
constexpr std::array<const char*, 2> kCaptionedButtons{"IB_Confirm", "IB_Cancel"};

void AddPlace(LayoutRules& rules, const std::string& key, const std::string& control) {
    rules.push_back({key + "_X", [key, control](LayoutEmitter& e) {
                         e.Move(control, e.Int(key + "_X"), e.Int(key + "_Y"));
                     }});
}

LayoutRules DialogRules(const DialogNames& names) {
    LayoutRules rules;
    const std::string title = names.title;
    const std::string input = names.input;
    const std::string prefix = names.prefix;
    const std::string size_key = names.size_key;
    const std::string colour_stem = names.colour_stem;
    const std::string input_stem = names.input_stem;
    const bool modifiers = names.modifiers;

    rules.push_back({size_key, [=](LayoutEmitter& e) {
                         const int size = e.Int(size_key);
                         e.FontSize(title, size);
                         e.FontSize(input, size);
                         if (modifiers) {
                             for (const ModifierBox& box : kModifierBoxes) {
                                 e.FontSize(box.control, size);
                             }
                         }
                         for (const char* button : kCaptionedButtons) {
                             e.FontSize(button, size);
                         }
                     }});
    rules.push_back({colour_stem + "R", [=](LayoutEmitter& e) {
                         const uint32_t colour = e.Colour(colour_stem);
                         e.FontColor(title, colour);
                         if (modifiers) {
                             for (const ModifierBox& box : kModifierBoxes) {
                                 e.FontColor(box.control, colour);
                             }
                         }
                         for (const char* button : kCaptionedButtons) {
                             e.FontColor(button, colour);
                         }
                     }});
    rules.push_back(
        {input_stem + "R", [=](LayoutEmitter& e) { e.FontColor(input, e.Colour(input_stem)); }});
    // Title "AKT" / "MNT", input "AKC" / "MNC" with its width.
    AddPlace(rules, prefix + "T", title);
    rules.push_back({prefix + "C_X", [=](LayoutEmitter& e) {
                         e.Move(input, e.Int(prefix + "C_X"), e.Int(prefix + "C_Y"));
                         e.SetWidth(input, e.Int(prefix + "C_W"));
                     }});
    if (modifiers) {
        for (const ModifierBox& box : kModifierBoxes) {
            AddPlace(rules, box.key, box.control);
        }
    }
    AddPlace(rules, prefix + "_Cfm", "IB_Confirm");
    AddPlace(rules, prefix + "_Clear", "IB_Cancel");
    AddPlace(rules, prefix + "_Close", "IB_Close");
    return rules;
}

}  // namespace

LayoutResult<DialogLayout> EditorDialogLayout(const ConfigSection& section, EditorDialog dialog) {
    LayoutPlan plan;
    const LayoutContext context;
    LayoutEmitter emitter(section, context, plan);
    layout_detail::RunRules(DialogRules(NamesOf(dialog)), section, emitter);
    if (emitter.failed()) {
        return LayoutResult<DialogLayout>::Failure(*emitter.error());
    }
    return LayoutResult<DialogLayout>::Success(
        DialogLayout{std::move(plan.ops), layout_detail::KeysRead(emitter)});
}

}  // namespace velq
