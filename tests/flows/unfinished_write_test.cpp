// A write that did not complete leaves nothing assumed: what the mouse holds where it reached is
// read before the next write of it, so that once the user has taken the edit back the mouse
// holds exactly what the pages show. A write that did complete leaves the pages and the flows'
// base holding what the mouse holds, so that an Apply with nothing changed changes no byte.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "config/config_codec.h"
#include "fire/fire_codes.h"
#include "flow_fixture.h"
#include "flows/fire_flows.h"
#include "macros/device_macros.h"
#include "mouse_images.h"

namespace velq::test {
namespace {

// Stops block transfers once `after` chunk boundaries have passed, as the loading window's
// Cancel does.
class CancelAfter final : public TransferUi {
public:
    explicit CancelAfter(int after) : after_(after) {}
    bool StopRequested(TransferDirection /*direction*/) override { return ++boundaries_ > after_; }

private:
    int after_;
    int boundaries_ = 0;
};

std::vector<FunctionCode> BothProfiles(const MouseConfig& config) {
    std::vector<FunctionCode> codes(config.office.begin(), config.office.end());
    codes.insert(codes.end(), config.gaming.begin(), config.gaming.end());
    return codes;
}

// RichImage with macros whose contents pass their check in every slot, so that the window's copy
// of a slot read from the mouse is the slot byte for byte.
VirtualMouse::Memory RichImageWithMacros(const DataBuf& base) {
    VirtualMouse::Memory memory = RichImage(base);
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        const MacroSlotBytes macro =
            LibraryMacro(u"Macro " + std::u16string(1, static_cast<char16_t>(u'1' + s)),
                         static_cast<uint8_t>(4 + s));
        std::copy(macro.begin(), macro.end(), memory.begin() + kMacroSlotBase[s]);
    }
    return memory;
}

// The checked sections of the parameter area whose check fails in `memory`.
std::vector<SectionRange> DamagedSections(const VirtualMouse::Memory& memory) {
    DataBuf image;
    std::copy(memory.begin(), memory.end(), image.begin());
    SectionCopies copies;
    FillSectionCopies(image, copies);
    std::vector<SectionRange> damaged;
    const auto differs = [&image, &damaged](SectionRange range, std::span<const uint8_t> copy) {
        if (!std::equal(copy.begin(), copy.end(), image.begin() + range.address)) {
            damaged.push_back(range);
        }
    };
    differs(kParameterARange, copies.parameter_a);
    differs(kParameterBRange, copies.parameter_b);
    differs(kProfileRange, copies.profile);
    differs(kFireKeyRange, copies.fire_key);
    return damaged;
}

class UnfinishedWrites : public FlowFixture {
protected:
    void SetUp() override {
        FlowFixture::SetUp();
        ASSERT_TRUE(fire.LoadDefaultSets());
        ASSERT_TRUE(LoadFireDefaultSets(sets));
        base_file = std::filesystem::temp_directory_path() /
                    ("velq-unfinished-" + std::to_string(::getpid()) + "-" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bin");
        std::ofstream out(base_file, std::ios::binary);
        for (int s = 1; s <= 4; ++s) {
            const MacroSlotBytes macro =
                LibraryMacro(u"Base " + std::u16string(1, static_cast<char16_t>(u'0' + s)),
                             static_cast<uint8_t>(0x20 + s));
            out.write(reinterpret_cast<const char*>(macro.data()), macro.size());
        }
    }
    void TearDown() override { std::filesystem::remove(base_file); }

    // A fresh mouse holding `memory`, found and read whole, with its fire area read as the fire
    // page's opening reads it: the pages show all of it.
    void Start(const VirtualMouse::Memory& memory) {
        mouse = std::make_shared<VirtualMouse>(memory);
        backend = VirtualBackend{mouse};
        ResetState();
        link.SetLastInterfaceCount(0);
        link.DropDevice();
        host.page_values.reset();
        PlugIn();
        ReadAll();
    }
    void ReadAll() {
        ASSERT_TRUE(ReadAfterIdentification(true));
        ActOn(fire.ReadFireArea(false));
        ASSERT_TRUE(page.read);
    }

    // The window's share after a flow, the fire page's copy included.
    void ActOn(const FlowOutcome& outcome) {
        host.ActOn(outcome);
        if (outcome.shown) {
            page = outcome.shown->fire;
        }
        if (outcome.fire) {
            page = *outcome.fire;
        }
    }

    // An edit on the pages.
    void Edit(const std::function<void(MouseConfig&)>& edit) {
        MouseConfig pages = host.Pages();
        edit(pages);
        host.page_values = pages;
    }

    void ApplyWithFire() { ActOn(flows.Apply(host.Pages(), host.macros, page)); }
    void ConfirmWithFire() { ActOn(flows.Confirm(host.Pages(), host.macros, page)); }
    void WriteFireSection() { ActOn(fire.WriteFireSection(host.Pages(), page)); }

    // The mouse holds exactly what the pages show: the configuration, every slot the window's
    // copy does not mark as waiting for Apply, and the fire area and its play modes.
    void ExpectMouseHoldsWhatThePagesShow() {
        const VirtualMouse::Memory memory = mouse->MemoryCopy();
        DataBuf image;
        std::copy(memory.begin(), memory.end(), image.begin());
        SectionCopies copies;
        EXPECT_FALSE(FillSectionCopies(image, copies)) << "a damaged section";
        EXPECT_TRUE(DecodeConfig(copies) == host.Pages()) << "the configuration";
        for (size_t s = 0; s < kMacroSlotCount; ++s) {
            if (((host.macros.changed >> s) & 1u) != 0) {
                continue;
            }
            EXPECT_TRUE(std::equal(host.macros.slot_bytes[s].begin(),
                                   host.macros.slot_bytes[s].end(),
                                   memory.begin() + kMacroSlotBase[s]))
                << "slot " << s + 1 << " holds what the window's copy names it";
        }
        EXPECT_TRUE(page.read) << "the fire page shows the mouse's fire area";
        EXPECT_TRUE(std::equal(page.area.begin(), page.area.begin() + kFireBlocksSize,
                               memory.begin() + kFireAreaRange.address))
            << "the fire blocks";
        EXPECT_TRUE(std::equal(page.entry.begin(), page.entry.end(),
                               memory.begin() + kFireEntryRange.address))
            << "the play modes";
    }

    FireFlows fire{link, protocol, host, state, flows};
    FireDefaultSets sets{};
    ShownFire page;
    std::optional<CancelAfter> cancel;
    std::filesystem::path base_file;
};

// Every writing flow against every fault the mouse can show, then the user's edit taken back on
// the pages and a second write: the mouse holds what the pages show, byte for byte as before
// the edit where the edit was taken back.
TEST_F(UnfinishedWrites, AfterAFailedWriteAndAnUndoTheMouseHoldsWhatThePagesShow) {
    const VirtualMouse::Memory rich = RichImageWithMacros(state.defaults.eeprom[0]);
    MouseConfig original;
    ShownFire original_page;
    const auto other_level = [](uint8_t value) {
        return static_cast<uint8_t>(value == 9 ? 10 : 9);
    };
    // A byte of the fire area the PC-game set changes.
    uint16_t set_byte = kFireAreaRange.address;
    while (sets[2][set_byte - kFireAreaRange.address] == rich[set_byte]) {
        ++set_byte;
    }

    struct WritingFlow {
        const char* name;
        std::function<void()> write;  // the user's edit and the write
        std::function<void()> undo;   // the edit taken back on the pages
        std::function<void()> again;  // the next write
        uint16_t changed;             // a byte the write changes
    };
    const std::vector<WritingFlow> writing_flows = {
        {"Apply (DPI level 2)",
         [&] {
             Edit([&](MouseConfig& c) {
                 c.dpi.levels[1].value = other_level(c.dpi.levels[1].value);
             });
             ApplyWithFire();
         },
         [&] { Edit([&](MouseConfig& c) { c.dpi.levels[1] = original.dpi.levels[1]; }); },
         [&] { ApplyWithFire(); }, static_cast<uint16_t>(kDpiValueOffset + 1)},
        {"Confirm (DPI level 2)",
         [&] {
             Edit([&](MouseConfig& c) {
                 c.dpi.levels[1].value = other_level(c.dpi.levels[1].value);
             });
             ConfirmWithFire();
         },
         [&] { Edit([&](MouseConfig& c) { c.dpi.levels[1] = original.dpi.levels[1]; }); },
         [&] { ConfirmWithFire(); }, static_cast<uint16_t>(kDpiValueOffset + 1)},
        {"Apply after a macro pick (office button 3)",
         [&] {
             Edit([&](MouseConfig& c) {
                 const MacroAssignment given =
                     AssignMacro(host.macros, BothProfiles(c), 2, LibraryMacro(u"Picked", 0x07),
                                 AssignTarget::kMainPage);
                 ASSERT_TRUE(given);
                 c.office[2] = given.code;
             });
             ApplyWithFire();
         },
         [&] { Edit([&](MouseConfig& c) { c.office[2] = original.office[2]; }); },
         [&] { ApplyWithFire(); }, static_cast<uint16_t>(kProfileAddress + 6)},
        {"fire page's confirm (Y adjustment, a fire block)",
         [&] {
             Edit([](MouseConfig& c) { c.fire_slots[0].y_adjust = -3; });
             page.area[3] ^= 0x40;
             WriteFireSection();
         },
         [&] {
             Edit([&](MouseConfig& c) { c.fire_slots[0] = original.fire_slots[0]; });
             page.area = original_page.area;
             page.entry = original_page.entry;
         },
         [&] { WriteFireSection(); }, static_cast<uint16_t>(kFireAreaRange.address + 3)},
        {"base macro import, then Apply",
         [&] { ActOn(flows.ImportBaseMacro(base_file, host.macros)); }, [] {},
         [&] { ApplyWithFire(); }, static_cast<uint16_t>(kMacroSlotBase[0] + kMacroNameSize + 3)},
        {"fire default set, then the fire page's confirm", [&] { ActOn(fire.LoadFireDefaults(2)); },
         [&] {
             page.area = original_page.area;
             page.entry = original_page.entry;
         },
         [&] { WriteFireSection(); }, set_byte},
    };

    struct Fault {
        const char* name;
        std::function<void(uint16_t changed)> inject;
        std::function<void()> clear;
        bool completes = false;  // the write completes all the same
    };
    const std::vector<Fault> faults = {
        {"mouse not answering", [&](uint16_t) { mouse->NakNextExchanges(1000); },
         [&] { mouse->NakNextExchanges(0); }},
        {"not this firmware", [&](uint16_t) { mouse->SetSignature(0x00); },
         [&] { mouse->SetSignature(kStatusSignature); }},
        {"no write permission", [&](uint16_t) { mouse->SetWriteEnabled(false); },
         [&] { mouse->SetWriteEnabled(true); }},
        {"WriteBegin refused", [&](uint16_t) { mouse->RefuseCommand(Command::kWriteBegin, 1000); },
         [&] { mouse->RefuseCommand(Command::kWriteBegin, 0); }},
        {"a chunk never acknowledged", [&](uint16_t) { mouse->NeverAcknowledgeWriteChunk(3); },
         [&] { mouse->NeverAcknowledgeWriteChunk(-1); }},
        {"Reload not acknowledged", [&](uint16_t) { mouse->RefuseCommand(Command::kReload, 1000); },
         [&] { mouse->RefuseCommand(Command::kReload, 0); }},
        {"a late answer, read back and repaired",
         [&](uint16_t) { mouse->LoseFirstAnswerOfWriteChunk(1); },
         [&] { mouse->LoseFirstAnswerOfWriteChunk(-1); }, true},
        {"a late answer, and a byte the mouse does not store",
         [&](uint16_t changed) {
             mouse->LoseFirstAnswerOfWriteChunk(1);
             mouse->StickByte(changed);
         },
         [&] { mouse->LoseFirstAnswerOfWriteChunk(-1); }},
        {"cancelled after three chunks",
         [&](uint16_t) { protocol.SetTransferUi(&cancel.emplace(4)); },
         [&] { protocol.SetTransferUi(nullptr); }},
        {"out of time", [&](uint16_t) { mouse->HangAfterRequests(30, clock, 1000); },
         [&] { mouse->AnswerAgain(); }},
        {"unplugged", [&](uint16_t) { mouse->UnplugAfterExchanges(30); },
         [&] {
             mouse->UnplugAfterExchanges(-1);
             Pass();
             mouse->SetPlugged(true);
             Pass();
             ReadAll();
         }},
    };

    for (const WritingFlow& flow : writing_flows) {
        for (const Fault& fault : faults) {
            SCOPED_TRACE(std::string(flow.name) + ", " + fault.name);
            Start(rich);
            const VirtualMouse::Memory before = mouse->MemoryCopy();
            original = host.shown;
            original_page = page;
            fault.inject(flow.changed);
            Forget();
            flow.write();
            const std::vector<SectionRange> torn = DamagedSections(mouse->MemoryCopy());
            const auto damaged = [&torn](size_t address) {
                return std::any_of(torn.begin(), torn.end(), [address](SectionRange range) {
                    return address >= range.address && address < range.End();
                });
            };
            fault.clear();
            EXPECT_EQ(host.messages.empty(), fault.completes) << "the failure is said";

            flow.undo();
            Forget();
            flow.again();
            EXPECT_TRUE(host.messages.empty())
                << host.messages.front().keys.front() << " after the second write";
            ExpectMouseHoldsWhatThePagesShow();
            // Byte for byte as before the edit, but for the bytes no setting covers in a
            // section the failed write left damaged: they were repaired, as after any read.
            const VirtualMouse::Memory after = mouse->MemoryCopy();
            for (size_t i = 0; i < kParameterAreaRange.size; ++i) {
                if (!damaged(i)) {
                    EXPECT_EQ(after[i], before[i]) << "byte " << i;
                }
            }
        }
    }
}

// The case, step by step: a refused Apply, the level set back, Apply again.
TEST_F(UnfinishedWrites, TheLevelSetBackReachesTheMouseAfterARefusedApply) {
    Start(RichImage(state.defaults.eeprom[0]));
    const VirtualMouse::Memory before = mouse->MemoryCopy();
    const uint8_t level2 = host.shown.dpi.levels[1].value;
    mouse->NeverAcknowledgeWriteChunk(20);  // the new level is stored, the write fails
    Edit([&](MouseConfig& c) { c.dpi.levels[1].value = static_cast<uint8_t>(level2 + 1); });
    ApplyWithFire();
    mouse->NeverAcknowledgeWriteChunk(-1);
    EXPECT_TRUE(Said("Str109"));
    EXPECT_EQ(mouse->MemoryCopy()[kDpiValueOffset + 1], level2 + 1);
    EXPECT_TRUE(state.unknown.parameters);

    Edit([&](MouseConfig& c) { c.dpi.levels[1].value = level2; });
    Forget();
    ApplyWithFire();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(mouse->MemoryCopy(), before);
    EXPECT_FALSE(state.unknown.Any());
    // The areas the failed write reached (the parameters and the fire area) were read in a
    // transaction of their own before the write.
    EXPECT_EQ(mouse->CountRequests(Command::kClose), 2);
    EXPECT_EQ(mouse->CountRequests(Command::kReadBegin), 2);
}

// An area whose content is unknown is never written blind: when its read fails, nothing is
// written, the user is told, and it stays unknown.
TEST_F(UnfinishedWrites, AWriteWhoseAreaCannotBeReadDoesNotStart) {
    const std::vector<std::pair<const char*, std::function<void()>>> writes = {
        {"Apply", [this] { ApplyWithFire(); }},
        {"fire page's confirm", [this] { WriteFireSection(); }},
    };
    for (const auto& [name, write] : writes) {
        SCOPED_TRACE(name);
        Start(RichImage(state.defaults.eeprom[0]));
        mouse->SetWriteEnabled(false);
        Edit([](MouseConfig& c) { c.fire_slots[0].y_adjust = 5; });
        WriteFireSection();
        mouse->SetWriteEnabled(true);
        ASSERT_TRUE(state.unknown.parameters);
        const VirtualMouse::Memory before = mouse->MemoryCopy();
        page.area[5] ^= 0x11;
        const ShownFire edited = page;
        mouse->NeverAnswerReadChunk(2);
        Forget();
        write();
        mouse->NeverAnswerReadChunk(-1);
        EXPECT_TRUE(Said(kReadFailedMessage));
        EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
        EXPECT_EQ(mouse->MemoryCopy(), before);
        EXPECT_TRUE(state.unknown.parameters);
        EXPECT_FALSE(host.pages_covered);
        // The user's edits stay.
        EXPECT_EQ(host.Pages().fire_slots[0].y_adjust, 5);
        EXPECT_EQ(page, edited);
    }
}

// Two aim keys of different DPIs: the one with the DPI the pages show is given another
// function. After that Apply the pages show the DPI the remaining aim key has, and the next
// Apply leaves it alone.
TEST_F(UnfinishedWrites, TheSecondApplyKeepsTheOtherAimKeysDpi) {
    Start(RichImage(state.defaults.eeprom[0]));
    ASSERT_EQ(host.shown.aim_dpi, 0x02);  // profile 2's aim key, the last one found
    Edit([](MouseConfig& c) { c.gaming[4] = {0x01, 0x02, 0x00}; });  // the right button
    ApplyWithFire();
    ASSERT_TRUE(host.messages.empty());
    const VirtualMouse::Memory after_first = mouse->MemoryCopy();
    EXPECT_EQ(after_first[kProfileAddress + 3 * 3 + 1], 0x05);
    EXPECT_EQ(host.shown.aim_dpi, 0x05);  // the pages show the aim key the mouse has left
    for (int n = 0; n < 3; ++n) {
        ApplyWithFire();
        EXPECT_EQ(mouse->MemoryCopy(), after_first) << "Apply " << n + 2;
    }
}

// A random image: the first built-in image with random DPI levels and colours, aim keys of
// different DPIs and macros on random buttons, and filled macro slots.
VirtualMouse::Memory RandomImage(std::mt19937& random, const DataBuf& base) {
    VirtualMouse::Memory memory;
    std::copy(base.begin(), base.end(), memory.begin());
    const auto below = [&random](int n) {
        return static_cast<uint8_t>(std::uniform_int_distribution<int>(0, n - 1)(random));
    };
    for (size_t level = 0; level < kDpiLevels; ++level) {
        memory[kDpiValueOffset + level] = below(12);
        for (size_t c = 0; c < 3; ++c) {
            memory[kDpiColorOffset + 3 * level + c] = below(256);
        }
    }
    memory[kParameterARange.size - 1] =
        SectionChecksum(std::span(memory).first(kParameterARange.size - 1));
    for (size_t s = 0; s < kMacroSlotCount; ++s) {
        const MacroSlotBytes macro =
            LibraryMacro(u"Slot " + std::u16string(1, static_cast<char16_t>(u'1' + s)), below(100));
        std::copy(macro.begin(), macro.end(), memory.begin() + kMacroSlotBase[s]);
    }
    const int aim_keys = 2 + below(3);
    for (int k = 0; k < aim_keys; ++k) {
        SetButton(memory, 1 + below(2), 3 + below(7), {0x0A, below(12), 0x00});
    }
    for (int k = below(3); k > 0; --k) {
        const int slot = 1 + below(6);
        SetButton(memory, 1 + below(2), 3 + below(7), MacroSlotCode(slot, 0));
    }
    return memory;
}

// Over random images with several aim keys: after a complete write the pages, the flows and the
// base of the next Apply agree, so an Apply with nothing changed changes no byte.
TEST_F(UnfinishedWrites, AnApplyWithNothingChangedChangesNoByte) {
    std::mt19937 random(24);
    const auto below = [&random](int n) {
        return static_cast<size_t>(std::uniform_int_distribution<int>(0, n - 1)(random));
    };
    // One of the aim keys (0..17, office first), where an edit moves the aim DPI decoded.
    const auto aim_key = [&below](const MouseConfig& config) {
        std::vector<size_t> keys;
        const std::vector<FunctionCode> buttons = BothProfiles(config);
        for (size_t b = 0; b < buttons.size(); ++b) {
            if (buttons[b].type == static_cast<uint8_t>(CodeType::kAIMKey)) {
                keys.push_back(b);
            }
        }
        return keys.empty() ? 2 + below(7) : keys[below(static_cast<int>(keys.size()))];
    };
    const auto button_of = [](MouseConfig& config, size_t b) -> FunctionCode& {
        return b < kButtonsPerProfile ? config.office[b] : config.gaming[b - kButtonsPerProfile];
    };
    struct Sequence {
        const char* name;
        std::function<void()> before_last_apply;
    };
    const std::vector<Sequence> sequences = {
        {"pick, Apply, Apply",
         [&] {
             Edit([&](MouseConfig& c) {
                 const size_t button = aim_key(c);
                 const MacroAssignment given =
                     AssignMacro(host.macros, BothProfiles(c), button,
                                 LibraryMacro(u"Picked", 0x30), AssignTarget::kMainPage);
                 if (given) {
                     button_of(c, button) = given.code;
                 }
             });
             ApplyWithFire();
         }},
        {"another function, Apply, Apply",
         [&] {
             Edit([&](MouseConfig& c) { button_of(c, aim_key(c)) = {0x01, 0x02, 0x00}; });
             ApplyWithFire();
         }},
        {"change, Apply, Read, Apply",
         [&] {
             Edit([&](MouseConfig& c) {
                 c.dpi.levels[below(4)].value = static_cast<uint8_t>(below(12));
                 button_of(c, aim_key(c)) = {0x01, 0x03, 0x00};
             });
             ApplyWithFire();
             ReadButton();
         }},
    };
    for (int image = 0; image < 40; ++image) {
        const VirtualMouse::Memory memory = RandomImage(random, state.defaults.eeprom[0]);
        for (const Sequence& sequence : sequences) {
            SCOPED_TRACE("image " + std::to_string(image) + ": " + sequence.name);
            Start(memory);
            sequence.before_last_apply();
            ASSERT_TRUE(host.messages.empty());
            const VirtualMouse::Memory before = mouse->MemoryCopy();
            ApplyWithFire();
            EXPECT_TRUE(host.messages.empty());
            EXPECT_EQ(mouse->MemoryCopy(), before);
        }
    }
}

}  // namespace
}  // namespace velq::test
