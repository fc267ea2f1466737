#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "fire/fire_blocks.h"
#include "fire_test_util.h"

namespace velq {
namespace {

using fire_test::Block;
using fire_test::ClickPerShot;
using fire_test::HoldAndPull;

// Slot 1 of the PC-game set, scanned as the page does before any edit.
class FireEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(blocks.SetBlock(1, ClickPerShot(4)));
        ASSERT_TRUE(blocks.ScanFireBlock(1, entries).has_value());
    }
    FireBlocks blocks;
    FireEntryTable entries{};
};

TEST_F(FireEditTest, StoresTheValueAndRecomputesTheChecksum) {
    struct Case {
        FireParam param;
        int value;
        std::size_t at;
        uint8_t stored;
    };
    const Case cases[] = {
        {FireParam::kCount, 10, 3, 0x09},   {FireParam::kCount, 1, 3, 0x00},
        {FireParam::kCount, 256, 3, 0xFF},  {FireParam::kX, -5, 7, 0xFB},
        {FireParam::kX, 127, 7, 0x7F},      {FireParam::kY, 127, 9, 0x7F},
        {FireParam::kY, -128, 9, 0x80},     {FireParam::kTime, 15, 11, 0x01},
        {FireParam::kTime, 2040, 11, 0xFF}, {FireParam::kTime, 0, 11, 0x00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "param " << static_cast<int>(c.param) << " value " << c.value);
        ASSERT_TRUE(blocks.SetBlock(1, ClickPerShot(4)));
        FireMacroBlock expected = ClickPerShot(4);
        expected[c.at] = c.stored;
        UpdateFireBlockChecksum(expected);
        EXPECT_EQ(blocks.EditParam(1, c.param, c.value), FireEditResult::kStored);
        EXPECT_EQ(blocks.Block(1), expected);
        EXPECT_TRUE(FireBlockChecksumOk(blocks.Block(1)));
    }
}

TEST_F(FireEditTest, CountTenOnPcGameSlotOne) {
    // 256 -> 10 stores 0x09 at byte 3; the checksum at byte 13 follows.
    ASSERT_EQ(blocks.Block(1)[13], 0xE4);
    ASSERT_EQ(blocks.EditParam(1, FireParam::kCount, 10), FireEditResult::kStored);
    EXPECT_EQ(blocks.Block(1)[3], 0x09);
    EXPECT_EQ(blocks.Block(1)[13], 0x92);
}

TEST_F(FireEditTest, RefusesValuesThatDoNotFit) {
    struct Case {
        FireParam param;
        int value;
    };
    const Case cases[] = {{FireParam::kCount, 0},  {FireParam::kCount, 257}, {FireParam::kX, 128},
                          {FireParam::kX, -129},   {FireParam::kY, 200},     {FireParam::kTime, -1},
                          {FireParam::kTime, 2041}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(blocks.EditParam(1, c.param, c.value), FireEditResult::kOutOfRange);
        EXPECT_EQ(blocks.Block(1), ClickPerShot(4));
    }
    EXPECT_EQ(blocks.EditParam(0, FireParam::kCount, 5), FireEditResult::kNoSuchSlot);
    EXPECT_EQ(blocks.EditParam(11, FireParam::kCount, 5), FireEditResult::kNoSuchSlot);
}

TEST_F(FireEditTest, AParameterTheBlockDoesNotHoldChangesNothing) {
    struct Case {
        const char* name;
        FireMacroBlock block;
        bool rescan;  // the page scanned the new content before the edit
        FireParam param;
    };
    const Case cases[] = {
        // Deleted fire macros: the positions of the old content are still recorded, but
        // writing there would give the empty block a value and a length byte.
        {"empty slot after an earlier content", FireMacroBlock{}, true, FireParam::kCount},
        {"empty slot, Y", FireMacroBlock{}, true, FireParam::kY},
        {"erased slot",
         [] {
             FireMacroBlock b = ClickPerShot(4);
             b[0] = 0xFF;
             return b;
         }(),
         true, FireParam::kTime},
        {"no wait after the Y move", Block(true, {0xFD, 0xFF, 0xFA, 0x03, 0xFC}), true,
         FireParam::kTime},
        {"content replaced without a new scan", HoldAndPull(9, 4), false, FireParam::kCount},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(blocks.SetBlock(1, ClickPerShot(4)));
        ASSERT_TRUE(blocks.ScanFireBlock(1, entries).has_value());
        ASSERT_TRUE(blocks.SetBlock(1, c.block));
        if (c.rescan) {
            ASSERT_TRUE(blocks.ScanFireBlock(1, entries).has_value());
        }
        EXPECT_EQ(blocks.EditParam(1, c.param, 7 * 8), FireEditResult::kNotInBlock);
        EXPECT_EQ(blocks.Block(1), c.block);
    }
}

// A value typed into a slot with no fire macro (new mouse, deleted or erased area) starts the
// click-per-shot macro around it, stopping on release; a slot with a fire macro that lacks
// the parameter is never rebuilt.
TEST_F(FireEditTest, AnEmptySlotGetsANewMacroAroundTheTypedValue) {
    struct Case {
        const char* name;
        FireMacroBlock block;
        FireParam param;
        int value;
        FireMacroBlock want;
    };
    FireMacroBlock erased{};
    erased.fill(0xFF);
    FireMacroBlock count_10 = ClickPerShot(0);
    count_10[3] = 0x09;
    UpdateFireBlockChecksum(count_10);
    FireMacroBlock time_40 = ClickPerShot(0);
    time_40[11] = 0x05;
    UpdateFireBlockChecksum(time_40);
    FireMacroBlock x_minus_3 = ClickPerShot(0);
    x_minus_3[7] = 0xFD;
    UpdateFireBlockChecksum(x_minus_3);
    const Case cases[] = {
        {"empty, Y", FireMacroBlock{}, FireParam::kY, 5, ClickPerShot(5)},
        {"empty, count", FireMacroBlock{}, FireParam::kCount, 10, count_10},
        {"empty, time", FireMacroBlock{}, FireParam::kTime, 47, time_40},
        {"erased, X", erased, FireParam::kX, -3, x_minus_3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(blocks.SetBlock(2, c.block));
        ASSERT_TRUE(blocks.ScanFireBlock(2, entries).has_value());
        EXPECT_EQ(blocks.EditOrStartParam(2, c.param, c.value, entries), FireEditResult::kStarted);
        EXPECT_EQ(blocks.Block(2), c.want);
        EXPECT_EQ(entries[3], 0x0E);  // slot 2 plays until the button is released
        // The new block is edited in place from here on.
        EXPECT_EQ(blocks.EditOrStartParam(2, FireParam::kY, 7, entries), FireEditResult::kStored);
        EXPECT_EQ(blocks.Block(2)[9], 7);
        EXPECT_EQ(blocks.Block(1), ClickPerShot(4));
    }
    // A value out of range starts nothing; a macro without a wait after its Y move keeps its
    // content.
    ASSERT_TRUE(blocks.SetBlock(2, FireMacroBlock{}));
    EXPECT_EQ(blocks.EditOrStartParam(2, FireParam::kY, 300, entries), FireEditResult::kOutOfRange);
    EXPECT_EQ(blocks.Block(2), FireMacroBlock{});
    const FireMacroBlock no_wait = Block(true, {0xFD, 0xFF, 0xFA, 0x03, 0xFC});
    ASSERT_TRUE(blocks.SetBlock(2, no_wait));
    ASSERT_TRUE(blocks.ScanFireBlock(2, entries).has_value());
    EXPECT_EQ(blocks.EditOrStartParam(2, FireParam::kTime, 16, entries),
              FireEditResult::kNotInBlock);
    EXPECT_EQ(blocks.Block(2), no_wait);
}

// A length byte beyond the block (23, or an erased 0xFF) leaves the scan its first 22 bytes to
// show, but no checksum can close such a block: an edit is refused instead of being reported
// as stored while the block stays invalid.
TEST_F(FireEditTest, ABlockWhoseLengthRunsPastItIsNotEdited) {
    for (const uint8_t length : {uint8_t{23}, uint8_t{0x80}, uint8_t{0xFF}}) {
        SCOPED_TRACE(static_cast<int>(length));
        FireMacroBlock block = ClickPerShot(4);
        block[1] = length;
        ASSERT_TRUE(blocks.SetBlock(1, block));
        const std::optional<FireRow> row = blocks.ScanFireBlock(1, entries);
        ASSERT_TRUE(row.has_value());
        ASSERT_EQ(row->count, 256);  // the parameters are still found where they stand
        for (const FireParam param :
             {FireParam::kCount, FireParam::kX, FireParam::kY, FireParam::kTime}) {
            EXPECT_EQ(blocks.EditParam(1, param, 16), FireEditResult::kBadLength);
        }
        EXPECT_EQ(blocks.Block(1), block);
        EXPECT_FALSE(FireBlockChecksumOk(blocks.Block(1)));
    }
}

TEST_F(FireEditTest, StopOnReleaseSetsFlagAndModeOfThatSlotOnly) {
    // Gun 6 shows slots 6 and 7; the box of row 2 belongs to slot 7.
    ASSERT_TRUE(blocks.SetBlock(6, ClickPerShot(3)));
    ASSERT_TRUE(blocks.SetBlock(7, ClickPerShot(3)));
    entries.fill(0x0E);
    const FireEntryTable entries_before = entries;

    ASSERT_TRUE(blocks.SetStopOnRelease(7, false, entries));
    FireMacroBlock expected = ClickPerShot(3);
    expected[0] = 0;  // outside the checksum: the rest of the block is unchanged
    EXPECT_EQ(blocks.Block(7), expected);
    EXPECT_TRUE(FireBlockChecksumOk(blocks.Block(7)));
    EXPECT_EQ(blocks.Block(6), ClickPerShot(3));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i], i == 18 ? 0x0B : entries_before[i]) << "entry byte " << i;
    }

    ASSERT_TRUE(blocks.SetStopOnRelease(7, true, entries));
    EXPECT_EQ(blocks.Block(7), ClickPerShot(3));
    EXPECT_EQ(entries, entries_before);
    EXPECT_FALSE(blocks.SetStopOnRelease(11, true, entries));
}

TEST_F(FireEditTest, AreaRoundTripKeepsSpareBytes) {
    FireArea area{};
    area.fill(0x5F);
    blocks.CopyToArea(area);
    EXPECT_TRUE(std::equal(blocks.Block(1).begin(), blocks.Block(1).end(), area.begin()));
    EXPECT_EQ(area[24], 0x00);  // slot 2 of the working copy is empty
    for (std::size_t i = kFireBlocksSize; i < kFireAreaSize; ++i) {
        EXPECT_EQ(area[i], 0x5F);
    }
    FireBlocks other;
    other.CopyFromArea(area);
    for (int slot = 1; slot <= kFireSlotCount; ++slot) {
        EXPECT_EQ(other.Block(slot), blocks.Block(slot));
    }
}

// Fire macros of both shapes with random values: the scan must read back exactly what was
// built, and an edit must change only its value byte and the checksum.
TEST(FireRoundTrip, GeneratedBlocksScanEditRescan) {
    std::mt19937 rng(7331);
    auto draw = [&rng](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng);
    };
    for (int round = 0; round < 2000; ++round) {
        const int slot = draw(1, kFireSlotCount);
        const bool stop = draw(0, 1) == 1;
        FireRow want{draw(1, 256), draw(-128, 127), draw(-128, 127), draw(0, 255) * 8, stop};
        const auto count = static_cast<uint8_t>(want.count - 1);
        const auto x = static_cast<uint8_t>(want.x);
        const auto y = static_cast<uint8_t>(want.y);
        const auto t = static_cast<uint8_t>(want.time / 8);
        const bool hold = draw(0, 1) == 1;
        const FireMacroBlock block =
            hold ? Block(stop,
                         {0xA1, 0xFE, 0x03, 0xFD, count, 0xFB, x, 0xFA, y, 0xFE, t, 0xFC, 0x21})
                 : Block(stop, {0xFD, count, 0xA1, 0x21, 0xFB, x, 0xFA, y, 0xFE, t, 0xFC});

        FireBlocks blocks;
        FireEntryTable entries{};
        // Neighbours with content, to see that an edit stays inside its slot.
        for (int s = 1; s <= kFireSlotCount; ++s) {
            ASSERT_TRUE(blocks.SetBlock(s, ClickPerShot(static_cast<uint8_t>(s))));
        }
        ASSERT_TRUE(blocks.SetBlock(slot, block));
        ASSERT_EQ(blocks.ScanFireBlock(slot, entries), want) << "round " << round;
        ASSERT_EQ(entries[3 * (slot - 1)], stop ? 0x0E : 0x0B);

        const FireParam param = static_cast<FireParam>(draw(0, 3));
        int value = 0;
        switch (param) {
            case FireParam::kCount:
                value = want.count = draw(1, 256);
                break;
            case FireParam::kX:
                value = want.x = draw(-128, 127);
                break;
            case FireParam::kY:
                value = want.y = draw(-128, 127);
                break;
            case FireParam::kTime:
                value = draw(0, 2040);
                want.time = value / 8 * 8;
                break;
        }
        const uint8_t at = blocks.Positions(slot)[param];
        ASSERT_EQ(blocks.EditParam(slot, param, value), FireEditResult::kStored);
        const FireMacroBlock& edited = blocks.Block(slot);
        const std::size_t checksum_at = edited[1] + 1u;
        for (std::size_t i = 0; i < kFireBlockSize; ++i) {
            if (i != at && i != checksum_at) {
                ASSERT_EQ(edited[i], block[i]) << "round " << round << " byte " << i;
            }
        }
        ASSERT_TRUE(FireBlockChecksumOk(edited));
        ASSERT_EQ(blocks.ScanFireBlock(slot, entries), want) << "round " << round;
        for (int s = 1; s <= kFireSlotCount; ++s) {
            if (s != slot) {
                ASSERT_EQ(blocks.Block(s), ClickPerShot(static_cast<uint8_t>(s)));
            }
        }
    }
}

}  // namespace
}  // namespace velq
