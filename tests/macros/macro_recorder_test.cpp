// The recorder's rules on a virtual clock: every event carries the time it was taken.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macros/macro_encode.h"
#include "macros/macro_recorder.h"
#include "macros/macro_token.h"

namespace velq {
namespace {

constexpr uint8_t kUsageA = 0x04;
constexpr uint8_t kUsageB = 0x05;
constexpr uint8_t kUsageLeftShift = 0xE1;
constexpr uint8_t kUsageRightShift = 0xE5;
constexpr uint8_t kUsageRightWin = 0xE7;
constexpr uint8_t kUsageNone = 0x64;  // the ISO key beside the left Shift: not in the key list

class RecorderTest : public ::testing::Test {
protected:
    void Start(DelayMode mode = DelayMode::kRealDelays, int fixed_ms = 32) {
        RecordingSetup setup;
        setup.delay_mode = mode;
        setup.fixed_delay_ms = fixed_ms;
        setup.header_line = DelayModeLine(mode, fixed_ms);
        recorder.Start(setup, lines);
    }
    RecorderStep Key(uint8_t usage, bool press, bool repeat = false) {
        RecorderInput input;
        input.kind = RecorderInput::Kind::kKey;
        input.usage = usage;
        input.press = press;
        input.repeat = repeat;
        input.time_ms = now;
        return recorder.Take(input, lines);
    }
    RecorderStep Button(uint8_t button, bool press, bool over = false) {
        RecorderInput input;
        input.kind = RecorderInput::Kind::kButton;
        input.button = button;
        input.press = press;
        input.over_record_buttons = over;
        input.time_ms = now;
        return recorder.Take(input, lines);
    }

    MacroRecorder recorder;
    MacroLines lines{"10", "1 Z CODE:821D"};  // a macro recorded before
    int64_t now = 100000;
};

TEST_F(RecorderTest, KeyPressAndReleaseWithTheRealPauseBetween) {
    Start();
    EXPECT_EQ(lines, (MacroLines{"10"}));  // the header is there as soon as recording starts
    Key(kUsageA, true);
    now += 300;
    Key(kUsageA, false);
    EXPECT_EQ(lines, (MacroLines{"10", "1 A CODE:8204", "0 300", "2 A CODE:0204"}));
    EXPECT_EQ(recorder.byte_count(), 6);
}

TEST_F(RecorderTest, HeldKeyRepeatsAreNotRecorded) {
    Start(DelayMode::kNoDelay);
    Key(kUsageA, true);
    for (int i = 0; i < 5; ++i) {
        now += 33;
        Key(kUsageA, true, /*repeat=*/i % 2 == 0);  // a repeat marked or not: the same key again
        Key(kUsageA, false, /*repeat=*/true);       // the release half of a marked repeat
    }
    Key(kUsageA, false);
    EXPECT_EQ(lines, (MacroLines{"00", "1 A CODE:8204", "2 A CODE:0204"}));
}

TEST_F(RecorderTest, ModifiersTakeTheirMaskAndKeepTheOrder) {
    Start();
    Key(kUsageLeftShift, true);
    now += 50;
    Key(kUsageA, true);  // a second key while Shift is held: not a repeat
    now += 60;
    Key(kUsageA, false);
    now += 70;
    Key(kUsageLeftShift, false);
    EXPECT_EQ(lines, (MacroLines{"10", "1 Shift CODE:8102", "0 50", "1 A CODE:8204", "0 60",
                                 "2 A CODE:0204", "0 70", "2 Shift CODE:0102"}));
}

TEST_F(RecorderTest, RightHandModifiersAsRawInputReportsThem) {
    Start(DelayMode::kNoDelay);
    Key(kUsageRightShift, true);
    Key(kUsageRightShift, false);
    Key(kUsageRightWin, true);
    Key(kUsageRightWin, false);
    Key(kUsageNone, true);  // a key the list has no name for
    Key(kUsageNone, false);
    EXPECT_EQ(lines, (MacroLines{"00", "1 Shift CODE:8102", "2 Shift CODE:0102",
                                 "1 Right Windows CODE:8180", "2 Right Windows CODE:0180"}));
}

TEST_F(RecorderTest, MouseButtonsAndTheClickOverTheRecordButton) {
    Start(DelayMode::kNoDelay);
    Button(kMacroButtonLeft, true, /*over=*/true);  // the click that stops: not recorded
    Button(kMacroButtonLeft, false, /*over=*/true);
    Button(kMacroButtonRight, true, /*over=*/true);  // the right button is recorded there
    Button(kMacroButtonRight, false, /*over=*/true);
    Button(kMacroButtonBackward, true);
    Button(kMacroButtonBackward, false);
    Button(kMacroButtonForward, true);
    Button(kMacroButtonForward, false);
    Button(kMacroButtonMiddle, true);
    Button(kMacroButtonMiddle, false);
    EXPECT_EQ(lines, (MacroLines{"00", "1 RightKey CODE:00A2", "2 RightKey CODE:0022",
                                 "1 Backward CODE:00B0", "2 Backward CODE:0030",
                                 "1 Forward CODE:00A8", "2 Forward CODE:0028",
                                 "1 MiddleKey CODE:00A4", "2 MiddleKey CODE:0024"}));
    EXPECT_EQ(recorder.byte_count(), 8);
}

TEST_F(RecorderTest, LongPausesAreCutBeforeKeysAndKeptInFiveLinesBeforeButtons) {
    Start();
    Key(kUsageA, true);
    now += 15000;
    Key(kUsageA, false);
    now += 15000;
    Button(kMacroButtonLeft, true);
    now += 4100;
    Button(kMacroButtonLeft, false);
    EXPECT_EQ(lines, (MacroLines{"10", "1 A CODE:8204", "0 2040", "2 A CODE:0204", "0 2040",
                                 "0 2040", "0 2040", "0 2040", "0 2040", "1 LeftKey CODE:00A1",
                                 "0 2040", "0 2040", "0 20", "2 LeftKey CODE:0021"}));
}

TEST_F(RecorderTest, WaitsShorterThanTheMousesUnitAreLeftOut) {
    Start();
    Key(kUsageA, true);
    now += 7;  // stored, it would be no wait at all
    Key(kUsageA, false);
    now += 8;
    Key(kUsageB, true);
    now += 2040 + 2040 + 5;  // before a button: the remainder under 8 ms goes too
    Button(kMacroButtonRight, true);
    EXPECT_EQ(lines, (MacroLines{"10", "1 A CODE:8204", "2 A CODE:0204", "0 8", "1 B CODE:8205",
                                 "0 2040", "0 2040", "1 RightKey CODE:00A2"}));
    EXPECT_EQ(recorder.byte_count(), 2 + 2 + 2 + 2 + 4 + 1);
}

TEST_F(RecorderTest, FixedDelayBeforeEveryEventButTheFirst) {
    Start(DelayMode::kFixedDelay, 32);
    EXPECT_EQ(lines, (MacroLines{"0132"}));
    Key(kUsageA, true);
    now += 500;
    Key(kUsageA, false);
    now += 7;
    Button(kMacroButtonRight, true);
    Button(kMacroButtonRight, false);
    EXPECT_EQ(lines, (MacroLines{"0132", "1 A CODE:8204", "0 32", "2 A CODE:0204", "0 32",
                                 "1 RightKey CODE:00A2", "0 32", "2 RightKey CODE:0022"}));
}

TEST_F(RecorderTest, TheDeviceBudgetTakesTwentyThreePairsAndRefusesTheNextPress) {
    Start();
    for (int pair = 0; pair < 23; ++pair) {
        const uint8_t usage = pair % 2 == 0 ? kUsageA : kUsageB;
        Key(usage, true);
        now += 100;
        Key(usage, false);
        now += 100;
    }
    EXPECT_EQ(recorder.byte_count(), 182);
    const std::size_t taken = lines.size();
    const RecorderStep refused = Key(kUsageA, true);
    EXPECT_FALSE(refused.stop);
    EXPECT_TRUE(recorder.stopped());
    Key(kUsageA, false);
    Button(kMacroButtonRight, true);
    Key(kUsageB, true);
    EXPECT_EQ(lines.size(), taken);
    EXPECT_TRUE(recorder.recording());  // until the user stops it

    std::array<uint8_t, kMacroContentSize> content{};
    const MacroEncodeResult encoded = EncodeMacro(lines, MacroOptions{}, content);
    ASSERT_TRUE(encoded.ok());
    EXPECT_EQ(encoded.token_bytes, 182u);
}

TEST_F(RecorderTest, ARefusedButtonPressFillsTheRecording) {
    Start(DelayMode::kNoDelay);  // reserve 6: presses up to 180, releases up to 186
    for (int i = 0; i < 45; ++i) {
        Key(kUsageA, true);
        Key(kUsageA, false);
    }
    Button(kMacroButtonRight, true);  // 180: taken
    EXPECT_EQ(recorder.byte_count(), 181);
    Button(kMacroButtonLeft, true);  // 181: refused, the count goes past the capacity
    EXPECT_EQ(recorder.byte_count(), 187);
    const std::size_t taken = lines.size();
    Button(kMacroButtonRight, false);
    Key(kUsageB, true);
    EXPECT_TRUE(recorder.stopped());
    EXPECT_EQ(lines.size(), taken);
    EXPECT_TRUE(recorder.recording());
}

TEST_F(RecorderTest, TheReleaseThatFindsTheRecordingFullEndsIt) {
    constexpr uint8_t kUsageC = 0x06;
    Start(DelayMode::kNoDelay);
    for (int i = 0; i < 42; ++i) {
        Key(kUsageA, true);
        Key(kUsageA, false);
    }
    const uint8_t buttons[] = {kMacroButtonRight, kMacroButtonLeft, kMacroButtonMiddle,
                               kMacroButtonForward, kMacroButtonBackward};
    for (const uint8_t button : buttons) {
        Button(button, true);
    }
    Key(kUsageA, true);
    Key(kUsageB, true);
    Key(kUsageC, true);  // 177 <= 180: the last press taken
    for (const uint8_t button : buttons) {
        Button(button, false);
    }
    EXPECT_FALSE(Key(kUsageA, false).stop);  // 184: taken
    EXPECT_EQ(recorder.byte_count(), 186);
    const std::size_t taken = lines.size();
    EXPECT_TRUE(Key(kUsageB, false).stop);  // at the capacity: ends the recording, not recorded
    EXPECT_EQ(lines.size(), taken);
    EXPECT_EQ(lines.back(), "2 A CODE:0204");
}

TEST_F(RecorderTest, NothingIsTakenOnceStopped) {
    Start();
    Key(kUsageA, true);
    recorder.Stop();
    Key(kUsageA, false);
    Button(kMacroButtonLeft, true);
    EXPECT_EQ(lines, (MacroLines{"10", "1 A CODE:8204"}));
}

struct InsertCase {
    InsertPlace place;
    int item;
    MacroLines expected;
    int select;
};

TEST(RecorderInsert, EventsGoBeforeOrAfterTheSelectedLine) {
    const MacroLines stored{"10", "1 Z CODE:821D", "0 100", "2 Z CODE:021D"};
    const InsertCase cases[] = {
        {InsertPlace::kBefore,
         1,
         {"10", "1 Z CODE:821D", "1 A CODE:8204", "2 A CODE:0204", "0 100", "2 Z CODE:021D"},
         3},
        {InsertPlace::kAfter,
         1,
         {"10", "1 Z CODE:821D", "0 100", "1 A CODE:8204", "2 A CODE:0204", "2 Z CODE:021D"},
         3},
        {InsertPlace::kBefore,
         0,
         {"10", "1 A CODE:8204", "2 A CODE:0204", "1 Z CODE:821D", "0 100", "2 Z CODE:021D"},
         2},
        {InsertPlace::kAfter,
         2,
         {"10", "1 Z CODE:821D", "0 100", "2 Z CODE:021D", "1 A CODE:8204", "2 A CODE:0204"},
         4},
    };
    for (const InsertCase& c : cases) {
        MacroLines lines = stored;
        MacroRecorder recorder;
        RecordingSetup setup;
        setup.kind = RecordingKind::kInsert;
        setup.delay_mode = DelayMode::kNoDelay;
        setup.byte_count = 6;
        setup.insert_item = c.item;
        setup.place = c.place;
        recorder.Start(setup, lines);
        RecorderInput key;
        key.usage = kUsageA;
        recorder.Take(key, lines);
        key.press = false;
        const RecorderStep step = recorder.Take(key, lines);
        EXPECT_EQ(lines, c.expected) << c.item;
        EXPECT_EQ(step.select, c.select) << c.item;
        EXPECT_EQ(recorder.byte_count(), 10);
    }
}

TEST(RecorderInsert, AMacroWithoutEventsTakesTheRecordingGroupsHeader) {
    MacroLines lines;
    MacroRecorder recorder;
    RecordingSetup setup;
    setup.kind = RecordingKind::kInsert;
    setup.delay_mode = DelayMode::kFixedDelay;
    setup.fixed_delay_ms = 50;
    setup.header_line = "10";
    setup.place = InsertPlace::kAfter;
    recorder.Start(setup, lines);
    RecorderInput button;
    button.kind = RecorderInput::Kind::kButton;
    button.button = kMacroButtonLeft;
    recorder.Take(button, lines);
    button.press = false;
    recorder.Take(button, lines);
    EXPECT_EQ(lines, (MacroLines{"10", "1 LeftKey CODE:00A1", "0 50", "2 LeftKey CODE:0021"}));
}

TEST(RecorderRules, CapacityAndReserve) {
    EXPECT_EQ(RecordCapacity(ContentForm::kDevice, RecordingKind::kRecord), 186);
    EXPECT_EQ(RecordCapacity(ContentForm::kUtility, RecordingKind::kRecord), 1980);
    EXPECT_EQ(RecordCapacity(ContentForm::kUtility, RecordingKind::kInsert), 186);
    EXPECT_EQ(RecordReserve(DelayMode::kNoDelay), 6);
    EXPECT_EQ(RecordReserve(DelayMode::kRealDelays), 12);
    EXPECT_EQ(RecordReserve(DelayMode::kFixedDelay), 12);
}

}  // namespace
}  // namespace velq
