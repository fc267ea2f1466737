#include <gtest/gtest.h>

#include <set>

#include "buttons/key_list.h"
#include "buttons/linux_keys.h"
#include "buttons/usage_names.h"

namespace velq {
namespace {

TEST(LinuxKeys, PhysicalKeysGiveTheUsageOfTheirPlace) {
    struct Case {
        uint16_t key_code;
        uint8_t usage;
    };
    // Y and Z: their US places, whatever a German layout types on them.
    const Case cases[] = {{30, 0x04}, {21, 0x1C},  {44, 0x1D}, {42, 0xE1},
                          {54, 0xE5}, {125, 0xE3}, {96, 0x58}, {115, kUsageVolumeUp},
                          {500, 0x00}};
    for (const Case& c : cases) {
        EXPECT_EQ(UsageOfLinuxKey(c.key_code), c.usage) << c.key_code;
    }
}

TEST(LinuxKeys, EachKeyOnceAndEveryUsageNamedOrLeftOut) {
    std::set<uint16_t> codes;
    std::set<uint8_t> usages;
    for (const LinuxKeyUsage& key : LinuxKeyUsageTable()) {
        EXPECT_TRUE(codes.insert(key.key_code).second) << key.key_code;
        EXPECT_TRUE(usages.insert(key.usage).second) << int(key.usage);
        EXPECT_NE(key.usage, 0) << key.key_code;
    }
}

TEST(LinuxKeys, UsagesToTheVirtualKeysRawInputReports) {
    EXPECT_EQ(VirtualKeyOfUsage(0x04), 0x41);  // A
    EXPECT_EQ(VirtualKeyOfUsage(0xE1), kVkShift);
    EXPECT_EQ(VirtualKeyOfUsage(0xE5), kVkShift);  // right Shift: the generic Shift
    EXPECT_EQ(VirtualKeyOfUsage(0xE4), kVkControl);
    EXPECT_EQ(VirtualKeyOfUsage(0xE6), kVkMenu);
    EXPECT_EQ(VirtualKeyOfUsage(0xE3), kVkLeftWin);
    EXPECT_EQ(VirtualKeyOfUsage(0xE7), kVkRightWin);
    EXPECT_EQ(VirtualKeyOfUsage(kUsageVolumeUp), 0xAF);
    EXPECT_FALSE(VirtualKeyOfUsage(0x64).has_value());  // the ISO key: not in the key list
    EXPECT_FALSE(VirtualKeyOfUsage(0x00).has_value());
    // Every usage the key list names comes back to a key of the same usage, but for the
    // right-hand Ctrl, Shift and Alt, which raw input reports as the generic ones.
    for (const KeyListEntry& entry : kKeyList) {
        if (entry.usage == 0 || entry.virtual_key <= 0 ||
            (entry.usage >= 0xE4 && entry.usage <= 0xE6)) {
            continue;
        }
        const std::optional<uint8_t> key = VirtualKeyOfUsage(entry.usage);
        ASSERT_TRUE(key.has_value()) << entry.name;
        EXPECT_EQ(UsageOfKeyIndex(KeyIndexOfVirtualKey(*key)), entry.usage) << entry.name;
    }
}

}  // namespace
}  // namespace velq
