// Giving buttons macros of the library through the real window on the virtual mouse: the pick
// list of the function menu, the slot each macro takes, the refusals, what Apply writes into the
// mouse and what a later read shows, and the factory page's base macro import.
#include <QListWidget>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/checksum.h"
#include "gui_flows/gui_flows_fixture.h"
#include "macros/macro_library.h"
#include "macros/macro_name.h"
#include "macros/macro_slots.h"
#include "macros/macro_test_util.h"
#include "macros/ui/macro_page.h"

namespace velq::ui::testing {
namespace {

// A device-form content of one key event whose byte tells the macros apart.
MacroContent ContentOf(uint8_t key, uint8_t flag) {
    MacroContent content{};
    content[0] = flag;
    const uint8_t tokens[] = {0x10, key};
    content[1] = static_cast<uint8_t>(std::size(tokens) + 1);
    std::copy(std::begin(tokens), std::end(tokens), content.begin() + 2);
    content[2 + std::size(tokens)] =
        SectionChecksum(std::span<const uint8_t>(content).subspan(1, std::size(tokens) + 1));
    return content;
}

class MacroSlots : public GuiFlowsTest {
protected:
    void SetUp() override {
        // The library lives in a folder of this test's own, made before the window loads it.
        folder = std::filesystem::temp_directory_path() /
                 ("velq-macro-slots-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        const char* old = std::getenv("XDG_DATA_HOME");
        old_data_home = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
        setenv("XDG_DATA_HOME", folder.c_str(), 1);
        GuiFlowsTest::SetUp();
        StartReady();
        auto* page = rig.window->PageOf<MacroPage>();
        ASSERT_NE(page, nullptr);
        library = page->library();
        ASSERT_NE(library, nullptr);
    }

    void TearDown() override {
        controller.reset();
        if (old_data_home) {
            setenv("XDG_DATA_HOME", old_data_home->c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
        std::filesystem::remove_all(folder);
    }

    // A library macro named `name`.
    void AddMacro(const std::u16string& name, uint8_t key, uint8_t flag = kPlayToEndFlag) {
        ASSERT_TRUE(library->New(name));
        ASSERT_TRUE(library->SetContent(library->Count() - 1, ContentOf(key, flag)));
    }

    // Opens the menu of `button` (a main-page label or a factory-page column button), points at
    // its macro entry and clicks the `index`-th name of the pick list.
    void Pick(const char* button, int index) {
        rig.Click(button);
        rig.Enter("Key_Macro");
        auto* list = qobject_cast<QListWidget*>(rig.Control("LB_Name"));
        ASSERT_NE(list, nullptr);
        ASSERT_TRUE(list->isVisible()) << button;
        ASSERT_LT(index, list->count());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(index)).center());
    }

    std::string CodeOf(int button) const {
        return CodeText(rig.window->shown_config().office[static_cast<size_t>(button - 1)]);
    }

    std::vector<uint8_t> SlotInMouse(int slot) const {
        const auto memory = mouse->MemoryCopy();
        const auto at = memory.begin() + kMacroSlotAddresses[static_cast<size_t>(slot - 1)];
        return {at, at + kMacroSlotSize};
    }

    std::vector<uint8_t> LibraryRecord(size_t index) const {
        const auto record = library->Record(index);
        return {record.begin(), record.end()};
    }

    std::filesystem::path folder;
    std::optional<std::string> old_data_home;
    MacroLibrary* library = nullptr;
};

TEST_F(MacroSlots, APickedMacroIsShownWrittenByApplyAndNamedAfterTheNextRead) {
    AddMacro(u"Burst", 0x04);
    AddMacro(u"Hold", 0x05, kStopOnReleaseFlag);
    rig.Click("Key2");
    rig.Enter("Key_Macro");
    auto* list = qobject_cast<QListWidget*>(rig.Control("LB_Name"));
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "Burst");
    EXPECT_EQ(list->item(1)->text(), "Hold");
    EXPECT_EQ(list->visualItemRect(list->item(1)).height(), 20);
    // As tall as its two names.
    EXPECT_EQ(list->height(), 2 * 20 + 2 * list->frameWidth());
    rig.Enter("Key_Standard");

    Pick("Key2", 0);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(Text("Key2"), "Burst");
    EXPECT_EQ(CodeOf(2), "060121");
    Pick("Key3", 1);
    EXPECT_EQ(Text("Key3"), "Hold");
    EXPECT_EQ(CodeOf(3), "0E0221");
    EXPECT_TRUE(rig.messages.messages().empty());
    // Nothing reaches the mouse before Apply.
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);

    RunFlow("Btn_Apply_1");
    EXPECT_EQ(Writes(0x100, 32), 1);
    EXPECT_EQ(Writes(0x120, 224), 1);
    EXPECT_EQ(Writes(0x200, 32), 1);
    EXPECT_EQ(Writes(0x220, 224), 1);
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 5);
    EXPECT_EQ(SlotInMouse(1), LibraryRecord(0));
    EXPECT_EQ(SlotInMouse(2), LibraryRecord(1));

    // Apply again: the slots are the mouse's now.
    mouse->ClearRequests();
    RunFlow("Btn_Apply_1");
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 1);

    // A fresh start reads the mouse: the buttons are named after the slots it holds, and the
    // same macro picked again goes back into its slot.
    controller.reset();
    StartReady();
    EXPECT_EQ(Text("Key2"), "Burst");
    EXPECT_EQ(Text("Key3"), "Hold");
    Pick("Key4", 1);
    EXPECT_EQ(CodeOf(4), "0E0221");
}

TEST_F(MacroSlots, NoFreeSlotAndTheLastLeftClickAreRefusedWithTheirMessages) {
    for (char16_t c = u'A'; c <= u'G'; ++c) {
        AddMacro(std::u16string(1, c), static_cast<uint8_t>(c));
    }
    // The only left click keeps its function.
    const QString left_click = Text("Key1");
    Pick("Key1", 0);
    EXPECT_EQ(Text("Key1"), left_click);
    EXPECT_EQ(CodeOf(1), "010100");
    EXPECT_TRUE(Said("Str108"));
    rig.messages.Clear();

    // Slots 1..4 from the main page; the factory page reaches slots 1..4 only.
    for (int button = 2; button <= 5; ++button) {
        Pick(QStringLiteral("Key%1").arg(button).toLatin1().constData(), button - 2);
        EXPECT_EQ(CodeOf(button), "060" + std::to_string(button - 1) + "21");
    }
    OpenWithFactoryPage(Page::kEngineering);
    const QString before = Text("btn_Key106");
    Pick("btn_Key106", 4);
    EXPECT_TRUE(Said("Str104"));
    EXPECT_EQ(Text("btn_Key106"), before);
    EXPECT_EQ(CodeOf(6), CodeText(rig.window->shown_config().office[5]));
    // Reassigning a column button that plays slot 4 uses that slot.
    Pick("btn_Key105", 4);
    EXPECT_EQ(Text("btn_Key105"), "E");
    EXPECT_EQ(CodeOf(5), "060421");
    rig.messages.Clear();

    // The main page goes on to slots 5 and 6, then has no room.
    rig.window->ClickTab(Page::kOffice);
    Pick("Key6", 3);
    EXPECT_EQ(CodeOf(6), "060621");
    Pick("Key7", 5);
    EXPECT_EQ(CodeOf(7), "060721");
    const std::string key8 = CodeOf(8);
    Pick("Key8", 6);
    EXPECT_TRUE(Said("Str104"));
    EXPECT_EQ(CodeOf(8), key8);
}

TEST_F(MacroSlots, TheBaseMacroImportWritesFourSlotsAndRenamesTheirButtons) {
    AddMacro(u"Burst", 0x04);
    Pick("Key2", 0);
    RunFlow("Btn_Apply_1");
    ASSERT_EQ(Text("Key2"), "Burst");

    std::vector<uint8_t> bytes(1024, 0xFF);
    const MacroName spray = MakeMacroName(u"Spray");
    std::copy(spray.begin(), spray.end(), bytes.begin());
    const MacroContent content = ContentOf(0x09, kPlayToEndFlag);
    std::copy(content.begin(), content.end(), bytes.begin() + 32);
    const auto write = [&](const char* name, size_t size) {
        const std::filesystem::path path = folder / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(size));
        return QString::fromStdString(path.string());
    };
    OpenWithFactoryPage(Page::kEngineering);
    auto* tabs = qobject_cast<QTabWidget*>(rig.Control("Pg_Parameter"));
    ASSERT_NE(tabs, nullptr);
    tabs->setCurrentWidget(rig.Control("ts_Engineer"));
    mouse->ClearRequests();

    rig.files.QueueAnswer(write("short.bin", 100));
    RunFlow("Btn_ImportBaseMacro");
    EXPECT_TRUE(Said("Str102"));
    EXPECT_EQ(mouse->CountRequests(Command::kWriteBegin), 0);
    EXPECT_EQ(Text("btn_Key102"), "Burst");

    rig.files.QueueAnswer(write("base.bin", 1024));
    RunFlow("Btn_ImportBaseMacro");
    EXPECT_EQ(Writes(0x100, 1024), 1);
    EXPECT_EQ(SlotInMouse(1), std::vector<uint8_t>(bytes.begin(), bytes.begin() + 256));
    EXPECT_EQ(Text("btn_Key102"), "Spray");
    rig.window->ClickTab(Page::kOffice);
    EXPECT_EQ(Text("Key2"), "Spray");
    ASSERT_FALSE(rig.files.requests().empty());
    EXPECT_EQ(rig.files.requests().back().filter, QStringLiteral("LoadFile (*.bin)"));
}

TEST_F(MacroSlots, ALibraryChangeReachesTheSlotsThatHoldTheMacroWithTheNextApply) {
    AddMacro(u"Burst", 0x04);
    AddMacro(u"Idle", 0x05);
    // Events the editor shows: a press, a wait and a release.
    for (size_t index = 0; index < 2; ++index) {
        ASSERT_TRUE(
            library->SetContent(index, test::DeviceContent({0x82, 0x04, 0xFE, 0x0C, 0x02, 0x04})));
    }
    Pick("Key2", 0);
    RunFlow("Btn_Apply_1");
    ASSERT_EQ(SlotInMouse(1), LibraryRecord(0));
    const std::vector<uint8_t> first = SlotInMouse(1);

    // The repeat option of the macro a button plays: three passes, stored at once and written
    // by the next Apply, though no event changed.
    rig.window->ClickTab(Page::kMacro);
    auto* page = rig.window->PageOf<MacroPage>();
    page->editor().Show(library, 0);
    rig.Click("IB_CircleTimes");
    Type("Edt_Circle_Times", "3");
    const std::vector<uint8_t> three_times = LibraryRecord(0);
    ASSERT_EQ(three_times[kMacroNameSize + 2], 0xFD);
    ASSERT_EQ(three_times[kMacroNameSize + 3], 0x02);
    EXPECT_EQ(SlotInMouse(1), first);  // nothing reaches the mouse before Apply
    mouse->ClearRequests();
    RunFlow("Btn_Apply_1");
    EXPECT_EQ(Writes(0x120, 224), 1);
    EXPECT_EQ(SlotInMouse(1), three_times);

    // The release option changes how the button plays the slot too.
    rig.Click("IB_ReleaseStop");
    EXPECT_EQ(CodeOf(2), "0E0121");
    RunFlow("Btn_Apply_1");
    EXPECT_EQ(SlotInMouse(1), LibraryRecord(0));
    EXPECT_EQ(SlotInMouse(1)[kMacroNameSize], kStopOnReleaseFlag);

    // A change to a macro no button plays writes nothing.
    page->editor().Show(library, 1);
    rig.Click("IB_CircleAll");
    mouse->ClearRequests();
    const auto memory = mouse->MemoryCopy();
    RunFlow("Btn_Apply_1");
    for (int slot = 1; slot <= static_cast<int>(kMacroSlotCount); ++slot) {
        const auto name = MacroSlotNameAddress(slot);
        ASSERT_TRUE(name.has_value());
        EXPECT_EQ(Writes(*name, 32), 0) << slot;
        EXPECT_EQ(Writes(static_cast<uint16_t>(*name + 32), 224), 0) << slot;
    }
    EXPECT_EQ(mouse->MemoryCopy(), memory);
    EXPECT_EQ(CodeOf(2), "0E0121");
}

}  // namespace
}  // namespace velq::ui::testing
