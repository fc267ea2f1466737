#include "buttons/x11_keysyms.h"

#include <gtest/gtest.h>

#include <set>

#include "buttons/key_list.h"

namespace velq {
namespace {

TEST(KeysymTest, EveryListedKeyIsReachableFromAKeysym) {
    std::set<int> reachable;
    for (const KeysymMapping& mapping : KeysymTable()) {
        reachable.insert(mapping.virtual_key);
        reachable.insert(RawInputVirtualKey(mapping.virtual_key));
    }
    // "None", "Demo" and "255" are not keys of a keyboard.
    for (std::size_t i = 3; i < kKeyList.size(); ++i) {
        EXPECT_TRUE(reachable.count(kKeyList[i].virtual_key) != 0) << kKeyList[i].name;
    }
}

TEST(KeysymTest, EveryMappedKeyIsInTheList) {
    for (const KeysymMapping& mapping : KeysymTable()) {
        EXPECT_GE(KeyIndexOfVirtualKey(mapping.virtual_key), 3) << std::hex << mapping.keysym;
    }
}

TEST(KeysymTest, KeysymsAreUnique) {
    std::set<uint32_t> seen;
    for (const KeysymMapping& mapping : KeysymTable()) {
        EXPECT_TRUE(seen.insert(mapping.keysym).second) << std::hex << mapping.keysym;
    }
}

TEST(KeysymTest, TellingKeysyms) {
    struct Case {
        uint32_t keysym;
        const char* key;
    };
    const Case cases[] = {
        {0x0061, "A"},  // a
        {0x0041, "A"},  // A
        {0x007A, "Z"},
        {0x0031, "1"},
        {0x0021, "1"},  // exclam
        {0x0030, "0"},
        {0xFFBE, "F1"},
        {0xFFD5, "F24"},
        {0xFFB0, "0 (numeric pad)"},
        {0xFFAC, "Separator (numeric pad)"},
        {0xFF9C, "End"},  // KP_End with Num Lock off
        {0xFF8D, "Enter"},
        {0xFFE1, "Left Shift"},
        {0xFFE2, "Right Shift"},
        {0xFFE4, "Right Ctrl"},
        {0xFFEA, "Right Alt"},
        {0xFFEB, "Left Windows"},
        {0xFFEC, "Right Windows"},
        {0xFF67, "Applications"},
        {0x003B, "OEM_1"},
        {0x005B, "OEM_4"},
        {0x0027, "OEM_7"},
        {0x003D, "OEM_Plus"},
        {0x002D, "OEM_Minus"},
        {0xFF61, "Print Screen"},
        {0xFFFF, "Delete"},
        {0x1008FF26, "Browser_Back"},
        {0x1008FF14, "Media_Play_Pause"},
        {0x1008FF11, "Volume_Down"},
        {0x1008FF33, "Launch_App1"},
        {0x1008FF1D, "Launch_App2"},
        // Keysyms without a key.
        {0x0000, "None"},
        {0x00E9, "None"},  // eacute
        {0xFFE7, "None"},  // Meta_L
        {0x1008FF10, "None"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyIndexName(KeyIndexOfVirtualKey(VirtualKeyOfKeysym(c.keysym))), c.key)
            << std::hex << c.keysym;
    }
}

TEST(KeysymTest, RawInputFoldsSidedModifiers) {
    EXPECT_EQ(RawInputVirtualKey(VirtualKeyOfKeysym(0xFFE1)), kVkShift);
    EXPECT_EQ(RawInputVirtualKey(VirtualKeyOfKeysym(0xFFE2)), kVkShift);
    EXPECT_EQ(RawInputVirtualKey(VirtualKeyOfKeysym(0xFFE3)), kVkControl);
    EXPECT_EQ(RawInputVirtualKey(VirtualKeyOfKeysym(0xFFE4)), kVkControl);
    EXPECT_EQ(RawInputVirtualKey(VirtualKeyOfKeysym(0xFFE9)), kVkMenu);
    EXPECT_EQ(RawInputVirtualKey(VirtualKeyOfKeysym(0xFFEA)), kVkMenu);
    EXPECT_EQ(RawInputVirtualKey(VirtualKeyOfKeysym(0xFFEB)), kVkLeftWin);
    EXPECT_EQ(RawInputVirtualKey(0x41), 0x41);
}

}  // namespace
}  // namespace velq
