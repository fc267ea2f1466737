#include "buttons/menu_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace velq {
namespace {

constexpr int kBackgroundWidth = 600;
constexpr int kBackgroundHeight = 400;

struct LabelCase {
    const char* name;
    MenuBox label;
    MenuPoint expected;
};

// The menu (120 x 160) opens at the label's centre, turning left or upwards where it would
// leave the background.
TEST(MenuRules, MenuOpensAtTheLabelCentreInsideTheBackground) {
    const LabelCase cases[] = {
        {"room right and below", {100, 50, 80, 20}, {140, 60}},
        {"too far right", {420, 50, 80, 20}, {460 - 120, 60}},
        {"too low", {100, 230, 80, 20}, {140, 240 - 160}},
        {"exactly at the edge turns", {400, 220, 80, 20}, {440 - 120, 230 - 160}},
        {"one pixel short stays", {399, 219, 80, 20}, {439, 229}},
    };
    for (const LabelCase& c : cases) {
        EXPECT_EQ(PlaceMenuAtLabel(c.label, 120, 160, kBackgroundWidth, kBackgroundHeight),
                  c.expected)
            << c.name;
    }
}

TEST(MenuRules, ColumnButtonsOpenTheMenuUpwards) {
    // A button of the office column (group at 6) and one whose menu would leave the control.
    EXPECT_EQ(PlaceMenuAtColumnButton({100, 30, 90, 22}, 120, 160, 980, 42, 6),
              (MenuPoint{110, 30 + 42 + 6 - 160 + 38}));
    EXPECT_EQ(PlaceMenuAtColumnButton({900, 30, 90, 22}, 120, 160, 980, 42, 260),
              (MenuPoint{900 + 90 - 120 + 10, 30 + 42 + 260 - 160 + 38}));
}

TEST(MenuRules, SubmenusOpenBesideTheirEntry) {
    const MenuBox main{100, 50, 120, 160};
    const MenuBox entry{1, 41, 118, 20};
    // Room on the right and below: beside the entry, tops aligned.
    EXPECT_EQ(PlaceSubmenu(main, entry, 130, 100, 100 + 120 + 130, 600, 400),
              (MenuPoint{100 + 1 + 118 + 2, 91}));
    // No room on the right: its right edge on the panel's left edge.
    EXPECT_EQ(PlaceSubmenu(main, entry, 130, 100, 600, 600, 400), (MenuPoint{100 - 130, 91}));
    // No room below: bottoms aligned.
    EXPECT_EQ(PlaceSubmenu(main, entry, 130, 300, 350, 600, 400), (MenuPoint{221, 91 + 20 - 300}));
}

TEST(MenuRules, EntryTagsAndWhatTheyOpen) {
    EXPECT_EQ(MenuEntryTag("Key_Media"), kMediaTag);
    EXPECT_EQ(SubmenuOfTag(kMediaTag), "Pnl_Media");
    EXPECT_EQ(SubmenuOfTag(MenuEntryTag("Key_CPIKey")), "Pnl_CPIKey");
    EXPECT_EQ(SubmenuOfTag(MenuEntryTag("Key_Macro")), "LB_Name");
    EXPECT_EQ(MenuEntryTag("Key_Left"), 900);
    EXPECT_EQ(MenuEntryTag("Key_CPID"), 2002);
    EXPECT_EQ(MenuEntryTag("Key_Assembly"), 0);
    EXPECT_EQ(MenuEntryTag("Key_Nothing"), 0);
    EXPECT_TRUE(SubmenuOfTag(900).empty());
    EXPECT_TRUE(SubmenuOfTag(kFireMacroTag).empty());
}

TEST(MenuRules, SpecialConfigNamesTheSpecialEntriesInItsOrder) {
    using Entries = std::vector<std::string>;
    EXPECT_EQ(SpecialEntries("Key_Fire,Key_CPIKey"), (Entries{"Key_Fire", "Key_CPIKey"}));
    EXPECT_EQ(SpecialPanelHeight(2), 52);
    EXPECT_EQ(SpecialEntries("Key_CPIKey,Key_Fire,Key_AIMKey,Key_LEDMode,Key_LEDSwitch,"
                             "Key_KeyMode,Key_KeyOff")
                  .size(),
              7u);
    // Blanks separate too; unknown names and repeats are skipped.
    EXPECT_EQ(SpecialEntries(" Key_KeyOff  Key_Nothing,,Key_KeyOff Key_FnFire"),
              (Entries{"Key_KeyOff", "Key_FnFire"}));
    EXPECT_TRUE(SpecialEntries("11111110").empty());
    EXPECT_TRUE(SpecialEntries("").empty());
}

}  // namespace
}  // namespace velq
