#include "device/virtual_mouse.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/atomic_file.h"
#include "device_fixture.h"

namespace velq::test {
namespace {

using VirtualMouseTest = DeviceFixture;

TEST_F(VirtualMouseTest, StuckByteKeepsItsValue) {
    OpenTheMouse();
    const uint8_t before = mouse->MemoryCopy()[0x41];
    mouse->StickByte(0x41);
    std::vector<uint8_t> source(6, static_cast<uint8_t>(before + 1));
    ASSERT_TRUE(protocol.WriteBlock(0x40, 6, source));
    const auto memory = mouse->MemoryCopy();
    EXPECT_EQ(memory[0x40], before + 1);
    EXPECT_EQ(memory[0x41], before);
}

TEST_F(VirtualMouseTest, UnplugAfterExchangesEndsTheTransferAndTheEnumeration) {
    OpenTheMouse();
    bool unplug_seen = false;
    mouse->SetPlugListener([&](bool plugged) { unplug_seen = !plugged; });
    mouse->UnplugAfterExchanges(3);  // ReadBegin and two chunks, then gone
    std::vector<uint8_t> destination(18, 0);
    ASSERT_TRUE(protocol.ReadBlock(0, 18, destination));
    EXPECT_TRUE(unplug_seen);
    EXPECT_EQ(destination[12], 0xFF);  // the third chunk never came
    EXPECT_EQ(link.CountHidInterfaces(), 0);
    EXPECT_FALSE(protocol.SendCommand(Command::Close));
}

TEST_F(VirtualMouseTest, MemoryPersistsInItsFileAcrossRuns) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("velq-virtual-" + std::to_string(::getpid()) + ".bin");
    std::filesystem::remove(file);
    std::string error;
    ASSERT_TRUE(mouse->AttachFile(file, error)) << error;
    EXPECT_EQ(std::filesystem::file_size(file), 2048u);
    OpenTheMouse();
    const std::vector<uint8_t> bytes = {1, 2, 3, 4, 5, 6, 7};
    ASSERT_TRUE(protocol.WriteBlock(0x7F9, 7, bytes));

    auto next_run = std::make_shared<VirtualMouse>();
    ASSERT_TRUE(next_run->AttachFile(file, error)) << error;
    const auto memory = next_run->MemoryCopy();
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), memory.begin() + 0x7F9));
    std::filesystem::remove(file);
}

TEST_F(VirtualMouseTest, OpenAnswersA6AndDriverIdItsNumber) {
    OpenTheMouse();
    mouse->SetDriverNumber(0x1234);
    ASSERT_TRUE(protocol.SendCommand(Command::Open));
    EXPECT_EQ(protocol.Report()[1], 0xA6);
    ASSERT_TRUE(protocol.SendCommand(Command::DriverId));
    EXPECT_EQ(protocol.Report()[1], 0x12);
    EXPECT_EQ(protocol.Report()[2], 0x34);
    EXPECT_FALSE(protocol.SendCommand(static_cast<Command>(0x42)));  // unknown to the firmware
}

}  // namespace
}  // namespace velq::test
