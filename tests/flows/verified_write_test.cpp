#include "flows/verified_write.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "device/device_fixture.h"

namespace velq {
namespace {

// The mouse starts erased; the image is a pattern in which byte 0x345 differs from byte 0x045,
// so a rewrite at a truncated address would show.
class WriteImageVerifiedTest : public test::DeviceFixture {
protected:
    void SetUp() override {
        VirtualMouse::Memory erased;
        erased.fill(0xFF);
        mouse->SetMemory(0, erased);
        for (std::size_t i = 0; i < image.size(); ++i) {
            image[i] = static_cast<uint8_t>(i * 7 + (i >> 8) + 1);
        }
        ASSERT_NE(image[0x345], image[0x045]);
        OpenTheMouse();
    }

    DataBuf Memory() const {
        DataBuf memory;
        const VirtualMouse::Memory copy = mouse->MemoryCopy();
        std::copy(copy.begin(), copy.end(), memory.begin());
        return memory;
    }

    // The (address, length) of every WriteBegin and ReadBegin sent, in order.
    struct Block {
        Command code;
        uint16_t address;
        uint16_t length;
        bool operator==(const Block&) const = default;
    };
    std::vector<Block> Blocks() const {
        std::vector<Block> blocks;
        for (const ReportBytes& r : mouse->Requests()) {
            const auto code = static_cast<Command>(r[1]);
            if (code == Command::kWriteBegin || code == Command::kReadBegin) {
                blocks.push_back({code, static_cast<uint16_t>(r[2] | (r[3] << 8)),
                                  static_cast<uint16_t>(r[4] | (r[5] << 8))});
            }
        }
        // A refused command is sent up to five times; count each block once.
        blocks.erase(std::unique(blocks.begin(), blocks.end()), blocks.end());
        return blocks;
    }

    DataBuf image;
};

TEST_F(WriteImageVerifiedTest, AHealthyMouseTakesOneWriteAndOneRead) {
    const VerifiedWriteResult result = WriteImageVerified(protocol, image);
    EXPECT_EQ(result.outcome, VerifiedWriteOutcome::kVerified);
    EXPECT_FALSE(result.BurnFailed());
    EXPECT_EQ(result.repair_passes, 0);
    EXPECT_EQ(Memory(), image);
    EXPECT_EQ(Blocks(), (std::vector<Block>{{Command::kWriteBegin, 0, 2048},
                                            {Command::kReadBegin, 0, 2048}}));
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 0);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 0);
}

TEST_F(WriteImageVerifiedTest, ALostChunkIsRepairedByteByByteAtItsOwnAddresses) {
    mouse->NeverAcknowledgeWriteChunk(100);  // bytes 600..605 = 0x258..0x25D
    const VerifiedWriteResult result = WriteImageVerified(protocol, image);
    EXPECT_EQ(result.outcome, VerifiedWriteOutcome::kVerified);
    EXPECT_EQ(result.repair_passes, 1);
    std::vector<ImageDifference> lost;
    for (uint16_t address = 0x258; address <= 0x25D; ++address) {
        lost.push_back({address, 0xFF});
    }
    EXPECT_EQ(result.differences[0], lost);
    EXPECT_TRUE(result.differences[1].empty());
    EXPECT_EQ(Memory(), image);

    std::vector<Block> expected = {{Command::kWriteBegin, 0, 2048}, {Command::kReadBegin, 0, 2048}};
    for (uint16_t address = 0x258; address <= 0x25D; ++address) {
        expected.push_back({Command::kWriteBegin, address, 1});
    }
    expected.push_back({Command::kReadBegin, 0, 2048});
    EXPECT_EQ(Blocks(), expected);
}

TEST_F(WriteImageVerifiedTest, AByteThatNeverStoresFailsAfterThreeRepairPasses) {
    mouse->StickByte(0x345);
    const VerifiedWriteResult result = WriteImageVerified(protocol, image);
    EXPECT_EQ(result.outcome, VerifiedWriteOutcome::kStillDifferent);
    EXPECT_TRUE(result.BurnFailed());
    EXPECT_EQ(result.repair_passes, 3);
    for (const std::vector<ImageDifference>& differences : result.differences) {
        EXPECT_EQ(differences, (std::vector<ImageDifference>{{0x345, 0xFF}}));
    }
    // Every other byte, 0x045 in particular, holds the image.
    DataBuf expected = image;
    expected[0x345] = 0xFF;
    EXPECT_EQ(Memory(), expected);

    std::vector<Block> blocks = {{Command::kWriteBegin, 0, 2048}, {Command::kReadBegin, 0, 2048}};
    for (int pass = 0; pass < 3; ++pass) {
        blocks.push_back({Command::kWriteBegin, 0x345, 1});
        blocks.push_back({Command::kReadBegin, 0, 2048});
    }
    EXPECT_EQ(Blocks(), blocks);
    EXPECT_EQ(kBurnFailedCaption, "Str109");
}

TEST_F(WriteImageVerifiedTest, ARefusedBeginStopsEverything) {
    struct Case {
        Command refused;
        VerifiedWriteOutcome outcome;
        std::vector<Block> blocks;
    };
    const Case cases[] = {
        {Command::kWriteBegin,
         VerifiedWriteOutcome::kWriteNotStarted,
         {{Command::kWriteBegin, 0, 2048}}},
        {Command::kReadBegin,
         VerifiedWriteOutcome::kReadNotStarted,
         {{Command::kWriteBegin, 0, 2048}, {Command::kReadBegin, 0, 2048}}},
    };
    for (const Case& c : cases) {
        mouse->ClearRequests();
        mouse->RefuseCommand(c.refused, 5);  // every attempt of the exchange
        const VerifiedWriteResult result = WriteImageVerified(protocol, image);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_TRUE(result.BurnFailed());
        EXPECT_EQ(Blocks(), c.blocks);
    }
}

// A read-back chunk that never answered reads as 0xFF: where the image holds 0xFF too, it
// would pass for a byte the mouse holds. Such a read-back proves nothing.
TEST_F(WriteImageVerifiedTest, AnUnansweredReadBackChunkIsNoProof) {
    std::fill(image.begin() + 30, image.begin() + 36, 0xFF);
    const std::vector<uint8_t> zeros(6, 0x00);
    mouse->SetMemory(30, zeros);
    mouse->NeverAcknowledgeWriteChunk(5);  // bytes 30..35 never stored
    mouse->NeverAnswerReadChunk(5);        // and never read back
    const VerifiedWriteResult result = WriteImageVerified(protocol, image);
    EXPECT_TRUE(result.BurnFailed());
    EXPECT_EQ(result.outcome, VerifiedWriteOutcome::kReadNotStarted);
}

// A mouse that takes every chunk but stores nothing: the repairs stop at the time limit instead
// of rewriting the memory byte by byte for minutes, and the user is told.
TEST_F(WriteImageVerifiedTest, AMouseThatNeverStoresIsGivenUpInTime) {
    for (uint16_t address = 0; address < 2048; ++address) {
        mouse->StickByte(address);
    }
    const int64_t start = clock.NowMs();
    const VerifiedWriteResult result = WriteImageVerified(protocol, image);
    EXPECT_EQ(result.outcome, VerifiedWriteOutcome::kTimedOut);
    EXPECT_TRUE(result.BurnFailed());
    EXPECT_LE(clock.NowMs() - start, kVerifyTimeLimitMs + 1000);
}

}  // namespace
}  // namespace velq
