#include "velqctl.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "device/device_link.h"
#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"
#include "image/built_in_images.h"
#include "macros/macro_name.h"

namespace velq {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

// velqctl with the "real" mouse played by a virtual one, in virtual time.
class Velqctl : public ::testing::Test {
protected:
    Result Run(const std::vector<std::string>& args) {
        VelqctlEnvironment environment;
        environment.real_backend = [this]() -> std::unique_ptr<HidBackend> {
            if (!mouse_present) {
                auto nothing = std::make_unique<VirtualBackend>(mouse);
                nothing->SetInterfaces({});
                return nothing;
            }
            return std::make_unique<VirtualBackend>(mouse);
        };
        environment.clock = &clock;
        std::ostringstream out, err;
        const int status = RunVelqctl(args, out, err, environment);
        return {status, out.str(), err.str()};
    }

    std::shared_ptr<VirtualMouse> mouse = std::make_shared<VirtualMouse>();
    bool mouse_present = true;
    VirtualClock clock;
};

TEST_F(Velqctl, StatusPrintsSignaturePermissionAndChip) {
    Result r = Run({"status"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "signature: 0xAA\nwrite permission: yes\nchip: 0x90 (chip code 0x35)\n");
    EXPECT_EQ(mouse->CountRequests(Command::Reload), 1);
    EXPECT_EQ(mouse->CountRequests(Command::Close), 1);

    mouse->SetChipCode(0x12);
    mouse->SetWriteEnabled(false);
    r = Run({"status"});
    EXPECT_EQ(r.out,
              "signature: 0xAA\nwrite permission: no\nchip: unrecognised (chip code 0x12)\n");
}

TEST_F(Velqctl, ReadDumpsSixteenBytesALineAfterTheAddress) {
    const Result r = Run({"read", "0x0E", "20"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "000E: 0E 0F 10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D\n"
              "001E: 1E 1F 20 21\n");
    const auto requests = mouse->Requests();
    ASSERT_GE(requests.size(), 3u);
    EXPECT_EQ(requests[0][1], 0x01);      // Open
    EXPECT_EQ(requests[1][1], 0x03);      // Status
    EXPECT_EQ(requests.back()[1], 0x02);  // Close, after Reload
    EXPECT_EQ(requests[requests.size() - 2][1], 0x08);
}

TEST_F(Velqctl, WriteStoresTheBytesInOneTransaction) {
    const Result w = Run({"write", "2040", "0102", "03", "0x04050607"});
    EXPECT_EQ(w.status, 0) << w.err;
    const auto memory = mouse->MemoryCopy();
    EXPECT_EQ(std::vector<uint8_t>(memory.begin() + 2040, memory.end()),
              (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 0xFF}));
}

TEST_F(Velqctl, RefusalsAreReportedAndTheTransactionStillCloses) {
    mouse->SetWriteEnabled(false);
    Result r = Run({"write", "0", "01"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "velqctl: the mouse refused: it does not permit writes\n");
    EXPECT_EQ(mouse->CountRequests(Command::WriteBegin), 0);
    EXPECT_EQ(mouse->CountRequests(Command::Reload), 1);
    EXPECT_EQ(mouse->CountRequests(Command::Close), 1);

    mouse->SetWriteEnabled(true);
    mouse->SetSignature(0x00);
    r = Run({"read", "0", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no signature"), std::string::npos);
    EXPECT_EQ(r.out, "");

    mouse->SetSignature(0xAA);
    mouse->NeverAcknowledgeWriteChunk(0);
    r = Run({"write", "0", "01020304050607"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "velqctl: 1 of the written 6-byte chunks were not acknowledged\n");
}

TEST_F(Velqctl, BadArgumentsAndAMissingMouseGiveOneLineAndANonZeroExit) {
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const std::vector<Case> cases = {
        {{}, 2},
        {{"frobnicate"}, 2},
        {{"read", "0"}, 2},
        {{"read", "0", "0"}, 2},
        {{"read", "2048", "1"}, 2},
        {{"read", "2000", "49"}, 2},
        {{"read", "0x", "1"}, 2},
        {{"read", "-1", "1"}, 2},
        {{"read", "12abc", "1"}, 2},
        {{"write", "0"}, 2},
        {{"write", "0", "abc"}, 2},
        {{"write", "0", "zz"}, 2},
        {{"write", "2047", "0102"}, 2},
        {{"status", "extra"}, 2},
        {{"--virtual"}, 2},
        {{"rdesc"}, 2},
        {{"rdesc", "/nonexistent/descriptor"}, 1},
    };
    for (const Case& c : cases) {
        const Result r = Run(c.args);
        std::string joined;
        for (const auto& a : c.args) {
            joined += a + " ";
        }
        EXPECT_EQ(r.status, c.status) << joined;
        EXPECT_EQ(r.err.rfind("velqctl: ", 0) == 0 || r.err.rfind("usage: ", 0) == 0, true)
            << joined;
    }
    mouse_present = false;
    const Result r = Run({"status"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    EXPECT_NE(r.err.find("no mouse found"), std::string::npos);
}

TEST_F(Velqctl, ListMarksTheMouseInterface) {
    const Result r = Run({"list"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "/dev/virtual/velq540b-pointer 3a7b:540b 0104 feature=0\n"
              "/dev/virtual/velq540b-keyboard 3a7b:540b 0104 feature=3\n"
              "/dev/virtual/velq540b-config 3a7b:540b 0104 feature=8 mouse\n");
}

TEST_F(Velqctl, RdescPrintsEachTopLevelCollection) {
    const auto file = std::filesystem::temp_directory_path() / "velq-rdesc-test.txt";
    {
        std::ofstream out(file);
        // A keyboard collection and the vendor collection with the 8-byte feature report.
        out << "05 01 09 06 A1 01 75 08 95 08 81 02 C0\n"
               "06 00 FF 09 01 A1 01 85 04 75 08 95 07 B1 02 C0\n";
    }
    const Result r = Run({"rdesc", file.string()});
    std::filesystem::remove(file);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0001:0006 in=9 out=0 feature=0\nFF00:0001 in=0 out=0 feature=8\n");
}

TEST_F(Velqctl, VirtualMouseKeepsItsMemoryInTheFile) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("velq-ctl-virtual-" + std::to_string(::getpid()) + ".bin");
    std::filesystem::remove(file);
    ASSERT_EQ(Run({"--virtual", file.string(), "write", "0x7FF", "5A"}).status, 0);
    const Result r = Run({"--virtual", file.string(), "read", "0x7FF", "1"});
    std::filesystem::remove(file);
    EXPECT_EQ(r.out, "07FF: 5A\n");
}

// The virtual mouse as it leaves the factory: the first default image.
class VelqctlOnDefaults : public Velqctl {
protected:
    void SetUp() override {
        ImageTextResult image = LoadBuiltInImage(BuiltInImage::VELQ55XData_Cfg1);
        ASSERT_TRUE(image) << image.error;
        mouse->SetMemory(0, image.bytes);
        file = std::filesystem::temp_directory_path() /
               ("velqctl-profile-" + std::to_string(::getpid()));
        std::filesystem::remove(file);
        std::filesystem::remove(file.string() + ".bin");
    }
    void TearDown() override {
        std::filesystem::remove(file);
        std::filesystem::remove(file.string() + ".bin");
    }
    std::filesystem::path file;
};

TEST_F(VelqctlOnDefaults, DumpShowsLevelsButtonsMacrosAndRepairs) {
    // A macro in slot 1 and a button that plays it.
    const MacroName name = MakeMacroName(u"Burst");
    mouse->SetMemory(0x100, name);
    const uint8_t content[] = {0x00, 0x05, 0xA1, 0xFE, 0x0C, 0x21, 0x8B};
    mouse->SetMemory(0x120, content);
    Result r = Run({"dump"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("sections: ParameterASection ok, ParameterBSection ok, ProfileSection ok"),
              std::string::npos);
    EXPECT_NE(r.out.find("DPI levels: 6, current level 2\n  level 1: 800 DPI, colour 00FF00"),
              std::string::npos);
    EXPECT_NE(r.out.find("  button 1: 010100  Clique esquerdo\n"), std::string::npos);
    EXPECT_NE(r.out.find("  slot 1 (0121): \"Burst\", play to end\n"), std::string::npos);
    EXPECT_NE(r.out.find("  slot 2 (0221): empty\n"), std::string::npos);
    EXPECT_EQ(mouse->CountRequests(Command::ReadNext), 342);  // one full read

    // A profile whose checksum is wrong is reported as repaired, never written back.
    const auto before = mouse->MemoryCopy();
    const uint8_t bad[] = {static_cast<uint8_t>(before[0x76] ^ 0xFF)};
    mouse->SetMemory(0x76, bad);
    r = Run({"dump", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"sections\":[", 0), 0u);
    EXPECT_NE(r.out.find("{\"name\":\"ProfileSection\",\"repaired\":true}"), std::string::npos);
    EXPECT_NE(r.out.find("\"level_count\":6"), std::string::npos);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '{'),
              std::count(r.out.begin(), r.out.end(), '}'));
    EXPECT_EQ(mouse->CountRequests(Command::WriteBegin), 0);
    EXPECT_EQ(Run({"dump", "--yaml"}).status, 2);
}

TEST_F(VelqctlOnDefaults, SaveThenLoadRoundTripsAndVerifies) {
    Result r = Run({"save", file.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "saved " + file.string() + ".bin\n");
    ASSERT_EQ(std::filesystem::file_size(file.string() + ".bin"), 2048u);

    const auto saved = mouse->MemoryCopy();
    const std::vector<uint8_t> other(2048, 0x00);
    mouse->SetMemory(0, other);
    r = Run({"load", file.string() + ".bin"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "loaded " + file.string() + ".bin: verified\n");
    EXPECT_EQ(mouse->MemoryCopy(), saved);
}

TEST_F(VelqctlOnDefaults, LoadRefusesAWrongSizeAndReportsAByteThatWillNotStore) {
    {
        std::ofstream out(file, std::ios::binary);
        out << std::string(2047, '\x11');
    }
    const auto before = mouse->MemoryCopy();
    Result r = Run({"load", file.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("(Error no tipo de arquivo BIN)"), std::string::npos) << r.err;
    EXPECT_EQ(mouse->CountRequests(Command::Open), 0);
    EXPECT_EQ(mouse->MemoryCopy(), before);

    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << std::string(2048, '\x22');
    }
    mouse->StickByte(0x345);
    r = Run({"load", file.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "velqctl: the mouse does not hold the profile (1 bytes still differ after 3 repair "
              "passes)\n");
    EXPECT_EQ(mouse->CountRequests(Command::Reload), 1);
    EXPECT_EQ(mouse->CountRequests(Command::Close), 1);
}

}  // namespace
}  // namespace velq
