#include "buttons/function_name.h"

#include <gtest/gtest.h>

#include "buttons/function_code.h"
#include "buttons/function_table.h"
#include "buttons/key_list.h"
#include "name_fakes.h"

namespace velq {
namespace {

using test::FakeCaptions;
using test::FakeGunNames;
using test::FakeMacroNames;

struct NameCase {
    const char* code;
    const char* name;
};

// Answers every key with the key itself, so a test sees which caption a name came from.
class EchoCaptions : public CaptionLookup {
public:
    std::string Caption(std::string_view key) const override { return std::string(key); }
};

class FunctionNameTest : public ::testing::Test {
protected:
    FunctionNameTest() {
        macros_.slots = {{1, "Alpha"}, {5, "Five"}};
        macros_.driver_macros = {"M0", "M1", "M2"};
    }

    std::string Name(std::string_view code, bool eeprom_mode = true) const {
        return FunctionName(code, NameSources{captions_, macros_, guns_, eeprom_mode});
    }

    FakeCaptions captions_ = test::Lang1Captions();
    FakeMacroNames macros_;
    FakeGunNames guns_;
};

TEST_F(FunctionNameTest, NamesCodesByTheRulesInOrder) {
    const NameCase cases[] = {
        // Any aim key is named the same, whatever its DPI index.
        {"0A0500", "Alvo"},
        {"0A0000", "Alvo"},
        {"0AFF12", "Alvo"},
        // The table comes before the key-combination rule.
        {"020807", "Area de Trabalho"},
        {"020100", "Ctrl+"},
        {"020300", "Ctrl+Shift+"},
        {"020F04", "Ctrl+Shift+Alt+Win+A"},
        {"020104", "Ctrl+A"},
        {"020004", "A"},
        {"0208E3", "Win+Win"},
        {"020000", ""},
        {"0200DF", ""},  // a usage without a name
        {"0600F0", "Chave de fogo"},
        {"010100", "Clique esquerdo"},
        {"010200", "Clique direito "},
        {"000000", "İnterruptor Off"},
        {"0D0000", "İnterruptor de pistola  Fn"},
        {"050000", "Loop DPI"},
        {"0300CD", "Play/a Pausa"},
        {"03022A", "Favoritos"},
        // Codes no rule names.
        {"010300", ""},
        {"010000", ""},
        {"040000", ""},
        {"0B0121", ""},
        {"110000", ""},
        {"030195", ""},
        {"030194", ""},  // a name key the table lacks
        // Texts that are not codes.
        {"0a0500", ""},
        {"0600f0", ""},
        {"", ""},
        {"0A05", ""},
        {"0A050000", ""},
        {"0G0000", ""},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(Name(c.code), c.name) << c.code;
    }
}

TEST_F(FunctionNameTest, CapturedKeysAreNamedLikeTheMenu) {
    // Win + D from the combination dialog is the desktop entry, not "Win+D".
    const uint8_t d = UsageOfKeyIndex(KeyIndexOfVirtualKey('D'));
    EXPECT_EQ(Name(KeyComboText(kModWin, d)), "Area de Trabalho");
    EXPECT_EQ(Name(KeyComboText(kModWin | kModShift, d)), "Shift+Win+D");
    // The left Windows key alone captures usage E3, named "Win".
    EXPECT_EQ(Name(KeyComboText(0, UsageOfKeyIndex(KeyIndexOfVirtualKey(0x5B)))), "Win");
    // OEM_8 has no usage, so the captured code has no name.
    EXPECT_EQ(Name(KeyComboText(0, UsageOfKeyIndex(KeyIndexOfVirtualKey(0xDF)))), "");
}

TEST_F(FunctionNameTest, EveryPredefinedCodeIsNamedByItsKey) {
    const EchoCaptions echo;
    for (const PredefinedFunction& function : kPredefinedFunctions) {
        const std::string code = MenuCode(function.tag, 7);
        EXPECT_EQ(FunctionName(code, NameSources{echo, macros_, guns_, true}), function.name_key)
            << function.entry;
        EXPECT_EQ(FunctionName(code, NameSources{echo, macros_, guns_, false}), function.name_key)
            << function.entry;
    }
}

TEST_F(FunctionNameTest, MacroCodesAreNamedFromTheSlotsWithMacrosInTheMouse) {
    const NameCase cases[] = {
        {"060121", "Alpha"}, {"0E0121", "Alpha"},
        {"0E0621", "Five"},  {"060221", ""},  // slot 2 has no name
        {"060521", ""},                       // 0x0521 lies in the fire area, not a slot
        {"060120", ""},                       // a driver locator
        {"0E00F0", ""},                       // the hold form of the fire key is no slot
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(Name(c.code, true), c.name) << c.code;
    }
}

TEST_F(FunctionNameTest, MacroCodesAreNamedFromTheDriverListInDriverMode) {
    const NameCase cases[] = {
        {"060120", "M0"}, {"0E0920", "M1"}, {"061120", "M2"},
        {"061920", ""},  // position 3: the list holds three macros
        {"060121", ""},  // a slot locator
        {"060100", ""},   {"060920", "M1"}, {"0600F0", "Chave de fogo"},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(Name(c.code, false), c.name) << c.code;
    }
}

TEST_F(FunctionNameTest, GunKeysWithoutTheGunKeyFileUseThePredefinedGuns) {
    const NameCase cases[] = {
        {"0C0101", "AKM"},
        {"0C0303", "M4"},
        {"0C0606", "Fogo 5.56mm "},
        {"0C0607", "Fogo 5.56mm "},
        {"0C080A", "Fogo 7.62mm"},
        {"0C0909", ""},
        {"0C0202", ""},  // Str601 is missing from the fake table
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(Name(c.code), c.name) << c.code;
    }
}

TEST_F(FunctionNameTest, GunKeysWithTheGunKeyFileUseTheLastMatchingEntry) {
    guns_.file_found = true;
    guns_.texts[1] = "0C0303";
    guns_.texts[4] = "0C0303";
    guns_.texts[9] = "0C0A0A";
    const NameCase cases[] = {
        {"0C0303", "Fire Macro5"},  // the list's name wins over the gun's own
        {"0C0A0A", "Fire Macro10"},
        // Guns of the fire page that the list does not hold keep their names.
        {"0C0101", "AKM"},
        {"0C0607", "Fogo 5.56mm "},
        {"0C080A", "Fogo 7.62mm"},
        {"0C0909", ""},  // neither in the list nor a gun of the page
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(Name(c.code), c.name) << c.code;
    }
}

TEST(MenuCodeTest, BuildsTheCodeOfEveryMenuEntry) {
    struct Case {
        int tag;
        uint8_t aim;
        const char* code;
    };
    const Case cases[] = {
        {900, 0, "010100"},   {904, 0, "011000"},  {1000, 0, "0600F0"}, {1002, 5, "0A0500"},
        {1002, 11, "0A0B00"}, {1002, 0, "0A0000"}, {1103, 0, "020807"}, {1406, 0, "03022A"},
        {2002, 0, "080000"},  {0, 0, ""},          {999, 0, ""},        {1007, 0, ""},
        {2003, 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MenuCode(c.tag, c.aim), c.code) << c.tag;
    }
}

TEST(GunKeyListNameTest, CountsFromOneWithoutABlank) {
    EXPECT_EQ(GunKeyListName(0), "Fire Macro1");
    EXPECT_EQ(GunKeyListName(2), "Fire Macro3");
    EXPECT_EQ(GunKeyListName(9), "Fire Macro10");
}

}  // namespace
}  // namespace velq
