#include "buttons/function_code.h"

#include <gtest/gtest.h>

#include <array>

#include "buttons/macro_locator.h"

namespace velq {
namespace {

TEST(FunctionCodeTest, TextAndBytesConvertBothWays) {
    struct Case {
        FunctionCode code;
        const char* text;
    };
    const Case cases[] = {
        {{0x03, 0x00, 0xCD}, "0300CD"}, {{0x00, 0x00, 0x00}, "000000"},
        {{0x06, 0x00, 0xF0}, "0600F0"}, {{0x0E, 0x06, 0x21}, "0E0621"},
        {{0xFF, 0xAB, 0x0A}, "FFAB0A"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CodeText(c.code), c.text);
        EXPECT_EQ(ParseCodeText(c.text), c.code) << c.text;
    }
}

TEST(FunctionCodeTest, EveryByteValueSurvivesTheTextForm) {
    for (int v = 0; v < 256; ++v) {
        const uint8_t b = static_cast<uint8_t>(v);
        const FunctionCode code{b, static_cast<uint8_t>(255 - v), b};
        const std::string text = CodeText(code);
        ASSERT_EQ(text.size(), 6u);
        for (char c : text) {
            EXPECT_FALSE(c >= 'a' && c <= 'f') << text;
        }
        EXPECT_EQ(ParseCodeText(text), code);
    }
}

TEST(FunctionCodeTest, RefusesTextsThatAreNotSixUpperCaseDigits) {
    for (const char* text :
         {"", "0A05", "0A05000", "0a0500", "0600f0", "0G0000", " 0A050", "0A05 0"}) {
        EXPECT_FALSE(ParseCodeText(text).has_value()) << '"' << text << '"';
    }
}

TEST(FunctionCodeTest, BytesAreTypeFirst) {
    std::array<uint8_t, 3> bytes{};
    StoreCode(FunctionCode{0x0C, 0x06, 0x07}, bytes);
    EXPECT_EQ(bytes, (std::array<uint8_t, 3>{0x0C, 0x06, 0x07}));
    EXPECT_EQ(CodeFromBytes(bytes), (FunctionCode{0x0C, 0x06, 0x07}));
    EXPECT_EQ((FunctionCode{0x06, 0x07, 0x21}.Parameter()), 0x0721);
}

TEST(FunctionCodeTest, KeyCombinationText) {
    EXPECT_EQ(KeyComboText(0x08, 0x07), "020807");  // Win + D
    EXPECT_EQ(KeyComboText(0x0F, 0x04), "020F04");
    EXPECT_EQ(KeyComboText(0x00, 0xE3), "0200E3");
}

TEST(MacroLocatorTest, SlotLocators) {
    const std::array<uint16_t, 6> expected{0x0121, 0x0221, 0x0321, 0x0421, 0x0621, 0x0721};
    for (int slot = 1; slot <= 6; ++slot) {
        const uint16_t locator = expected[static_cast<std::size_t>(slot - 1)];
        EXPECT_EQ(MacroSlotLocator(slot), locator);
        EXPECT_EQ(MacroSlotOfLocator(locator), slot);
        // The locator is the address of the length byte: 33 bytes above the slot's name.
        EXPECT_EQ(kMacroSlotAddresses[static_cast<std::size_t>(slot - 1)] + 0x21, locator);
    }
    for (int slot : {0, 7, -1}) {
        EXPECT_FALSE(MacroSlotLocator(slot).has_value()) << slot;
    }
    for (uint16_t locator : {0x0000, 0x0120, 0x0521, 0x00F0, 0x0122}) {
        EXPECT_FALSE(MacroSlotOfLocator(locator).has_value()) << locator;
    }
}

TEST(MacroLocatorTest, DriverLocators) {
    EXPECT_EQ(DriverMacroLocator(0), 0x0120);
    EXPECT_EQ(DriverMacroLocator(1), 0x0920);
    EXPECT_EQ(DriverMacroLocator(31), 0xF920);
    EXPECT_FALSE(DriverMacroLocator(32).has_value());  // beyond 16 bits
    for (std::size_t n = 0; n < 32; ++n) {
        EXPECT_EQ(DriverMacroIndexOfLocator(*DriverMacroLocator(n)), n);
    }
    for (uint16_t locator : {0x0000, 0x011F, 0x0121, 0x0921, 0x00F0, 0xFFFF}) {
        EXPECT_FALSE(DriverMacroIndexOfLocator(locator).has_value()) << locator;
    }
}

}  // namespace
}  // namespace velq
