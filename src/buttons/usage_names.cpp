#include "buttons/usage_names.h"

#include <array>

namespace velq {

namespace {

struct NamedUsage {
    uint8_t usage;
    std::string_view name;
};

// Every named usage; all other values have the empty name.
constexpr NamedUsage kNamedUsages[] = {
    {0x04, "A"},
    {0x05, "B"},
    {0x06, "C"},
    {0x07, "D"},
    {0x08, "E"},
    {0x09, "F"},
    {0x0A, "G"},
    {0x0B, "H"},
    {0x0C, "I"},
    {0x0D, "J"},
    {0x0E, "K"},
    {0x0F, "L"},
    {0x10, "M"},
    {0x11, "N"},
    {0x12, "O"},
    {0x13, "P"},
    {0x14, "Q"},
    {0x15, "R"},
    {0x16, "S"},
    {0x17, "T"},
    {0x18, "U"},
    {0x19, "V"},
    {0x1A, "W"},
    {0x1B, "X"},
    {0x1C, "Y"},
    {0x1D, "Z"},
    {0x1E, "1"},
    {0x1F, "2"},
    {0x20, "3"},
    {0x21, "4"},
    {0x22, "5"},
    {0x23, "6"},
    {0x24, "7"},
    {0x25, "8"},
    {0x26, "9"},
    {0x27, "0"},
    {0x28, "Enter"},
    {0x29, "Esc"},
    {0x2A, "Backspace"},
    {0x2B, "Tab"},
    {0x2C, "Space bar"},
    {0x2D, "OEM_Minus"},
    {0x2E, "OEM_Plus"},
    {0x2F, "OEM_4"},
    {0x30, "OEM_6"},
    {0x31, "OEM_5"},
    {0x33, "OEM_1"},
    {0x34, "OEM_7"},
    {0x35, "OEM_3"},
    {0x36, "OEM_Comma"},
    {0x37, "OEM_Period"},
    {0x38, "OEM_2"},
    {0x39, "Caps Lock"},
    {0x3A, "F1"},
    {0x3B, "F2"},
    {0x3C, "F3"},
    {0x3D, "F4"},
    {0x3E, "F5"},
    {0x3F, "F6"},
    {0x40, "F7"},
    {0x41, "F8"},
    {0x42, "F9"},
    {0x43, "F10"},
    {0x44, "F11"},
    {0x45, "F12"},
    {0x46, "Print Screen"},
    {0x47, "Scroll Lock"},
    {0x48, "Pause"},
    {0x49, "Insert"},
    {0x4A, "Home"},
    {0x4B, "Page Up"},
    {0x4C, "Delete"},
    {0x4D, "End"},
    {0x4E, "Page Down"},
    {0x4F, "Right Arrow"},
    {0x50, "Left Arrow"},
    {0x51, "Down Arrow"},
    {0x52, "Up Arrow"},
    {0x53, "Num Lock"},
    {0x54, "Divide (numeric pad)"},
    {0x55, "Multiply (numeric pad)"},
    {0x56, "Subtract (numeric pad)"},
    {0x57, "Add (numeric pad)"},
    {0x58, "Separator (numeric pad)"},
    {0x59, "1 (numeric pad)"},
    {0x5A, "2 (numeric pad)"},
    {0x5B, "3 (numeric pad)"},
    {0x5C, "4 (numeric pad)"},
    {0x5D, "5 (numeric pad)"},
    {0x5E, "6 (numeric pad)"},
    {0x5F, "7 (numeric pad)"},
    {0x60, "8 (numeric pad)"},
    {0x61, "9 (numeric pad)"},
    {0x62, "0 (numeric pad)"},
    {0x63, "Decimal (numeric pad)"},
    {0x65, "Applications"},
    {0x68, "F13"},
    {0x69, "F14"},
    {0x6A, "F15"},
    {0x6B, "F16"},
    {0x6C, "F17"},
    {0x6D, "F18"},
    {0x6E, "F19"},
    {0x6F, "F20"},
    {0x70, "F21"},
    {0x71, "F22"},
    {0x72, "F23"},
    {0x73, "F24"},
    {0x75, "Help"},
    {0x77, "Select"},
    {0x9C, "Clear"},
    {kUsageMediaNextTrack, "Media_Next_Track"},
    {kUsageMediaPrevTrack, "Media_Prev_Track"},
    {kUsageMediaStop, "Media_Stop"},
    {kUsageMediaPlayPause, "Media_Play_Pause"},
    {kUsageVolumeMute, "Volume_Mute"},
    {kUsageVolumeUp, "Volume_Up"},
    {kUsageVolumeDown, "Volume_Down"},
    {kUsageLaunchMail, "Launch_Mail"},
    {kUsageBrowserSearch, "Browser_Search"},
    {kUsageBrowserHome, "Browser_Home"},
    {kUsageBrowserBack, "Browser_Back"},
    {kUsageBrowserForward, "Browser_Forward"},
    {kUsageBrowserStop, "Browser_Stop"},
    {kUsageBrowserRefresh, "Browser_Refresh"},
    {kUsageBrowserFavorites, "Browser_Favorites"},
    {kUsageLaunchMediaSelect, "Launch_Media_Select"},
    {0xE0, "Left Ctrl"},
    {0xE1, "Left Shift"},
    {0xE2, "Left Alt"},
    {0xE3, "Win"},
    {0xE4, "Right Ctrl"},
    {0xE5, "Right Shift"},
    {0xE6, "Right Alt"},
    {0xE7, "Win"},
};

constexpr std::array<std::string_view, 256> BuildUsageNames() {
    std::array<std::string_view, 256> names{};
    for (const NamedUsage& entry : kNamedUsages) {
        names[entry.usage] = entry.name;
    }
    return names;
}

constexpr std::array<std::string_view, 256> kUsageNames = BuildUsageNames();

}  // namespace

std::string_view UsageName(uint8_t usage) {
    return kUsageNames[usage];
}

}  // namespace velq
