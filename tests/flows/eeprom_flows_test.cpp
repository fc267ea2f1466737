#include "flows/eeprom_flows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "buttons/function_code.h"
#include "common/checksum.h"
#include "device/virtual_backend.h"
#include "device/virtual_mouse.h"
#include "flow_fixture.h"
#include "mouse_images.h"
#include "flows/device_cycle.h"
#include "macros/device_macros.h"
#include "macros/macro_name.h"

namespace velq::test {
namespace {

// The flows on a virtual mouse that holds the first default image, found and read by a device
// pass as the program does at start-up.
class EepromFlowsTest : public FlowFixture {
protected:
    void SetUp() override {
        FlowFixture::SetUp();
        PlugIn();
        Forget();
    }
};

TEST(EepromFlowsStartUp, IdentifiedMouseIsReadIntoThePages) {
    auto mouse = std::make_shared<VirtualMouse>();
    VirtualBackend backend{mouse};
    DeviceLink link{backend};
    VirtualClock clock;
    CommandProtocol protocol{link, clock};
    RecordingHost host;
    FlowState state;
    ASSERT_TRUE(LoadDefaultImages(state.defaults));
    mouse->SetMemory(0, state.defaults.eeprom[1]);
    const DeviceCodes codes{state.defaults.eeprom[1][0x36], state.defaults.eeprom[1][0x37]};
    DeviceCycle cycle{link, protocol, clock, host, state};
    EepromFlows flows{link, protocol, clock, host, state};
    cycle.SetExpectedCodes(codes, {0, 0});
    cycle.SetReadFlow([&](bool full, FlowOutcome& outcome) { return flows.Read(full, outcome); });
    host.ActOn(cycle.Pass());

    EXPECT_TRUE(std::equal(state.data_buf.begin(), state.data_buf.begin() + 255,
                           state.defaults.eeprom[1].begin()));
    EXPECT_TRUE(std::all_of(state.data_buf.begin() + 255, state.data_buf.end(),
                            [](uint8_t b) { return b == 0xFF; }));
    // The codes, then 255 bytes, then the six 32-byte slot names that name the macro buttons.
    EXPECT_EQ(mouse->CountRequests(Command::kReadNext), 1 + 43 + 6 * 6);
    EXPECT_EQ(host.shown.office[0], (FunctionCode{0x01, 0x01, 0x00}));
    EXPECT_FALSE(host.no_device_page);
    EXPECT_FALSE(host.pages_covered);
    EXPECT_TRUE(host.dev_timer);
    EXPECT_FALSE(host.dev_timer_first);
    const auto requests = mouse->Requests();
    EXPECT_EQ(requests[requests.size() - 2][1], 0x08);  // Reload, then Close
    EXPECT_EQ(requests.back()[1], 0x02);
}

TEST_F(EepromFlowsTest, ApplyWritesTheParameterAreaAndWhatElseIsDue) {
    struct Case {
        const char* name;
        bool fire_area_read;
        std::string office_button_9;
        SlotMask given;  // slots given a macro since the read
        int parameter_writes, fire_writes, slot2_name_writes, slot2_content_writes;
    };
    const Case cases[] = {
        {"parameters only", false, "", 0, 1, 0, 0, 0},
        {"with the fire area", true, "", 0, 1, 1, 0, 0},
        {"with a macro given to the slot", false, "060221", 0b10, 1, 0, 1, 1},
        {"stop-at-release macro too", false, "0E0221", 0b10, 1, 0, 1, 1},
        {"a played slot as the mouse holds it", false, "060221", 0, 1, 0, 0, 0},
        {"a slot given a macro no button plays", false, "", 0b10, 1, 0, 0, 0},
    };
    const FunctionCode read_button_9 = host.shown.office[8];
    const DeviceMacros read_macros = host.macros;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state.fire_area_read = c.fire_area_read;
        host.macros = read_macros;
        host.macros.changed = c.given;
        MouseConfig pages = host.shown;
        pages.office[8] =
            c.office_button_9.empty() ? read_button_9 : *ParseCodeText(c.office_button_9);
        host.page_values = pages;
        Forget();
        Apply();
        EXPECT_EQ(Writes(0x000, 255), c.parameter_writes);
        EXPECT_EQ(Writes(0x500, 256), c.fire_writes);
        EXPECT_EQ(Writes(0x200, 32), c.slot2_name_writes);
        EXPECT_EQ(Writes(0x220, 224), c.slot2_content_writes);
        EXPECT_TRUE(host.messages.empty());
        EXPECT_TRUE(host.dev_timer);
        EXPECT_FALSE(host.pages_covered);
    }
}

TEST_F(EepromFlowsTest, ApplyStoresThePageValuesWithValidChecksums) {
    const uint8_t aim[] = {0x0A, 0x03, 0x00};  // an aim key with an old DPI
    std::copy(std::begin(aim), std::end(aim), state.copies.profile.begin() + 0x1B + 9);
    state.decoded.gaming[3] = {0x0A, 0x03, 0x00};
    state.decoded.aim_dpi = 3;
    MouseConfig wanted = state.decoded;
    wanted.dpi.levels[0].value = 11;  // 8000 DPI on level 1
    wanted.aim_dpi = 5;               // the aim DPI was changed on the page
    host.page_values = wanted;
    Apply();
    const auto memory = mouse->MemoryCopy();
    EXPECT_EQ(memory[0x06], 11);
    EXPECT_EQ(memory[0x2F], SectionChecksum(std::span(memory).first(0x2F)));
    EXPECT_EQ(memory[0x40 + 0x1B + 9 + 1], 5);  // the aim key carries the current DPI index
    EXPECT_EQ(memory[0x76], SectionChecksum(std::span(memory).subspan(0x40, 54)));
    EXPECT_EQ(state.config.gaming[3], (FunctionCode{0x0A, 0x05, 0x00}));
    EXPECT_EQ(memory[0xFF], state.defaults.eeprom[0][0xFF]);  // never written by Apply
}

class MacroSlotFlowsTest : public EepromFlowsTest {
protected:
    // The mouse holds `held` in slots 1.. (the rest erased), office buttons 1.. play them, and
    // the pages show it after a read.
    void HoldAndRead(std::initializer_list<MacroSlotBytes> held) {
        const std::vector<uint8_t> erased(1024, 0xFF);
        mouse->SetMemory(0x100, erased);
        mouse->SetMemory(0x600, std::span(erased).first(512));
        int slot = 1;
        for (const MacroSlotBytes& macro : held) {
            mouse->SetMemory(kMacroSlotBase[static_cast<size_t>(slot - 1)], macro);
            ++slot;
        }
        ReadButton();
        ASSERT_TRUE(state.read_complete);
        pages = host.shown;
        for (int k = 1; k < slot; ++k) {
            pages.office[static_cast<size_t>(k - 1)] = MacroSlotCode(k, kPlayToEndFlag);
        }
    }

    // The window's share of picking `macro` for office button `button` (1..9).
    MacroAssignment Give(int button, const MacroSlotBytes& macro) {
        std::vector<FunctionCode> buttons(pages.office.begin(), pages.office.end());
        buttons.insert(buttons.end(), pages.gaming.begin(), pages.gaming.end());
        const MacroAssignment assigned = AssignMacro(
            host.macros, buttons, static_cast<size_t>(button - 1), macro, AssignTarget::kMainPage);
        if (assigned) {
            pages.office[static_cast<size_t>(button - 1)] = assigned.code;
        }
        host.page_values = pages;
        return assigned;
    }

    std::vector<uint8_t> SlotInMouse(int slot) const {
        const auto memory = mouse->MemoryCopy();
        const auto at = memory.begin() + kMacroSlotBase[static_cast<size_t>(slot - 1)];
        return {at, at + kMacroSlotSize};
    }

    MouseConfig pages;
};

// Apply writes the slots given a macro that a button plays, and nothing else: an empty slot
// beside it (whose empty name matches other empty names) does not hide it, and the slots the
// mouse holds as read are not written again.
TEST_F(MacroSlotFlowsTest, ApplyWritesTheSlotGivenAMacroBesideAnEmptySlot) {
    HoldAndRead({LibraryMacro(u"A", 0x04), LibraryMacro(u"B", 0x05)});
    const MacroSlotBytes fresh = LibraryMacro(u"New", 0x06);
    const MacroAssignment assigned = Give(4, fresh);
    ASSERT_EQ(assigned.slot, 3);
    EXPECT_EQ(CodeText(assigned.code), "060321");
    Forget();
    Apply();
    EXPECT_EQ(Writes(0x300, 32), 1);
    EXPECT_EQ(Writes(0x320, 224), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 3);  // the parameters and slot 3
    EXPECT_EQ(SlotInMouse(3), std::vector<uint8_t>(fresh.begin(), fresh.end()));
    EXPECT_TRUE(host.messages.empty());
    // The slot counts as the mouse's now: the window's copy no longer marks it.
    EXPECT_EQ(host.macros.changed, 0u);
    EXPECT_EQ(host.macros.ListName(3), "New");
    EXPECT_EQ(state.device_slot_names[2], "New");

    Forget();
    Apply();
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 1);
}

// A macro of a name a slot holds goes back into that slot, and Apply writes it again: the
// library's macro may have been edited since the mouse got it.
TEST_F(MacroSlotFlowsTest, AMacroOfTheSameNameIsRewrittenIntoItsSlot) {
    HoldAndRead({LibraryMacro(u"A", 0x04), LibraryMacro(u"B", 0x05)});
    EXPECT_EQ(host.macros.ListName(2), "B");  // the names a read of the parameters gives
    const MacroSlotBytes edited = LibraryMacro(u"B", 0x07);
    ASSERT_EQ(Give(5, edited).slot, 2);
    Forget();
    Apply();
    EXPECT_EQ(Writes(0x200, 32), 1);
    EXPECT_EQ(Writes(0x220, 224), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 3);
    EXPECT_EQ(SlotInMouse(2), std::vector<uint8_t>(edited.begin(), edited.end()));
}

// A failed write leaves the slot marked, so the next Apply writes it again.
TEST_F(MacroSlotFlowsTest, ASlotTheMouseDidNotTakeStaysMarked) {
    HoldAndRead({});
    ASSERT_EQ(Give(2, LibraryMacro(u"New", 0x06)).slot, 1);
    mouse->SetWriteEnabled(false);
    Forget();
    Apply();
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
    EXPECT_EQ(host.macros.changed, 1u);
    mouse->SetWriteEnabled(true);
    Forget();
    Apply();
    EXPECT_EQ(Writes(0x100, 32), 1);
    EXPECT_EQ(Writes(0x120, 224), 1);
    EXPECT_EQ(host.macros.changed, 0u);
}

TEST_F(EepromFlowsTest, ApplyRefusalsAndFailures) {
    mouse->SetWriteEnabled(false);
    Apply();
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
    EXPECT_EQ(mouse->CountRequests(Command::kReload), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 1);
    EXPECT_TRUE(Said("Str904"));

    mouse->SetWriteEnabled(true);
    mouse->NeverAcknowledgeWriteChunk(7);
    Forget();
    Apply();
    EXPECT_TRUE(Said("Str109"));  // a lost chunk is not a finished Apply
    // The parameter area, unknown since the refused write, was read in a transaction of its
    // own before this write.
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 2);

    mouse->NeverAcknowledgeWriteChunk(-1);
    link.DropDevice();
    Forget();
    Apply();
    EXPECT_TRUE(Said("Str020"));
    EXPECT_TRUE(mouse->Requests().empty());
}

TEST_F(EepromFlowsTest, UnplugDuringApplyEndsTheFlowAndTheNextPassSeesItGone) {
    mouse->UnplugAfterExchanges(10);
    Apply();
    EXPECT_TRUE(host.dev_timer);
    EXPECT_FALSE(host.pages_covered);
    EXPECT_LT(clock.NowMs(), 5000);
    EXPECT_TRUE(Said("Str109"));
    Forget();
    Pass();
    EXPECT_FALSE(link.HasDevice());
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().keys, (std::vector<std::string>{"Str100", "Str101"}));
}

TEST_F(EepromFlowsTest, ResetWritesTheChosenImageVerified) {
    Reset(3);
    EXPECT_EQ(mouse->MemoryCopy(), state.defaults.eeprom[3]);
    EXPECT_TRUE(state.fire_area_read);
    EXPECT_EQ(Writes(0, 2048), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kReadBegin), 2);  // the undo history's, the check
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.Saw("ShowPageValues"));

    mouse->StickByte(0x345);
    Forget();
    Reset(1);
    // The undo history's read, the check and three repair passes.
    EXPECT_EQ(mouse->CountRequests(Command::kReadBegin), 5);
    EXPECT_TRUE(Said("Str109"));
}

TEST_F(EepromFlowsTest, DefaultButtonsWithoutADeviceStaySilent) {
    link.DropDevice();
    RestoreDefaults(0);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.log.empty());  // the result picture stays hidden, the pages as they were
    Reset(0);
    EXPECT_TRUE(Said("Str020"));
    EXPECT_TRUE(mouse->Requests().empty());
}

TEST_F(EepromFlowsTest, ConfirmAppliesThenCloses) {
    Confirm();
    EXPECT_EQ(Writes(0, 255), 1);
    EXPECT_EQ(host.log.back(), "CloseMainWindow");
}

TEST_F(EepromFlowsTest, FireAreaIsReadOnlyFromTheExpectedMouse) {
    std::vector<uint8_t> fire(256, 0x33);
    mouse->SetMemory(0x500, fire);
    EXPECT_TRUE(flows.ReadFireArea());
    EXPECT_EQ(state.fire_area[0], 0x33);

    const uint8_t wrong[] = {0x01, 0x02};
    mouse->SetMemory(0x36, wrong);
    state.fire_area.fill(0);
    Forget();
    EXPECT_FALSE(flows.ReadFireArea());
    EXPECT_EQ(state.fire_area[0], 0);
    EXPECT_EQ(host.messages.at(0), (UserMessage::System("Str107")));
    EXPECT_TRUE(link.HasDevice());
}

class ProfileFilesTest : public EepromFlowsTest {
protected:
    void SetUp() override {
        EepromFlowsTest::SetUp();
        dir = std::filesystem::temp_directory_path() /
              ("velq-flows-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

TEST_F(ProfileFilesTest, SaveWritesTheWholeMouseUnderTheBinName) {
    std::vector<uint8_t> macros(1024, 0x5A);
    mouse->SetMemory(0x100, macros);
    host.next_file = dir / "cfg";
    SaveProfile();
    std::ifstream in(dir / "cfg.bin", std::ios::binary);
    const std::vector<uint8_t> saved((std::istreambuf_iterator<char>(in)), {});
    const auto memory = mouse->MemoryCopy();
    EXPECT_EQ(saved, std::vector<uint8_t>(memory.begin(), memory.end()));
    EXPECT_FALSE(std::filesystem::exists(dir / "cfg.bin.bin"));

    host.next_file.clear();  // cancelled
    Forget();
    SaveProfile();
    EXPECT_TRUE(mouse->Requests().empty());
}

TEST_F(ProfileFilesTest, LoadWritesVerifiedAndRefusesAWrongSize) {
    const auto before = mouse->MemoryCopy();
    {
        std::ofstream out(dir / "short.bin", std::ios::binary);
        out << std::string(100, '\x44');
    }
    host.next_file = dir / "short.bin";
    LoadProfile();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].keys, (std::vector<std::string>{"Str102"}));
    EXPECT_NE(host.messages[0].detail.find("short.bin"), std::string::npos);
    EXPECT_EQ(mouse->MemoryCopy(), before);
    EXPECT_FALSE(state.fire_area_read);

    const DataBuf& other = state.defaults.eeprom[2];
    {
        std::ofstream out(dir / "other.bin", std::ios::binary);
        out.write(reinterpret_cast<const char*>(other.data()), other.size());
    }
    host.next_file = dir / "other.bin";
    Forget();
    LoadProfile();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(mouse->MemoryCopy(), other);
    EXPECT_TRUE(state.fire_area_read);

    Forget();
    Apply();  // the loaded fire area goes out with the next Apply
    EXPECT_EQ(Writes(0x500, 256), 1);
}

// The factory page's base macro import: four slots from a file into the mouse and into the
// window's copy, or a message and nothing changed.
TEST_F(ProfileFilesTest, BaseMacroImportWritesFourSlotsOrSaysWhyNot) {
    std::vector<uint8_t> file_bytes(1024, 0xFF);
    const MacroSlotBytes first = LibraryMacro(u"A", 0x04);
    const MacroSlotBytes fourth = LibraryMacro(u"D", 0x05);
    std::copy(first.begin(), first.end(), file_bytes.begin());
    std::copy(fourth.begin(), fourth.end(), file_bytes.begin() + 768);
    const auto write = [&](const char* name, size_t size) {
        std::ofstream out(dir / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file_bytes.data()),
                  static_cast<std::streamsize>(size));
        return dir / name;
    };
    struct Case {
        const char* what;
        std::filesystem::path file;
        bool write_enabled;
        const char* message;  // nullptr: written
    };
    const Case cases[] = {
        {"a short file", write("short.bin", 1000), true, "Str102"},
        {"no write permission", write("base.bin", 1024), false, "Str904"},
        {"written", write("base.bin", 1024), true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto before = mouse->MemoryCopy();
        host.macros.changed = 0b10000;  // slot 5 given a macro on the pages
        const DeviceMacros window_before = host.macros;
        mouse->SetWriteEnabled(c.write_enabled);
        Forget();
        host.ActOn(flows.ImportBaseMacro(c.file, host.macros));
        EXPECT_TRUE(host.dev_timer);
        EXPECT_FALSE(host.pages_covered);
        if (c.message != nullptr) {
            ASSERT_EQ(host.messages.size(), 1u);
            EXPECT_EQ(host.messages[0].keys, std::vector<std::string>{c.message});
            // A refused file is named.
            EXPECT_EQ(host.messages[0].detail.find(c.file.filename().string()) != std::string::npos,
                      std::string(c.message) == "Str102");
            EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
            EXPECT_EQ(mouse->MemoryCopy(), before);
            EXPECT_EQ(host.macros, window_before);
            continue;
        }
        EXPECT_TRUE(host.messages.empty());
        EXPECT_EQ(Writes(0x100, 1024), 1);
        EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 1);
        const auto memory = mouse->MemoryCopy();
        EXPECT_TRUE(std::equal(file_bytes.begin(), file_bytes.end(), memory.begin() + 0x100));
        EXPECT_EQ(host.macros.ListName(1), "A");
        EXPECT_EQ(host.macros.ListName(2), "");
        EXPECT_EQ(host.macros.ListName(4), "D");
        EXPECT_EQ(host.macros.slot_bytes[4], window_before.slot_bytes[4]);
        EXPECT_EQ(host.macros.changed, 0b10000u);  // slot 5 still waits for Apply
    }
}

}  // namespace
}  // namespace velq::test
