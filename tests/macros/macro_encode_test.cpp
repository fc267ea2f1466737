#include "macros/macro_encode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/checksum.h"

namespace velq {
namespace {

using Bytes = std::vector<uint8_t>;

const MacroLines kClickLines = {"00", "1 LeftKey CODE:00A1", "0 100", "2 LeftKey CODE:0021"};

Bytes Prefix(const MacroContent& content, std::size_t n) {
    return Bytes(content.begin(), content.begin() + static_cast<std::ptrdiff_t>(n));
}

bool ZeroFrom(const MacroContent& content, std::size_t from) {
    return std::all_of(content.begin() + static_cast<std::ptrdiff_t>(from), content.end(),
                       [](uint8_t b) { return b == 0; });
}

struct EncodeCase {
    const char* what;
    MacroLines lines;
    MacroOptions options;
    Bytes stored;  // the leading bytes; all later bytes are zero
};

TEST(EncodeMacroTest, StoresTheDeviceForm) {
    const MacroOptions once{ReleaseOption::kPlayToEnd, RepeatOption::kNone, 8};
    const MacroOptions three{ReleaseOption::kPlayToEnd, RepeatOption::kTimes, 3};
    const MacroOptions endless{ReleaseOption::kStopOnRelease, RepeatOption::kEndless, 8};
    const MacroOptions stop{ReleaseOption::kStopOnRelease, RepeatOption::kNone, 8};
    const EncodeCase cases[] = {
        {"click with a wait", kClickLines, once, {0x00, 0x05, 0xA1, 0xFE, 0x0C, 0x21, 0x8B}},
        {"three passes",
         kClickLines,
         three,
         {0x00, 0x08, 0xFD, 0x02, 0xA1, 0xFE, 0x0C, 0x21, 0xFC, 0x95}},
        {"endless",
         kClickLines,
         endless,
         {0x01, 0x08, 0xFD, 0xFF, 0xA1, 0xFE, 0x0C, 0x21, 0xFC,
          SectionChecksum(Bytes{0x08, 0xFD, 0xFF, 0xA1, 0xFE, 0x0C, 0x21, 0xFC})}},
        {"no events", {"00"}, stop, {}},
        {"no lines at all", {}, once, {}},
        {"2040 ms", {"10", "0 2040"}, once, {0x00, 0x03, 0xFE, 0xFF}},
        {"0 ms", {"10", "0 0"}, once, {0x00, 0x03, 0xFE, 0x00}},
        {"5 ms", {"10", "0 5"}, once, {0x00, 0x03, 0xFE, 0x00}},
        {"not a number", {"10", "0 abc"}, once, {0x00, 0x03, 0xFE, 0x00}},
        {"negative", {"10", "0 -40"}, once, {0x00, 0x03, 0xFE, 0x00}},
        {"bare kind", {"10", "0"}, once, {0x00, 0x03, 0xFE, 0x00}},
        {"3000 ms is split", {"10", "0 3000"}, once, {0x00, 0x05, 0xFE, 0xFF, 0xFE, 0x78}},
        {"2048 ms is split", {"10", "0 2048"}, once, {0x00, 0x05, 0xFE, 0xFF, 0xFE, 0x01}},
        {"4080 ms", {"10", "0 4080"}, once, {0x00, 0x05, 0xFE, 0xFF, 0xFE, 0xFF}},
        {"keys and moves",
         {"00", "1 Ctrl CODE:8101", "1 A CODE:8204", "2 A CODE:0204", "2 Ctrl CODE:0101", "3 FB7F",
          "4 FB80", "5 FA00", "6 FAFF", "1 Backward CODE:00B0"},
         once,
         {0x00, 0x12, 0x81, 0x01, 0x82, 0x04, 0x02, 0x04, 0x01, 0x01, 0xFB, 0x7F, 0xFB, 0x80, 0xFA,
          0x00, 0xFA, 0xFF, 0xB0}},
        {"empty lines are skipped",
         {"00", "", "1 LeftKey CODE:00A1"},
         stop,
         {0x01, 0x02, 0xA1, SectionChecksum(Bytes{0x02, 0xA1})}},
        {"count below 1 plays once",
         {"00", "1 LeftKey CODE:00A1"},
         {ReleaseOption::kPlayToEnd, RepeatOption::kTimes, 0},
         {0x00, 0x05, 0xFD, 0x00, 0xA1, 0xFC}},
        {"count above 255",
         {"00", "1 LeftKey CODE:00A1"},
         {ReleaseOption::kPlayToEnd, RepeatOption::kTimes, 300},
         {0x00, 0x05, 0xFD, 0xFE, 0xA1, 0xFC}},
    };
    for (const EncodeCase& c : cases) {
        MacroContent content;
        content.fill(0xEE);
        const MacroEncodeResult result = EncodeMacro(c.lines, c.options, content);
        ASSERT_TRUE(result.ok()) << c.what;
        Bytes expected = c.stored;
        const std::size_t token_bytes = expected.size() >= 2 ? expected[1] - 1u : 0;
        if (token_bytes > 0 && expected.size() == token_bytes + 2) {
            expected.push_back(SectionChecksum(Bytes(expected.begin() + 1, expected.end())));
        }
        EXPECT_EQ(result.token_bytes, token_bytes) << c.what;
        EXPECT_EQ(Prefix(content, expected.size()), expected) << c.what;
        EXPECT_TRUE(ZeroFrom(content, expected.size())) << c.what;
    }
}

TEST(EncodeMacroTest, StoresTheUtilityForm) {
    DriverMacroContent content;
    content.fill(0xEE);
    const MacroOptions three{ReleaseOption::kStopOnRelease, RepeatOption::kTimes, 3};
    ASSERT_TRUE(EncodeDriverMacro(kClickLines, three, content));
    // The checksum covers both length bytes: (00 + 08 + FD + 02 + A1 + FE + 0C + 21 + FC) mod 256
    // = 0xCF, XOR 0x5A = 0x95.
    const Bytes expected = {0x01, 0x00, 0x08, 0xFD, 0x02, 0xA1, 0xFE, 0x0C, 0x21, 0xFC, 0x95};
    EXPECT_EQ(Bytes(content.begin(), content.begin() + 11), expected);
    EXPECT_TRUE(std::all_of(content.begin() + 11, content.end(), [](uint8_t b) { return b == 0; }));

    content.fill(0xEE);
    const MacroOptions stop{ReleaseOption::kStopOnRelease, RepeatOption::kNone, 8};
    ASSERT_TRUE(EncodeDriverMacro({"00"}, stop, content).ok());
    EXPECT_TRUE(std::all_of(content.begin(), content.end(), [](uint8_t b) { return b == 0; }))
        << "an empty macro carries no flag";
}

TEST(EncodeMacroTest, EmptyWrapperIsStillAMacro) {
    MacroContent content{};
    const MacroOptions endless{ReleaseOption::kPlayToEnd, RepeatOption::kEndless, 8};
    ASSERT_TRUE(EncodeMacro({"00"}, endless, content));
    EXPECT_EQ(Prefix(content, 6), (Bytes{0x00, 0x04, 0xFD, 0xFF, 0xFC,
                                         SectionChecksum(Bytes{0x04, 0xFD, 0xFF, 0xFC})}));
}

// `count` one-byte button events.
MacroLines Clicks(std::size_t count) {
    MacroLines lines{"00"};
    for (std::size_t i = 0; i < count; ++i) {
        lines.push_back(i % 2 == 0 ? "1 LeftKey CODE:00A1" : "2 LeftKey CODE:0021");
    }
    return lines;
}

TEST(EncodeMacroTest, FillsTheRoomExactly) {
    MacroContent content{};
    ASSERT_TRUE(EncodeMacro(Clicks(221), MacroOptions{}, content));
    EXPECT_EQ(content[1], 222);
    EXPECT_EQ(content[223], SectionChecksum(std::span<const uint8_t>(content).subspan(1, 222)));

    DriverMacroContent driver{};
    ASSERT_TRUE(EncodeDriverMacro(Clicks(1980), MacroOptions{}, driver));
    EXPECT_EQ(driver[1], 1981 >> 8);
    EXPECT_EQ(driver[2], 1981 & 0xFF);
    EXPECT_EQ(driver[1983], SectionChecksum(std::span<const uint8_t>(driver).subspan(1, 1982)));
    EXPECT_EQ(driver[1984], 0);
}

TEST(EncodeMacroTest, RefusesAMacroThatDoesNotFitAndKeepsTheContent) {
    struct Case {
        const char* what;
        MacroLines lines;
        MacroOptions options;
    };
    const Case cases[] = {
        {"one byte too many", Clicks(222), MacroOptions{}},
        {"the wrapper does not fit", Clicks(219),
         MacroOptions{ReleaseOption::kPlayToEnd, RepeatOption::kEndless, 8}},
        {"a wait beyond any room", {"10", "0 2000000000"}, MacroOptions{}},
        {"many long waits", MacroLines(300, "0 99999"), MacroOptions{}},
    };
    for (const Case& c : cases) {
        MacroContent content;
        content.fill(0x5C);
        const MacroContent before = content;
        const MacroEncodeResult result = EncodeMacro(c.lines, c.options, content);
        EXPECT_EQ(result.error, MacroEncodeError::kTooLong) << c.what;
        EXPECT_EQ(result.caption_key, "Str103") << c.what;
        EXPECT_FALSE(static_cast<bool>(result)) << c.what;
        EXPECT_EQ(content, before) << c.what;
    }

    DriverMacroContent driver;
    driver.fill(0x5C);
    const DriverMacroContent before = driver;
    const MacroEncodeResult result = EncodeDriverMacro(Clicks(1981), MacroOptions{}, driver);
    EXPECT_EQ(result.error, MacroEncodeError::kTooLong);
    EXPECT_EQ(result.caption_key, "Str103");
    EXPECT_EQ(result.token_bytes, 1981u);
    EXPECT_EQ(driver, before);
}

TEST(EncodeMacroTest, RefusesALineWithoutTokenBytes) {
    for (const char* line : {"1 A", "3 FBZZ", "1 A CODE:82G4", "x"}) {
        MacroContent content;
        content.fill(0x11);
        const MacroEncodeResult result =
            EncodeMacro({"00", "1 LeftKey CODE:00A1", line}, MacroOptions{}, content);
        EXPECT_EQ(result.error, MacroEncodeError::kBadLine) << line;
        EXPECT_EQ(result.bad_line, 2u) << line;
        EXPECT_EQ(content[0], 0x11) << line;
    }
}

}  // namespace
}  // namespace velq
