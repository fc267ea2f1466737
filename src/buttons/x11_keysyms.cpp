#include "buttons/x11_keysyms.h"

#include <array>

namespace velq {

namespace {

// Keysym -> virtual key. Several keysyms may give one key (a letter in both cases, the keypad
// keys with Num Lock on and off), so the table is searched, not indexed.
constexpr KeysymMapping kKeysyms[] = {
    // Editing and control keys.
    {0xFF08, 0x08},  // BackSpace
    {0xFF09, 0x09},  // Tab
    {0xFE20, 0x09},  // ISO_Left_Tab (Shift+Tab)
    {0xFF0B, 0x0C},  // Clear
    {0xFF0D, 0x0D},  // Return
    {0xFF13, 0x13},  // Pause
    {0xFF14, 0x91},  // Scroll_Lock
    {0xFF15, 0x2C},  // Sys_Req (Alt+Print)
    {0xFF1B, 0x1B},  // Escape
    {0xFFFF, 0x2E},  // Delete
    {0x0020, 0x20},  // space
    // Navigation.
    {0xFF50, 0x24},  // Home
    {0xFF51, 0x25},  // Left
    {0xFF52, 0x26},  // Up
    {0xFF53, 0x27},  // Right
    {0xFF54, 0x28},  // Down
    {0xFF55, 0x21},  // Prior (Page_Up)
    {0xFF56, 0x22},  // Next (Page_Down)
    {0xFF57, 0x23},  // End
    {0xFF60, 0x29},  // Select
    {0xFF61, 0x2C},  // Print
    {0xFF63, 0x2D},  // Insert
    {0xFF67, 0x5D},  // Menu (Applications key)
    {0xFF6A, 0x2F},  // Help
    // Locks and modifiers.
    {0xFF7F, 0x90},  // Num_Lock
    {0xFFE5, 0x14},  // Caps_Lock
    {0xFFE1, 0xA0},  // Shift_L
    {0xFFE2, 0xA1},  // Shift_R
    {0xFFE3, 0xA2},  // Control_L
    {0xFFE4, 0xA3},  // Control_R
    {0xFFE9, 0xA4},  // Alt_L
    {0xFFEA, 0xA5},  // Alt_R
    {0xFE03, 0xA5},  // ISO_Level3_Shift (AltGr)
    {0xFFEB, 0x5B},  // Super_L
    {0xFFEC, 0x5C},  // Super_R
    // Keypad with Num Lock on.
    {0xFFB0, 0x60},  // KP_0
    {0xFFB1, 0x61},  // KP_1
    {0xFFB2, 0x62},  // KP_2
    {0xFFB3, 0x63},  // KP_3
    {0xFFB4, 0x64},  // KP_4
    {0xFFB5, 0x65},  // KP_5
    {0xFFB6, 0x66},  // KP_6
    {0xFFB7, 0x67},  // KP_7
    {0xFFB8, 0x68},  // KP_8
    {0xFFB9, 0x69},  // KP_9
    {0xFFAA, 0x6A},  // KP_Multiply
    {0xFFAB, 0x6B},  // KP_Add
    {0xFFAC, 0x6C},  // KP_Separator
    {0xFFAD, 0x6D},  // KP_Subtract
    {0xFFAE, 0x6E},  // KP_Decimal
    {0xFFAF, 0x6F},  // KP_Divide
    {0xFF8D, 0x0D},  // KP_Enter
    // Keypad with Num Lock off: the navigation keys they stand for.
    {0xFF95, 0x24},  // KP_Home
    {0xFF96, 0x25},  // KP_Left
    {0xFF97, 0x26},  // KP_Up
    {0xFF98, 0x27},  // KP_Right
    {0xFF99, 0x28},  // KP_Down
    {0xFF9A, 0x21},  // KP_Prior
    {0xFF9B, 0x22},  // KP_Next
    {0xFF9C, 0x23},  // KP_End
    {0xFF9D, 0x0C},  // KP_Begin (keypad 5)
    {0xFF9E, 0x2D},  // KP_Insert
    {0xFF9F, 0x2E},  // KP_Delete
    // Function keys F1..F24.
    {0xFFBE, 0x70},
    {0xFFBF, 0x71},
    {0xFFC0, 0x72},
    {0xFFC1, 0x73},
    {0xFFC2, 0x74},
    {0xFFC3, 0x75},
    {0xFFC4, 0x76},
    {0xFFC5, 0x77},
    {0xFFC6, 0x78},
    {0xFFC7, 0x79},
    {0xFFC8, 0x7A},
    {0xFFC9, 0x7B},
    {0xFFCA, 0x7C},
    {0xFFCB, 0x7D},
    {0xFFCC, 0x7E},
    {0xFFCD, 0x7F},
    {0xFFCE, 0x80},
    {0xFFCF, 0x81},
    {0xFFD0, 0x82},
    {0xFFD1, 0x83},
    {0xFFD2, 0x84},
    {0xFFD3, 0x85},
    {0xFFD4, 0x86},
    {0xFFD5, 0x87},
    // Digit row: the digits and their shifted symbols on a US layout.
    {0x0030, 0x30},  // 0
    {0x0029, 0x30},  // parenright
    {0x0031, 0x31},  // 1
    {0x0021, 0x31},  // exclam
    {0x0032, 0x32},  // 2
    {0x0040, 0x32},  // at
    {0x0033, 0x33},  // 3
    {0x0023, 0x33},  // numbersign
    {0x0034, 0x34},  // 4
    {0x0024, 0x34},  // dollar
    {0x0035, 0x35},  // 5
    {0x0025, 0x35},  // percent
    {0x0036, 0x36},  // 6
    {0x005E, 0x36},  // asciicircum
    {0x0037, 0x37},  // 7
    {0x0026, 0x37},  // ampersand
    {0x0038, 0x38},  // 8
    {0x002A, 0x38},  // asterisk
    {0x0039, 0x39},  // 9
    {0x0028, 0x39},  // parenleft
    // Punctuation of a US layout, plain and shifted.
    {0x003B, 0xBA},  // semicolon       OEM_1
    {0x003A, 0xBA},  // colon
    {0x002F, 0xBF},  // slash           OEM_2
    {0x003F, 0xBF},  // question
    {0x0060, 0xC0},  // grave           OEM_3
    {0x007E, 0xC0},  // asciitilde
    {0x005B, 0xDB},  // bracketleft     OEM_4
    {0x007B, 0xDB},  // braceleft
    {0x005C, 0xDC},  // backslash       OEM_5
    {0x007C, 0xDC},  // bar
    {0x005D, 0xDD},  // bracketright    OEM_6
    {0x007D, 0xDD},  // braceright
    {0x0027, 0xDE},  // apostrophe      OEM_7
    {0x0022, 0xDE},  // quotedbl
    {0x00A7, 0xDF},  // section         OEM_8 (the extra key of UK and Nordic layouts)
    {0x003D, 0xBB},  // equal           OEM_Plus
    {0x002B, 0xBB},  // plus
    {0x002C, 0xBC},  // comma           OEM_Comma
    {0x003C, 0xBC},  // less
    {0x002D, 0xBD},  // minus           OEM_Minus
    {0x005F, 0xBD},  // underscore
    {0x002E, 0xBE},  // period          OEM_Period
    {0x003E, 0xBE},  // greater
    // Browser, volume, media and launch keys.
    {0x1008FF26, 0xA6},  // XF86Back
    {0x1008FF27, 0xA7},  // XF86Forward
    {0x1008FF29, 0xA8},  // XF86Refresh
    {0x1008FF28, 0xA9},  // XF86Stop
    {0x1008FF1B, 0xAA},  // XF86Search
    {0x1008FF30, 0xAB},  // XF86Favorites
    {0x1008FF18, 0xAC},  // XF86HomePage
    {0x1008FF12, 0xAD},  // XF86AudioMute
    {0x1008FF11, 0xAE},  // XF86AudioLowerVolume
    {0x1008FF13, 0xAF},  // XF86AudioRaiseVolume
    {0x1008FF17, 0xB0},  // XF86AudioNext
    {0x1008FF16, 0xB1},  // XF86AudioPrev
    {0x1008FF15, 0xB2},  // XF86AudioStop
    {0x1008FF14, 0xB3},  // XF86AudioPlay
    {0x1008FF31, 0xB3},  // XF86AudioPause
    {0x1008FF19, 0xB4},  // XF86Mail
    {0x1008FF32, 0xB5},  // XF86AudioMedia
    {0x1008FF33, 0xB6},  // XF86MyComputer (the first launch key)
    {0x1008FF40, 0xB6},  // XF86Launch0
    {0x1008FF1D, 0xB7},  // XF86Calculator (the second launch key)
    {0x1008FF41, 0xB7},  // XF86Launch1
};

// Letters: upper- and lower-case keysyms give the letter's key.
constexpr std::array<KeysymMapping, 52> BuildLetters() {
    std::array<KeysymMapping, 52> letters{};
    for (uint32_t i = 0; i < 26; ++i) {
        letters[i] = {0x41 + i, static_cast<uint8_t>(0x41 + i)};
        letters[26 + i] = {0x61 + i, static_cast<uint8_t>(0x41 + i)};
    }
    return letters;
}

constexpr std::size_t kKeysymCount = std::size(kKeysyms) + 52;

constexpr std::array<KeysymMapping, kKeysymCount> BuildTable() {
    std::array<KeysymMapping, kKeysymCount> table{};
    std::size_t n = 0;
    for (const KeysymMapping& mapping : kKeysyms) {
        table[n++] = mapping;
    }
    for (const KeysymMapping& mapping : BuildLetters()) {
        table[n++] = mapping;
    }
    return table;
}

constexpr std::array<KeysymMapping, kKeysymCount> kTable = BuildTable();

}  // namespace

std::span<const KeysymMapping> KeysymTable() {
    return kTable;
}

uint8_t VirtualKeyOfKeysym(uint32_t keysym) {
    for (const KeysymMapping& mapping : kTable) {
        if (mapping.keysym == keysym) {
            return mapping.virtual_key;
        }
    }
    return 0;
}

uint8_t RawInputVirtualKey(uint8_t virtual_key) {
    switch (virtual_key) {
        case 0xA0:
        case 0xA1:
            return 0x10;
        case 0xA2:
        case 0xA3:
            return 0x11;
        case 0xA4:
        case 0xA5:
            return 0x12;
        default:
            return virtual_key;
    }
}

}  // namespace velq
