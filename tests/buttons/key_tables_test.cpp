#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "buttons/key_list.h"
#include "buttons/usage_names.h"

namespace velq {
namespace {

TEST(KeyListTest, VirtualKeysSelectTheirKeys) {
    struct Case {
        int virtual_key;
        const char* name;
        uint8_t usage;
    };
    const Case cases[] = {
        {0x5B, "Left Windows", 0xE3},
        {0x5C, "Right Windows", 0xE7},
        {0xDF, "OEM_8", 0x00},
        {0xFF, "255", 0x00},
        {0x10, "Shift", 0xE1},
        {0x11, "Ctrl", 0xE0},
        {0x12, "Alt", 0xE2},
        {0xA5, "Right Alt", 0xE6},
        {0x31, "1", 0x1E},
        {0x30, "0", 0x27},
        {0x60, "0 (numeric pad)", 0x62},
        {0x61, "1 (numeric pad)", 0x59},
        {0x6C, "Separator (numeric pad)", 0x58},
        {0x6F, "Divide (numeric pad)", 0x54},
        {0x0C, "Clear", 0x9C},
        {0x5D, "Applications", 0x65},
        {0x29, "Select", 0x77},
        {0x2F, "Help", 0x75},
        {0xDB, "OEM_4", 0x2F},
        {0xBA, "OEM_1", 0x33},
        {0xBB, "OEM_Plus", 0x2E},
        {0x41, "A", 0x04},
        {0x5A, "Z", 0x1D},
        {0x70, "F1", 0x3A},
        {0x7B, "F12", 0x45},
        {0x7C, "F13", 0x68},
        {0x87, "F24", 0x73},
        {0xA6, "Browser_Back", 0xCA},
        {0xAA, "Browser_Search", 0xC8},
        {0xB0, "Media_Next_Track", 0xC0},
        {0xB5, "Launch_Media_Select", 0xD1},
        {0xB6, "Launch_App1", 0x00},
        {0xB7, "Launch_App2", 0x00},
        // Keys outside the list.
        {0x00, "None", 0x00},
        {0x01, "None", 0x00},  // left mouse button
        {0x2A, "None", 0x00},
        {0x88, "None", 0x00},
        {0xE2, "None", 0x00},
        {0x100, "None", 0x00},
        {-1, "None", 0x00},
    };
    for (const Case& c : cases) {
        const int index = KeyIndexOfVirtualKey(c.virtual_key);
        EXPECT_EQ(KeyIndexName(index), c.name) << c.virtual_key;
        EXPECT_EQ(UsageOfKeyIndex(index), c.usage) << c.virtual_key;
    }
}

TEST(KeyListTest, IndexesFollowTheListOrder) {
    ASSERT_EQ(kKeyList.size(), 144u);
    EXPECT_EQ(KeyIndexName(0), "None");
    EXPECT_EQ(KeyIndexName(1), "Demo");
    EXPECT_EQ(KeyIndexName(3), "Backspace");
    EXPECT_EQ(KeyIndexName(29), "Applications");
    EXPECT_EQ(KeyIndexName(30), "0 (numeric pad)");
    EXPECT_EQ(KeyIndexName(46), "F1");
    EXPECT_EQ(KeyIndexName(70), "Num Lock");
    EXPECT_EQ(KeyIndexName(72), "Left Shift");
    EXPECT_EQ(KeyIndexName(78), "A");
    EXPECT_EQ(KeyIndexName(104), "0");
    EXPECT_EQ(KeyIndexName(114), "OEM_1");
    EXPECT_EQ(KeyIndexName(122), "OEM_Plus");
    EXPECT_EQ(KeyIndexName(126), "Browser_Back");
    EXPECT_EQ(KeyIndexName(143), "Launch_App2");
    EXPECT_EQ(KeyIndexName(144), "");
    EXPECT_EQ(KeyIndexName(-1), "");
    EXPECT_EQ(UsageOfKeyIndex(144), 0);
}

TEST(KeyListTest, EachKeyHasItsOwnVirtualKeyAndFindsItself) {
    std::set<int> seen;
    for (int i = 0; i < static_cast<int>(kKeyList.size()); ++i) {
        const int16_t vk = kKeyList[static_cast<std::size_t>(i)].virtual_key;
        if (vk == kNoVirtualKey) {
            EXPECT_LT(i, 2);
            continue;
        }
        EXPECT_TRUE(seen.insert(vk).second) << "virtual key used twice: " << vk;
        EXPECT_EQ(KeyIndexOfVirtualKey(vk), i);
    }
}

// The name of a key's usage is the key's own name except where the usage table names the key
// differently.
TEST(KeyListTest, UsageNamesAgreeWithKeyNames) {
    const std::map<std::string, std::string> renamed = {
        {"Shift", "Left Shift"}, {"Ctrl", "Left Ctrl"},    {"Alt", "Left Alt"},
        {"Left Windows", "Win"}, {"Right Windows", "Win"},
    };
    for (const KeyListEntry& key : kKeyList) {
        if (key.usage == 0) {
            continue;
        }
        const auto it = renamed.find(std::string(key.name));
        const std::string expected = it == renamed.end() ? std::string(key.name) : it->second;
        EXPECT_EQ(UsageName(key.usage), expected) << key.name;
    }
}

TEST(KeyListTest, OnlyKeysWithoutAStandardUsageGiveZero) {
    std::set<std::string> zero;
    for (const KeyListEntry& key : kKeyList) {
        if (key.usage == 0) {
            zero.insert(std::string(key.name));
        }
    }
    EXPECT_EQ(zero, (std::set<std::string>{"None", "Demo", "255", "OEM_8", "Launch_App1",
                                           "Launch_App2"}));
}

TEST(UsageNameTest, NamesTheTableAndNothingElse) {
    struct Case {
        uint8_t usage;
        const char* name;
    };
    const Case cases[] = {
        {0x04, "A"},
        {0x1D, "Z"},
        {0x1E, "1"},
        {0x26, "9"},
        {0x27, "0"},
        {0x2C, "Space bar"},
        {0x31, "OEM_5"},
        {0x38, "OEM_2"},
        {0x45, "F12"},
        {0x58, "Separator (numeric pad)"},
        {0x62, "0 (numeric pad)"},
        {0x63, "Decimal (numeric pad)"},
        {0x68, "F13"},
        {0x73, "F24"},
        {0x9C, "Clear"},
        {0xD1, "Launch_Media_Select"},
        {0xE3, "Win"},
        {0xE7, "Win"},
        {0xE6, "Right Alt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UsageName(c.usage), c.name) << int{c.usage};
    }
    const std::set<int> unnamed_singles = {0x32, 0x64, 0x66, 0x67, 0x74, 0x76, 0xCF, 0xD0};
    for (int u = 0; u < 256; ++u) {
        const bool unnamed = u <= 0x03 || unnamed_singles.count(u) != 0 ||
                             (u >= 0x78 && u <= 0x9B) || (u >= 0x9D && u <= 0xBF) ||
                             (u >= 0xD2 && u <= 0xDF) || u >= 0xE8;
        EXPECT_EQ(UsageName(static_cast<uint8_t>(u)).empty(), unnamed) << u;
    }
}

}  // namespace
}  // namespace velq
