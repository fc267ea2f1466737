// The DPI levels of the advanced page and their factory-page view, through the real window on
// the virtual mouse: sliders, adding and removing levels, the current level, colours, and what
// Apply then stores.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "gui_flows/gui_flows_fixture.h"
#include "image/sections.h"
#include "settings/ui/advanced_page.h"

namespace velq::ui::testing {
namespace {

class DpiLevels : public GuiFlowsTest {
protected:
    void SetUp() override {
        GuiFlowsTest::SetUp();
        StartReady();
        OpenWithFactoryPage(Page::kAdvanced);
    }

    const DpiConfig& Dpi() const { return rig.window->shown_config().dpi; }

    bool Current(int level) const {
        return rig.window->PictureOf(QStringLiteral("Img_DPI%1").arg(level)) ==
               QStringLiteral("CbS_E");
    }

    AdvancedPage& Page() const { return *rig.window->PageOf<AdvancedPage>(); }
};

TEST_F(DpiLevels, SliderSnapsToAValueAndTheFactoryListFollows) {
    struct Case {
        int x;
        int entry;
        const char* shown;
    };
    // Twelve values over 225 pixels: (-4, 14], (14, 32], ...; past 194 the last.
    for (const Case c :
         {Case{14, 0, "500"}, Case{15, 1, "800"}, Case{100, 5, "2000"}, Case{200, 11, "8000"}}) {
        ReleaseSliderAt("slider_DPI1", c.x);
        EXPECT_EQ(Dpi().levels[0].value, c.entry) << c.x;
        EXPECT_EQ(Text("lbl_DPI1Value"), QString::fromLatin1(c.shown)) << c.x;
        EXPECT_EQ(qobject_cast<QComboBox*>(rig.Control("cb_CPI1"))->currentIndex(), c.entry);
    }
    // And the other way: the factory list moves the slider.
    ChooseInList("cb_CPI3", 7);
    EXPECT_EQ(qobject_cast<QSlider*>(rig.Control("slider_DPI3"))->value(), 700);
    EXPECT_EQ(Text("lbl_DPI3Value"), QStringLiteral("3200"));
}

TEST_F(DpiLevels, LevelsJoinAndLeaveAtTheTopAndTheTopBecomesCurrent) {
    ChooseInList("cbb_DPICount", 2);  // four levels
    ASSERT_EQ(Dpi().count, 4);
    EXPECT_TRUE(Current(4));
    EXPECT_EQ(Text("cb_CPIStep"), QStringLiteral("4"));
    rig.Click("lbl_DPI5");
    EXPECT_EQ(Dpi().count, 5);
    EXPECT_TRUE(Current(5));
    EXPECT_TRUE(rig.Control("slider_DPI5")->isEnabled());
    rig.Click("lbl_DPI5");
    EXPECT_EQ(Dpi().count, 4);
    EXPECT_TRUE(Current(4));
    EXPECT_FALSE(rig.Control("slider_DPI5")->isEnabled());
    rig.Click("Img_DPI1");
    EXPECT_TRUE(Current(1));
    EXPECT_EQ(Text("cb_CurrentCPI"), QStringLiteral("1"));
    rig.Click("lbl_DPI2");  // changes no count, makes the top level current again
    EXPECT_EQ(Dpi().count, 4);
    EXPECT_TRUE(Current(4));
    EXPECT_FALSE(Current(1));

    // A level out of use cannot become the current one.
    ChooseInList("cb_CPIStep", 1);  // three levels, from the factory page
    EXPECT_EQ(Text("cbb_DPICount"), QStringLiteral("3"));
    EXPECT_TRUE(Current(3));
    rig.Click("Img_DPI6");
    EXPECT_TRUE(Current(3));
    EXPECT_EQ(Dpi().current, 2);
}

TEST_F(DpiLevels, ColoursFromTheChooserOrTheFieldsOnlyForTheFlowingLight) {
    int asked = 0;
    Page().SetColourChooser([&](const Colour&) -> std::optional<Colour> {
        ++asked;
        return Colour{10, 20, 30};
    });
    ASSERT_EQ(rig.window->shown_config().lighting.type, LightType::kFlowing);
    rig.Click("lbl_DPI3Col");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Text("edt_CPI3R"), QStringLiteral("10"));
    EXPECT_EQ(Text("edt_CPI3G"), QStringLiteral("20"));
    EXPECT_EQ(Text("edt_CPI3B"), QStringLiteral("30"));
    EXPECT_EQ(rig.Control("cs_DPI3Col")->palette().color(QPalette::Window), QColor(10, 20, 30));

    Type("edt_CPI2G", "300");
    EXPECT_EQ(Text("edt_CPI2G"), QStringLiteral("255"));
    EXPECT_EQ(rig.Control("cs_DPI2Col")->palette().color(QPalette::Window).green(), 255);
    Type("edt_CPI2R", "7");
    EXPECT_EQ(Dpi().levels[1].colour.r, 7);

    // The other lights show no level colours and choose none.
    rig.Click("rb_BreLED");
    EXPECT_FALSE(rig.Control("cs_DPI3Col")->isVisibleTo(rig.window.get()));
    rig.Click("lbl_DPI3Col");
    EXPECT_EQ(asked, 1);
}

TEST_F(DpiLevels, ApplyStoresLevelsValuesColoursAndTheCurrentLevel) {
    Page().SetColourChooser([](const Colour&) { return std::optional<Colour>(Colour{1, 2, 3}); });
    ChooseInList("cbb_DPICount", 3);  // five levels, the fifth current
    ReleaseSliderAt("slider_DPI5", 100);
    rig.Click("lbl_DPI5Col");
    rig.Click("Img_DPI2");
    RunFlow("Btn_Apply_2");
    const VirtualMouse::Memory memory = mouse->MemoryCopy();
    EXPECT_EQ(memory[0x02], 5);
    EXPECT_EQ(memory[0x06 + 4], 5);  // "2000"
    EXPECT_EQ(memory[0x1A + 12], 1);
    EXPECT_EQ(memory[0x1A + 13], 2);
    EXPECT_EQ(memory[0x1A + 14], 3);
    EXPECT_EQ(memory[0x30], 1);
    EXPECT_EQ(memory[0x31], 0xFE);
    EXPECT_TRUE(rig.messages.messages().empty());
}

// A mouse whose third level holds no value (0xFF).
class DpiLevelUnset : public DpiLevels {
protected:
    void SetUp() override {
        GuiFlowsTest::SetUp();
        DataBuf image = defaults.eeprom[0];
        SectionCopies copies;
        ASSERT_FALSE(FillSectionCopies(image, copies));  // nothing to repair
        copies.parameter_a[0x06 + 2] = 0xFF;
        StoreSectionCopies(copies, image);
        mouse->SetMemory(0, image);
        StartReady();
        OpenWithFactoryPage(Page::kAdvanced);
    }
};

// It shows the first value, leaves its slider and list alone, and goes back to the mouse as it
// was when another level changes.
TEST_F(DpiLevelUnset, ShownAsTheFirstValueAndStoredBackUnchanged) {
    EXPECT_EQ(Text("lbl_DPI3Value"), QStringLiteral("500"));
    EXPECT_EQ(qobject_cast<QComboBox*>(rig.Control("cb_CPI3"))->currentIndex(), -1);
    ReleaseSliderAt("slider_DPI1", 100);
    RunFlow("Btn_Apply_2");
    const VirtualMouse::Memory memory = mouse->MemoryCopy();
    EXPECT_EQ(memory[0x06], 5);
    EXPECT_EQ(memory[0x06 + 2], 0xFF);
}

}  // namespace
}  // namespace velq::ui::testing
