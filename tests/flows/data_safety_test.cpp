// What the mouse holds is never lost or faked: an Apply changes only what was changed, a failed
// read is never shown or saved as the mouse's settings, and every failure is said.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "buttons/function_code.h"
#include "common/checksum.h"
#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"
#include "flow_fixture.h"
#include "mouse_images.h"
#include "flows/device_cycle.h"
#include "flows/eeprom_flows.h"
#include "macros/macro_name.h"

namespace velq::test {
namespace {

using DataSafety = FlowFixture;

// Read, then Apply with nothing changed: every one of the 2048 bytes stays as it was.
TEST_F(DataSafety, ApplyAfterAReadChangesNothing) {
    struct Case {
        std::string name;
        VirtualMouse::Memory memory;
        bool read_fire_area;
    };
    std::vector<Case> cases;
    for (size_t n = 0; n < kEepromDefaultImages; ++n) {
        VirtualMouse::Memory memory;
        std::copy(state.defaults.eeprom[n].begin(), state.defaults.eeprom[n].end(), memory.begin());
        cases.push_back({"built-in image " + std::to_string(n), memory, false});
    }
    cases.push_back({"aim keys, macros, fire area", RichImage(state.defaults.eeprom[0]), true});
    cases.push_back({"the same, image 1", RichImage(state.defaults.eeprom[1]), true});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mouse->SetMemory(0, c.memory);
        ResetState();
        link.SetLastInterfaceCount(0);
        link.DropDevice();
        PlugIn();
        ASSERT_TRUE(state.read_complete);
        if (c.read_fire_area) {
            ASSERT_TRUE(flows.ReadFireArea());
        }
        Forget();
        Apply();
        EXPECT_TRUE(host.messages.empty());
        EXPECT_GE(mouse->CountRequests(Command::kWriteBegin), 1);
        EXPECT_EQ(mouse->MemoryCopy(), c.memory);
        Confirm();
        EXPECT_EQ(mouse->MemoryCopy(), c.memory);
        EXPECT_TRUE(host.Saw("CloseMainWindow"));
    }
}

// The aim keys keep the DPIs read from the mouse; a changed aim DPI goes to every aim key.
TEST_F(DataSafety, AimKeysAreRewrittenOnlyWhenTheAimDpiChanged) {
    mouse->SetMemory(0, RichImage(state.defaults.eeprom[0]));
    PlugIn();
    EXPECT_EQ(state.decoded.aim_dpi, 2);  // the last aim key found: profile 2's
    MouseConfig wanted = state.config;
    wanted.aim_dpi = 4;
    host.page_values = wanted;
    Apply();
    const auto memory = mouse->MemoryCopy();
    EXPECT_EQ(memory[kProfileAddress + 3 * 3 + 1], 4);
    EXPECT_EQ(memory[kProfileAddress + 0x1B + 3 * 4 + 1], 4);
    EXPECT_EQ(memory[kProfileChecksumAddress],
              SectionChecksum(std::span(memory).subspan(kProfileAddress, kProfileSize - 1)));
    EXPECT_EQ(state.decoded.aim_dpi, 4);
}

// A read that did not complete never reaches the pages, counts as read or lets Apply write.
TEST_F(DataSafety, AFailedReadIsNeitherShownNorWrittenBack) {
    struct Case {
        const char* name;
        std::function<void(VirtualMouse&)> fault;
    };
    const std::vector<Case> cases = {
        {"ReadBegin refused", [](VirtualMouse& m) { m.RefuseCommand(Command::kReadBegin, 5); }},
        {"a chunk never answered", [](VirtualMouse& m) { m.NeverAnswerReadChunk(20); }},
    };
    PlugIn();
    const VirtualMouse::Memory before = mouse->MemoryCopy();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state.read_complete = true;
        const DataBuf shown = state.data_buf;
        c.fault(*mouse);
        Forget();
        // The read of the parameters and slot names, as after identification.
        EXPECT_FALSE(ReadAfterIdentification(false));
        mouse->NeverAnswerReadChunk(-1);
        EXPECT_FALSE(state.read_complete);
        EXPECT_TRUE(host.pages_covered);
        EXPECT_FALSE(host.Saw("ShowPageValues"));
        EXPECT_EQ(state.data_buf, shown);

        Forget();
        Apply();
        Confirm();
        EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
        EXPECT_TRUE(Said(kReadFailedMessage));
        EXPECT_FALSE(host.Saw("CloseMainWindow"));
        EXPECT_EQ(mouse->MemoryCopy(), before);
    }
}

// The first read after plug-in fails: the user is told once, the pages stay covered, and the
// next device pass tries again and shows the mouse.
TEST_F(DataSafety, AFailedFirstReadIsSaidAndTriedAgain) {
    mouse->NeverAnswerReadChunk(30);
    Pass();
    EXPECT_TRUE(link.HasDevice());
    EXPECT_FALSE(state.read_complete);
    EXPECT_TRUE(host.pages_covered);
    EXPECT_TRUE(Said(kReadFailedMessage));

    Forget();
    Pass();  // still failing: tried again, quietly
    EXPECT_TRUE(host.messages.empty());
    EXPECT_GT(mouse->CountRequests(Command::kReadNext), 0);

    mouse->NeverAnswerReadChunk(-1);
    Forget();
    Pass();
    EXPECT_TRUE(state.read_complete);
    EXPECT_FALSE(host.pages_covered);
    EXPECT_TRUE(host.messages.empty());
}

// The codes that identify the mouse count only when their read completed: the 0xFF fill of
// an unanswered chunk must not pass for the expected codes.
TEST_F(DataSafety, UnreadableCodesAreAFailureNotAMatch) {
    codes = {0xFF, 0xFF};
    cycle.SetExpectedCodes(codes, {0, 0});
    flows.SetExpectedCodes(codes, {0, 0});
    const uint8_t ff[] = {0xFF, 0xFF};
    mouse->SetMemory(0x36, ff);
    mouse->NeverAnswerReadChunk(0);
    Pass();
    EXPECT_FALSE(host.Saw("ReadFlow parameters"));
    EXPECT_TRUE(Said(kReadFailedMessage));
    EXPECT_FALSE(state.read_complete);

    mouse->NeverAnswerReadChunk(-1);
    PlugIn();  // the retry
    ASSERT_TRUE(state.read_complete);
    mouse->NeverAnswerReadChunk(0);
    Forget();
    EXPECT_FALSE(flows.ReadFireArea());
    EXPECT_TRUE(Said(kReadFailedMessage));
    EXPECT_FALSE(state.fire_area_read);
}

// A chunk answered only after its request was sent again: the mouse may have moved on, so the
// data may be shifted. A read is repeated until two reads agree; a write is read back and
// repaired.
TEST_F(DataSafety, ALateAnswerNeverShiftsTheData) {
    PlugIn();
    const VirtualMouse::Memory before = mouse->MemoryCopy();

    mouse->LoseFirstAnswerOfChunk(7);
    Forget();
    ASSERT_TRUE(ReadAfterIdentification(false));
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 255, state.data_buf.begin()));
    EXPECT_EQ(mouse->CountRequests(Command::kReadBegin), 2 + static_cast<int>(kMacroSlotCount));

    MouseConfig wanted = state.config;
    wanted.dpi.levels[1].value = 9;
    host.page_values = wanted;
    mouse->LoseFirstAnswerOfChunk(7);
    Forget();
    Apply();
    EXPECT_TRUE(host.messages.empty());
    auto expected = before;
    expected[0x07] = 9;
    expected[0x2F] = SectionChecksum(std::span(expected).first(0x2F));
    EXPECT_EQ(mouse->MemoryCopy(), expected);
    EXPECT_GE(mouse->CountRequests(Command::kReadBegin), 2);  // read back, repaired, checked

    // A mouse that keeps a byte wrong: three repair passes, then the user is told.
    mouse->StickByte(0x07);
    wanted.dpi.levels[1].value = 3;
    host.page_values = wanted;
    mouse->LoseFirstAnswerOfChunk(1);
    Forget();
    Apply();
    EXPECT_TRUE(Said("Str109"));
}

// Apply, Confirm, the resets and Load tell the user why nothing was written.
TEST_F(DataSafety, EveryWritingFlowSaysWhyItFailed) {
    struct Case {
        const char* name;
        std::function<void(VirtualMouse&)> fault;
        const char* key;
    };
    const std::vector<Case> cases = {
        {"mouse not answering", [](VirtualMouse& m) { m.NakNextExchanges(1000); },
         kNotAnsweringMessage},
        {"not this firmware", [](VirtualMouse& m) { m.SetSignature(0x00); }, kNotAnsweringMessage},
        {"writes not permitted", [](VirtualMouse& m) { m.SetWriteEnabled(false); },
         kWriteNotPermittedMessage},
        {"WriteBegin refused", [](VirtualMouse& m) { m.RefuseCommand(Command::kWriteBegin, 1000); },
         "Str109"},
    };
    const std::vector<std::pair<const char*, std::function<void()>>> flows_run = {
        {"Apply", [this] { Apply(); }},
        {"Confirm", [this] { Confirm(); }},
        {"Reset", [this] { Reset(1); }},
        {"Default", [this] { RestoreDefaults(0); }},
    };
    for (const auto& [flow_name, run] : flows_run) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(flow_name) + ": " + c.name);
            mouse = std::make_shared<VirtualMouse>(RichImage(state.defaults.eeprom[0]));
            backend = VirtualBackend{mouse};
            ResetState();
            link.SetLastInterfaceCount(0);
            link.DropDevice();
            PlugIn();
            const VirtualMouse::Memory before = mouse->MemoryCopy();
            c.fault(*mouse);
            Forget();
            run();
            EXPECT_TRUE(Said(c.key));
            EXPECT_FALSE(host.Saw("CloseMainWindow"));
            EXPECT_FALSE(host.Saw("Result shown"));
            EXPECT_EQ(mouse->MemoryCopy(), before);
            EXPECT_FALSE(state.fire_area_read);
        }
    }
}

// The fire area goes back into the mouse only while the buffer holds this mouse's fire area.
TEST_F(DataSafety, TheFireAreaIsWrittenOnlyWhenItIsThisMouses) {
    mouse->SetMemory(0, RichImage(state.defaults.eeprom[0]));
    PlugIn();
    const VirtualMouse::Memory before = mouse->MemoryCopy();
    mouse->SetWriteEnabled(false);
    Reset(1);  // reached no mouse: the default fire area is not the mouse's
    mouse->SetWriteEnabled(true);
    EXPECT_FALSE(state.fire_area_read);
    ReadButton();
    ASSERT_TRUE(state.read_complete);
    Forget();
    Apply();
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 1);
    EXPECT_EQ(mouse->MemoryCopy(), before);
}

// The slot names are read with the parameters, so buttons that play a macro are named after a
// parameters-only read too.
TEST_F(DataSafety, AParametersReadNamesTheMacroSlots) {
    mouse->SetMemory(0, RichImage(state.defaults.eeprom[0]));
    PlugIn();
    EXPECT_EQ(state.device_slot_names[1], "Macro 2");
    EXPECT_EQ(state.device_slot_names[4], "Macro 5");
    // The window's slot copy is named as the mouse's slots: buttons are named by it.
    EXPECT_EQ(host.macros.ListName(2), "Macro 2");
    EXPECT_EQ(host.macros.ListName(5), "Macro 5");
}

// Two mice of this model: the one that was read is the one Apply writes to. When it goes, the
// other is found, identified and read as a new mouse before anything reaches it.
TEST_F(DataSafety, TwoMiceApplyReachesOnlyTheMouseThatWasRead) {
    VirtualMouse::Memory first_memory = RichImage(state.defaults.eeprom[0]);
    mouse->SetMemory(0, first_memory);
    auto second = std::make_shared<VirtualMouse>(RichImage(state.defaults.eeprom[1]));
    const VirtualMouse::Memory second_memory = second->MemoryCopy();
    backend.AddMouse(second, "/dev/virtual/zz-second");
    PlugIn();
    ASSERT_EQ(link.DevicePath().rfind("/dev/virtual/velq540b", 0), 0u);  // first in path order

    // The page changes a level on the first mouse, but it goes away before Apply.
    MouseConfig wanted = state.config;
    wanted.dpi.levels[0].value = 11;
    mouse->SetPlugged(false);
    second->NeverAnswerReadChunk(20);  // and the second one's first read fails
    Forget();
    Pass();
    EXPECT_EQ(host.messages.front().keys, (std::vector<std::string>{"Str100", "Str101"}));
    EXPECT_EQ(link.DevicePath().rfind("/dev/virtual/zz-second", 0), 0u);
    EXPECT_FALSE(state.read_complete);
    host.page_values = wanted;
    Apply();
    EXPECT_EQ(second->CountRequests(Command::kWriteBegin), 0);

    second->NeverAnswerReadChunk(-1);
    Pass();  // the quiet retry reads the second mouse
    ASSERT_TRUE(state.read_complete);
    host.page_values.reset();
    Apply();
    EXPECT_EQ(second->MemoryCopy(), second_memory);
    EXPECT_EQ(mouse->MemoryCopy(), first_memory);
}

// A mouse this user may not open is named as such, with the rule that grants access, instead
// of being taken for no mouse.
TEST_F(DataSafety, AMouseThisUserMayNotOpenIsNamed) {
    for (VirtualInterface& interface : backend.Interfaces()) {
        interface.access_denied = true;
    }
    Pass();
    EXPECT_FALSE(link.HasDevice());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].keys, (std::vector<std::string>{kNoAccessMessage}));
    EXPECT_EQ(host.messages[0].detail, link.DeniedPath());
    EXPECT_FALSE(link.DeniedPath().empty());
    EXPECT_TRUE(host.pages_covered);
}

class ProfileFileSafety : public DataSafety {
protected:
    void SetUp() override {
        DataSafety::SetUp();
        dir = std::filesystem::temp_directory_path() /
              ("velq-safety-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    void WriteFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    std::filesystem::path dir;
};

// Save writes a file only after a complete read of this mouse; an existing file stays.
TEST_F(ProfileFileSafety, SaveWritesNothingAfterAFailedRead) {
    struct Case {
        const char* name;
        std::function<void(VirtualMouse&)> fault;
        bool refuse_read_begin;  // of the whole memory, after the codes were read
    };
    const std::vector<Case> cases = {
        {"mouse not answering", [](VirtualMouse& m) { m.NakNextExchanges(1000); }, false},
        {"no write permission", [](VirtualMouse& m) { m.SetWriteEnabled(false); }, false},
        {"wrong codes",
         [](VirtualMouse& m) {
             const uint8_t wrong[] = {1, 2};
             m.SetMemory(0x36, wrong);
         },
         false},
        {"ReadBegin of the whole memory refused", [](VirtualMouse&) {}, true},
        {"a chunk never answered", [](VirtualMouse& m) { m.NeverAnswerReadChunk(200); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mouse = std::make_shared<VirtualMouse>(RichImage(state.defaults.eeprom[0]));
        backend = VirtualBackend{mouse};
        link.SetLastInterfaceCount(0);
        link.DropDevice();
        PlugIn();
        c.fault(*mouse);
        cycle.SetReadFlow([this, &c](bool full, FlowOutcome& outcome) {
            if (c.refuse_read_begin) {
                mouse->RefuseCommand(Command::kReadBegin, 5);
            }
            return flows.Read(full, outcome);
        });
        const std::vector<uint8_t> old(2048, 0x11);
        WriteFile(dir / "old.bin", old);
        for (const char* name : {"fresh", "old"}) {
            host.next_file = dir / name;
            Forget();
            SaveProfile();
            EXPECT_FALSE(host.messages.empty()) << name;
        }
        EXPECT_FALSE(std::filesystem::exists(dir / "fresh.bin"));
        EXPECT_EQ(std::filesystem::file_size(dir / "old.bin"), 2048u);
        std::ifstream in(dir / "old.bin", std::ios::binary);
        EXPECT_EQ(std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {}), old);
    }
}

// A profile whose sections fail their checks is repaired before anything is written, and the
// user is told.
TEST_F(ProfileFileSafety, ADamagedProfileIsRepairedBeforeWriting) {
    PlugIn();
    VirtualMouse::Memory file = RichImage(state.defaults.eeprom[1]);
    file[0x2F] ^= 0x01;                     // A's checksum
    file[kProfileChecksumAddress] ^= 0x10;  // the profile's
    WriteFile(dir / "damaged.bin", file);
    host.next_file = dir / "damaged.bin";
    LoadProfile();
    EXPECT_TRUE(Said(kFileRepairedMessage));
    const auto memory = mouse->MemoryCopy();
    EXPECT_EQ(memory[0x2F], SectionChecksum(std::span(memory).first(0x2F)));
    EXPECT_EQ(memory[kProfileChecksumAddress],
              SectionChecksum(std::span(memory).subspan(kProfileAddress, kProfileSize - 1)));
    EXPECT_TRUE(std::equal(memory.begin() + 0x100, memory.end(), file.begin() + 0x100));
    EXPECT_TRUE(state.read_complete);
    EXPECT_TRUE(state.fire_area_read);
}

}  // namespace
}  // namespace velq::test
