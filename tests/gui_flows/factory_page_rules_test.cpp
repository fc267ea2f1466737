// The factory page's own rules through the real window on the virtual mouse: the current
// level among the levels in use only, the controls of levels out of use hidden, the engineer
// unlock, the key-mode and fire area buttons' terms, the device code fields.
#include <QComboBox>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

#include "gui_flows/gui_flows_fixture.h"

namespace velq::ui::testing {
namespace {

class FactoryPageRules : public GuiFlowsTest {
protected:
    void SetUp() override {
        GuiFlowsTest::SetUp();
        StartReady();
        OpenWithFactoryPage(Page::kEngineering);
    }

    QStringList Items(const char* name) const {
        QStringList items;
        auto* list = qobject_cast<QComboBox*>(rig.Control(name));
        for (int i = 0; list != nullptr && i < list->count(); ++i) {
            items.push_back(list->itemText(i));
        }
        return items;
    }

    bool Hidden(const std::string& name) const { return rig.Control(name.c_str())->isHidden(); }
};

bool EngineerTabShown(const WindowRig& rig) {
    auto* tabs = qobject_cast<QTabWidget*>(rig.Control("Pg_Parameter"));
    return tabs->isTabVisible(tabs->indexOf(rig.Control("ts_Engineer")));
}

// Until the engineer unlock the page shows its operation tab alone, with Default, and the
// light type and sensor orientation cannot be changed; a double click on the logo strip
// unlocks it, and so does opening the page.
TEST(FactoryPageUnlock, TheLogoOrOpeningThePageUnlocksTheEngineerTab) {
    EnsureApplication();
    for (const bool by_opening : {false, true}) {
        SCOPED_TRACE(by_opening);
        WindowRig rig;
        rig.Start();
        rig.window->EnsureEngineeringPage();
        EXPECT_FALSE(EngineerTabShown(rig));
        EXPECT_FALSE(rig.Control("Btn_Default")->isHidden());
        EXPECT_TRUE(rig.Control("Btn_ImportGunMacro")->isHidden());
        for (const char* name : {"gbLEDType", "rb_MCULED", "rb_BreLED", "cb_SensorOri"}) {
            EXPECT_FALSE(rig.Control(name)->isEnabled()) << name;
        }
        if (by_opening) {
            rig.Unblock();
            rig.window->EngineerUnlock();  // the tab to the page
            rig.window->ClickTab(Page::kEngineering);
            ASSERT_EQ(rig.window->current_page(), Page::kEngineering);
        } else {
            QWidget* logo = rig.Control("Img_Logo4");
            EXPECT_EQ(logo->width(), 1000);
            QTest::mouseDClick(logo, Qt::LeftButton, {}, QPoint(500, 4));
        }
        EXPECT_TRUE(EngineerTabShown(rig));
        EXPECT_TRUE(rig.Control("Btn_Default")->isHidden());
        EXPECT_FALSE(rig.Control("Btn_ImportGunMacro")->isHidden());
        for (const char* name : {"gbLEDType", "rb_MCULED", "rb_BreLED", "cb_SensorOri"}) {
            EXPECT_TRUE(rig.Control(name)->isEnabled()) << name;
        }
    }
}

// With n levels in use, cb_CurrentCPI offers "1" .. "n" and the lists and colour fields of
// the levels above n are hidden with their captions; Apply can only store a level in use.
TEST_F(FactoryPageRules, TheCurrentLevelIsChosenAmongTheLevelsInUse) {
    for (const int count : {3, 7, 2, 5}) {
        SCOPED_TRACE(count);
        ChooseInList("cb_CPIStep", count - 2);
        QStringList expected;
        for (int level = 1; level <= count; ++level) {
            expected.push_back(QString::number(level));
        }
        EXPECT_EQ(Items("cb_CurrentCPI"), expected);
        EXPECT_EQ(Text("cb_CurrentCPI"), QString::number(count));  // the top level is current
        for (int level = 1; level <= 7; ++level) {
            const std::string n = std::to_string(level);
            for (const std::string& name :
                 {"cb_CPI" + n, "lbl_Eng_cb_CPI" + n, "lbl_Eng_CPI" + n + "Colour",
                  "edt_CPI" + n + "R", "edt_CPI" + n + "G", "edt_CPI" + n + "B"}) {
                EXPECT_EQ(Hidden(name), level > count) << name;
            }
        }
    }

    // Three levels, the second chosen current: that is what Apply stores.
    ChooseInList("cb_CPIStep", 1);
    ChooseInList("cb_CurrentCPI", 1);
    EXPECT_EQ(rig.window->shown_config().dpi.current, 1);
    RunFlow("btn_Write");
    const VirtualMouse::Memory memory = mouse->MemoryCopy();
    EXPECT_EQ(memory[0x02], 3);
    EXPECT_EQ(memory[0x30], 1);
    EXPECT_EQ(memory[0x31], 0xFE);
}

// The page shows the groups of the settings the chosen light type has: the two-colour modes,
// left + DPI, the brightness, the flowing light's settings and DPI colours.
TEST_F(FactoryPageRules, EachLightTypeShowsItsOwnGroups) {
    struct Case {
        const char* radio;
        bool two_colour_modes, left_dpi, brightness, flowing;
    };
    const Case cases[] = {
        {"rb_RBLED", true, true, false, false},
        {"rb_SyncLED", false, false, false, false},
        {"rb_BreLED", false, false, false, false},
        {"rb_MCULED", false, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radio);
        rig.Click(c.radio);
        EXPECT_EQ(!Hidden("gbRBLEDMode"), c.two_colour_modes);
        EXPECT_EQ(!Hidden("gbLCPI"), c.left_dpi);
        EXPECT_EQ(!Hidden("gbMCULEDControlMode"), c.brightness);
        EXPECT_EQ(!Hidden("gbMCULEDCurrent"), c.flowing);
        EXPECT_EQ(!Hidden("gbMCULEDCPIColor"), c.flowing);
        EXPECT_FALSE(Hidden("gbLEDType"));
        EXPECT_FALSE(Hidden("gbLEDStatus"));
    }
}

// The hint line along the page's bottom shows the hint of the control under the pointer: the
// button test's asks for a press within 5 seconds; a control without a hint leaves the line
// empty. Leaving the page gives the window's hint label its place back.
TEST_F(FactoryPageRules, TheHintLineShowsTheHintOfTheControlUnderThePointer) {
    QWidget* hint = rig.Control("lbl_Content");
    EXPECT_EQ(Text("lbl_Notes"), QStringLiteral("Notes: "));
    EXPECT_TRUE(hint->isVisible());
    const QRect line = hint->geometry();
    EXPECT_LE(line.bottom(), 600);  // inside the factory page's window
    EXPECT_EQ(line.top(), rig.Control("lbl_Notes")->geometry().top());
    rig.Enter("btn_TestKeys");
    EXPECT_EQ(
        Text("lbl_Content"),
        QStringLiteral("Press any button of the mouse within 5 seconds: its button on the screen "
                       "blinks."));
    rig.Leave("btn_TestKeys");
    EXPECT_EQ(Text("lbl_Content"), QString());
    rig.Enter("btn_Load");
    EXPECT_EQ(Text("lbl_Content"), QString());
    rig.Leave("btn_Load");

    rig.window->ClickTab(Page::kOffice);
    EXPECT_NE(hint->geometry(), line);
    rig.window->ClickTab(Page::kEngineering);
    EXPECT_EQ(hint->geometry(), line);
}

// The key-mode list names its modes by their terms, and the fire area's four buttons carry
// theirs (in the page's language: English here).
TEST_F(FactoryPageRules, ListsAndButtonsShowTheirTerms) {
    EXPECT_EQ(Items("cb_KeyMode"),
              (QStringList{QStringLiteral("Key Mode1"), QStringLiteral("Key Mode2")}));
    const std::pair<const char*, const char*> kButtons[] = {
        {"btn_deleteFireMarco", "Delete Fire Macro"},
        {"btn_importFireMarco1", "Import PC Fire Macro"},
        {"btn_importFireMarco2", "Import Mobile Fire Macro"},
        {"Btn_ImportGunMacro", "Import Fire Macro"},
        {"btn_TestKeys", "Test Keys Position"}};
    for (const auto& [name, term] : kButtons) {
        EXPECT_EQ(Text(name), QString::fromUtf8(term)) << name;
    }
    // The gaming page still sets the key mode by position.
    rig.window->ClickTab(Page::kGaming);
    EXPECT_EQ(Text("cb_KeyMode"), QStringLiteral("Key Mode2"));
}

// A vendor or product code field holds a byte: 300 and a cleared field both show "255", and
// Apply stores 255.
TEST_F(FactoryPageRules, ADeviceCodeFieldClearedOrAbove255Shows255) {
    for (const char* field : {"edt_VendorID", "edt_ProductID"}) {
        SCOPED_TRACE(field);
        Type(field, "300");
        EXPECT_EQ(Text(field), QStringLiteral("255"));
        Type(field, "17");
        EXPECT_EQ(Text(field), QStringLiteral("17"));
        Type(field, "");
        EXPECT_EQ(Text(field), QStringLiteral("255"));
    }
    EXPECT_EQ(rig.window->shown_config().vendor_code, 255);
    EXPECT_EQ(rig.window->shown_config().product_code, 255);
    RunFlow("btn_Write");
    const VirtualMouse::Memory memory = mouse->MemoryCopy();
    EXPECT_EQ(memory[0x36], 255);
    EXPECT_EQ(memory[0x37], 255);
}

}  // namespace
}  // namespace velq::ui::testing
