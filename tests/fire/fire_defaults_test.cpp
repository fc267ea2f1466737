#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fire/fire_defaults.h"
#include "fire/fire_scan.h"
#include "fire_test_util.h"

namespace velq {
namespace {

using fire_test::ClickPerShot;
using fire_test::HoldAndPull;

class FireDefaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const FileResult loaded = LoadFireDefaultSets(sets);
        ASSERT_TRUE(loaded) << loaded.error;
    }
    FireMacroBlock SlotOf(int set, int slot) const {
        FireMacroBlock block{};
        EXPECT_TRUE(ReadAreaBlock(sets[set], slot, block));
        return block;
    }
    FireDefaultSets sets{};
};

TEST_F(FireDefaultsTest, FirstSlotsByteForByte) {
    const FireMacroBlock pc{0x01, 0x0C, 0xFD, 0xFF, 0xA1, 0x21, 0xFB,
                            0x00, 0xFA, 0x04, 0xFE, 0x01, 0xFC, 0xE4};
    const FireMacroBlock mobile{0x01, 0x0E, 0xA1, 0xFE, 0x03, 0xFD, 0xFF, 0xFB,
                                0x00, 0xFA, 0x09, 0xFE, 0x04, 0xFC, 0x21, 0x93};
    EXPECT_EQ(SlotOf(1, 1), pc);
    EXPECT_EQ(SlotOf(2, 1), mobile);
}

TEST_F(FireDefaultsTest, EverySlotFollowsItsShapeAndValues) {
    // Y of the PC-game set; (Y, t) of the mobile-game set, whose slot 2 is click per shot.
    const uint8_t pc_y[] = {4, 3, 3, 2, 3, 3, 4, 4, 5, 12};
    const uint8_t mobile_y[] = {9, 3, 7, 5, 7, 6, 8, 9, 12, 30};
    const uint8_t mobile_t[] = {4, 0, 3, 3, 3, 3, 3, 4, 4, 4};
    for (int slot = 1; slot <= kFireSlotCount; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(SlotOf(0, slot), FireMacroBlock{});
        EXPECT_EQ(SlotOf(1, slot), ClickPerShot(pc_y[slot - 1]));
        const FireMacroBlock mobile =
            slot == 2 ? ClickPerShot(3) : HoldAndPull(mobile_y[slot - 1], mobile_t[slot - 1]);
        EXPECT_EQ(SlotOf(2, slot), mobile);
        EXPECT_TRUE(FireBlockChecksumOk(SlotOf(1, slot)));
        EXPECT_TRUE(FireBlockChecksumOk(SlotOf(2, slot)));
    }
    for (const FireArea& set : sets) {
        for (std::size_t i = kFireBlocksSize; i < kFireAreaSize; ++i) {
            EXPECT_EQ(set[i], 0) << "spare byte " << i;
        }
    }
}

TEST_F(FireDefaultsTest, DeleteLeavesEmptySlotsThatScanAsZero) {
    FireArea buffer{};
    buffer.fill(0x77);
    FireBlocks blocks;
    ASSERT_TRUE(LoadFireDefaults(1, sets, buffer, blocks));
    EXPECT_EQ(buffer, sets[1]);
    FireEntryTable entries{};
    ASSERT_EQ(blocks.ScanFireBlock(10, entries), (FireRow{256, 0, 12, 8, true}));

    ASSERT_TRUE(LoadFireDefaults(0, sets, buffer, blocks));
    EXPECT_EQ(buffer, FireArea{});
    for (int slot = 1; slot <= kFireSlotCount; ++slot) {
        EXPECT_EQ(blocks.Block(slot), FireMacroBlock{});
        EXPECT_EQ(blocks.ScanFireBlock(slot, entries), (FireRow{0, 0, 0, 0, false}));
    }

    const FireArea before = buffer;
    EXPECT_FALSE(LoadFireDefaults(3, sets, buffer, blocks));
    EXPECT_FALSE(LoadFireDefaults(-1, sets, buffer, blocks));
    EXPECT_EQ(buffer, before);
}

TEST(FireDefaultButtons, AfterDefaultsAndAfterRead) {
    EXPECT_EQ(FireButtonsAfterDefaults(0), (FireButtonStates{false, true}));
    EXPECT_EQ(FireButtonsAfterDefaults(1), (FireButtonStates{true, false}));
    EXPECT_EQ(FireButtonsAfterDefaults(2), (FireButtonStates{true, false}));

    struct Case {
        uint8_t flag;
        uint8_t first_token;
        bool present;
    };
    const Case cases[] = {{0x00, 0x00, false}, {0xFF, 0xFF, false}, {0x00, 0xFF, false},
                          {0x01, 0xFD, true},  {0x00, 0xA1, true},  {0x01, 0x00, true},
                          {0xFF, 0xA1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << int{c.flag} << " " << int{c.first_token});
        FireArea buffer{};
        buffer[0] = c.flag;
        buffer[2] = c.first_token;
        EXPECT_EQ(FireButtonsAfterRead(buffer), (FireButtonStates{c.present, !c.present}));
    }
}

TEST(ParseFireDefaultSets, RejectsBadLinesAndNamesThem) {
    struct Case {
        const char* text;
        const char* error_part;
    };
    const Case cases[] = {
        {"fireMacro_3 1 1 A1", "line 1: unknown set"},
        {"# header\nfireMacro 1 1 A1", "line 2: unknown set"},
        {"fireMacro_1 0 1 A1", "slot must be 1..10"},
        {"fireMacro_1 11 1 A1", "slot must be 1..10"},
        {"fireMacro_1 1 2 A1", "flag must be 0 or 1"},
        {"fireMacro_1 1", "expected set, slot and flag"},
        {"fireMacro_1 1 1 G1", "\"G1\" is not a hexadecimal byte"},
        {"fireMacro_1 1 1 A", "\"A\" is not a hexadecimal byte"},
        {"fireMacro_1 1 1 A1\nfireMacro_1 1 1 21", "line 2: slot listed twice"},
        {"fireMacro_1 1 1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1",
         "more than 21 token bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        FireDefaultSets sets{};
        sets[1].fill(0x33);
        const FireDefaultSets before = sets;
        const FileResult result = ParseFireDefaultSets(c.text, sets);
        EXPECT_FALSE(result);
        EXPECT_NE(result.error.find("fire_default_sets.txt"), std::string::npos) << result.error;
        EXPECT_NE(result.error.find(c.error_part), std::string::npos) << result.error;
        EXPECT_EQ(sets, before);
    }

    // 21 token bytes are the most a block holds; CR line ends and trailing comments are fine.
    FireDefaultSets sets{};
    const FileResult result = ParseFireDefaultSets(
        "fireMacro_2 10 0 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 A1 21 # x\r\n",
        sets);
    ASSERT_TRUE(result) << result.error;
    FireMacroBlock slot10{};
    ASSERT_TRUE(ReadAreaBlock(sets[2], 10, slot10));
    EXPECT_EQ(slot10[0], 0x00);
    EXPECT_EQ(slot10[1], 22);
    EXPECT_EQ(slot10[22], 0x21);
    EXPECT_TRUE(FireBlockChecksumOk(slot10));
}

class FireImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::path(::testing::TempDir()) /
              ("fire_import_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const auto path = dir / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::filesystem::path dir;
};

TEST_F(FireImportTest, ReadsUpTo256BytesFromTheStart) {
    struct Case {
        const char* name;
        std::size_t size;
    };
    const Case cases[] = {
        {"short.bin", 10}, {"exact.bin", 256}, {"long.bin", 300}, {"empty.bin", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes(c.size);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = static_cast<uint8_t>(i * 7 + 1);
        }
        FireArea buffer{};
        buffer.fill(0xC3);
        const FileResult result = ImportFireAreaFile(Write(c.name, bytes), buffer);
        ASSERT_TRUE(result) << result.error;
        for (std::size_t i = 0; i < buffer.size(); ++i) {
            ASSERT_EQ(buffer[i], i < c.size ? bytes[i] : 0xC3) << "byte " << i;
        }
    }
}

TEST_F(FireImportTest, UnreadableFileLeavesTheBufferAndNamesTheFile) {
    std::filesystem::create_directories(dir / "folder.bin");
    // A FIFO would block the import and a device would give endless bytes for the mouse.
    ASSERT_EQ(::mkfifo((dir / "fifo.bin").c_str(), 0600), 0);
    for (const std::filesystem::path& path :
         {dir / "absent.bin", dir / "folder.bin", dir / "fifo.bin",
          std::filesystem::path("/dev/zero")}) {
        SCOPED_TRACE(path.string());
        FireArea buffer{};
        buffer.fill(0xC3);
        const FileResult result = ImportFireAreaFile(path, buffer);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.error.rfind(path.string() + ": ", 0), 0u) << result.error;
        FireArea unchanged{};
        unchanged.fill(0xC3);
        EXPECT_EQ(buffer, unchanged);
    }
}

}  // namespace
}  // namespace velq
