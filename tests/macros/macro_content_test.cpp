#include "macros/macro_content.h"

#include <gtest/gtest.h>

#include <array>

#include "macro_test_util.h"
#include "macros/macro_slots.h"

namespace velq {
namespace {

using test::DeviceContent;

MacroSlotBytes Slot(uint8_t name_byte, const MacroContent& content) {
    MacroSlotBytes slot{};
    slot.fill(name_byte);
    std::copy(content.begin(), content.end(), slot.begin() + kMacroNameSize);
    return slot;
}

MacroContent ContentOf(const MacroSlotBytes& slot) {
    MacroContent content{};
    std::copy(slot.begin() + kMacroNameSize, slot.end(), content.begin());
    return content;
}

TEST(MacroChecksumTest, CoversTheLengthAndTheTokens) {
    const MacroContent content = DeviceContent({0xA1, 0xFE, 0x0C, 0x21});
    EXPECT_EQ(MacroChecksum(content, ContentForm::kDevice, 4), 0x8B);
    EXPECT_EQ(content[6], 0x8B);
    const DriverMacroContent driver = test::UtilityContent({0xA1, 0xFE, 0x0C, 0x21});
    EXPECT_EQ(MacroChecksum(driver, ContentForm::kUtility, 4),
              (0x00 + 0x05 + 0xA1 + 0xFE + 0x0C + 0x21) % 256 ^ 0x5A);
    EXPECT_EQ(StoredLength(driver, ContentForm::kUtility), 5u);
}

TEST(CheckMacroContentBufTest, EmptiesBadContentsOfAllSixSlotsAndKeepsNames) {
    const MacroContent good = DeviceContent({0xA1, 0x21}, 1);
    MacroContent wrong_sum = good;
    wrong_sum[4] ^= 0x01;
    MacroContent erased;
    erased.fill(0xFF);
    MacroContent too_long = good;
    too_long[1] = 223;  // no room for the checksum
    const MacroContent full = DeviceContent(std::vector<uint8_t>(221, 0xA1));

    std::array<MacroSlotBytes, 6> slots = {
        Slot(0x11, good),           Slot(0x22, wrong_sum), Slot(0x33, erased),
        Slot(0x44, MacroContent{}), Slot(0x55, too_long),  Slot(0x66, full),
    };
    // Slots 5 and 6 are checked like the others.
    EXPECT_EQ(CheckMacroContentBuf(slots), 0b010110u);

    EXPECT_EQ(ContentOf(slots[0]), good);
    EXPECT_EQ(ContentOf(slots[1]), MacroContent{});
    EXPECT_EQ(ContentOf(slots[2]), MacroContent{});
    EXPECT_EQ(ContentOf(slots[3]), MacroContent{});
    EXPECT_EQ(ContentOf(slots[4]), MacroContent{});
    EXPECT_EQ(ContentOf(slots[5]), full);
    for (std::size_t k = 0; k < slots.size(); ++k) {
        for (std::size_t b = 0; b < kMacroNameSize; ++b) {
            ASSERT_EQ(slots[k][b], 0x11 * (k + 1)) << "slot " << k + 1 << " name byte " << b;
        }
    }
}

TEST(CheckMacroContentBufTest, AnEmptyContentWithAStrayFlagIsCleared) {
    MacroContent content{};
    content[0] = 0x01;
    EXPECT_TRUE(CheckMacroContent(content));
    EXPECT_EQ(content, MacroContent{});
}

TEST(MacroSlotsTest, AddressesOfTheSixSlots) {
    const uint16_t names[] = {0x100, 0x200, 0x300, 0x400, 0x600, 0x700};
    for (int slot = 1; slot <= 6; ++slot) {
        const uint16_t name = names[slot - 1];
        EXPECT_EQ(MacroSlotNameAddress(slot), name);
        EXPECT_EQ(MacroSlotContentAddress(slot), name + 0x20);
        EXPECT_EQ(MacroSlotLocator(slot), name + 0x21);
    }
    EXPECT_FALSE(MacroSlotNameAddress(0).has_value());
    EXPECT_FALSE(MacroSlotContentAddress(7).has_value());
    EXPECT_EQ(DriverMacroRecordOffset(2), 0x100u + 2u * 2048u);
}

}  // namespace
}  // namespace velq
