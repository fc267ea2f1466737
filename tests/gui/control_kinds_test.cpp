#include <gtest/gtest.h>

#include <set>
#include <string>

#include "shell/caption_targets.h"
#include "shell/layout_apply.h"
#include "shell/ui/control_kinds.h"

namespace velq::ui {
namespace {

TEST(ControlPatternTest, WildcardsMatchDigitsAndRuns) {
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    };
    const Case cases[] = {
        {"Img_Base_#", "Img_Base_3", true},
        {"Img_Base_#", "Img_Base_", false},
        {"Img_Base_#", "Img_Base_12", false},
        {"Img_Confirm*_#", "Img_Confirm_2", true},
        {"Img_Confirm*_#", "Img_Confirm3_4", true},
        {"Img_Confirm*_#", "Img_Confirm3", false},
        {"Key#", "Key9", true},
        {"Key#", "Key_Left", false},
        {"lbl_Spd*", "lbl_Spd11", true},
        {"*", "", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchControlPattern(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
    }
}

TEST(ControlKindTest, NamesGetTheirKindPlaceAndFirstPicture) {
    struct Case {
        const char* name;
        ControlKind kind;
        ControlPlace place;
        const char* picture;
        int copy;
    };
    const Case cases[] = {
        {"Btn_Apply_3", ControlKind::kButton, ControlPlace::kCopy, "", 3},
        {"Img_Apply_3", ControlKind::kPicture, ControlPlace::kCopy, "BtnS_01", 3},
        {"Img_Main_2", ControlKind::kPicture, ControlPlace::kCopy, "SetS_03", 2},
        {"Img_Lang1_4", ControlKind::kPicture, ControlPlace::kCopy, "Lang_03", 4},
        {"Img_Lang3_4", ControlKind::kPicture, ControlPlace::kCopy, "Lang_01", 4},
        {"Img_Base_5", ControlKind::kPicture, ControlPlace::kCopy, "", 5},
        {"Key1", ControlKind::kButton, ControlPlace::kPage1, "", 0},
        {"Key_Left", ControlKind::kMenuEntry, ControlPlace::kMenu, "", 0},
        {"Img_Fire3", ControlKind::kPicture, ControlPlace::kPage5, "Gun3_01", 0},
        {"Img_FireContinue", ControlKind::kPicture, ControlPlace::kPage2, "CbS_D", 0},
        {"Img_FireColor2", ControlKind::kPicture, ControlPlace::kPage5, "Col_F", 0},
        {"Img_GunMode5", ControlKind::kPicture, ControlPlace::kPage5, "GunMode5", 0},
        {"lbl_Fire_Marco_Y", ControlKind::kLabel, ControlPlace::kPage5, "", 0},
        {"lbl_Fire_Count", ControlKind::kLabel, ControlPlace::kPage2, "", 0},
        {"Img_MCULEDNum_10", ControlKind::kPicture, ControlPlace::kPage3, "Bar1_D", 0},
        {"slider_Breath_Speed", ControlKind::kSlider, ControlPlace::kPage3, "", 0},
        {"slider_DPI8", ControlKind::kSlider, ControlPlace::kPage2, "", 0},
        {"cb_CPI1", ControlKind::kCombo, ControlPlace::kPage6, "", 0},
        {"IB_InsertNoDelay", ControlKind::kLabel, ControlPlace::kGbInsert, "", 0},
        {"LED_NoDelay", ControlKind::kPicture, ControlPlace::kGbDelay, "RdS_D", 0},
        {"Pnl_PCMacro", ControlKind::kPanel, ControlPlace::kPage4, "", 0},
        {"rb_5", ControlKind::kRadio, ControlPlace::kWindow, "", 0},
    };
    for (const Case& c : cases) {
        const std::optional<ControlSpec> entry = ClassifyControl(c.name);
        ASSERT_TRUE(entry.has_value()) << c.name;
        EXPECT_EQ(entry->kind, c.kind) << c.name;
        EXPECT_EQ(entry->place, c.place) << c.name;
        EXPECT_EQ(entry->picture, c.picture) << c.name;
        if (c.place == ControlPlace::kCopy) {
            EXPECT_EQ(entry->copy, c.copy) << c.name;
        }
    }
    EXPECT_FALSE(ClassifyControl("NoSuchControl").has_value());
}

TEST(ControlKindTest, MenuEntriesAndMarkersFindTheirPanelRow) {
    EXPECT_EQ(MenuPanelOf("Key_CPI"), "Pnl_CPIKey");
    EXPECT_EQ(MenuRowOf("Key_CPID"), 2);
    EXPECT_EQ(MenuPanelOf("ST_CPIKey"), "Pnl_Special");
    EXPECT_EQ(MenuRowOf("ST_Macro"), 6);
    EXPECT_EQ(MenuPanelOf("Key1"), "");
}

// Every control that a shipped layout (any language, any page, with and without guns) or the
// caption mapping names must be a known kind: otherwise the window would have to guess.
TEST(ControlKindTest, EveryControlTheLayoutsAndCaptionsNameIsKnown) {
    std::set<std::string> names;
    for (int language = 1; language <= 3; ++language) {
        for (LayoutPage page : {LayoutPage::kOffice, LayoutPage::kGaming, LayoutPage::kAdvanced,
                                LayoutPage::kLight, LayoutPage::kMacro, LayoutPage::kEngineering}) {
            for (bool guns : {false, true}) {
                LayoutContext context;
                context.language = language;
                context.current_page = page;
                context.gun_display = guns;
                const LayoutResult<LayoutPlan> plan = ApplyLayout(context);
                ASSERT_TRUE(plan.ok()) << plan.error.message;
                for (const LayoutOp& op : plan.value->ops) {
                    names.insert(op.control);
                    if (!op.reference.empty()) {
                        names.insert(op.reference);
                    }
                }
            }
        }
    }
    for (const CaptionTarget& target : kCaptionTargets) {
        names.emplace(target.control);
    }
    std::vector<std::string> unknown;
    for (const std::string& name : names) {
        if (!ClassifyControl(name)) {
            unknown.push_back(name);
        }
    }
    EXPECT_TRUE(unknown.empty()) << "first unknown: " << (unknown.empty() ? "" : unknown[0]) << " ("
                                 << unknown.size() << " in all)";
}

}  // namespace
}  // namespace velq::ui
