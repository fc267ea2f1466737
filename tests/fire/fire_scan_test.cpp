#include <gtest/gtest.h>

#include <random>

#include "fire/fire_blocks.h"
#include "fire/fire_scan.h"
#include "fire_test_util.h"

namespace velq {
namespace {

using fire_test::Block;
using fire_test::ClickPerShot;
using fire_test::HoldAndPull;

// A block that is not closed by MakeFireBlock: any bytes, any length byte.
FireMacroBlock Raw(std::initializer_list<uint8_t> bytes) {
    FireMacroBlock block{};
    std::copy(bytes.begin(), bytes.end(), block.begin());
    return block;
}

struct ScanCase {
    const char* name;
    FireMacroBlock block;
    FireRow row;
    FireParamPos found;
};

TEST(ScanFireContent, ReadsTheRowLikeThePage) {
    const ScanCase cases[] = {
        {"PC-game slot 1: endless count, Y 4, 8 ms",
         ClickPerShot(4),
         {256, 0, 4, 8, true},
         {3, 7, 9, 11}},
        {"mobile-game slot 1: the 24 ms lead-in is not the time",
         HoldAndPull(9, 4),
         {256, 0, 9, 32, true},
         {6, 8, 10, 12}},
        {"empty slot shows zeros and an unticked box", FireMacroBlock{}, {0, 0, 0, 0, false}, {}},
        {"erased slot is not read",
         Raw({0xFF, 0xFF, 0xFD, 0x05, 0xFA, 0x03}),
         {0, 0, 0, 0, std::nullopt},
         {}},
        {"flag 2 is not read", Raw({0x02, 0x0C, 0xFD, 0x05}), {0, 0, 0, 0, std::nullopt}, {}},
        {"finite count, negative moves, flag 0",
         Block(false, {0xFD, 0x09, 0xA1, 0x21, 0xFB, 0x80, 0xFA, 0xFF, 0xFE, 0xFF, 0xFC}),
         {10, -128, -1, 2040, false},
         {3, 7, 9, 11}},
        {"only the first wait after a Y move counts",
         Block(true, {0xFE, 0x05, 0xFA, 0x02, 0xFE, 0x03, 0xFE, 0x07}),
         {0, 0, 2, 24, true},
         {0, 0, 5, 7}},
        {"a later token of the same kind wins",
         Block(true, {0xFA, 0x01, 0xFE, 0x01, 0xFA, 0x02, 0xFE, 0x02, 0xFB, 0x01, 0xFB, 0x03}),
         {0, 3, 2, 16, true},
         {0, 13, 7, 9}},
        {"a byte that is no fire token ends the scan",
         Block(true, {0xFD, 0x04, 0x82, 0x04, 0xFA, 0x09}),
         {5, 0, 0, 0, true},
         {3, 0, 0, 0}},
        {"an operand past L is not read from the checksum byte",
         Raw({0x01, 0x04, 0xFD, 0xFF, 0xFA, 0x33}),
         {256, 0, 0, 0, true},
         {3, 0, 0, 0}},
        {"L above 22 is limited to the block",
         Raw({0x01, 0xC8, 0xA1, 0xA1, 0xA1, 0xA1, 0xA1, 0xA1, 0xA1, 0xA1, 0xA1, 0xA1,
              0xA1, 0xA1, 0xA1, 0xA1, 0xA1, 0xA1, 0xA1, 0xA1, 0xA1, 0xFA, 0x07, 0xFA}),
         {0, 0, 7, 0, true},
         {0, 0, 22, 0}},
    };
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(c.name);
        const FireScan scan = ScanFireContent(c.block);
        EXPECT_EQ(scan.row, c.row);
        EXPECT_EQ(scan.found, c.found);
    }
}

TEST(ScanFireBlock, SetsThePlayModeAndKeepsPositionsOnlyWhereFound) {
    FireBlocks blocks;
    FireEntryTable entries{};
    entries.fill(0x55);
    ASSERT_TRUE(blocks.SetBlock(1, ClickPerShot(4)));
    const auto row = blocks.ScanFireBlock(1, entries);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(*row, (FireRow{256, 0, 4, 8, true}));
    EXPECT_EQ(entries[0], 0x0E);
    EXPECT_EQ(entries[1], 0x55);  // the locator is never touched
    EXPECT_EQ(blocks.Positions(1), (FireParamPos{3, 7, 9, 11}));

    // A flag-0 block gives the run-to-end mode; the slot's table entry alone changes.
    ASSERT_TRUE(blocks.SetBlock(2, Block(false, {0xFA, 0x01})));
    ASSERT_TRUE(blocks.ScanFireBlock(2, entries).has_value());
    EXPECT_EQ(entries[3], 0x0B);
    EXPECT_EQ(entries[6], 0x55);

    // An erased block leaves the table entry as it was.
    ASSERT_TRUE(blocks.SetBlock(3, Raw({0xFF, 0xFF, 0xFF})));
    ASSERT_TRUE(blocks.ScanFireBlock(3, entries).has_value());
    EXPECT_EQ(entries[6], 0x55);

    // A scan that finds nothing keeps the positions of the last scan that found them.
    ASSERT_TRUE(blocks.SetBlock(1, FireMacroBlock{}));
    EXPECT_EQ(*blocks.ScanFireBlock(1, entries), (FireRow{0, 0, 0, 0, false}));
    EXPECT_EQ(blocks.Positions(1), (FireParamPos{3, 7, 9, 11}));
    EXPECT_EQ(entries[0], 0x0B);

    EXPECT_FALSE(blocks.ScanFireBlock(0, entries).has_value());
    EXPECT_FALSE(blocks.ScanFireBlock(11, entries).has_value());
}

// Random bytes around a block: a scan that read past either end would see them.
struct GuardedBlock {
    std::array<uint8_t, 4> before;
    FireMacroBlock block;
    std::array<uint8_t, 4> after;
};

TEST(ScanFireContent, RandomBlocksAreReadOnlyInsideTheirBytes) {
    std::mt19937 rng(20240611);
    // Mostly fire tokens, so scans run deep into the block.
    const uint8_t alphabet[] = {0xA1, 0x21, 0xFC, 0xFD, 0xFB, 0xFA, 0xFE, 0x00, 0x7F, 0x82};
    std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(alphabet)) - 1);
    std::uniform_int_distribution<int> any_byte(0, 255);
    for (int round = 0; round < 5000; ++round) {
        FireMacroBlock block{};
        for (uint8_t& b : block) {
            b = round % 3 == 0 ? static_cast<uint8_t>(any_byte(rng)) : alphabet[pick(rng)];
        }
        block[0] = static_cast<uint8_t>(round % 5 == 0 ? any_byte(rng) : round % 2);
        block[1] = static_cast<uint8_t>(round % 4 == 0 ? any_byte(rng) : 12 + round % 16);

        // The guards hold tokens whose operands would change the result if they were read.
        GuardedBlock quiet{{0, 0, 0, 0}, block, {0, 0, 0, 0}};
        GuardedBlock loud{{0xFA, 0xFA, 0xFA, 0xFA}, block, {0x7E, 0xFD, 0xFA, 0xFE}};
        const FireScan a = ScanFireContent(quiet.block);
        const FireScan b = ScanFireContent(loud.block);
        ASSERT_EQ(a.row, b.row) << "round " << round;
        ASSERT_EQ(a.found, b.found) << "round " << round;

        // Every position found is a value byte inside the content.
        const std::size_t length = FireBlockLength(block);
        for (FireParam p : {FireParam::kCount, FireParam::kX, FireParam::kY, FireParam::kTime}) {
            const uint8_t at = a.found[p];
            if (at != 0) {
                ASSERT_GE(at, 3) << "round " << round;
                ASSERT_LE(at, length) << "round " << round;
            }
        }
    }
}

}  // namespace
}  // namespace velq
