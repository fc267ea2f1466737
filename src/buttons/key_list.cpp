#include "buttons/key_list.h"

#include "buttons/usage_names.h"

namespace velq {

namespace {
constexpr int16_t kNone = kNoVirtualKey;
}

// The order of the list is what the capture dialogs index; the usages follow the Keyboard page
// (generic Shift, Ctrl and Alt take the left-hand usages; keys without a usage give 0).
constexpr std::array<KeyListEntry, kKeyListSize> kKeyListData{{
    {"None", kNone, 0x00},
    {"Demo", kNone, 0x00},
    {"255", 0xFF, 0x00},
    {"Backspace", 0x08, 0x2A},
    {"Tab", 0x09, 0x2B},
    {"Clear", 0x0C, 0x9C},
    {"Enter", 0x0D, 0x28},
    {"Shift", 0x10, 0xE1},
    {"Ctrl", 0x11, 0xE0},
    {"Alt", 0x12, 0xE2},
    {"Pause", 0x13, 0x48},
    {"Caps Lock", 0x14, 0x39},
    {"Esc", 0x1B, 0x29},
    {"Space bar", 0x20, 0x2C},
    {"Page Up", 0x21, 0x4B},
    {"Page Down", 0x22, 0x4E},
    {"End", 0x23, 0x4D},
    {"Home", 0x24, 0x4A},
    {"Left Arrow", 0x25, 0x50},
    {"Up Arrow", 0x26, 0x52},
    {"Right Arrow", 0x27, 0x4F},
    {"Down Arrow", 0x28, 0x51},
    {"Select", 0x29, 0x77},
    {"Print Screen", 0x2C, 0x46},
    {"Insert", 0x2D, 0x49},
    {"Delete", 0x2E, 0x4C},
    {"Help", 0x2F, 0x75},
    {"Left Windows", 0x5B, 0xE3},
    {"Right Windows", 0x5C, 0xE7},
    {"Applications", 0x5D, 0x65},
    {"0 (numeric pad)", 0x60, 0x62},
    {"1 (numeric pad)", 0x61, 0x59},
    {"2 (numeric pad)", 0x62, 0x5A},
    {"3 (numeric pad)", 0x63, 0x5B},
    {"4 (numeric pad)", 0x64, 0x5C},
    {"5 (numeric pad)", 0x65, 0x5D},
    {"6 (numeric pad)", 0x66, 0x5E},
    {"7 (numeric pad)", 0x67, 0x5F},
    {"8 (numeric pad)", 0x68, 0x60},
    {"9 (numeric pad)", 0x69, 0x61},
    {"Multiply (numeric pad)", 0x6A, 0x55},
    {"Add (numeric pad)", 0x6B, 0x57},
    {"Separator (numeric pad)", 0x6C, 0x58},
    {"Subtract (numeric pad)", 0x6D, 0x56},
    {"Decimal (numeric pad)", 0x6E, 0x63},
    {"Divide (numeric pad)", 0x6F, 0x54},
    {"F1", 0x70, 0x3A},
    {"F2", 0x71, 0x3B},
    {"F3", 0x72, 0x3C},
    {"F4", 0x73, 0x3D},
    {"F5", 0x74, 0x3E},
    {"F6", 0x75, 0x3F},
    {"F7", 0x76, 0x40},
    {"F8", 0x77, 0x41},
    {"F9", 0x78, 0x42},
    {"F10", 0x79, 0x43},
    {"F11", 0x7A, 0x44},
    {"F12", 0x7B, 0x45},
    {"F13", 0x7C, 0x68},
    {"F14", 0x7D, 0x69},
    {"F15", 0x7E, 0x6A},
    {"F16", 0x7F, 0x6B},
    {"F17", 0x80, 0x6C},
    {"F18", 0x81, 0x6D},
    {"F19", 0x82, 0x6E},
    {"F20", 0x83, 0x6F},
    {"F21", 0x84, 0x70},
    {"F22", 0x85, 0x71},
    {"F23", 0x86, 0x72},
    {"F24", 0x87, 0x73},
    {"Num Lock", 0x90, 0x53},
    {"Scroll Lock", 0x91, 0x47},
    {"Left Shift", 0xA0, 0xE1},
    {"Right Shift", 0xA1, 0xE5},
    {"Left Ctrl", 0xA2, 0xE0},
    {"Right Ctrl", 0xA3, 0xE4},
    {"Left Alt", 0xA4, 0xE2},
    {"Right Alt", 0xA5, 0xE6},
    {"A", 0x41, 0x04},
    {"B", 0x42, 0x05},
    {"C", 0x43, 0x06},
    {"D", 0x44, 0x07},
    {"E", 0x45, 0x08},
    {"F", 0x46, 0x09},
    {"G", 0x47, 0x0A},
    {"H", 0x48, 0x0B},
    {"I", 0x49, 0x0C},
    {"J", 0x4A, 0x0D},
    {"K", 0x4B, 0x0E},
    {"L", 0x4C, 0x0F},
    {"M", 0x4D, 0x10},
    {"N", 0x4E, 0x11},
    {"O", 0x4F, 0x12},
    {"P", 0x50, 0x13},
    {"Q", 0x51, 0x14},
    {"R", 0x52, 0x15},
    {"S", 0x53, 0x16},
    {"T", 0x54, 0x17},
    {"U", 0x55, 0x18},
    {"V", 0x56, 0x19},
    {"W", 0x57, 0x1A},
    {"X", 0x58, 0x1B},
    {"Y", 0x59, 0x1C},
    {"Z", 0x5A, 0x1D},
    {"0", 0x30, 0x27},
    {"1", 0x31, 0x1E},
    {"2", 0x32, 0x1F},
    {"3", 0x33, 0x20},
    {"4", 0x34, 0x21},
    {"5", 0x35, 0x22},
    {"6", 0x36, 0x23},
    {"7", 0x37, 0x24},
    {"8", 0x38, 0x25},
    {"9", 0x39, 0x26},
    {"OEM_1", 0xBA, 0x33},
    {"OEM_2", 0xBF, 0x38},
    {"OEM_3", 0xC0, 0x35},
    {"OEM_4", 0xDB, 0x2F},
    {"OEM_5", 0xDC, 0x31},
    {"OEM_6", 0xDD, 0x30},
    {"OEM_7", 0xDE, 0x34},
    {"OEM_8", 0xDF, 0x00},
    {"OEM_Plus", 0xBB, 0x2E},
    {"OEM_Comma", 0xBC, 0x36},
    {"OEM_Minus", 0xBD, 0x2D},
    {"OEM_Period", 0xBE, 0x37},
    {"Browser_Back", 0xA6, kUsageBrowserBack},
    {"Browser_Forward", 0xA7, kUsageBrowserForward},
    {"Browser_Refresh", 0xA8, kUsageBrowserRefresh},
    {"Browser_Stop", 0xA9, kUsageBrowserStop},
    {"Browser_Search", 0xAA, kUsageBrowserSearch},
    {"Browser_Favorites", 0xAB, kUsageBrowserFavorites},
    {"Browser_Home", 0xAC, kUsageBrowserHome},
    {"Volume_Mute", 0xAD, kUsageVolumeMute},
    {"Volume_Down", 0xAE, kUsageVolumeDown},
    {"Volume_Up", 0xAF, kUsageVolumeUp},
    {"Media_Next_Track", 0xB0, kUsageMediaNextTrack},
    {"Media_Prev_Track", 0xB1, kUsageMediaPrevTrack},
    {"Media_Stop", 0xB2, kUsageMediaStop},
    {"Media_Play_Pause", 0xB3, kUsageMediaPlayPause},
    {"Launch_Mail", 0xB4, kUsageLaunchMail},
    {"Launch_Media_Select", 0xB5, kUsageLaunchMediaSelect},
    {"Launch_App1", 0xB6, 0x00},
    {"Launch_App2", 0xB7, 0x00},
}};

const std::array<KeyListEntry, kKeyListSize> kKeyList = kKeyListData;

namespace {

// Virtual key -> KeyIndex, built once from the list so the two never disagree.
constexpr std::array<uint8_t, 256> BuildIndexOfVirtualKey() {
    std::array<uint8_t, 256> index{};
    for (std::size_t i = 0; i < kKeyListData.size(); ++i) {
        const int16_t vk = kKeyListData[i].virtual_key;
        if (vk >= 0 && vk < 256) {
            index[static_cast<std::size_t>(vk)] = static_cast<uint8_t>(i);
        }
    }
    return index;
}

constexpr std::array<uint8_t, 256> kIndexOfVirtualKey = BuildIndexOfVirtualKey();

bool InList(int key_index) {
    return key_index >= 0 && static_cast<std::size_t>(key_index) < kKeyListSize;
}

}  // namespace

int KeyIndexOfVirtualKey(int virtual_key) {
    if (virtual_key < 0 || virtual_key > 0xFF) {
        return kKeyIndexNone;
    }
    return kIndexOfVirtualKey[static_cast<std::size_t>(virtual_key)];
}

std::string_view KeyIndexName(int key_index) {
    return InList(key_index) ? kKeyListData[static_cast<std::size_t>(key_index)].name
                             : std::string_view{};
}

uint8_t UsageOfKeyIndex(int key_index) {
    return InList(key_index) ? kKeyListData[static_cast<std::size_t>(key_index)].usage : 0;
}

}  // namespace velq
