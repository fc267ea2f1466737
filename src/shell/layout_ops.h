#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velq {

// What one layout step does to a control. The window runs the steps in order on the widgets it
// finds by object name; positions are relative to the control's parent (the page container for
// most controls, which covers the whole window; the group box for the controls inside
// `Gb_Delay` and `Gb_Insert`).
enum class LayoutOpKind : uint8_t {
    kMove,       // left = x, top = y
    kSetWidth,   // width = value
    kSetHeight,  // height = value
    kShow,
    kHide,
    kFontSize,      // font size = value (points)
    kFontColor,     // text colour = value (R + 256 G + 65536 B)
    kBackColor,     // background colour = value
    kBorderColor,   // border colour = value
    kPicture,       // show the picture resource `text`
    kSliderThumb,   // slider thumb picture = resource `text`
    kSliderTrack,   // slider track picture = resource `text`
    kFitToPicture,  // left = reference.left + x, top = reference.top + y,
                    // width = reference.width + value, height = reference.height + extra
    kMoveInRow,     // left = x + value * (reference.width + extra), top = y
};

struct LayoutOp {
    LayoutOpKind kind = LayoutOpKind::kMove;
    std::string control;
    std::string reference;  // the picture a kFitToPicture / kMoveInRow step measures
    int x = 0;
    int y = 0;
    int value = 0;
    int extra = 0;
    std::string text;  // picture resource name

    bool operator==(const LayoutOp&) const = default;
};

// A readable one-line form of a step ("Move Btn_Apply_1 (650, 612)"), for messages and tests.
std::string DescribeLayoutOp(const LayoutOp& op);

// Colours and sizes a layout gives that are not a property set once on a control but are used
// later by the pages' own handlers (hover, selection, in-use state, list drawing).
struct LayoutStyle {
    uint32_t menu_font_color = 0;           // Color_G_: normal entry text
    uint32_t menu_back_color = 0;           // Color_G_Back_
    uint32_t menu_selected_font_color = 0;  // Color_G_SF_: entry under the pointer, text
    uint32_t menu_selected_back_color = 0;  // Color_G_SP_: entry under the pointer, background
    uint32_t dpi_in_use_color = 0;          // Color_D_Selected_: level label of a level in use
    uint32_t dpi_out_of_use_color = 0;      // Color_D_notSelected_
    uint32_t macro_font_color = 0;          // Color_F_Font_: macro text buttons, normal
    uint32_t macro_back_color = 0;          // Color_F_Back_: macro text buttons, normal
    uint32_t macro_list_back_color = 0;     // Color_F_LBack_: unselected list items
    uint32_t macro_highlight_color = 0;     // Color_MACRO_: hover and selected item background
    int macro_name_height = 0;              // item height of the macro lists, set at start-up
    bool combo_key3_permitted = false;      // ComboKey3_Enable: the gaming tab may show it
    bool release_stop_wrap = false;         // Marco_Stop_Over_Lable_Wrap (IB_ReleaseStop)
    bool release_continue_wrap = false;     // Marco_Stop_Release_Lable_Wrap (IB_ReleaseContiue)

    bool operator==(const LayoutStyle&) const = default;
};

// The pages whose picture a layout reloads (the fire page's picture is always reloaded).
enum class LayoutPage : uint8_t { kOffice, kGaming, kAdvanced, kLight, kMacro, kEngineering };

// The five small editor dialogs. The key-combination dialog reads the "K" / "AK" keys of the
// layout; the other four share the "L" / "MN" keys.
enum class EditorDialog : uint8_t { kKeyCombination, kMacroName, kKey, kDelay, kValue };

inline constexpr std::array<EditorDialog, 5> kEditorDialogs{
    EditorDialog::kKeyCombination, EditorDialog::kMacroName, EditorDialog::kKey,
    EditorDialog::kDelay, EditorDialog::kValue};

// What a layout depends on besides its own text.
struct LayoutContext {
    int language = 1;  // 1..3: section [orgN] and pictures LN_...
    LayoutPage current_page = LayoutPage::kOffice;
    bool gun_display = false;  // GD_Enable as the program settings leave it
    int num_order = 0;         // Num_Order, 0 or 1
    bool operator==(const LayoutContext&) const = default;
};

// Everything applying one layout does, in order, plus the values kept for later use.
struct LayoutPlan {
    std::vector<LayoutOp> ops;
    LayoutStyle style;
    // The steps that lay out each editor dialog (index: EditorDialog), kept for the dialogs
    // opened while the layout is current; they are not run on the window.
    std::array<std::vector<LayoutOp>, kEditorDialogs.size()> dialogs;
    // Lower-case names of every key the layout consulted, sorted; a text key missing here is one
    // that nothing reads (a typo, or one of the keys kept only for compatibility).
    std::vector<std::string> keys_read;
};

}  // namespace velq
