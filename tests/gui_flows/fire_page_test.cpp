// The fire macro page through the real window on the virtual mouse: opened from the gaming
// profile's function menu (reading the fire area once), the field rules stored in place, the
// rows of gun 6, the stop box, the colour and Y adjustment as settings of the configuration,
// and the confirm that names the button, stores the gun's code and writes the fire regions.
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include <gtest/gtest.h>

#include <vector>

#include "fire/fire_defaults.h"
#include "fire/ui/fire_page.h"
#include "gui_flows/gui_flows_fixture.h"
#include "image/memory_map.h"

namespace velq::ui::testing {
namespace {

constexpr uint16_t kGaming = kProfileRange.address + 27;
constexpr uint16_t kOffice = kProfileRange.address;

class FirePageTest : public GuiFlowsTest {
protected:
    void SetUp() override {
        GuiFlowsTest::SetUp();
        ASSERT_TRUE(LoadFireDefaultSets(sets));
        // The PC-game set, with slot 2 empty.
        FireArea area = sets[1];
        std::fill_n(area.begin() + kFireBlockSize, kFireBlockSize, 0);
        mouse->SetMemory(kFireAreaRange.address, area);
        StartReady();
        rig.Click("Btn_Second_1");
    }

    FirePage& Page() { return *rig.window->PageOf<FirePage>(); }
    const FireArea& Area() { return Page().Fire().area; }
    uint8_t SlotByte(int slot, int byte) { return Area()[kFireBlockSize * (slot - 1) + byte]; }

    // The function menu of `label`, its fire macro entry, and the fire area read.
    void OpenFirePage(const char* label) {
        Choose(label, {"Key_FireMacro"});
        ASSERT_TRUE(WaitFor([&] { return !controller->Busy(); }));
        ASSERT_EQ(rig.window->current_page(), velq::ui::Page::kFire);
    }

    void ConfirmAndWait() {
        rig.Click("Btn_FireConfirm");
        ASSERT_TRUE(WaitFor([&] { return !controller->Busy(); }));
    }

    bool Shown(const char* name) const {
        return rig.Control(name)->isVisibleTo(rig.Control(name)->parentWidget());
    }

    std::vector<uint8_t> StoredCode(uint16_t address) const {
        const VirtualMouse::Memory memory = mouse->MemoryCopy();
        return {memory[address], memory[address + 1u], memory[address + 2u]};
    }

    FireDefaultSets sets{};
};

TEST_F(FirePageTest, OpeningReadsTheFireAreaOnceAndShowsGunOne) {
    OpenFirePage("Key2");
    EXPECT_EQ(mouse->MemoryCopy()[kFireAreaRange.address], 1);
    EXPECT_TRUE(Page().Fire().read);
    EXPECT_EQ(Area()[3], 0xFF);
    EXPECT_EQ(rig.Picture("Img_Fire1"), QStringLiteral("Gun1_02"));
    EXPECT_EQ(rig.Picture("Img_Fire2"), QStringLiteral("Gun2_01"));
    // The panels and the X column are captioned; the right panel by the chosen gun.
    EXPECT_EQ(Text("lbl_Fire_Guns"), CaptionOf(1, "Str208"));
    EXPECT_EQ(Text("lbl_Fire_Marco_X"), CaptionOf(1, "Str863"));
    EXPECT_EQ(Text("lbl_Fire_Gun_Name"), CaptionOf(1, "Str600"));
    rig.Click("Btn_Fire4");
    EXPECT_EQ(Text("lbl_Fire_Gun_Name"), CaptionOf(1, "Str603"));
    ASSERT_TRUE(rig.window->SwitchLanguage(2).ok);
    EXPECT_EQ(Text("lbl_Fire_Gun_Name"), CaptionOf(2, "Str603"));
    ASSERT_TRUE(rig.window->SwitchLanguage(1).ok);
    rig.Click("Btn_Fire1");
    EXPECT_EQ(Text("Edt_FireCnt1"), QStringLiteral("256"));
    EXPECT_EQ(Text("Edt_FireY1"), QStringLiteral("4"));
    EXPECT_EQ(Text("Edt_FireTime1"), QStringLiteral("8"));
    EXPECT_EQ(rig.Picture("Img_FireRKFS1"), QStringLiteral("CbS_E"));
    EXPECT_TRUE(Shown("Edt_FireCnt1"));
    EXPECT_FALSE(Shown("Edt_FireCnt2"));
    // The window's own buttons stay where the other pages have them.
    for (const char* stem : {"Exit_", "Mini_"}) {
        const QString fire = QStringLiteral("Btn_%1").arg(QLatin1String(stem)) + QLatin1Char('5');
        const QString office = QStringLiteral("Btn_%1").arg(QLatin1String(stem)) + QLatin1Char('1');
        QWidget* button = rig.Control(fire.toLatin1().constData());
        ASSERT_NE(button, nullptr) << stem;
        EXPECT_TRUE(button->isVisible()) << stem;
        EXPECT_EQ(button->geometry(), rig.Control(office.toLatin1().constData())->geometry());
    }

    // Cancel keeps the edits; the second opening reads nothing.
    Type("Edt_FireCnt1", "10");
    rig.Click("Btn_FireExit");
    EXPECT_EQ(rig.window->current_page(), velq::ui::Page::kGaming);
    mouse->ClearRequests();
    OpenFirePage("Key2");
    EXPECT_TRUE(mouse->Requests().empty());
    EXPECT_EQ(Text("Edt_FireCnt1"), QStringLiteral("10"));
    EXPECT_EQ(Area()[3], 0x09);
}

TEST_F(FirePageTest, FieldsCorrectThemselvesAndStoreInPlace) {
    OpenWithFactoryPage(velq::ui::Page::kGaming);
    OpenFirePage("Key2");
    struct Case {
        const char* field;
        const char* typed;
        const char* shown;
        int byte;  // of slot 1's block
        uint8_t stored;
    };
    const Case cases[] = {
        {"Edt_FireCnt1", "300", "256", 3, 0xFF}, {"Edt_FireCnt1", "10", "10", 3, 0x09},
        {"Edt_FireX1", "-129", "-128", 7, 0x80}, {"Edt_FireY1", "200", "127", 9, 0x7F},
        {"Edt_FireY1", "100", "100", 9, 100},    {"Edt_FireTime1", "2047", "2040", 11, 0xFF},
        {"Edt_FireTime1", "15", "15", 11, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.typed);
        Type(c.field, c.typed);
        EXPECT_EQ(Text(c.field), QString::fromLatin1(c.shown));
        EXPECT_EQ(SlotByte(1, c.byte), c.stored);
        FireMacroBlock block{};
        std::copy_n(Area().begin(), block.size(), block.begin());
        EXPECT_TRUE(FireBlockChecksumOk(block));
    }
    // The Y adjustment is held against Y (100 + 27 = 127) and is a setting of the
    // configuration, shown on the factory page too.
    Type("Edt_FireY1Offset", "50");
    EXPECT_EQ(Text("Edt_FireY1Offset"), QStringLiteral("27"));
    EXPECT_EQ(rig.window->shown_config().fire_slots[0].y_adjust, 27);
    EXPECT_EQ(Text("edt_YOffset1"), QStringLiteral("27"));
    // A new Y starts without adjustment.
    Type("Edt_FireY1", "5");
    EXPECT_EQ(Text("Edt_FireY1Offset"), QStringLiteral("0"));
    EXPECT_EQ(rig.window->shown_config().fire_slots[0].y_adjust, 0);

    // An empty slot gets a new fire macro around the typed value: the click-per-shot shape,
    // stopping on release, and the row shows its other values.
    rig.Click("Btn_Fire2");
    ASSERT_EQ(rig.Picture("Img_FireRKFS1"), QStringLiteral("CbS_D"));
    Type("Edt_FireY1", "6");
    EXPECT_EQ(Text("Edt_FireY1"), QStringLiteral("6"));
    EXPECT_EQ(Text("Edt_FireCnt1"), QStringLiteral("256"));
    EXPECT_EQ(Text("Edt_FireX1"), QStringLiteral("0"));
    EXPECT_EQ(Text("Edt_FireTime1"), QStringLiteral("8"));
    EXPECT_EQ(rig.Picture("Img_FireRKFS1"), QStringLiteral("CbS_E"));
    const std::vector<uint8_t> want = {1,    12,   0xFD, 0xFF, 0xA1, 0x21, 0xFB,
                                       0x00, 0xFA, 6,    0xFE, 1,    0xFC};
    for (std::size_t byte = 0; byte < want.size(); ++byte) {
        EXPECT_EQ(SlotByte(2, static_cast<int>(byte)), want[byte]) << byte;
    }
    Type("Edt_FireCnt1", "5");
    EXPECT_EQ(Text("Edt_FireCnt1"), QStringLiteral("5"));
    EXPECT_EQ(SlotByte(2, 3), 4);
}

// A new user on a factory-fresh mouse makes a fire macro from the fire page alone, and the
// confirm writes it with the gun.
TEST_F(FirePageTest, ANewMouseGetsAFireMacroFromThePageAlone) {
    mouse->SetMemory(kFireAreaRange.address, sets[0]);
    OpenFirePage("Key2");
    EXPECT_EQ(Text("Edt_FireY1"), QStringLiteral("0"));
    Type("Edt_FireY1", "4");
    Type("Edt_FireTime1", "16");
    ConfirmAndWait();
    const VirtualMouse::Memory memory = mouse->MemoryCopy();
    FireMacroBlock stored{};
    std::copy_n(memory.begin() + kFireAreaRange.address, kFireBlockSize, stored.begin());
    const std::array<uint8_t, 11> content = {0xFD, 0xFF, 0xA1, 0x21, 0xFB, 0x00,
                                             0xFA, 4,    0xFE, 2,    0xFC};
    EXPECT_EQ(stored, MakeFireBlock(true, content));
    EXPECT_TRUE(FireBlockChecksumOk(stored));
    EXPECT_EQ(memory[kFireEntryRange.address], 0x0E);  // slot 1 stops on release
    EXPECT_TRUE(rig.messages.messages().empty());
}

TEST_F(FirePageTest, GunSixShowsTwoRowsAndItsStopBoxesTouchTheirSlotOnly) {
    OpenFirePage("Key2");
    rig.Click("Btn_Fire6");
    EXPECT_EQ(rig.Picture("Img_Fire6"), QStringLiteral("Gun6_02"));
    EXPECT_EQ(rig.Picture("Img_Fire1"), QStringLiteral("Gun1_01"));
    EXPECT_TRUE(Shown("Edt_FireCnt2"));
    EXPECT_FALSE(Shown("Edt_FireCnt3"));
    EXPECT_TRUE(Shown("Img_GunMode1"));
    EXPECT_TRUE(Shown("Img_GunMode2"));
    EXPECT_FALSE(Shown("Img_GunMode3"));
    EXPECT_EQ(Text("Edt_FireY1"), QStringLiteral("3"));  // slot 6
    EXPECT_EQ(Text("Edt_FireY2"), QStringLiteral("4"));  // slot 7

    rig.Click("lbl_FireRKFS2");
    EXPECT_EQ(rig.Picture("Img_FireRKFS2"), QStringLiteral("CbS_D"));
    EXPECT_EQ(rig.Picture("Img_FireRKFS1"), QStringLiteral("CbS_E"));
    EXPECT_EQ(SlotByte(7, 0), 0);
    EXPECT_EQ(SlotByte(6, 0), 1);
    EXPECT_EQ(Page().Fire().entry[3 * 6], 0x0B);
    EXPECT_EQ(Page().Fire().entry[3 * 5], 0x0E);

    rig.Click("Btn_Fire7");
    EXPECT_TRUE(Shown("Edt_FireCnt3"));
    EXPECT_FALSE(Shown("Img_GunMode1"));
    EXPECT_TRUE(Shown("Img_GunMode5"));
}

TEST_F(FirePageTest, ColourChoiceIsTheSlotsColourSetting) {
    OpenWithFactoryPage(velq::ui::Page::kGaming);
    OpenFirePage("Key2");
    Page().SetColourChooser([](const Colour&) { return std::optional<Colour>(Colour{1, 2, 3}); });
    rig.Click("IB_FireColor1");
    EXPECT_EQ(rig.window->shown_config().fire_slots[0].colour, (Colour{1, 2, 3}));
    EXPECT_EQ(Text("edt_FireMacroColor1R"), QStringLiteral("1"));
    EXPECT_EQ(Text("edt_FireMacroColor1B"), QStringLiteral("3"));
    EXPECT_EQ(rig.Control("cs_FireColor1")->palette().color(QPalette::Window), QColor(1, 2, 3));
}

TEST_F(FirePageTest, ConfirmOnTheGamingPageStoresTheGunAndWritesTheFireRegions) {
    OpenFirePage("Key2");
    Type("Edt_FireCnt1", "10");
    Type("Edt_FireY1Offset", "-3");
    mouse->ClearRequests();
    ConfirmAndWait();

    EXPECT_EQ(rig.window->current_page(), velq::ui::Page::kGaming);
    EXPECT_EQ(Text("Key2"), CaptionOf(1, "Str600"));
    EXPECT_EQ(rig.window->shown_config().gaming[1], (FunctionCode{0x0C, 0x01, 0x01}));
    for (const SectionRange range :
         {kFireEntryRange, kFireYOffsetRange, kFireColorRange, kFireAreaRange}) {
        EXPECT_EQ(Writes(range.address, range.size), 1) << range.address;
    }
    const VirtualMouse::Memory memory = mouse->MemoryCopy();
    EXPECT_EQ(memory[kFireAreaRange.address + 3], 0x09);
    EXPECT_EQ(memory[kFireYOffsetRange.address], 0xFD);
    EXPECT_EQ(memory[kFireYOffsetRange.address + 1], 0x02);
    EXPECT_TRUE(rig.messages.messages().empty());

    // Apply puts the gun's code on the button.
    RunFlow("Btn_Apply_1");
    EXPECT_EQ(StoredCode(kGaming + 3), (std::vector<uint8_t>{0x0C, 0x01, 0x01}));
}

TEST_F(FirePageTest, ConfirmOnTheOfficePageNamesTheButtonButStoresNoCode) {
    rig.Click("Btn_Main_1");
    const FunctionCode before = rig.window->shown_config().office[1];
    OpenFirePage("Key2");
    rig.Click("Btn_Fire7");
    ConfirmAndWait();
    EXPECT_EQ(Text("Key2"), CaptionOf(1, "Str606"));
    EXPECT_EQ(rig.window->shown_config().office[1], before);
    EXPECT_EQ(Writes(kFireAreaRange.address, kFireAreaRange.size), 1);
    RunFlow("Btn_Apply_1");
    const std::vector<uint8_t> stored = StoredCode(kOffice + 3);
    EXPECT_NE(stored[0], 0x0C);
}

TEST_F(FirePageTest, TheLastLeftClickStaysAndTheWholeConfirmStops) {
    ASSERT_EQ(Text("Key1"), CaptionOf(1, "Str210"));
    OpenFirePage("Key1");
    mouse->ClearRequests();
    ConfirmAndWait();
    EXPECT_TRUE(Said("Str108"));
    EXPECT_EQ(Text("Key1"), CaptionOf(1, "Str210"));
    EXPECT_EQ(Writes(kFireAreaRange.address, kFireAreaRange.size), 0);
}

TEST_F(FirePageTest, FactoryPageReadsTheFireAreaAndItsButtonsLoadTheDefaultSets) {
    mouse->ClearRequests();
    rig.window->EngineerUnlock();
    rig.window->ClickTab(velq::ui::Page::kEngineering);
    ASSERT_TRUE(WaitFor([&] { return !controller->Busy(); }));
    EXPECT_TRUE(Page().Fire().read);
    // Slot 1 holds a fire macro: delete offered, imports not.
    EXPECT_TRUE(rig.Control("btn_deleteFireMarco")->isEnabled());
    EXPECT_FALSE(rig.Control("btn_importFireMarco1")->isEnabled());
    // A button that is off looks off: its caption fades.
    QWidget* off = rig.Control("btn_importFireMarco1");
    EXPECT_NE(off->palette().color(QPalette::Disabled, QPalette::ButtonText),
              off->palette().color(QPalette::Active, QPalette::ButtonText));
    const QImage drawn_off = off->grab().toImage();
    off->setEnabled(true);
    EXPECT_NE(off->grab().toImage(), drawn_off);
    off->setEnabled(false);

    RunFlow("btn_deleteFireMarco");
    EXPECT_EQ(Writes(kFireAreaRange.address, kFireAreaRange.size), 1);
    EXPECT_EQ(mouse->MemoryCopy()[kFireAreaRange.address + 3], 0);
    EXPECT_FALSE(rig.Control("btn_deleteFireMarco")->isEnabled());
    EXPECT_TRUE(rig.Control("btn_importFireMarco2")->isEnabled());

    RunFlow("btn_importFireMarco2");
    EXPECT_EQ(mouse->MemoryCopy()[kFireAreaRange.address + 9], sets[2][9]);
    // The fire page shows the set without reading again.
    mouse->ClearRequests();
    rig.Click("Btn_Second_1");
    OpenFirePage("Key2");
    EXPECT_TRUE(mouse->Requests().empty());
    EXPECT_EQ(Text("Edt_FireY1"), QStringLiteral("9"));
    EXPECT_EQ(Text("Edt_FireTime1"), QStringLiteral("32"));
}

}  // namespace
}  // namespace velq::ui::testing
