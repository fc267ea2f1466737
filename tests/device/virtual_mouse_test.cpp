#include "device/virtual_mouse.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

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
    EXPECT_FALSE(protocol.SendCommand(Command::kClose));
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

// A file given for the memory that is not one (notes, a truncated image, a device, a FIFO) is
// refused and left byte for byte as it was; the mouse keeps its own memory and saves nowhere.
TEST_F(VirtualMouseTest, AnExistingFileThatIsNoMemoryIsRefusedAndLeftAsItWas) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("velq-virtual-refuse-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const auto write = [&dir](const std::string& name, const std::string& content) {
        std::ofstream(dir / name, std::ios::binary) << content;
        return dir / name;
    };
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    struct Case {
        std::filesystem::path file;
        const char* says;
    };
    const Case cases[] = {
        {write("notes.txt", "shopping list\n"), "14 bytes, not a 2048-byte virtual mouse memory"},
        {write("empty.bin", ""), "0 bytes, not a 2048-byte"},
        {write("short.bin", std::string(2047, '\x11')), "2047 bytes"},
        {write("long.bin", std::string(2049, '\x11')), "2049 bytes, more than the 2048 bytes"},
        {dir / "fifo", "a FIFO, not a regular file"},
        {dir, "a folder, not a regular file"},
        {"/dev/zero", "a device, not a regular file"},
    };
    const VirtualMouse::Memory memory = mouse->MemoryCopy();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.string());
        std::vector<uint8_t> before;
        const bool regular = std::filesystem::is_regular_file(c.file);
        if (regular) {
            ASSERT_TRUE(ReadWholeFile(c.file, before));
        }
        std::string error;
        EXPECT_FALSE(mouse->AttachFile(c.file, error));
        EXPECT_EQ(error.rfind(c.file.string() + ": ", 0), 0u) << error;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        EXPECT_NE(error.find("left as it is"), std::string::npos) << error;
        if (regular) {
            std::vector<uint8_t> after;
            ASSERT_TRUE(ReadWholeFile(c.file, after));
            EXPECT_EQ(after, before);
        }
        EXPECT_EQ(mouse->MemoryCopy(), memory);
    }
    // Nothing is saved to a refused file when the memory changes.
    OpenTheMouse();
    ASSERT_TRUE(protocol.WriteBlock(0, 1, std::vector<uint8_t>{0x42}));
    ASSERT_TRUE(protocol.SendCommand(Command::kReload));
    EXPECT_EQ(std::filesystem::file_size(dir / "notes.txt"), 14u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                            std::filesystem::directory_iterator()),
              5);  // no file was added beside them either
    std::filesystem::remove_all(dir);
}

TEST_F(VirtualMouseTest, OpenAnswersA6AndDriverIdItsNumber) {
    OpenTheMouse();
    mouse->SetDriverNumber(0x1234);
    ASSERT_TRUE(protocol.SendCommand(Command::kOpen));
    EXPECT_EQ(protocol.Report()[1], 0xA6);
    ASSERT_TRUE(protocol.SendCommand(Command::kDriverId));
    EXPECT_EQ(protocol.Report()[1], 0x12);
    EXPECT_EQ(protocol.Report()[2], 0x34);
    EXPECT_FALSE(protocol.SendCommand(static_cast<Command>(0x42)));  // unknown to the firmware
}

}  // namespace
}  // namespace velq::test
