#include "shell/layout_apply.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "layout_test_support.h"
#include "shell/layout_dialogs.h"

namespace velq {
namespace {

using testing::HasStep;
using testing::PlacementSteps;
using testing::ReplaceKeyLine;
using testing::ResourceText;
using testing::SectionOf;
using testing::StepsFor;
using testing::WithoutKey;

// The shipped [org1] with one key's line replaced (the replacement must take).
std::string Org1With(std::string_view key, std::string_view line) {
    const std::string shipped = ResourceText("org1");
    std::string text = ReplaceKeyLine(shipped, key, line);
    EXPECT_NE(text, shipped) << "no line for " << key;
    return text;
}

LayoutResult<LayoutPlan> ApplyText(const std::string& text, const LayoutContext& context = {}) {
    return ApplyLayout(SectionOf(text, "org1"), context);
}

LayoutPlan MustApply(const std::string& text, const LayoutContext& context = {}) {
    LayoutResult<LayoutPlan> plan = ApplyText(text, context);
    EXPECT_TRUE(plan.ok()) << plan.error.message;
    return plan ? *plan.value : LayoutPlan{};
}

// ---- The shipped layouts ---------------------------------------------------------------------

class ShippedLayoutTest : public ::testing::TestWithParam<int> {};

// One control of every key family; each must receive at least one step.
constexpr const char* kFamilyControls[] = {
    // frame and tabs, all four copies
    "Btn_Confirm_1", "Btn_Confirm_4", "Img_Apply_2", "Btn_Read_3", "Img_Exit_4", "Btn_Mini_1",
    "Btn_Main_1", "Img_Second_4", "Btn_Adv_2", "Btn_Breath_3", "Btn_Macro_4", "Img_Save_1",
    "Btn_Load_2", "Btn_Lang1_1", "Img_Lang3_4", "Img_Engineer_1",
    // main page and menu
    "Img_P1", "Key1", "Img_Key9", "Img_ComboKey1", "IB_ComboKey3", "Pnl_Main", "Key_WWWHome",
    "Pnl_Special", "LB_Name",
    // advanced page
    "Img_P2", "Edt_Repeat1", "Edt_DelayTime1", "lbl_FireContinue", "slider_Spd", "lbl_Spd11",
    "lbl_DbSpd1", "lbl_ScrSpd11", "Img_IsScreen", "Img_DPI7Col", "cs_DPI1Col", "lbl_DPI3Col",
    "Img_DPI4", "lbl_DPI5", "lbl_DPI6Value", "slider_DPI7", "cbb_DPICount", "lbl_AIMKey",
    "lbl_AIMKeyValue", "slider_DPI8", "slider_Breath_Speed",
    // light page
    "Img_P3", "Img_LEDOn", "lbl_B4CPIOff", "Img_LCPIOn", "Img_SaveKeyMode", "Img_MCULED6Control",
    "Img_MCULEDMode7", "lbl_RBLEDMode1", "Img_MCULEDNum_10", "lbl_MCULEDNum_1", "Img_MCULEDStep_8",
    "lbl_MCULEDStep_1",
    // macro page
    "Img_P4", "LB_PCMacroName", "LB_macro", "LB_FireMacro", "Btn_New", "Img_Start", "Btn_Delete",
    "Gb_Delay", "LED_RecDelay", "IB_NoDelay", "Edt_Delay", "Edt_Circle_Times", "Img_ReleaseContiue",
    "Img_CircleAll", "Gb_Insert", "Img_InsertBase", "CB_Insert", "LED_InsertNoDelay",
    "Edt_InsertDelay", "lbl_s_A", "edt_Repeat", "lbl_YAxisValue", "Btn_InsertStart", "Img_OK",
    "Btn_Cancel", "Pnl_PCMacro", "Btn_ImportOne", "Btn_Edit",
    // fire page
    "Img_P5", "Btn_Fire7", "Img_GunMode5", "lbl_FireRKFS3", "Edt_FireCnt1", "Edt_FireX2",
    "Edt_FireY3", "Edt_FireY2Offset", "Edt_FireTime3", "cs_FireColor2", "IB_FireColor3",
    "Btn_FireConfirm", "Img_FireExit",
    // caption labels
    "lbl_FireKey", "lbl_Fire_Count", "lbl_Roll_All_Screen", "lbl_DPI_Note", "lbl_LLED_Status",
    "lbl_Led_Mode", "lbl_LED_Effect_Fast", "lbl_Marco_Content", "lbl_MS", "IB_ReleaseStop",
    "IB_CircleAll", "lbl_Fire_Marco_Stop_Release", "lbl_Fire_Marco_Color", "lbl_SaveKeyMode",
    "Img_Base_1", "Img_Base_5"};

TEST_P(ShippedLayoutTest, ParsesCompletelyAndDrivesEveryControlFamily) {
    LayoutContext context;
    context.language = GetParam();
    const LayoutResult<LayoutPlan> plan = ApplyLayout(context);
    ASSERT_TRUE(plan.ok()) << plan.error.message;
    std::set<std::string> touched;
    for (const LayoutOp& op : plan.value->ops) {
        touched.insert(op.control);
    }
    for (const char* control : kFamilyControls) {
        EXPECT_TRUE(touched.count(control)) << control << " gets no step";
    }
    EXPECT_GT(plan.value->style.macro_name_height, 0);
    EXPECT_NE(plan.value->style.menu_selected_back_color, plan.value->style.menu_back_color);
}

TEST_P(ShippedLayoutTest, EveryKeyIsReadOrKnownToHaveNoEffect) {
    // Catches misspelt keys in the texts: a key nothing reads would silently do nothing.
    const std::string name = LayoutSectionName(GetParam());
    const LayoutResult<ConfigSection> section = LoadLayoutSection(GetParam());
    ASSERT_TRUE(section.ok()) << section.error.message;
    LayoutContext context;
    context.language = GetParam();
    const LayoutResult<LayoutPlan> plan = ApplyLayout(*section.value, context);
    ASSERT_TRUE(plan.ok()) << plan.error.message;
    const std::set<std::string> read(plan.value->keys_read.begin(), plan.value->keys_read.end());

    std::set<std::string> no_effect{"btn_b12_enable", "btn_b12_x", "btn_b12_y", "dbspd_d",
                                    "scrspd_d",       "color_j_r", "color_j_g", "color_j_b",
                                    "size_m",         "color_m_r", "color_m_g", "color_m_b"};
    for (const char* n : {"1", "2", "3"}) {
        for (const char* part : {"x", "y", "r", "g", "b", "size", "width"}) {
            no_effect.insert(std::string("combokey") + n + "_lable_" + part);
        }
    }
    for (const char* name_part : {"tte", "on", "off", "cfm", "close"}) {
        no_effect.insert(std::string("norled_") + name_part + "_x");
        no_effect.insert(std::string("norled_") + name_part + "_y");
    }
    // The places of switched-off buttons are not read either.
    for (const ConfigEntry& entry : section.value->entries()) {
        const std::string lower = LowerAscii(entry.name);
        const size_t enable = lower.rfind("_enable");
        if (enable != std::string::npos && enable + 7 == lower.size() && entry.value != "1") {
            no_effect.insert(lower.substr(0, enable) + "_x");
            no_effect.insert(lower.substr(0, enable) + "_y");
        }
    }
    for (const ConfigEntry& entry : section.value->entries()) {
        const std::string lower = LowerAscii(entry.name);
        EXPECT_TRUE(read.count(lower) || no_effect.count(lower))
            << name << ": " << entry.name << " is read by nothing";
    }
    EXPECT_GT(section.value->entries().size(), 900u);
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedLayoutTest, ::testing::Values(1, 2, 3));

TEST(ShippedLayoutsTest, LanguageOneHidesLanguageButtonsAndSlotSix) {
    LayoutContext one;
    LayoutContext two;
    two.language = 2;
    const LayoutResult<LayoutPlan> plan1 = ApplyLayout(one);
    const LayoutResult<LayoutPlan> plan2 = ApplyLayout(two);
    ASSERT_TRUE(plan1.ok() && plan2.ok());
    for (int copy = 1; copy <= 4; ++copy) {
        const std::string label = "Btn_Lang2_" + std::to_string(copy);
        EXPECT_EQ(PlacementSteps(plan1.value->ops, label),
                  std::vector<std::string>{"Hide " + label});
        EXPECT_TRUE(HasStep(plan2.value->ops, "Show " + label));
    }
    EXPECT_TRUE(HasStep(plan1.value->ops, "Hide Key6"));
    EXPECT_TRUE(HasStep(plan1.value->ops, "Show Key7"));
    EXPECT_TRUE(HasStep(plan1.value->ops, "Show Key8"));
    EXPECT_TRUE(HasStep(plan2.value->ops, "Show Key6"));
    EXPECT_TRUE(HasStep(plan2.value->ops, "Hide Key7"));
}

TEST(ShippedLayoutsTest, LayoutsOfLanguagesTwoAndThreeAreTheSame) {
    std::string two = ResourceText("org2");
    std::string three = ResourceText("org3");
    ASSERT_FALSE(two.empty());
    // Only the banner and the section header name the language.
    for (std::string* text : {&two, &three}) {
        text->erase(0, text->find(";"));
    }
    EXPECT_EQ(two, three);
}

TEST(ShippedLayoutsTest, TextsAreEightBitWithCrLfLineEnds) {
    for (const char* name : {"org", "org1", "org2", "org3"}) {
        const std::string text = ResourceText(name);
        ASSERT_FALSE(text.empty()) << name;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << name << " bare LF at " << i;
            }
        }
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << name;
        EXPECT_NE(text.find("[" + std::string(name) + "]\r\n"), std::string::npos) << name;
    }
}

TEST(LayoutLoadTest, LanguageOutOfRangeIsAnError) {
    for (int language : {0, 4}) {
        EXPECT_FALSE(LoadLayoutSection(language).ok());
        LayoutContext context;
        context.language = language;
        EXPECT_FALSE(ApplyLayout(context).ok());
    }
}

// ---- Errors ----------------------------------------------------------------------------------

class MissingLayoutKeyTest : public ::testing::TestWithParam<const char*> {};

TEST_P(MissingLayoutKeyTest, StopsWithAnErrorNamingKeyAndSection) {
    const char* key = GetParam();
    const LayoutResult<LayoutPlan> plan = ApplyText(Org1With(key, ""));
    ASSERT_FALSE(plan.ok()) << key;
    EXPECT_EQ(plan.error.key, key);
    EXPECT_EQ(plan.error.section, "org1");
    EXPECT_NE(plan.error.message.find(key), std::string::npos);
    EXPECT_NE(plan.error.message.find("[org1]"), std::string::npos);
}

// Keys read by a rule started from another key, anchors, and keys that must be present although
// they change nothing.
INSTANTIATE_TEST_SUITE_P(Keys, MissingLayoutKeyTest,
                         ::testing::Values("Btn_A2_Y", "Btn_A2_Enable", "Btn_Space_B", "Key_Width",
                                           "Spd_D", "MacroContent_H", "DPI3_Steps_D",
                                           "AIMKey_Steps_D", "RecDelay_H", "MCULEDStep_D",
                                           "Color_G_SP_B", "LED_Step_8_Lable_Width",
                                           "DPI_Lable_Size", "Marco_Stop_Over_Lable_Wrap", "MK_W_Y",
                                           "MN_Close_X", "Size_L"));

class UnreadLayoutKeyTest : public ::testing::TestWithParam<const char*> {};

TEST_P(UnreadLayoutKeyTest, MayBeAbsent) {
    EXPECT_TRUE(ApplyText(Org1With(GetParam(), "")).ok()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Keys, UnreadLayoutKeyTest,
                         ::testing::Values("Btn_B12_Enable", "Btn_B12_X", "DbSpd_D", "ScrSpd_D",
                                           "Color_J_R", "ComboKey2_Lable_X",
                                           "ComboKey3_Lable_Width", "Size_M", "Color_M_B",
                                           "NorLED_Tte_X", "NorLED_Close_Y"));

TEST(LayoutErrorTest, NonNumericValueNamesKeyAndSection) {
    const LayoutResult<LayoutPlan> plan = ApplyText(Org1With("Key_Width", "Key_Width=wide"));
    ASSERT_FALSE(plan.ok());
    EXPECT_EQ(plan.error.key, "Key_Width");
    EXPECT_EQ(plan.error.section, "org1");
    EXPECT_NE(plan.error.message.find("wide"), std::string::npos);
}

// A value far outside any window is refused before a rule computes with it: a spacing of
// 2147483647 would overflow the positions it is added to.
TEST(LayoutErrorTest, ValuesBeyondAnyWindowAreOutOfRange) {
    struct Case {
        const char* key;
        const char* line;
        bool ok;
    };
    const Case cases[] = {
        {"Spd_D", "Spd_D=2147483647", false},    {"Spd_D", "Spd_D=-2147483648", false},
        {"Key_Width", "Key_Width=32768", false}, {"Key_Width", "Key_Width=32767", true},
        {"Spd_D", "Spd_D=-32767", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const LayoutResult<LayoutPlan> plan = ApplyText(Org1With(c.key, c.line));
        EXPECT_EQ(plan.ok(), c.ok);
        if (!c.ok) {
            EXPECT_EQ(plan.error.key, c.key);
            EXPECT_NE(plan.error.message.find("out of range"), std::string::npos);
        }
    }
}

// ---- Rules -----------------------------------------------------------------------------------

TEST(FrameButtonTest, DisabledButtonHidesAllCopiesWithoutReadingItsPlace) {
    std::string text = Org1With("Btn_A1_Enable", "Btn_A1_Enable=0");
    text = WithoutKey(WithoutKey(text, "Btn_A1_X"), "Btn_A1_Y");
    const LayoutPlan plan = MustApply(text);
    for (int copy = 1; copy <= 4; ++copy) {
        for (const char* stem : {"Btn_Confirm_", "Img_Confirm_"}) {
            const std::string control = stem + std::to_string(copy);
            EXPECT_EQ(PlacementSteps(plan.ops, control),
                      std::vector<std::string>{"Hide " + control});
        }
    }
}

TEST(FrameButtonTest, TrailingSpaceAfterOneStillEnables) {
    const LayoutPlan plan = MustApply(Org1With("Btn_A7_Enable", "Btn_A7_Enable=1 "));
    for (int copy = 1; copy <= 4; ++copy) {
        const std::string n = std::to_string(copy);
        EXPECT_EQ(
            StepsFor(plan.ops, "Img_Mini_" + n),
            (std::vector<std::string>{"Show Img_Mini_" + n, "Move Img_Mini_" + n + " (960, 16)"}));
        EXPECT_EQ(
            StepsFor(plan.ops, "Btn_Mini_" + n),
            (std::vector<std::string>{"Show Btn_Mini_" + n, "Fit Btn_Mini_" + n + " to Img_Mini_" +
                                                                n + " offset (0, 0) grow (0, 0)"}));
    }
}

TEST(FrameButtonTest, EnableOtherThanOneHides) {
    for (const char* value : {"2", "-1"}) {
        const LayoutPlan plan =
            MustApply(Org1With("Btn_A2_Enable", std::string("Btn_A2_Enable=") + value));
        EXPECT_EQ(StepsFor(plan.ops, "Img_Apply_3"), std::vector<std::string>{"Hide Img_Apply_3"});
    }
}

TEST(FrameButtonTest, TabLabelLeavesRoomForThePictureEdges) {
    std::string text = Org1With("Btn_Space_F", "Btn_Space_F=5");
    text = ReplaceKeyLine(text, "Btn_Space_B", "Btn_Space_B=3");
    text = ReplaceKeyLine(text, "Btn_B4_X", "Btn_B4_X = 30");
    const LayoutPlan plan = MustApply(text);
    for (int copy = 1; copy <= 4; ++copy) {
        const std::string n = std::to_string(copy);
        EXPECT_EQ(
            PlacementSteps(plan.ops, "Btn_Adv_" + n),
            (std::vector<std::string>{"Show Btn_Adv_" + n, "Fit Btn_Adv_" + n + " to Img_Adv_" + n +
                                                               " offset (5, 0) grow (-8, 0)"}));
        EXPECT_TRUE(HasStep(plan.ops, "Move Img_Adv_" + n + " (30, 180)"));
    }
}

TEST(FrameButtonTest, EngineeringTabAlwaysSitsTopLeft) {
    const LayoutPlan plan = MustApply(ResourceText("org1"));
    for (const char* control : {"Img_Engineer_2", "Btn_Engineer_2"}) {
        EXPECT_EQ(PlacementSteps(plan.ops, control),
                  std::vector<std::string>{"Move " + std::string(control) + " (10, 10)"});
    }
}

TEST(MainPageTest, SlotsTakeTheirPlaceAndCommonWidth) {
    std::string text = Org1With("Key_Width", "Key_Width=150");
    const LayoutPlan plan = MustApply(text);
    EXPECT_EQ(StepsFor(plan.ops, "Img_Key2"),
              (std::vector<std::string>{"Show Img_Key2", "Move Img_Key2 (700, 124)",
                                        "Width Img_Key2 150"}));
    EXPECT_TRUE(HasStep(plan.ops, "FontSize Key1 9"));
    EXPECT_TRUE(HasStep(plan.ops, "FontSize IB_ComboKey2 8"));  // one smaller than Size_C
}

struct ComboCase {
    const char* name;
    bool gun_display;
    LayoutPage page;
    bool shown;
};

class ComboKeyThreeTest : public ::testing::TestWithParam<ComboCase> {};

TEST_P(ComboKeyThreeTest, ShowsOnlyOnGamingPageWithGunDisplay) {
    const ComboCase& c = GetParam();
    LayoutContext context;
    context.gun_display = c.gun_display;
    context.current_page = c.page;
    const LayoutPlan plan = MustApply(ResourceText("org1"), context);
    const std::string visible = c.shown ? "Show " : "Hide ";
    EXPECT_EQ(
        StepsFor(plan.ops, "Img_ComboKey3"),
        (std::vector<std::string>{"Move Img_ComboKey3 (310, 530)", visible + "Img_ComboKey3"}));
    EXPECT_TRUE(HasStep(plan.ops, "Move IB_ComboKey3 (338, 531)"));
    EXPECT_TRUE(HasStep(plan.ops, visible + "IB_ComboKey3"));
    EXPECT_TRUE(HasStep(plan.ops, "Show Img_ComboKey1"));
    EXPECT_TRUE(plan.style.combo_key3_permitted);
}

INSTANTIATE_TEST_SUITE_P(
    States, ComboKeyThreeTest,
    ::testing::Values(ComboCase{"GamingWithGuns", true, LayoutPage::kGaming, true},
                      ComboCase{"OfficeWithGuns", true, LayoutPage::kOffice, false},
                      ComboCase{"GamingWithoutGuns", false, LayoutPage::kGaming, false},
                      ComboCase{"LightWithGuns", true, LayoutPage::kLight, false}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(MenuTest, SpacesAroundEqualsAndMenuWidths) {
    const LayoutPlan plan = MustApply(Org1With("M_L_W", "M_L_W = 210"));
    EXPECT_TRUE(HasStep(plan.ops, "Width Pnl_Main 210"));
    EXPECT_TRUE(HasStep(plan.ops, "Width Key_FireMacro 208"));
    EXPECT_TRUE(HasStep(plan.ops, "Width Pnl_Special 170"));
    EXPECT_TRUE(HasStep(plan.ops, "Width Pnl_WWW 170"));
    EXPECT_TRUE(HasStep(plan.ops, "Width Key_Mute 168"));
}

TEST(MenuTest, ColourPartsAreHeldToAByte) {
    std::string text = Org1With("Color_G_SP_R", "Color_G_SP_R=300");
    text = ReplaceKeyLine(text, "Color_G_SP_G", "Color_G_SP_G=-5");
    text = ReplaceKeyLine(text, "Color_G_SP_B", "Color_G_SP_B=1");
    const LayoutPlan plan = MustApply(text);
    EXPECT_EQ(plan.style.menu_selected_back_color, 255u + 0u * 256u + 1u * 65536u);
}

TEST(AdvancedPageTest, PointerScalesFollowTheirSliderAndSharedSpacing) {
    std::string text = Org1With("Spd_D", "Spd_D=20");
    text = ReplaceKeyLine(text, "DbSpd_D", "DbSpd_D=99");  // not used: all rows use Spd_D
    const LayoutPlan plan = MustApply(text);
    EXPECT_TRUE(HasStep(plan.ops, "Move slider_Spd (660, 244)"));
    EXPECT_TRUE(HasStep(plan.ops, "Move lbl_Spd1 (664, 270)"));
    EXPECT_TRUE(HasStep(plan.ops, "Move lbl_Spd11 (864, 270)"));
    EXPECT_TRUE(HasStep(plan.ops, "Move lbl_DbSpd11 (864, 376)"));
    EXPECT_TRUE(HasStep(plan.ops, "Move lbl_ScrSpd2 (684, 450)"));
}

TEST(AdvancedPageTest, OptionLabelsSitLeftOfTheirPictures) {
    const LayoutPlan plan = MustApply(ResourceText("org1"));
    EXPECT_TRUE(HasStep(plan.ops, "Move lbl_FireContinue (660, 188)"));
    EXPECT_TRUE(HasStep(plan.ops, "Move lbl_IsControl (660, 298)"));
    EXPECT_TRUE(HasStep(plan.ops, "Move lbl_IsScreen (666, 478)"));
}

TEST(AdvancedPageTest, LevelRowFontsSwatchesAndSliders) {
    const LayoutPlan plan = MustApply(Org1With("Size_D", "Size_D=8"));
    EXPECT_TRUE(HasStep(plan.ops, "FontSize lbl_DPI2Value 8"));
    EXPECT_TRUE(HasStep(plan.ops, "FontSize lbl_AIMKey 9"));
    EXPECT_TRUE(HasStep(plan.ops, "FontSize Edt_DelayTime1 8"));
    EXPECT_TRUE(HasStep(plan.ops, "Fit cs_DPI4Col to Img_DPI4Col offset (0, 0) grow (0, 0)"));
    EXPECT_TRUE(HasStep(plan.ops, "Move slider_DPI8 (310, 371)"));
    for (const char* slider : {"slider_SrcSpd", "slider_DPI8", "slider_Breath_Speed"}) {
        EXPECT_TRUE(HasStep(plan.ops, std::string("SliderThumb ") + slider + " Slider_Thumb"));
        EXPECT_TRUE(HasStep(plan.ops, std::string("SliderTrack ") + slider + " Slider_Ruler"));
    }
}

class LampOrderTest : public ::testing::TestWithParam<int> {};

TEST_P(LampOrderTest, LabelsStandUnderTheirPictureInTheChosenOrder) {
    LayoutContext context;
    context.num_order = GetParam();
    const LayoutPlan plan = MustApply(ResourceText("org1"), context);
    EXPECT_TRUE(
        HasStep(plan.ops, "Row Img_MCULEDNum_3 (404, 410) cell 2 of Img_MCULEDNum_1 gap 4"));
    // Under picture 1 stands label 1, or label 10 when the numbers run backwards.
    const std::string first = GetParam() == 0 ? "lbl_MCULEDNum_1" : "lbl_MCULEDNum_10";
    EXPECT_TRUE(HasStep(plan.ops, "Row " + first + " (404, 434) cell 0 of Img_MCULEDNum_1 gap 4"));
}

INSTANTIATE_TEST_SUITE_P(Orders, LampOrderTest, ::testing::Values(0, 1));

TEST(LightPageTest, OptionCaptionsAndParkedSteps) {
    const LayoutPlan plan = MustApply(ResourceText("org1"));
    EXPECT_TRUE(HasStep(plan.ops, "Move Img_B4CPIOn (404, 140)"));
    EXPECT_TRUE(HasStep(plan.ops, "Move lbl_B4CPIOn (400, 138)"));
    // The on/off pictures of the light itself place no caption; the caption keys do.
    const std::vector<std::string> led_on = PlacementSteps(plan.ops, "lbl_LEDOn");
    EXPECT_EQ(led_on,
              (std::vector<std::string>{"Move lbl_LEDOn (400, 104)", "Width lbl_LEDOn 110"}));
    EXPECT_TRUE(HasStep(plan.ops, "Move slider_Breath_Speed (456, 368)"));
    EXPECT_TRUE(HasStep(plan.ops, "Move Img_MCULEDStep_5 (9000, 368)"));
}

TEST(MacroPageTest, ListsGroupsAndInsertBox) {
    const LayoutPlan plan = MustApply(Org1With("MacroContent_H", "MacroContent_H=304"));
    EXPECT_TRUE(HasStep(plan.ops, "Move LB_macro (450, 120)"));
    EXPECT_TRUE(HasStep(plan.ops, "Height LB_macro 304"));
    EXPECT_TRUE(HasStep(plan.ops, "Width LB_PCMacroName 220"));
    EXPECT_TRUE(HasStep(plan.ops, "Move Img_InsertBase (780, 126)"));
    EXPECT_TRUE(HasStep(plan.ops, "Move LED_InsertNoDelay (22, 94)"));
    EXPECT_TRUE(HasStep(plan.ops, "Move IB_InsertNoDelay (20, 94)"));
    EXPECT_TRUE(HasStep(plan.ops, "Move lbl_Delay (22, 122)"));
    EXPECT_TRUE(HasStep(plan.ops, "Move lbl_s_A (140, 122)"));
    EXPECT_TRUE(HasStep(plan.ops, "Move lbl_XAxisValue (32, 122)"));
    EXPECT_TRUE(HasStep(plan.ops, "Move IB_DelayTime (10, 60)"));
    EXPECT_TRUE(HasStep(plan.ops, "Width Pnl_PCMacro 120"));
    EXPECT_TRUE(HasStep(plan.ops, "Width Btn_NewName 118"));
    EXPECT_EQ(plan.style.macro_name_height, 20);
}

TEST(FirePageTest, GunsRowsAndButtons) {
    const LayoutPlan plan = MustApply(ResourceText("org1"));
    EXPECT_TRUE(HasStep(plan.ops, "Fit Btn_Fire3 to Img_Fire3 offset (0, 0) grow (0, 0)"));
    EXPECT_TRUE(HasStep(plan.ops, "Fit lbl_FireRKFS2 to Img_FireRKFS2 offset (-2, 0) grow (4, 4)"));
    EXPECT_TRUE(HasStep(plan.ops, "Move Edt_FireY3Offset (660, 246)"));
    EXPECT_TRUE(HasStep(plan.ops, "Fit IB_FireColor1 to Img_FireColor1 offset (0, 0) grow (0, 0)"));
    EXPECT_TRUE(HasStep(plan.ops, "Fit Btn_FireExit to Img_FireExit offset (0, 0) grow (0, 0)"));
    EXPECT_TRUE(HasStep(plan.ops, "FontSize Btn_FireConfirm 9"));
}

TEST(PicturesTest, LanguagePicturesGoToBackgroundCurrentPageAndFirePage) {
    LayoutContext context;
    context.language = 2;
    context.current_page = LayoutPage::kEngineering;
    const LayoutResult<LayoutPlan> plan = ApplyLayout(context);
    ASSERT_TRUE(plan.ok()) << plan.error.message;
    const std::vector<LayoutOp>& ops = plan.value->ops;
    ASSERT_GE(ops.size(), 7u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(DescribeLayoutOp(ops[i]),
                  "Picture Img_Base_" + std::to_string(i + 1) + " L2_BackGround");
    }
    EXPECT_EQ(DescribeLayoutOp(ops[5]), "Picture Img_P4 L2_Back4");
    EXPECT_EQ(DescribeLayoutOp(ops[6]), "Picture Img_P5 L2_Back5");
}

TEST(LabelKeysTest, PlaceColourSizeWidthAndWrap) {
    std::string text = Org1With("Marco_Stop_Over_Lable_Wrap", "Marco_Stop_Over_Lable_Wrap=1");
    text = ReplaceKeyLine(text, "Gun_Marco_Fire_Count_Lable_Width",
                          "Gun_Marco_Fire_Count_Lable_Width=66");
    const LayoutPlan plan = MustApply(text);
    EXPECT_TRUE(plan.style.release_stop_wrap);
    EXPECT_FALSE(plan.style.release_continue_wrap);
    EXPECT_EQ(StepsFor(plan.ops, "lbl_Fire_Marco_Count"),
              (std::vector<std::string>{
                  "Move lbl_Fire_Marco_Count (420, 130)", "FontColor lbl_Fire_Marco_Count 15132390",
                  "FontSize lbl_Fire_Marco_Count 9", "Width lbl_Fire_Marco_Count 66"}));
    // The shared look of the mode row reaches both mode sets.
    EXPECT_TRUE(HasStep(plan.ops, "Width lbl_RBLEDMode7 112"));
    EXPECT_TRUE(HasStep(plan.ops, "FontSize lbl_MCULEDMode1 9"));
}

TEST(TextOrderTest, StepsFollowTheOrderOfTheKeys) {
    // Move the page picture key of the office page ahead of everything else.
    std::string text = WithoutKey(WithoutKey(ResourceText("org1"), "P1_X"), "P1_Y");
    const size_t header = text.find("[org1]\r\n") + 8;
    text.insert(header, "P1_Y=7\r\nP1_X=5\r\n");
    const LayoutPlan plan = MustApply(text);
    const auto index_of = [&](const std::string& description) {
        for (size_t i = 0; i < plan.ops.size(); ++i) {
            if (DescribeLayoutOp(plan.ops[i]) == description) {
                return i;
            }
        }
        return plan.ops.size();
    };
    EXPECT_LT(index_of("Move Img_P1 (5, 7)"), index_of("FontSize Btn_Confirm_1 10"));
    EXPECT_LT(index_of("FontSize Btn_Confirm_1 10"), index_of("Move Img_P2 (190, 84)"));
}

// ---- Dialogs ---------------------------------------------------------------------------------

TEST(DialogLayoutTest, KeyCombinationUsesItsOwnKeysAndTheOthersShareTheirs) {
    const ConfigSection section = SectionOf(ResourceText("org1"), "org1");
    const LayoutResult<DialogLayout> combo =
        EditorDialogLayout(section, EditorDialog::kKeyCombination);
    ASSERT_TRUE(combo.ok()) << combo.error.message;
    EXPECT_TRUE(HasStep(combo.value->ops, "Move lbl_Assembly (420, 220)"));
    EXPECT_TRUE(HasStep(combo.value->ops, "Width Edt_Assembly 220"));
    EXPECT_TRUE(HasStep(combo.value->ops, "Move CB_Win (570, 320)"));
    EXPECT_TRUE(HasStep(combo.value->ops, "Move IB_Confirm (390, 380)"));
    // The captions on the picture buttons are text of the dialog: its size and colour.
    EXPECT_EQ(StepsFor(combo.value->ops, "IB_Cancel"),
              (std::vector<std::string>{"FontSize IB_Cancel 12", "FontColor IB_Cancel 15132390",
                                        "Move IB_Cancel (500, 380)"}));
    EXPECT_EQ(StepsFor(combo.value->ops, "IB_Close"),
              std::vector<std::string>{"Move IB_Close (960, 20)"});

    const LayoutResult<DialogLayout> delay = EditorDialogLayout(section, EditorDialog::kDelay);
    ASSERT_TRUE(delay.ok()) << delay.error.message;
    EXPECT_TRUE(HasStep(delay.value->ops, "Move lbl_EditTime (420, 230)"));
    EXPECT_TRUE(HasStep(delay.value->ops, "Move IB_Confirm (390, 360)"));
    EXPECT_EQ(StepsFor(delay.value->ops, "CB_Win"), std::vector<std::string>{});

    const ConfigSection without = SectionOf(WithoutKey(ResourceText("org1"), "AKC_W"), "org1");
    const LayoutResult<DialogLayout> broken =
        EditorDialogLayout(without, EditorDialog::kKeyCombination);
    ASSERT_FALSE(broken.ok());
    EXPECT_EQ(broken.error.key, "AKC_W");
    // The other dialogs do not read it.
    EXPECT_TRUE(EditorDialogLayout(without, EditorDialog::kMacroName).ok());
}

// A layout's plan keeps the steps of every dialog, for the dialogs opened while it is current.
TEST(DialogLayoutTest, ThePlanKeepsEveryDialogsSteps) {
    const std::string text = Org1With("MNC_W", "MNC_W=240");
    const LayoutPlan plan = MustApply(text);
    const ConfigSection section = SectionOf(text, "org1");
    for (const EditorDialog dialog : kEditorDialogs) {
        const LayoutResult<DialogLayout> own = EditorDialogLayout(section, dialog);
        ASSERT_TRUE(own.ok()) << own.error.message;
        EXPECT_EQ(plan.dialogs[static_cast<size_t>(dialog)], own.value->ops);
    }
    EXPECT_TRUE(
        HasStep(plan.dialogs[static_cast<size_t>(EditorDialog::kValue)], "Width Edt_EditTime 240"));
    // None of them is a step of the window.
    EXPECT_EQ(StepsFor(plan.ops, "IB_Confirm"), std::vector<std::string>{});
}

}  // namespace
}  // namespace velq
