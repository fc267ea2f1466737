#include "shell/org_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "layout_test_support.h"

namespace velq {
namespace {

using testing::ReplaceKeyLine;
using testing::ResourceText;
using testing::WithoutKey;

std::string ShippedOrg() {
    return ResourceText("org");
}

// The shipped text with one key's line replaced (the replacement must take).
std::string OrgWith(std::string_view key, std::string_view line) {
    const std::string shipped = ShippedOrg();
    std::string text = ReplaceKeyLine(shipped, key, line);
    EXPECT_NE(text, shipped) << "no line for " << key;
    return text;
}

TEST(OrgSettingsTest, ShippedTextGivesTheShippedValues) {
    const LayoutResult<OrgSettings> org = LoadOrgSettings();
    ASSERT_TRUE(org.ok()) << org.error.message;
    const OrgSettings& s = *org.value;
    EXPECT_FALSE(s.web_enabled);
    EXPECT_EQ(s.web, "https://velq540b.example.org");
    EXPECT_EQ(s.web_x, 410);
    EXPECT_EQ(s.web_y, 9550);
    EXPECT_EQ(s.rev_manu_id, 0);
    EXPECT_EQ(s.rev_pro_id, 0);
    EXPECT_EQ(s.path, "");
    EXPECT_FALSE(s.text_rolling);
    EXPECT_FALSE(s.gun_display);
    EXPECT_EQ(s.main_panel_height_with_gun, 195);
    EXPECT_EQ(s.main_panel_height_without_gun, 165);
    EXPECT_TRUE(s.dpi_led_marker_style);
    EXPECT_EQ(s.gun6_slots, 2);
    EXPECT_EQ(s.gun7_slots, 3);
    EXPECT_EQ(s.num_order, 0);
    EXPECT_EQ(s.ap_mode, 0);
    EXPECT_TRUE(s.eeprom_mode);
    EXPECT_EQ(s.dpi_count, 12);
    EXPECT_EQ(s.special_config, kDefaultSpecialConfig);
}

struct ClampCase {
    const char* name;
    const char* line;
    int OrgSettings::*field;
    int expected;
};

class OrgClampTest : public ::testing::TestWithParam<ClampCase> {};

TEST_P(OrgClampTest, HoldsTheValueToItsRange) {
    const ClampCase& c = GetParam();
    const std::string key = std::string(c.line).substr(0, std::string(c.line).find('='));
    const LayoutResult<OrgSettings> org = ParseOrgSettings(OrgWith(key, c.line));
    ASSERT_TRUE(org.ok()) << org.error.message;
    EXPECT_EQ((*org.value).*c.field, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, OrgClampTest,
    ::testing::Values(ClampCase{"Gun6Above", "Gun6_Num=5", &OrgSettings::gun6_slots, 2},
                      ClampCase{"Gun6Below", "Gun6_Num=0", &OrgSettings::gun6_slots, 1},
                      ClampCase{"Gun6One", "Gun6_Num=1", &OrgSettings::gun6_slots, 1},
                      ClampCase{"Gun7Below", "Gun7_Num=0", &OrgSettings::gun7_slots, 1},
                      ClampCase{"Gun7Above", "Gun7_Num=9", &OrgSettings::gun7_slots, 3},
                      ClampCase{"Gun7Two", "Gun7_Num=2", &OrgSettings::gun7_slots, 2},
                      ClampCase{"NumOrderBelow", "Num_Order=-1", &OrgSettings::num_order, 0},
                      ClampCase{"NumOrderAbove", "Num_Order=4", &OrgSettings::num_order, 1},
                      ClampCase{"DpiCountZero", "DPI_Count=0", &OrgSettings::dpi_count, 1},
                      ClampCase{"DpiCountAbove", "DPI_Count=20", &OrgSettings::dpi_count, 12},
                      ClampCase{"DpiCountEleven", "DPI_Count=11", &OrgSettings::dpi_count, 11}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(OrgSettingsTest, PanelHeightsFallBackOnlyWhenAbsent) {
    std::string text = WithoutKey(WithoutKey(ShippedOrg(), "Main_Pnl_Height_With_Gun"),
                                  "Main_Pnl_Height_WithNo_Gun");
    const LayoutResult<OrgSettings> org = ParseOrgSettings(text);
    ASSERT_TRUE(org.ok()) << org.error.message;
    EXPECT_EQ(org.value->main_panel_height_with_gun, 190);
    EXPECT_EQ(org.value->main_panel_height_without_gun, 170);

    const LayoutResult<OrgSettings> bad =
        ParseOrgSettings(OrgWith("Main_Pnl_Height_With_Gun", "Main_Pnl_Height_With_Gun=tall"));
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.error.key, "Main_Pnl_Height_With_Gun");
}

TEST(OrgSettingsTest, AbsentSpecialConfigOffersAllEntriesButTheGunFn) {
    const LayoutResult<OrgSettings> org =
        ParseOrgSettings(WithoutKey(ShippedOrg(), "Special_Config"));
    ASSERT_TRUE(org.ok()) << org.error.message;
    EXPECT_EQ(org.value->special_config, kDefaultSpecialConfig);
    EXPECT_EQ(org.value->special_config.find("Key_FnFire"), std::string::npos);
}

TEST(OrgSettingsTest, EnableKeysAreOnOnlyForExactlyOne) {
    const std::string text = ReplaceKeyLine(
        ReplaceKeyLine(OrgWith("TR_Enable", "TR_Enable=1 "), "GD_Enable", "GD_Enable=2"),
        "Web_Enable", "Web_Enable = 1");
    const LayoutResult<OrgSettings> org = ParseOrgSettings(text);
    ASSERT_TRUE(org.ok()) << org.error.message;
    EXPECT_TRUE(org.value->text_rolling);
    EXPECT_FALSE(org.value->gun_display);
    EXPECT_TRUE(org.value->web_enabled);
}

struct ModeCase {
    int ap_mode;
    bool eeprom;
    bool gun_display;
};

class ApModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ApModeTest, SetsEepromModeAndDriverModeDropsGunDisplay) {
    const ModeCase& c = GetParam();
    const std::string text = ReplaceKeyLine(
        ReplaceKeyLine(ShippedOrg(), "Ap_Mode", "Ap_Mode=" + std::to_string(c.ap_mode)),
        "GD_Enable", "GD_Enable=1");
    const LayoutResult<OrgSettings> org = ParseOrgSettings(text);
    ASSERT_TRUE(org.ok()) << org.error.message;
    EXPECT_EQ(org.value->eeprom_mode, c.eeprom);
    EXPECT_EQ(org.value->gun_display, c.gun_display);
}

INSTANTIATE_TEST_SUITE_P(Modes, ApModeTest,
                         ::testing::Values(ModeCase{0, true, true}, ModeCase{1, false, false},
                                           ModeCase{2, true, true}));

struct BadOrgCase {
    const char* name;
    const char* key;
    const char* line;  // empty: remove the key
};

class BadOrgTest : public ::testing::TestWithParam<BadOrgCase> {};

TEST_P(BadOrgTest, StopsWithAnErrorNamingTheKeyAndSection) {
    const BadOrgCase& c = GetParam();
    const LayoutResult<OrgSettings> org = ParseOrgSettings(OrgWith(c.key, c.line));
    ASSERT_FALSE(org.ok());
    EXPECT_EQ(org.error.key, c.key);
    EXPECT_EQ(org.error.section, "org");
    EXPECT_NE(org.error.message.find(c.key), std::string::npos) << org.error.message;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, BadOrgTest,
    ::testing::Values(BadOrgCase{"MissingGun6", "Gun6_Num", ""},
                      BadOrgCase{"MissingWeb", "Web", ""}, BadOrgCase{"MissingPath", "Path", ""},
                      BadOrgCase{"WordForCount", "DPI_Count", "DPI_Count=twelve"},
                      BadOrgCase{"WordForEnable", "GD_Enable", "GD_Enable=yes"},
                      BadOrgCase{"UnknownMode", "Ap_Mode", "Ap_Mode=3"},
                      BadOrgCase{"IdAboveByte", "Rev_Manu_ID", "Rev_Manu_ID=256"},
                      BadOrgCase{"IdBelowByte", "Rev_Pro_ID", "Rev_Pro_ID=-1"}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(OrgSettingsTest, MissingSectionIsAnError) {
    const LayoutResult<OrgSettings> org = ParseOrgSettings("[org1]\r\nWeb_Enable=0\r\n");
    ASSERT_FALSE(org.ok());
    EXPECT_EQ(org.error.section, "org");
}

TEST(OrgSettingsTest, WebButtonsSitAtTheirPlaceWithLabelsOnThem) {
    OrgSettings s;
    s.web_x = 410;
    s.web_y = 9550;
    const std::vector<LayoutOp> ops = WebButtonOps(s);
    ASSERT_EQ(ops.size(), 8u);
    for (int i = 1; i <= 4; ++i) {
        const std::string n = std::to_string(i);
        EXPECT_EQ(DescribeLayoutOp(ops[2 * (i - 1)]), "Move Img_Web_" + n + " (410, 9550)");
        EXPECT_EQ(DescribeLayoutOp(ops[2 * (i - 1) + 1]),
                  "Fit Btn_Web_" + n + " to Img_Web_" + n + " offset (0, 0) grow (0, 0)");
    }
}

}  // namespace
}  // namespace velq
