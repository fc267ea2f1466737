// The light page and its factory-page view, through the real window on the virtual mouse: the
// option pairs, the groups each lighting type shows, modes, speed and lamps, and what Apply
// then stores.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gui_flows/gui_flows_fixture.h"

namespace velq::ui::testing {
namespace {

class Lighting : public GuiFlowsTest {
protected:
    void SetUp() override {
        GuiFlowsTest::SetUp();
        StartReady();
        OpenWithFactoryPage(Page::kLight);
        ASSERT_EQ(Light().type, LightType::kFlowing);
    }

    const LightingConfig& Light() const { return rig.window->shown_config().lighting; }

    bool Chosen(const char* picture) const {
        return rig.window->PictureOf(QString::fromLatin1(picture)) == QStringLiteral("RdS_E");
    }
    bool Checked(const char* radio) const {
        return qobject_cast<QAbstractButton*>(rig.Control(radio))->isChecked();
    }
    bool Shown(const char* name) const {
        return rig.Control(name)->isVisibleTo(rig.Control("gbPage3"));
    }
    // A radio button answers clicks on its mark and caption, not on the rest of its box.
    void ClickRadio(const char* name) {
        QWidget* radio = rig.Control(name);
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    }
};

TEST_F(Lighting, OptionPairsFollowClicksOnEitherPage) {
    struct Case {
        const char* clicked;  // on the light page, a caption or a picture
        const char* picture;  // the picture then chosen
        const char* radio;    // the factory page's radio button then selected
    };
    const std::vector<Case> cases = {
        {"lbl_LEDOff", "Img_LEDOff", "rb_LEDOff"},
        {"Img_LEDOn", "Img_LEDOn", "rb_LEDOn"},
        {"lbl_B4CPIOff", "Img_B4CPIOff", "rb_B4CPIOff"},
        {"Img_LCPIOff", "Img_LCPIOff", "rb_LCPIOff"},
        {"lbl_MCULED6Control", "Img_MCULED6Control", "rb_MCULED6Control"},
        {"Img_MCULED3Control", "Img_MCULED3Control", "rb_MCULED3Control"},
    };
    for (const Case& c : cases) {
        rig.Click(c.clicked);
        EXPECT_TRUE(Chosen(c.picture)) << c.clicked;
        EXPECT_TRUE(Checked(c.radio)) << c.clicked;
    }
    // And the other way round.
    ClickRadio("rb_LEDOff");
    EXPECT_TRUE(Chosen("Img_LEDOff"));
    EXPECT_FALSE(Chosen("Img_LEDOn"));
    EXPECT_FALSE(Light().on);
    // The brightness pair is captioned.
    EXPECT_EQ(Text("lbl_MCULED3Control"), CaptionOf(1, "Str818"));
}

TEST_F(Lighting, KeyModeNotRememberedKeepsModeOneAndGreysTheList) {
    auto* key_mode = qobject_cast<QComboBox*>(rig.Control("cb_KeyMode"));
    ClickRadio("rb_NoSave");
    EXPECT_EQ(key_mode->currentIndex(), 0);
    EXPECT_FALSE(key_mode->isEnabled());
    EXPECT_TRUE(Chosen("Img_NoSaveKeyMode"));
    rig.Click("Img_SaveKeyMode");
    EXPECT_TRUE(key_mode->isEnabled());
    EXPECT_TRUE(Checked("rb_Save"));
}

TEST_F(Lighting, EachTypeShowsItsOwnGroups) {
    struct Case {
        const char* radio;
        bool two_colour_modes, left_dpi, brightness, flowing_modes, speed;
    };
    const std::vector<Case> cases = {
        {"rb_RBLED", true, true, false, false, false},
        {"rb_SyncLED", false, false, false, false, false},
        {"rb_BreLED", false, false, false, false, false},
        {"rb_MCULED", false, true, true, true, true},
    };
    for (const Case& c : cases) {
        rig.Click(c.radio);
        EXPECT_EQ(Shown("Img_RBLEDMode4"), c.two_colour_modes) << c.radio;
        EXPECT_EQ(Shown("Img_LCPIOn"), c.left_dpi) << c.radio;
        EXPECT_EQ(Shown("Img_MCULED3Control"), c.brightness) << c.radio;
        EXPECT_EQ(Shown("Img_MCULEDMode4"), c.flowing_modes) << c.radio;
        EXPECT_EQ(Shown("slider_Breath_Speed"), c.speed) << c.radio;
        EXPECT_EQ(Shown("Img_MCULEDNum_1"), c.speed) << c.radio;
    }
    // Choosing the flowing or the two-colour light starts it in mode 2.
    rig.Click("lbl_MCULEDMode5");
    ASSERT_EQ(Light().mode, 5);
    ClickRadio("rb_RBLED");
    EXPECT_EQ(Light().mode, 2);
    EXPECT_TRUE(Chosen("Img_RBLEDMode2"));
    EXPECT_EQ(qobject_cast<QComboBox*>(rig.Control("cb_RBLEDCurrentMode"))->currentIndex(), 1);
    rig.Click("Img_RBLEDMode6");
    EXPECT_EQ(Light().mode, 6);
    ClickRadio("rb_MCULED");
    EXPECT_EQ(Light().mode, 2);
    EXPECT_TRUE(Chosen("Img_MCULEDMode2"));
    EXPECT_FALSE(Chosen("Img_RBLEDMode6"));
}

TEST_F(Lighting, ModesOfferedShowInTheListAndOnThePage) {
    ClickRadio("cb_Mode3");  // a check box, likewise
    ASSERT_FALSE(Light().modes_offered[2]);
    auto* list = qobject_cast<QComboBox*>(rig.Control("cb_MCULEDCurrentMode"));
    EXPECT_EQ(list->itemText(2), QStringLiteral("------"));
    EXPECT_EQ(list->itemText(3), QStringLiteral("Mode 4"));
    EXPECT_FALSE(Shown("Img_MCULEDMode3"));
    EXPECT_FALSE(Shown("lbl_MCULEDMode3"));
    EXPECT_TRUE(Shown("Img_MCULEDMode4"));
    ClickRadio("cb_Mode3");
    EXPECT_EQ(list->itemText(2), QStringLiteral("Mode 3"));
    EXPECT_TRUE(Shown("Img_MCULEDMode3"));
}

TEST_F(Lighting, SpeedAndLampsFromBarsSliderAndFields) {
    auto* slider = qobject_cast<QSlider*>(rig.Control("slider_Breath_Speed"));
    ReleaseSliderAt("slider_Breath_Speed", 200);  // the fast end: position 7, step 0
    EXPECT_EQ(Light().step, 0);
    EXPECT_EQ(Text("edt_MCULEDCrtStep"), QStringLiteral("0"));
    ReleaseSliderAt("slider_Breath_Speed", 10);  // the slow end: position 0, step 7
    EXPECT_EQ(Light().step, 7);
    Type("edt_MCULEDCrtStep", "9");
    EXPECT_EQ(Text("edt_MCULEDCrtStep"), QStringLiteral("7"));
    Type("edt_MCULEDCrtStep", "3");
    EXPECT_EQ(slider->value(), 400);

    rig.Click("Img_MCULEDNum_10");
    EXPECT_EQ(Text("edt_MCULEDNum"), QStringLiteral("13"));
    EXPECT_EQ(rig.window->PictureOf(QStringLiteral("Img_MCULEDNum_10")), QStringLiteral("Bar1_E"));
    Type("edt_MCULEDNum", "20");
    EXPECT_EQ(Text("edt_MCULEDNum"), QStringLiteral("13"));
    Type("edt_MCULEDNum", "6");
    EXPECT_EQ(Light().lamps, 6);
    // The marker style lights the current segment only.
    EXPECT_EQ(rig.window->PictureOf(QStringLiteral("Img_MCULEDNum_3")), QStringLiteral("Bar1_E"));
    EXPECT_EQ(rig.window->PictureOf(QStringLiteral("Img_MCULEDNum_2")), QStringLiteral("Bar1_D"));

    RunFlow("Btn_Apply_3");
    const VirtualMouse::Memory memory = mouse->MemoryCopy();
    EXPECT_EQ(memory[0x03] >> 4, 13 - 6);
    EXPECT_EQ(memory[0x32] >> 5, 3);
}

TEST_F(Lighting, ApplyStoresEachLightType) {
    struct Case {
        const char* radio;
        uint8_t type_bit_0x00;   // byte 0x00 bit 7
        uint8_t type_bits_0x01;  // byte 0x01 bits 3-4
        uint8_t kept_bits_0x32;  // the bits of 0x32 the type may keep set
    };
    const std::vector<Case> cases = {
        {"rb_SyncLED", 0x80, 0x00, 0x18},
        {"rb_RBLED", 0x80, 0x08, 0x1F},
        {"rb_BreLED", 0x80, 0x10, 0x18},
        {"rb_MCULED", 0x00, 0x08, 0xFF},
    };
    for (const Case& c : cases) {
        rig.Click(c.radio);
        RunFlow("Btn_Apply_3");
        const VirtualMouse::Memory memory = mouse->MemoryCopy();
        EXPECT_EQ(memory[0x00] & 0x80, c.type_bit_0x00) << c.radio;
        EXPECT_EQ(memory[0x01] & (c.type_bit_0x00 != 0 ? 0x18 : 0x08), c.type_bits_0x01) << c.radio;
        EXPECT_EQ(memory[0x32] & ~c.kept_bits_0x32, 0) << c.radio;
        EXPECT_TRUE(rig.messages.messages().empty()) << c.radio;
    }
}

// The factory page's default lighting puts its built-in image into the mouse and both pages
// show what the mouse then holds.
TEST_F(Lighting, DefaultLightingIsStoredAndShown) {
    ClickRadio("rb_SyncLED");
    ASSERT_EQ(Light().type, LightType::kSync);
    RunFlow("btn_loadDefaultLED");
    const VirtualMouse::Memory memory = mouse->MemoryCopy();
    const DataBuf& lighting = defaults.eeprom[4];
    EXPECT_TRUE(std::equal(lighting.begin(), lighting.begin() + 0x100, memory.begin()));
    const bool flowing = (lighting[0x00] & 0x80) == 0;
    EXPECT_EQ(Light().type == LightType::kFlowing, flowing);
    EXPECT_EQ(Checked("rb_MCULED"), flowing);
    EXPECT_EQ(Shown("slider_Breath_Speed"), flowing);
}

}  // namespace
}  // namespace velq::ui::testing
