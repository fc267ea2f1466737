#include "buttons/linux_keys.h"

#include <algorithm>
#include <array>

#include "buttons/key_list.h"
#include "buttons/usage_names.h"
#include "buttons/x11_keysyms.h"

namespace velq {

namespace {

// Kernel key code -> keyboard usage: the inverse of the kernel's own table for USB keyboards,
// with the multimedia and browser keys on the program's usages.
constexpr LinuxKeyUsage kLinuxKeys[] = {
    {1, 0x29},    // ESC
    {2, 0x1E},    // 1
    {3, 0x1F},    // 2
    {4, 0x20},    // 3
    {5, 0x21},    // 4
    {6, 0x22},    // 5
    {7, 0x23},    // 6
    {8, 0x24},    // 7
    {9, 0x25},    // 8
    {10, 0x26},   // 9
    {11, 0x27},   // 0
    {12, 0x2D},   // MINUS
    {13, 0x2E},   // EQUAL
    {14, 0x2A},   // BACKSPACE
    {15, 0x2B},   // TAB
    {16, 0x14},   // Q
    {17, 0x1A},   // W
    {18, 0x08},   // E
    {19, 0x15},   // R
    {20, 0x17},   // T
    {21, 0x1C},   // Y
    {22, 0x18},   // U
    {23, 0x0C},   // I
    {24, 0x12},   // O
    {25, 0x13},   // P
    {26, 0x2F},   // LEFTBRACE
    {27, 0x30},   // RIGHTBRACE
    {28, 0x28},   // ENTER
    {29, 0xE0},   // LEFTCTRL
    {30, 0x04},   // A
    {31, 0x16},   // S
    {32, 0x07},   // D
    {33, 0x09},   // F
    {34, 0x0A},   // G
    {35, 0x0B},   // H
    {36, 0x0D},   // J
    {37, 0x0E},   // K
    {38, 0x0F},   // L
    {39, 0x33},   // SEMICOLON
    {40, 0x34},   // APOSTROPHE
    {41, 0x35},   // GRAVE
    {42, 0xE1},   // LEFTSHIFT
    {43, 0x31},   // BACKSLASH
    {44, 0x1D},   // Z
    {45, 0x1B},   // X
    {46, 0x06},   // C
    {47, 0x19},   // V
    {48, 0x05},   // B
    {49, 0x11},   // N
    {50, 0x10},   // M
    {51, 0x36},   // COMMA
    {52, 0x37},   // DOT
    {53, 0x38},   // SLASH
    {54, 0xE5},   // RIGHTSHIFT
    {55, 0x55},   // KPASTERISK
    {56, 0xE2},   // LEFTALT
    {57, 0x2C},   // SPACE
    {58, 0x39},   // CAPSLOCK
    {59, 0x3A},   // F1
    {60, 0x3B},   // F2
    {61, 0x3C},   // F3
    {62, 0x3D},   // F4
    {63, 0x3E},   // F5
    {64, 0x3F},   // F6
    {65, 0x40},   // F7
    {66, 0x41},   // F8
    {67, 0x42},   // F9
    {68, 0x43},   // F10
    {69, 0x53},   // NUMLOCK
    {70, 0x47},   // SCROLLLOCK
    {71, 0x5F},   // KP7
    {72, 0x60},   // KP8
    {73, 0x61},   // KP9
    {74, 0x56},   // KPMINUS
    {75, 0x5C},   // KP4
    {76, 0x5D},   // KP5
    {77, 0x5E},   // KP6
    {78, 0x57},   // KPPLUS
    {79, 0x59},   // KP1
    {80, 0x5A},   // KP2
    {81, 0x5B},   // KP3
    {82, 0x62},   // KP0
    {83, 0x63},   // KPDOT
    {86, 0x64},   // 102ND (the key beside the left Shift on ISO keyboards)
    {87, 0x44},   // F11
    {88, 0x45},   // F12
    {96, 0x58},   // KPENTER
    {97, 0xE4},   // RIGHTCTRL
    {98, 0x54},   // KPSLASH
    {99, 0x46},   // SYSRQ (Print Screen)
    {100, 0xE6},  // RIGHTALT
    {102, 0x4A},  // HOME
    {103, 0x52},  // UP
    {104, 0x4B},  // PAGEUP
    {105, 0x50},  // LEFT
    {106, 0x4F},  // RIGHT
    {107, 0x4D},  // END
    {108, 0x51},  // DOWN
    {109, 0x4E},  // PAGEDOWN
    {110, 0x49},  // INSERT
    {111, 0x4C},  // DELETE
    {113, kUsageVolumeMute},
    {114, kUsageVolumeDown},
    {115, kUsageVolumeUp},
    {117, 0x67},  // KPEQUAL
    {119, 0x48},  // PAUSE
    {121, 0x85},  // KPCOMMA
    {125, 0xE3},  // LEFTMETA
    {126, 0xE7},  // RIGHTMETA
    {127, 0x65},  // COMPOSE (Applications)
    {128, kUsageBrowserStop},
    {132, 0x77},  // FRONT (Select)
    {138, 0x75},  // HELP
    {155, kUsageLaunchMail},
    {156, kUsageBrowserFavorites},
    {158, kUsageBrowserBack},
    {159, kUsageBrowserForward},
    {163, kUsageMediaNextTrack},
    {164, kUsageMediaPlayPause},
    {165, kUsageMediaPrevTrack},
    {166, kUsageMediaStop},
    {172, kUsageBrowserHome},
    {173, kUsageBrowserRefresh},
    {183, 0x68},  // F13
    {184, 0x69},  // F14
    {185, 0x6A},  // F15
    {186, 0x6B},  // F16
    {187, 0x6C},  // F17
    {188, 0x6D},  // F18
    {189, 0x6E},  // F19
    {190, 0x6F},  // F20
    {191, 0x70},  // F21
    {192, 0x71},  // F22
    {193, 0x72},  // F23
    {194, 0x73},  // F24
    {217, kUsageBrowserSearch},
    {226, kUsageLaunchMediaSelect},
};

// Usage -> virtual key, built once from the key list so that the two never disagree: the first
// key of the list with the usage (the generic Shift, Ctrl and Alt come before the sided ones),
// its side-specific modifier folded as raw input reports it.
std::array<uint8_t, 256> BuildVirtualKeyOfUsage() {
    std::array<uint8_t, 256> keys{};
    for (const KeyListEntry& entry : kKeyList) {
        if (entry.usage == 0 || entry.virtual_key <= 0 || entry.virtual_key > 0xFF ||
            keys[entry.usage] != 0) {
            continue;
        }
        keys[entry.usage] = static_cast<uint8_t>(entry.virtual_key);
    }
    return keys;
}

}  // namespace

std::span<const LinuxKeyUsage> LinuxKeyUsageTable() {
    return kLinuxKeys;
}

uint8_t UsageOfLinuxKey(uint16_t key_code) {
    const auto* found =
        std::find_if(std::begin(kLinuxKeys), std::end(kLinuxKeys),
                     [key_code](const LinuxKeyUsage& k) { return k.key_code == key_code; });
    return found != std::end(kLinuxKeys) ? found->usage : 0;
}

std::optional<uint8_t> VirtualKeyOfUsage(uint8_t usage) {
    static const std::array<uint8_t, 256> kVirtualKeys = BuildVirtualKeyOfUsage();
    const uint8_t key = kVirtualKeys[usage];
    if (usage == 0 || key == 0) {
        return std::nullopt;
    }
    return RawInputVirtualKey(key);
}

}  // namespace velq
