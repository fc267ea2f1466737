#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "fire/fire_block.h"
#include "fire/fire_tables.h"
#include "fire_test_util.h"

namespace velq {
namespace {

using fire_test::ClickPerShot;

// A block with guard bytes on both sides, to see that nothing outside its 24 bytes is written.
struct GuardedBlock {
    std::array<uint8_t, 8> before;
    FireMacroBlock block;
    std::array<uint8_t, 8> after;
};

TEST(FireBlock, MakeClosesTheBlockWithLengthAndChecksum) {
    // PC-game slot 1: L = 12, checksum (sum of bytes 1..12) ^ 0x5A at byte 13, zeros after.
    const FireMacroBlock expected{0x01, 0x0C, 0xFD, 0xFF, 0xA1, 0x21, 0xFB,
                                  0x00, 0xFA, 0x04, 0xFE, 0x01, 0xFC, 0xE4};
    EXPECT_EQ(ClickPerShot(4), expected);
    EXPECT_TRUE(FireBlockChecksumOk(expected));

    const std::vector<uint8_t> most(kFireMaxContent, 0xA1);
    const auto full = MakeFireBlock(false, most);
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ((*full)[1], 22);
    EXPECT_TRUE(FireBlockChecksumOk(*full));
    const std::vector<uint8_t> too_many(kFireMaxContent + 1, 0xA1);
    EXPECT_FALSE(MakeFireBlock(false, too_many).has_value());
}

TEST(FireBlock, ChecksumStaysInsideTheBlock) {
    struct Case {
        const char* name;
        uint8_t length;
        bool stored;
        std::size_t checksum_at;
    };
    const Case cases[] = {
        {"empty slot keeps its zero length", 0, false, 0},
        {"length 1 closes at byte 2", 1, true, 2},
        {"largest length closes at byte 23", 22, true, 23},
        {"length 23 is limited to the block", 23, true, 23},
        {"erased length 0xFF is limited to the block", 0xFF, true, 23},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GuardedBlock g;
        g.before.fill(0xEE);
        g.after.fill(0xEE);
        for (std::size_t i = 0; i < g.block.size(); ++i) {
            g.block[i] = static_cast<uint8_t>(0x30 + i);
        }
        g.block[1] = c.length;
        const FireMacroBlock original = g.block;
        EXPECT_EQ(UpdateFireBlockChecksum(g.block), c.stored);
        EXPECT_TRUE(
            std::all_of(g.before.begin(), g.before.end(), [](uint8_t b) { return b == 0xEE; }));
        EXPECT_TRUE(
            std::all_of(g.after.begin(), g.after.end(), [](uint8_t b) { return b == 0xEE; }));
        for (std::size_t i = 0; i < g.block.size(); ++i) {
            if (!c.stored || i != c.checksum_at) {
                EXPECT_EQ(g.block[i], original[i]) << "byte " << i;
            }
        }
        if (c.stored) {
            EXPECT_EQ(g.block[c.checksum_at], FireBlockChecksum(g.block));
        }
        // A length the block cannot hold never counts as a valid block.
        EXPECT_EQ(FireBlockChecksumOk(g.block), c.stored && c.length <= 22);
    }
}

TEST(FireBlock, AreaCopiesGoBlockByBlockAndKeepTheSpareBytes) {
    FireArea area{};
    for (std::size_t i = 0; i < area.size(); ++i) {
        area[i] = static_cast<uint8_t>(i);
    }
    FireMacroBlock block{};
    ASSERT_TRUE(ReadAreaBlock(area, 10, block));
    EXPECT_EQ(block[0], 216);  // slot 10 starts at 24 x 9
    EXPECT_EQ(block[23], 239);

    const FireMacroBlock replacement = ClickPerShot(12);
    ASSERT_TRUE(WriteAreaBlock(area, 10, replacement));
    EXPECT_TRUE(std::equal(replacement.begin(), replacement.end(), area.begin() + 216));
    EXPECT_EQ(area[215], 215);
    for (std::size_t i = kFireBlocksSize; i < kFireAreaSize; ++i) {
        EXPECT_EQ(area[i], i) << "spare byte " << i;
    }

    const FireArea before = area;
    EXPECT_FALSE(WriteAreaBlock(area, 0, replacement));
    EXPECT_FALSE(WriteAreaBlock(area, 11, replacement));
    EXPECT_FALSE(ReadAreaBlock(area, 11, block));
    EXPECT_EQ(area, before);
}

TEST(FireTables, EntryTableModeByteOnly) {
    // Entry k: mode byte, then the locator of slot k's length byte (0x0501 + 24(k-1)).
    FireEntryTable table{};
    for (int slot = 1; slot <= kFireSlotCount; ++slot) {
        const uint16_t locator = FireBlockLocator(slot);
        table[3 * (slot - 1) + 1] = static_cast<uint8_t>(locator >> 8);
        table[3 * (slot - 1) + 2] = static_cast<uint8_t>(locator);
    }
    EXPECT_EQ(FireBlockLocator(1), 0x0501);
    EXPECT_EQ(FireBlockLocator(2), 0x0519);
    EXPECT_EQ(FireBlockLocator(10), 0x05D9);

    const FireEntryTable before = table;
    ASSERT_TRUE(SetFirePlayMode(table, 4, true));
    EXPECT_EQ(FirePlayMode(table, 4), 0x0E);
    ASSERT_TRUE(SetFirePlayMode(table, 4, false));
    EXPECT_EQ(FirePlayMode(table, 4), 0x0B);
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (i != 9) {
            EXPECT_EQ(table[i], before[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(FireEntryLocator(table, 7), 0x0591);
    EXPECT_FALSE(SetFirePlayMode(table, 11, true));
    EXPECT_FALSE(FireEntryLocator(table, 0).has_value());
}

TEST(FireTables, YOffsetPairAndAdjustment) {
    FireYOffsetTable table{};
    for (int slot = 1; slot <= kFireSlotCount; ++slot) {
        ASSERT_TRUE(WriteFireYOffsetPair(table, slot, 0));
    }
    EXPECT_EQ(table[0], 0x00);  // the default pair
    EXPECT_EQ(table[1], 0xFF);

    struct Case {
        int value;
        uint8_t first;
        uint8_t complement;
    };
    const Case cases[] = {{5, 0x05, 0xFA}, {-5, 0xFB, 0x04}, {127, 0x7F, 0x80}, {-128, 0x80, 0x7F}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        ASSERT_TRUE(WriteFireYOffsetPair(table, 3, c.value));
        EXPECT_EQ(table[4], c.first);
        EXPECT_EQ(table[5], c.complement);
        EXPECT_EQ(FireYAdjustment(table, 3), c.value);
    }

    // The fire page changes the adjustment alone; the complement stays for Apply to redo.
    ASSERT_TRUE(WriteFireYOffsetPair(table, 2, 10));
    ASSERT_TRUE(SetFireYAdjustment(table, 2, -20));
    EXPECT_EQ(table[2], 0xEC);
    EXPECT_EQ(table[3], 0xF5);

    const FireYOffsetTable before = table;
    EXPECT_FALSE(SetFireYAdjustment(table, 2, 128));
    EXPECT_FALSE(SetFireYAdjustment(table, 2, -129));
    EXPECT_FALSE(WriteFireYOffsetPair(table, 11, 1));
    EXPECT_EQ(table, before);
}

TEST(FireTables, ColourEntries) {
    FireColorTable table{};
    for (int slot = 1; slot <= kFireSlotCount; ++slot) {
        ASSERT_TRUE(SetFireColor(table, slot, kDefaultFireColors[slot - 1]));
    }
    EXPECT_EQ(FireSlotColor(table, 7), (FireColor{255, 128, 0}));
    EXPECT_EQ(table[27], 255);  // slot 10 is white
    EXPECT_EQ(table[29], 255);

    ASSERT_TRUE(SetFireColor(table, 2, FireColor{1, 2, 3}));
    EXPECT_EQ(table[3], 1);
    EXPECT_EQ(table[4], 2);
    EXPECT_EQ(table[5], 3);
    EXPECT_EQ(FireSlotColor(table, 1), (FireColor{255, 0, 0}));
    EXPECT_EQ(FireSlotColor(table, 3), (FireColor{0, 0, 255}));
    EXPECT_FALSE(SetFireColor(table, 0, FireColor{}));
    EXPECT_FALSE(FireSlotColor(table, 11).has_value());
}

}  // namespace
}  // namespace velq
