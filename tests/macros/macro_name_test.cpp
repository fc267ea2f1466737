#include "macros/macro_name.h"

#include <gtest/gtest.h>

namespace velq {
namespace {

TEST(MacroNameTest, StoresUnitsHighByteFirst) {
    const MacroName name = MakeMacroName(u"ABC");
    MacroName expected{};
    expected[1] = 0x41;
    expected[3] = 0x42;
    expected[5] = 0x43;
    EXPECT_EQ(name, expected);
    EXPECT_EQ(NameToHex(u"AB"), "00410042");
    EXPECT_EQ(MacroNameText(name), u"ABC");
    EXPECT_EQ(MacroNameHex(name).substr(0, 14), "00410042004300");
    EXPECT_EQ(MacroNameHex(name).size(), 64u);
}

TEST(MacroNameTest, HexToNameReadsFourDigitGroups) {
    struct Case {
        const char* hex;
        std::u16string name;
    };
    const Case cases[] = {
        {"004100420043", u"ABC"},
        {"00410042004300000000", u"ABC"},
        {"6E2F620F", u"\u6E2F\u620F"},
        {"0041ZZZZ0042", u"AB"},  // a group that is not hexadecimal is skipped
        {"410042", u"AB"},        // the groups are taken from the right end
        {"", u""},
        {"00000041", u""},  // the visible name ends at the first zero unit
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HexToName(c.hex), c.name) << c.hex;
    }
}

TEST(MacroNameTest, NamesSurviveTheFieldUpToSixteenUnits) {
    const std::u16string names[] = {u"Macro 1", u"\u5B8F1", u"ABCDEFGHIJKLMNOP", u"\u00E7\u00E3o"};
    for (const std::u16string& text : names) {
        EXPECT_EQ(MacroNameText(MakeMacroName(text)), text);
    }
    EXPECT_EQ(MacroNameText(MakeMacroName(u"ABCDEFGHIJKLMNOPQRS")), u"ABCDEFGHIJKLMNOP");
    // A surrogate pair that would be cut at the sixteenth unit is left out whole.
    const std::u16string pair_at_end = std::u16string(15, u'x') + u"\U0001F600";
    EXPECT_EQ(MacroNameText(MakeMacroName(pair_at_end)), std::u16string(15, u'x'));
    EXPECT_EQ(MacroNameText(MakeMacroName(std::u16string(u"AB\0CD", 5))), u"AB");
}

TEST(MacroNameTest, FreeEntries) {
    MacroName name{};
    EXPECT_TRUE(IsFreeMacroName(name));
    name.fill(0xFF);
    EXPECT_TRUE(IsFreeMacroName(name));
    EXPECT_FALSE(IsFreeMacroName(MakeMacroName(u"A")));
    name = MacroName{};
    name[0] = 0xFF;
    EXPECT_FALSE(IsFreeMacroName(name));
}

}  // namespace
}  // namespace velq
