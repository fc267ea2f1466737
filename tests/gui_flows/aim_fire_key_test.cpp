// The aim key and fire key settings of the advanced page and their factory-page views, through
// the real window on the virtual mouse: the slider's snapping and the aim keys it rewrites, the
// fire key's field rules, continuous fire, and what Apply then stores.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "config/config_edits.h"
#include "gui_flows/gui_flows_fixture.h"
#include "image/memory_map.h"

namespace velq::ui::testing {
namespace {

constexpr uint16_t kOffice = kProfileRange.address;
constexpr uint16_t kGaming = kProfileRange.address + 27;
constexpr uint16_t kFireCount = kFireKeyRange.address + kFireKeyCountOffset;
constexpr uint16_t kFireWait = kFireKeyRange.address + kFireKeyIntervalOffset;

class AimFireKey : public GuiFlowsTest {
protected:
    void SetUp() override {
        GuiFlowsTest::SetUp();
        StartReady();
    }

    void OpenFactoryPage() {
        rig.window->EngineerUnlock();
        rig.window->ClickTab(Page::kEngineering);
    }

    int SliderValue() const { return qobject_cast<QSlider*>(rig.Control("slider_DPI8"))->value(); }

    uint8_t Stored(uint16_t address) const { return mouse->MemoryCopy()[address]; }
    std::vector<uint8_t> StoredCode(uint16_t address) const {
        const VirtualMouse::Memory memory = mouse->MemoryCopy();
        return {memory[address], memory[address + 1u], memory[address + 2u]};
    }

    bool SaidNoAimKey() const {
        for (const QString& m : rig.messages.messages()) {
            if (m == QLatin1String(kNoAimKeyMessage)) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(AimFireKey, SliderGivesEveryAimKeyOfBothProfilesItsValueOnApply) {
    Choose("Key4", {"Key_Special", "Key_AIMKey"});
    rig.Click("Btn_Second_1");
    Choose("Key2", {"Key_Special", "Key_AIMKey"});
    rig.Click("Btn_Adv_1");
    // Twelve values over 225 pixels: 18 pixels each, the first ending at 14; "1600" is the fifth.
    ReleaseSliderAt("slider_DPI8", 80);
    EXPECT_EQ(SliderValue(), 400);
    EXPECT_EQ(Text("lbl_AIMKeyValue"), QStringLiteral("1600"));
    OpenFactoryPage();
    EXPECT_EQ(Text("cb_AIMKeyValue"), QStringLiteral("1600"));
    RunFlow("Btn_Apply_1");
    EXPECT_EQ(StoredCode(kOffice + 3 * 3), (std::vector<uint8_t>{0x0A, 0x04, 0x00}));
    EXPECT_EQ(StoredCode(kGaming + 3 * 1), (std::vector<uint8_t>{0x0A, 0x04, 0x00}));
    EXPECT_TRUE(rig.messages.messages().empty());
}

TEST_F(AimFireKey, SliderSnapsToTheEntryWhereThePointerLetsGo) {
    Choose("Key4", {"Key_Special", "Key_AIMKey"});
    rig.Click("Btn_Adv_1");
    struct Case {
        int x;
        int value;
    };
    // The intervals (-4, 14], (14, 32], ...; past 194 the last entry, "8000".
    for (const Case c : {Case{-10, 0}, Case{14, 0}, Case{15, 100}, Case{194, 1000}, Case{195, 1100},
                         Case{224, 1100}}) {
        ReleaseSliderAt("slider_DPI8", c.x);
        EXPECT_EQ(SliderValue(), c.value) << c.x;
        EXPECT_EQ(rig.window->shown_config().aim_dpi, c.value / 100) << c.x;
    }
    EXPECT_EQ(Text("lbl_AIMKeyValue"), QStringLiteral("8000"));
    // The factory list offers the slider's last value too.
    OpenFactoryPage();
    EXPECT_EQ(Text("cb_AIMKeyValue"), QStringLiteral("8000"));
}

TEST_F(AimFireKey, WithoutAnAimKeyBothControlsFallBackAndSaySo) {
    rig.Click("Btn_Adv_1");
    ReleaseSliderAt("slider_DPI8", 120);
    EXPECT_TRUE(SaidNoAimKey());
    EXPECT_EQ(SliderValue(), 0);
    EXPECT_EQ(Text("lbl_AIMKeyValue"), QStringLiteral("500"));
    rig.messages.Clear();
    OpenFactoryPage();
    auto* list = qobject_cast<QComboBox*>(rig.Control("cb_AIMKeyValue"));
    ChooseInList("cb_AIMKeyValue", 6);
    EXPECT_TRUE(SaidNoAimKey());
    EXPECT_EQ(list->currentIndex(), 0);
    // Nothing reaches the mouse for it.
    const VirtualMouse::Memory before = mouse->MemoryCopy();
    RunFlow("Btn_Apply_1");
    EXPECT_EQ(mouse->MemoryCopy(), before);
}

TEST_F(AimFireKey, AimValueReadFromTheMouseIsShown) {
    Choose("Key4", {"Key_Special", "Key_AIMKey"});
    OpenFactoryPage();
    auto* list = qobject_cast<QComboBox*>(rig.Control("cb_AIMKeyValue"));
    ChooseInList("cb_AIMKeyValue", 3);
    RunFlow("Btn_Apply_1");
    ASSERT_EQ(StoredCode(kOffice + 3 * 3), (std::vector<uint8_t>{0x0A, 0x03, 0x00}));
    // Moved but not applied: the read shows the mouse's value again.
    rig.Click("btn_EngAdvanced");
    ReleaseSliderAt("slider_DPI8", 150);
    ASSERT_NE(SliderValue(), 300);
    RunFlow("Btn_Read_2");
    EXPECT_EQ(Text("lbl_AIMKeyValue"), QStringLiteral("1200"));
    EXPECT_EQ(SliderValue(), 300);
    EXPECT_EQ(list->currentIndex(), 3);
}

TEST_F(AimFireKey, FieldsCorrectThemselvesAndKeepBothViewsInStep) {
    rig.Click("Btn_Adv_1");
    if (rig.window->shown_config().fire_key.while_held) {
        rig.Click("lbl_FireContinue");  // the clicks field takes counts only without it
    }
    OpenFactoryPage();
    rig.Click("btn_EngAdvanced");
    struct Case {
        const char* field;
        const char* typed;
        const char* shown;
        const char* other;        // the factory page's view of the same setting
        const char* other_shown;  // what it shows then
    };
    const std::vector<Case> cases = {
        {"Edt_Repeat1", "0", "1", "cb_FireCount", "1"},
        {"Edt_Repeat1", "300", "255", "cb_FireCount", "255"},
        {"Edt_Repeat1", "", "2", "cb_FireCount", "2"},
        {"Edt_Repeat1", "12", "12", "cb_FireCount", "12"},
        {"Edt_DelayTime1", "300", "255", "edt_FireTime", "255"},
        {"Edt_DelayTime1", "", "0", "edt_FireTime", "0"},
        {"Edt_DelayTime1", "4x0", "40", "edt_FireTime", "40"},  // letters never get in
        {"edt_FireTime", "", "100", "Edt_DelayTime1", "100"},
        {"edt_FireTime", "999", "255", "Edt_DelayTime1", "255"},
        {"edt_FireTime", "70", "70", "Edt_DelayTime1", "70"},
    };
    for (const Case& c : cases) {
        Type(c.field, c.typed);
        EXPECT_EQ(Text(c.field), QString::fromLatin1(c.shown)) << c.field << " " << c.typed;
        EXPECT_EQ(Text(c.other), QString::fromLatin1(c.other_shown)) << c.field << " " << c.typed;
    }
    RunFlow("Btn_Apply_1");
    EXPECT_EQ(Stored(kFireCount), 11);  // twelve clicks
    EXPECT_EQ(Stored(kFireWait), 70);
}

TEST_F(AimFireKey, ContinuousFireAndACountChosenInTheFactoryList) {
    rig.Click("Btn_Adv_1");
    const auto continuous = [this] {
        return rig.window->PictureOf(QStringLiteral("Img_FireContinue")) == QStringLiteral("CbS_E");
    };
    auto* count = qobject_cast<QLineEdit*>(rig.Control("Edt_Repeat1"));
    if (continuous()) {
        rig.Click("lbl_FireContinue");
    }
    ASSERT_FALSE(continuous());
    ASSERT_TRUE(count->isEnabled());
    rig.Click("Img_FireContinue");  // the picture answers as its caption does
    EXPECT_TRUE(continuous());
    EXPECT_EQ(count->text(), QStringLiteral("3"));
    EXPECT_FALSE(count->isEnabled());
    RunFlow("Btn_Apply_2");
    EXPECT_EQ(Stored(kFireCount), 0xFF);
    OpenFactoryPage();
    auto* list = qobject_cast<QComboBox*>(rig.Control("cb_FireCount"));
    EXPECT_EQ(list->currentText(), QStringLiteral("256"));

    // A count chosen in the list ends continuous fire; the field and the list show it, and
    // Apply stores it.
    ChooseInList("cb_FireCount", 9);
    EXPECT_FALSE(continuous());
    EXPECT_EQ(count->text(), QStringLiteral("10"));
    EXPECT_TRUE(count->isEnabled());
    EXPECT_EQ(list->currentText(), QStringLiteral("10"));
    RunFlow("Btn_Apply_1");
    EXPECT_EQ(Stored(kFireCount), 9);

    // "256" is more than the clicks field holds: both show 255.
    ChooseInList("cb_FireCount", 255);
    EXPECT_EQ(count->text(), QStringLiteral("255"));
    EXPECT_EQ(list->currentText(), QStringLiteral("255"));

    // Continuous fire on and off again comes back at three clicks.
    rig.Click("btn_EngAdvanced");
    rig.Click("lbl_FireContinue");
    EXPECT_TRUE(continuous());
    rig.Click("lbl_Fire_Continue");  // the caption's text answers too
    EXPECT_FALSE(continuous());
    EXPECT_EQ(count->text(), QStringLiteral("3"));
    EXPECT_EQ(list->currentText(), QStringLiteral("3"));
}

}  // namespace
}  // namespace velq::ui::testing
