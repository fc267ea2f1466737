#include "macros/macro_decode.h"

#include <gtest/gtest.h>

#include "macro_test_util.h"

namespace velq {
namespace {

using test::DeviceContent;
using test::UtilityContent;
using Bytes = std::vector<uint8_t>;

struct DecodeCase {
    const char* what;
    Bytes tokens;
    MacroLines lines;  // line 0 included
};

TEST(DecodeMacroTest, TurnsTokensIntoLines) {
    const DecodeCase cases[] = {
        {"click with a wait",
         {0xA1, 0xFE, 0x0C, 0x21},
         {"10", "1 LeftKey CODE:00A1", "0 96", "2 LeftKey CODE:0021"}},
        {"wrapper makes no line",
         {0xFD, 0x02, 0xA1, 0x21, 0xFC},
         {"00", "1 LeftKey CODE:00A1", "2 LeftKey CODE:0021"}},
        {"five full waits are one line",
         {0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF},
         {"10", "0 10200"}},
        {"six full waits are two lines",
         {0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF},
         {"10", "0 10200", "0 2040"}},
        {"moves by sign",
         {0xFB, 0x7F, 0xFB, 0x80, 0xFA, 0x00, 0xFA, 0xFF},
         {"00", "3 FB7F", "4 FB80", "5 FA00", "6 FAFF"}},
        {"modifiers by their key names",
         {0x81, 0x01, 0x81, 0x02, 0x81, 0x04, 0x81, 0x08, 0x81, 0x80, 0x01, 0x80},
         {"00", "1 Ctrl CODE:8101", "1 Shift CODE:8102", "1 Alt CODE:8104",
          "1 Left Windows CODE:8108", "1 Right Windows CODE:8180", "2 Right Windows CODE:0180"}},
        {"keys by their usage names",
         {0x82, 0x04, 0x02, 0x04, 0x82, 0xE3, 0x82, 0x32},
         {"00", "1 A CODE:8204", "2 A CODE:0204", "1 Win CODE:82E3", "1  CODE:8232"}},
        {"every mouse button",
         {0xA1, 0xA2, 0xA4, 0xA8, 0xB0, 0x21, 0x22, 0x24, 0x28, 0x30},
         {"00", "1 LeftKey CODE:00A1", "1 RightKey CODE:00A2", "1 MiddleKey CODE:00A4",
          "1 Forward CODE:00A8", "1 Backward CODE:00B0", "2 LeftKey CODE:0021",
          "2 RightKey CODE:0022", "2 MiddleKey CODE:0024", "2 Forward CODE:0028",
          "2 Backward CODE:0030"}},
        {"stops at an unknown opcode", {0xA1, 0xA3, 0x21}, {"00", "1 LeftKey CODE:00A1"}},
        {"stops at a two-button token", {0x21, 0x23}, {"00", "2 LeftKey CODE:0021"}},
        {"stops at a token cut by the end", {0xA1, 0x82}, {"00", "1 LeftKey CODE:00A1"}},
        {"four equal waits: fixed delay",
         {0xFE, 0x06, 0xA1, 0xFE, 0x06, 0x21, 0xFE, 0x06, 0xA1, 0xFE, 0x06},
         {"0148", "0 48", "1 LeftKey CODE:00A1", "0 48", "2 LeftKey CODE:0021", "0 48",
          "1 LeftKey CODE:00A1", "0 48"}},
        {"three equal waits: real delays",
         {0xFE, 0x06, 0xA1, 0xFE, 0x06, 0x21, 0xFE, 0x06},
         {"10", "0 48", "1 LeftKey CODE:00A1", "0 48", "2 LeftKey CODE:0021", "0 48"}},
        {"zero waits: no delay",
         {0xFE, 0x00, 0xA1, 0xFE, 0x00},
         {"00", "0 0", "1 LeftKey CODE:00A1", "0 0"}},
        {"the fifth wait does not count",
         {0xFE, 0x06, 0xA1, 0xFE, 0x06, 0xA1, 0xFE, 0x06, 0xA1, 0xFE, 0x06, 0xA1, 0xFE, 0x09},
         {"0148", "0 48", "1 LeftKey CODE:00A1", "0 48", "1 LeftKey CODE:00A1", "0 48",
          "1 LeftKey CODE:00A1", "0 48", "1 LeftKey CODE:00A1", "0 72"}},
        {"empty", {}, {"00"}},
    };
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(DecodeMacro(DeviceContent(c.tokens)).lines, c.lines) << c.what;
        EXPECT_EQ(DecodeDriverMacro(UtilityContent(c.tokens)).lines, c.lines) << c.what;
    }
}

TEST(DecodeMacroTest, ReportsTheDelayMode) {
    const DecodedMacro fixed = DecodeMacro(DeviceContent(
        {0xFE, 0x06, 0xFE, 0x00, 0xA1, 0xFE, 0x06, 0xA1, 0xFE, 0x06, 0xA1, 0xFE, 0x06}));
    // FE 06 FE 00 merges into one wait of 48 ms.
    EXPECT_EQ(fixed.delay_mode, DelayMode::kFixedDelay);
    EXPECT_EQ(fixed.fixed_delay_ms, 48);
    EXPECT_EQ(DecodeMacro(DeviceContent({0xFE, 0x06, 0xA1})).delay_mode, DelayMode::kRealDelays);
    EXPECT_EQ(DecodeMacro(DeviceContent({0xA1})).delay_mode, DelayMode::kNoDelay);
}

TEST(DecodeMacroTest, WaitsEndWithTheTokens) {
    // A macro ending in a wait whose checksum happens to be FE: the checksum is no wait.
    for (uint8_t last = 0; last < 255; ++last) {
        const MacroContent content = DeviceContent({0xA1, 0xFE, last});
        if (content[5] != 0xFE) {
            continue;
        }
        const DecodedMacro decoded = DecodeMacro(content);
        ASSERT_EQ(decoded.lines.size(), 3u);
        EXPECT_EQ(decoded.lines[2], "0 " + std::to_string(8 * last));
        return;
    }
    FAIL() << "no wait gave the checksum FE";
}

TEST(DecodeMacroTest, CorruptLengthsStayInsideTheContent) {
    MacroContent content;
    content.fill(0xFE);  // every byte a wait, the length 254
    const DecodedMacro decoded = DecodeMacro(content);
    // Tokens at 2..222: 110 waits of 2032 ms merged five at a time, then a cut token.
    ASSERT_EQ(decoded.lines.size(), 1u + 22u);
    EXPECT_EQ(decoded.lines[1], "0 10160");

    DriverMacroContent driver;
    driver.fill(0xA1);  // length 0xA1A1, every byte a left press
    const DecodedMacro presses = DecodeDriverMacro(driver);
    EXPECT_EQ(presses.lines.size(), 1u + (2014u - 3u + 1u));
}

TEST(ReadMacroOptionsTest, SelectsTheEditorOptionsFromTheContent) {
    struct Case {
        const char* what;
        MacroContent content;
        std::optional<ReleaseOption> release;
        RepeatOption repeat;
        std::optional<int> count;
    };
    MacroContent odd_flag = DeviceContent({0xA1});
    odd_flag[0] = 0x07;
    const Case cases[] = {
        {"stop, three passes", DeviceContent({0xFD, 0x02, 0xA1, 0xFC}, 1),
         ReleaseOption::kStopOnRelease, RepeatOption::kTimes, 3},
        {"play to end, endless", DeviceContent({0xFD, 0xFF, 0xA1, 0xFC}, 0),
         ReleaseOption::kPlayToEnd, RepeatOption::kEndless, std::nullopt},
        {"no wrapper", DeviceContent({0xA1}, 1), ReleaseOption::kStopOnRelease, RepeatOption::kNone,
         std::nullopt},
        {"one pass", DeviceContent({0xFD, 0x00, 0xA1, 0xFC}), ReleaseOption::kPlayToEnd,
         RepeatOption::kTimes, 1},
        {"unknown flag", odd_flag, std::nullopt, RepeatOption::kNone, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto options = ReadMacroOptions(c.content, ContentForm::kDevice);
        ASSERT_TRUE(options.has_value()) << c.what;
        EXPECT_EQ(options->release, c.release) << c.what;
        EXPECT_EQ(options->repeat, c.repeat) << c.what;
        EXPECT_EQ(options->repeat_count, c.count) << c.what;
    }
    MacroContent erased;
    erased.fill(0xFF);
    EXPECT_FALSE(ReadMacroOptions(erased, ContentForm::kDevice).has_value());
    EXPECT_FALSE(ReadMacroOptions(MacroContent{}, ContentForm::kDevice).has_value());

    const auto utility =
        ReadMacroOptions(UtilityContent({0xFD, 0x09, 0xA1, 0xFC}, 1), ContentForm::kUtility);
    ASSERT_TRUE(utility.has_value());
    EXPECT_EQ(utility->repeat_count, 10);
    DriverMacroContent erased_driver;
    erased_driver.fill(0xFF);
    EXPECT_FALSE(ReadMacroOptions(erased_driver, ContentForm::kUtility).has_value());
}

}  // namespace
}  // namespace velq
