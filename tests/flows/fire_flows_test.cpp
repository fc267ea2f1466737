// The fire flows on the virtual mouse: the fire page's confirm, the default sets and the fire
// area file, and the rule that a fire area that is not the mouse's is never written.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "fire/fire_blocks.h"
#include "flow_fixture.h"
#include "flows/fire_flows.h"

namespace velq::test {
namespace {

class FireFlowsTest : public FlowFixture {
protected:
    void SetUp() override {
        FlowFixture::SetUp();
        ASSERT_TRUE(fire.LoadDefaultSets());
        ASSERT_TRUE(LoadFireDefaultSets(sets));
    }

    // The window's share after a fire flow: the fire page's copy follows the outcome.
    void ActOn(const FlowOutcome& outcome) {
        host.ActOn(outcome);
        if (outcome.shown) {
            page = outcome.shown->fire;
        }
        if (outcome.fire) {
            page = *outcome.fire;
        }
        if (outcome.fire_buttons) {
            buttons = outcome.fire_buttons;
        }
    }

    void ReadFireArea() { ActOn(fire.ReadFireArea(false)); }
    void WriteFireSection() { ActOn(fire.WriteFireSection(host.Pages(), page)); }

    // The page's edit of slot 1 (the PC-game set's click per shot): count 10, stop on release
    // cleared; the Y adjustment of slot 1 and the colour of slot 2 changed on the pages.
    void EditPage() {
        FireBlocks blocks;
        blocks.CopyFromArea(page.area);
        ASSERT_TRUE(blocks.ScanFireBlock(1, page.entry).has_value());
        ASSERT_EQ(blocks.EditParam(1, FireParam::kCount, 10), FireEditResult::kStored);
        ASSERT_TRUE(blocks.SetStopOnRelease(1, false, page.entry));
        blocks.CopyToArea(page.area);
        MouseConfig pages = host.shown;
        pages.fire_slots[0].y_adjust = -3;
        pages.fire_slots[1].colour = {1, 2, 3};
        host.page_values = pages;
    }

    std::vector<uint8_t> MouseBytes(SectionRange range) const {
        const VirtualMouse::Memory memory = mouse->MemoryCopy();
        return {memory.begin() + range.address, memory.begin() + range.End()};
    }

    FireFlows fire{link, protocol, host, state, flows};
    FireDefaultSets sets{};
    ShownFire page;
    std::optional<FireButtonStates> buttons;
};

TEST_F(FireFlowsTest, ConfirmWritesTheFourRegionsAsThePagesShowThem) {
    mouse->SetMemory(kFireAreaRange.address, sets[1]);
    PlugIn();
    page = host.shown_names.fire;
    EXPECT_FALSE(page.read);
    ReadFireArea();
    ASSERT_TRUE(page.read);
    ASSERT_EQ(page.area, sets[1]);
    EditPage();
    Forget();

    WriteFireSection();

    EXPECT_TRUE(host.messages.empty());
    for (const SectionRange range :
         {kFireEntryRange, kFireYOffsetRange, kFireColorRange, kFireAreaRange}) {
        EXPECT_EQ(Writes(range.address, range.size), 1) << range.address;
    }
    EXPECT_EQ(Writes(0, kParameterAreaRange.size), 0);  // nothing else of the pages
    const std::vector<uint8_t> area = MouseBytes(kFireAreaRange);
    EXPECT_EQ(area[0], 0);     // stop on release cleared
    EXPECT_EQ(area[3], 0x09);  // count 10
    FireMacroBlock slot1{};
    std::copy_n(area.begin(), slot1.size(), slot1.begin());
    EXPECT_TRUE(FireBlockChecksumOk(slot1));
    EXPECT_TRUE(
        std::equal(area.begin() + kFireBlockSize, area.end(), sets[1].begin() + kFireBlockSize));
    EXPECT_EQ(MouseBytes(kFireEntryRange)[0], 0x0B);  // runs to its end now
    EXPECT_EQ(MouseBytes(kFireYOffsetRange)[0], 0xFD);
    EXPECT_EQ(MouseBytes(kFireYOffsetRange)[1], 0x02);  // the pair (v, 255 - v)
    EXPECT_EQ(MouseBytes(kFireColorRange)[3], 1);
    EXPECT_EQ(MouseBytes(kFireColorRange)[5], 3);

    // The next Apply finds the fire tables written: it writes them as they are now.
    Forget();
    Apply();
    EXPECT_EQ(MouseBytes(kFireYOffsetRange)[0], 0xFD);
    EXPECT_EQ(MouseBytes(kFireAreaRange)[3], 0x09);
}

TEST_F(FireFlowsTest, AFireAreaThatIsNotTheMousesIsNeverWritten) {
    mouse->SetMemory(kFireAreaRange.address, sets[1]);
    PlugIn();
    page = host.shown_names.fire;  // the fire area of the mouse was never read
    EXPECT_FALSE(page.read);
    page.area = sets[2];  // what the page shows is not the mouse's
    EditPage();
    const VirtualMouse::Memory before = mouse->MemoryCopy();
    Forget();

    WriteFireSection();
    EXPECT_TRUE(Said(kReadFailedMessage));
    Apply();  // the parameters go, the page's fire area does not
    EXPECT_EQ(Writes(kFireAreaRange.address, kFireAreaRange.size), 0);
    EXPECT_EQ(Writes(kFireEntryRange.address, kFireEntryRange.size), 0);
    EXPECT_TRUE(std::equal(before.begin() + kFireAreaRange.address,
                           before.begin() + kFireAreaRange.End(),
                           mouse->MemoryCopy().begin() + kFireAreaRange.address));

    // A fire area read that fails leaves it so.
    mouse->RefuseCommand(Command::kReadBegin, 1000);
    ReadFireArea();
    EXPECT_FALSE(page.read);
    EXPECT_FALSE(state.fire_area_read);
    mouse->RefuseCommand(Command::kReadBegin, 0);

    // Nor is a page's copy that was not shown as the mouse's, even once the mouse's was read.
    ReadFireArea();
    ASSERT_TRUE(state.fire_area_read);
    ShownFire stale = page;
    stale.read = false;
    stale.area = sets[2];
    Forget();
    ActOn(fire.WriteFireSection(host.Pages(), stale));
    EXPECT_TRUE(Said(kReadFailedMessage));
    EXPECT_EQ(Writes(kFireAreaRange.address, kFireAreaRange.size), 0);
}

TEST_F(FireFlowsTest, EveryFireWriteSaysWhyItFailed) {
    struct Case {
        const char* name;
        std::function<void(VirtualMouse&)> fault;
        const char* key;
    };
    const std::vector<Case> cases = {
        {"mouse not answering", [](VirtualMouse& m) { m.NakNextExchanges(1000); },
         kNotAnsweringMessage},
        {"writes not permitted", [](VirtualMouse& m) { m.SetWriteEnabled(false); },
         kWriteNotPermittedMessage},
        {"unknown chip", [](VirtualMouse& m) { m.SetChipCode(0); }, kUnknownChipMessage},
        {"WriteBegin refused", [](VirtualMouse& m) { m.RefuseCommand(Command::kWriteBegin, 1000); },
         "Str109"},
    };
    const std::vector<std::pair<const char*, std::function<void()>>> flows_run = {
        {"confirm", [this] { WriteFireSection(); }},
        {"default set", [this] { ActOn(fire.LoadFireDefaults(2)); }},
    };
    for (const auto& [flow_name, run] : flows_run) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(flow_name) + ": " + c.name);
            mouse = std::make_shared<VirtualMouse>(state.defaults.eeprom[0]);
            backend = VirtualBackend{mouse};
            ResetState();
            link.SetLastInterfaceCount(0);
            link.DropDevice();
            PlugIn();
            ReadFireArea();
            ASSERT_TRUE(page.read);
            const VirtualMouse::Memory before = mouse->MemoryCopy();
            c.fault(*mouse);
            Forget();
            run();
            EXPECT_TRUE(Said(c.key));
            EXPECT_EQ(mouse->MemoryCopy(), before);
            EXPECT_TRUE(host.Saw("Loading hidden"));
            EXPECT_TRUE(host.Saw("DevTimer on"));
        }
    }
}

TEST_F(FireFlowsTest, DefaultSetsGoIntoTheMouseAndSetTheButtons) {
    PlugIn();
    struct Case {
        int set;
        FireButtonStates buttons;
    };
    for (const Case c : {Case{1, {true, false}}, Case{0, {false, true}}, Case{2, {true, false}}}) {
        SCOPED_TRACE(c.set);
        Forget();
        ActOn(fire.LoadFireDefaults(c.set));
        EXPECT_TRUE(host.messages.empty());
        EXPECT_EQ(Writes(kFireAreaRange.address, kFireAreaRange.size), 1);
        EXPECT_EQ(MouseBytes(kFireAreaRange),
                  std::vector<uint8_t>(sets[static_cast<size_t>(c.set)].begin(),
                                       sets[static_cast<size_t>(c.set)].end()));
        EXPECT_EQ(page.area, sets[static_cast<size_t>(c.set)]);  // the page shows the set
        EXPECT_TRUE(page.read);
        ASSERT_TRUE(buttons.has_value());
        EXPECT_EQ(*buttons, c.buttons);
    }
}

TEST_F(FireFlowsTest, OnlyAFireAreaFileOf256BytesIsImported) {
    PlugIn();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("velq-fire-import-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto file_of = [this, &folder](size_t size) {
        const std::filesystem::path file = folder / (std::to_string(size) + ".bin");
        std::ofstream out(file, std::ios::binary);
        for (size_t i = 0; i < size; ++i) {
            out.put(static_cast<char>(i < 240 ? sets[1][i] : 0x5A));
        }
        return file;
    };
    for (const size_t size : {size_t{0}, size_t{255}, size_t{257}, size_t{4096}}) {
        SCOPED_TRACE(size);
        Forget();
        ActOn(fire.ImportFireArea(file_of(size)));
        EXPECT_TRUE(Said(kNotAFireAreaFileMessage));
        EXPECT_EQ(Writes(kFireAreaRange.address, kFireAreaRange.size), 0);
    }
    Forget();
    ActOn(fire.ImportFireArea(file_of(256)));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Writes(kFireAreaRange.address, kFireAreaRange.size), 1);
    EXPECT_EQ(MouseBytes(kFireAreaRange)[3], sets[1][3]);
    EXPECT_EQ(MouseBytes(kFireAreaRange)[255], 0x5A);
    EXPECT_EQ(page.area[3], sets[1][3]);  // the page shows what was imported
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace velq::test
