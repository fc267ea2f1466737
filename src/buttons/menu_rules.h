#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velq {

// A control's place and size, in the coordinates of the page it lies on.
struct MenuBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct MenuPoint {
    int left = 0;
    int top = 0;
    bool operator==(const MenuPoint&) const = default;
};

// Where the first menu panel opens for a button label of the main page: at the label's centre,
// to the right and downwards when it fits in the page's background, else to the left or
// upwards.
MenuPoint PlaceMenuAtLabel(const MenuBox& label, int menu_width, int menu_height,
                           int background_width, int background_height);

// Where it opens for a button of the factory page's profile columns: upwards from the button,
// by its place in the parameter page control (`control_width`, `control_top`) and in its
// column's group box (`group_top`).
MenuPoint PlaceMenuAtColumnButton(const MenuBox& button, int menu_width, int menu_height,
                                  int control_width, int control_top, int group_top);

// Where a submenu opens beside the panel `parent` at its entry `entry` (in the panel's
// coordinates): right of the entry when `fit_width` stays inside the background, else with
// its right edge on the panel's left edge; its top on the entry's top when it fits below,
// else its bottom on the entry's bottom.
MenuPoint PlaceSubmenu(const MenuBox& parent, const MenuBox& entry, int submenu_width,
                       int submenu_height, int fit_width, int background_width,
                       int background_height);

// The tags of the entries that open something rather than choose a function.
inline constexpr int kStandardTag = 1;
inline constexpr int kSpecialTag = 2;
inline constexpr int kMediaTag = 3;
inline constexpr int kWwwTag = 4;
inline constexpr int kMyPcTag = 5;
inline constexpr int kDpiKeysTag = 6;
inline constexpr int kMacroTag = 7;
inline constexpr int kFireMacroTag = 11;
inline constexpr int kGunKeysTag = 13;

// The tag of a menu entry by its name ("Key_Media" -> 3, "Key_Left" -> 900); 0 for
// `Key_Assembly` and names that are no entry.
int MenuEntryTag(std::string_view entry);
// What an opening entry's tag opens ("Pnl_Media", "LB_Name"); empty for the others.
std::string_view SubmenuOfTag(int tag);

// The special-function entries `Special_Config` names, in its order (names separated by commas
// or blanks); names of no special entry, and repeats, are skipped.
std::vector<std::string> SpecialEntries(std::string_view special_config);
// The distance of the special entries in their panel, and the panel's height for `count`.
inline constexpr int kSpecialEntryPitch = 25;
inline int SpecialPanelHeight(int count) {
    return kSpecialEntryPitch * count + 2;
}

}  // namespace velq
