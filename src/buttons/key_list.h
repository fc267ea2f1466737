#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace velq {

// One key of the capture list: its name, the Windows virtual-key code that selects it
// (kNoVirtualKey when none does) and the keyboard usage it produces (0 = no usage).
struct KeyListEntry {
    std::string_view name;
    int16_t virtual_key;
    uint8_t usage;
};

inline constexpr int16_t kNoVirtualKey = -1;
inline constexpr std::size_t kKeyListSize = 144;

// Key indexes other code refers to.
inline constexpr int kKeyIndexNone = 0;
inline constexpr int kKeyIndexOutsideList = 2;  // "255": the entry for virtual key 0xFF

// Windows virtual-key codes of the modifiers as raw keyboard input reports them.
inline constexpr uint8_t kVkShift = 0x10;
inline constexpr uint8_t kVkControl = 0x11;
inline constexpr uint8_t kVkMenu = 0x12;  // Alt
inline constexpr uint8_t kVkLeftWin = 0x5B;
inline constexpr uint8_t kVkRightWin = 0x5C;

// The key list, index = KeyIndex 0..143.
extern const std::array<KeyListEntry, kKeyListSize> kKeyList;

// The KeyIndex of a virtual-key code; 0 for a code no key of the list has.
int KeyIndexOfVirtualKey(int virtual_key);

// The name of a KeyIndex; empty outside 0..143.
std::string_view KeyIndexName(int key_index);

// The keyboard usage of a KeyIndex; 0 for keys without usage and outside 0..143.
uint8_t UsageOfKeyIndex(int key_index);

}  // namespace velq
