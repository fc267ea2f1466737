#include "buttons/menu_rules.h"

#include <algorithm>
#include <array>
#include <utility>

#include "buttons/function_table.h"

namespace velq {

MenuPoint PlaceMenuAtLabel(const MenuBox& label, int menu_width, int menu_height,
                           int background_width, int background_height) {
    const int x = label.left + label.width / 2;
    const int y = label.top + label.height / 2;
    return {label.left + label.width + menu_width < background_width ? x : x - menu_width,
            label.top + label.height + menu_height < background_height ? y : y - menu_height};
}

MenuPoint PlaceMenuAtColumnButton(const MenuBox& button, int menu_width, int menu_height,
                                  int control_width, int control_top, int group_top) {
    const int left = control_width < button.left + menu_width
                         ? button.left + button.width - menu_width + 10
                         : button.left + 10;
    return {left, button.top + control_top + group_top - menu_height + 38};
}

MenuPoint PlaceSubmenu(const MenuBox& parent, const MenuBox& entry, int submenu_width,
                       int submenu_height, int fit_width, int background_width,
                       int background_height) {
    const int left = fit_width < background_width ? parent.left + entry.left + entry.width + 2
                                                  : parent.left - submenu_width;
    const int entry_top = parent.top + entry.top;
    const int top = entry_top + entry.height + submenu_height < background_height
                        ? entry_top
                        : entry_top + entry.height - submenu_height;
    return {left, top};
}

namespace {

constexpr std::array<std::pair<std::string_view, int>, 9> kOpeningEntries{{
    {"Key_Standard", kStandardTag},
    {"Key_Special", kSpecialTag},
    {"Key_Media", kMediaTag},
    {"Key_WWW", kWwwTag},
    {"Key_MyPC", kMyPcTag},
    {"Key_CPIKey", kDpiKeysTag},
    {"Key_Macro", kMacroTag},
    {"Key_FireMacro", kFireMacroTag},
    {"Key_TLFireMacro", kGunKeysTag},
}};

constexpr std::array<std::pair<int, std::string_view>, 8> kSubmenus{{
    {kStandardTag, "Pnl_MseKey"},
    {kSpecialTag, "Pnl_Special"},
    {kMediaTag, "Pnl_Media"},
    {kWwwTag, "Pnl_WWW"},
    {kMyPcTag, "Pnl_MyPC"},
    {kDpiKeysTag, "Pnl_CPIKey"},
    {kMacroTag, "LB_Name"},
    {kGunKeysTag, "LB_Script"},
}};

}  // namespace

int MenuEntryTag(std::string_view entry) {
    for (const auto& [name, tag] : kOpeningEntries) {
        if (name == entry) {
            return tag;
        }
    }
    for (const PredefinedFunction& function : kPredefinedFunctions) {
        if (function.entry == entry) {
            return function.tag;
        }
    }
    return 0;
}

std::string_view SubmenuOfTag(int tag) {
    for (const auto& [opening, submenu] : kSubmenus) {
        if (opening == tag) {
            return submenu;
        }
    }
    return {};
}

std::vector<std::string> SpecialEntries(std::string_view special_config) {
    static constexpr std::array<std::string_view, 8> kSpecial{
        "Key_CPIKey",    "Key_Fire",    "Key_AIMKey", "Key_LEDMode",
        "Key_LEDSwitch", "Key_KeyMode", "Key_KeyOff", "Key_FnFire"};
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start <= special_config.size()) {
        const std::size_t end = special_config.find_first_of(", \t", start);
        const std::string_view name = special_config.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (std::find(kSpecial.begin(), kSpecial.end(), name) != kSpecial.end() &&
            std::find(entries.begin(), entries.end(), name) == entries.end()) {
            entries.emplace_back(name);
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return entries;
}

}  // namespace velq
