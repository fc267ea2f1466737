#include <gtest/gtest.h>

#include <string>

#include "settings/fake_pointer_backend.h"
#include "settings/pointer_rules.h"
#include "settings/pointer_settings.h"

namespace velq {
namespace {

using K = PointerKey;

TEST(PointerRules, SliderSnapsToElevenPositionsAndNeverBeyond) {
    struct Case {
        int x;
        int value;
    };
    const Case cases[] = {
        {-20, 0},   {-7, 0},    {0, 0},     {19, 0},     {20, 100},   {45, 100},   {46, 200},
        {227, 800}, {228, 900}, {253, 900}, {254, 1000}, {281, 1000}, {300, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("x=" + std::to_string(c.x));
        EXPECT_EQ(PointerSliderSnap(c.x), c.value);
    }
    EXPECT_EQ(PointerPositionOfSliderValue(PointerSliderSnap(300)), 11);
    EXPECT_EQ(PointerSliderValueOfPosition(11), 1000);
    EXPECT_EQ(PointerSliderValueOfPosition(1), 0);
}

TEST(PointerRules, SensitivityReadAndWrittenByTheTables) {
    struct Case {
        int stored;
        int position;
        int written_back;
    };
    const Case cases[] = {
        {0, 1, 1},   {1, 1, 1},    {2, 2, 2},    {3, 2, 2},   {5, 3, 4},   {7, 4, 6},
        {9, 5, 8},   {10, 6, 10},  {11, 6, 10},  {12, 7, 12}, {13, 7, 12}, {15, 8, 14},
        {17, 9, 16}, {19, 10, 18}, {20, 11, 20}, {21, 6, 10}, {-1, 6, 10}, {1000, 6, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("stored " + std::to_string(c.stored));
        const int position = SpeedPositionOfSensitivity(c.stored);
        EXPECT_EQ(position, c.position);
        EXPECT_EQ(SensitivityOfPosition(position), c.written_back);
    }
    for (int s = 1; s <= kPointerPositions; ++s) {
        EXPECT_EQ(SpeedPositionOfSensitivity(SensitivityOfPosition(s)), s) << s;
    }
}

TEST(PointerRules, DoubleClickReadBySeventyMillisecondBands) {
    struct Case {
        int ms;
        int position;
        int written_back;
    };
    const Case cases[] = {
        {2000, 1, 900}, {900, 1, 900},  {899, 2, 830}, {830, 2, 830}, {829, 3, 760},
        {690, 4, 690},  {620, 5, 620},  {550, 6, 550}, {549, 7, 480}, {500, 7, 480},
        {480, 7, 480},  {479, 8, 410},  {400, 9, 340}, {340, 9, 340}, {270, 10, 270},
        {269, 11, 200}, {200, 11, 200}, {0, 11, 200},  {-5, 11, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.ms) + " ms");
        const int position = DoubleClickPositionOfMs(c.ms);
        EXPECT_EQ(position, c.position);
        EXPECT_EQ(DoubleClickMsOfPosition(position), c.written_back);
    }
}

TEST(PointerRules, WheelLinesAndStoredText) {
    struct Case {
        int lines;
        bool one_screen;
        int position;
    };
    const Case cases[] = {
        {-1, true, 1},   {0, false, 3},   {1, false, 1},   {5, false, 5},
        {11, false, 11}, {12, false, 11}, {-2, false, 11}, {100, false, 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("lines " + std::to_string(c.lines));
        const WheelReading wheel = WheelOfLines(c.lines);
        EXPECT_EQ(wheel.one_screen, c.one_screen);
        EXPECT_EQ(wheel.position, c.position);
    }
    EXPECT_EQ(ParseStoredNumber("10"), 10);
    EXPECT_EQ(ParseStoredNumber("-1"), -1);
    EXPECT_EQ(ParseStoredNumber(""), std::nullopt);
    EXPECT_EQ(ParseStoredNumber("10x"), std::nullopt);
    EXPECT_EQ(ParseStoredNumber(" 5"), std::nullopt);
    EXPECT_EQ(PointerKeyName(K::kWheelScrollLines), "WheelScrollLines");
}

TEST(PointerRules, SensitivityOneToTwentyCoversMinusOneToOne) {
    struct Case {
        int sensitivity;
        double speed;
    };
    const Case cases[] = {{1, -1.0}, {4, -2.0 / 3}, {10, 0.0}, {15, 0.5},
                          {20, 1.0}, {0, -1.0},     {25, 1.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sensitivity);
        EXPECT_NEAR(AccelSpeedOfSensitivity(c.sensitivity), c.speed, 1e-9);
    }
    for (int s = 1; s <= 20; ++s) {
        EXPECT_EQ(SensitivityOfAccelSpeed(AccelSpeedOfSensitivity(s)), s) << s;
    }
    EXPECT_EQ(SensitivityOfAccelSpeed(0.04), 10);
    EXPECT_EQ(SensitivityOfAccelSpeed(0.06), 11);
    EXPECT_EQ(SensitivityOfAccelSpeed(-3.0), 1);
}

PointerValues WindowsDefaults() {
    return {{K::kMouseSensitivity, "10"},  {K::kMouseSpeed, "1"},
            {K::kMouseThreshold1, "6"},    {K::kMouseThreshold2, "10"},
            {K::kDoubleClickSpeed, "500"}, {K::kWheelScrollLines, "3"}};
}

TEST(PointerSettings, ReadsThePageAndFallsBackOnUnreadableValues) {
    struct Case {
        const char* name;
        PointerValues stored;
        PointerPage page;
    };
    const Case cases[] = {
        {"defaults", WindowsDefaults(), {6, true, 7, 3, false}},
        {"unreadable mouse values",
         {{K::kMouseSensitivity, "fast"}, {K::kMouseSpeed, "x"}, {K::kDoubleClickSpeed, "?"}},
         {11, false, 7, 0, false}},
        {"one threshold alone ticks precision",
         {{K::kMouseSensitivity, "2"}, {K::kMouseThreshold2, "3"}, {K::kDoubleClickSpeed, "200"}},
         {2, true, 11, 0, false}},
        {"one screen per notch", {{K::kWheelScrollLines, "-1"}}, {0, false, 0, 1, true}},
        {"wheel text that is no number",
         {{K::kWheelScrollLines, "many"}},
         {0, false, 0, 11, false}},
        {"nothing stored", {}, {0, false, 0, 0, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePointerBackend backend;
        backend.stored = c.stored;
        PointerSettings settings(&backend);
        ASSERT_TRUE(settings.Refresh());
        EXPECT_EQ(settings.page().speed, c.page.speed);
        EXPECT_EQ(settings.page().precision, c.page.precision);
        EXPECT_EQ(settings.page().double_click, c.page.double_click);
        EXPECT_EQ(settings.page().wheel, c.page.wheel);
        EXPECT_EQ(settings.page().one_screen, c.page.one_screen);
        EXPECT_TRUE(backend.writes.empty()) << "reading never writes";
    }
}

TEST(PointerSettings, AMissingGroupKeepsWhatThePageShows) {
    FakePointerBackend backend;
    backend.stored = WindowsDefaults();
    PointerSettings settings(&backend);
    ASSERT_TRUE(settings.Refresh());
    backend.stored = {};
    ASSERT_TRUE(settings.Refresh());
    EXPECT_EQ(settings.page().speed, 6);
    EXPECT_EQ(settings.page().double_click, 7);
    EXPECT_EQ(settings.page().wheel, 3);
}

TEST(PointerSettings, OnlyWhatTheUserChangedIsWritten) {
    FakePointerBackend backend;
    backend.stored = WindowsDefaults();
    backend.stored[K::kMouseSensitivity] = "11";
    PointerSettings settings(&backend);
    ASSERT_TRUE(settings.Refresh());
    ASSERT_TRUE(settings.Apply());
    EXPECT_TRUE(backend.writes.empty()) << "Apply with nothing changed rewrites nothing";

    // 500 ms shown as 7, and the user moves the double-click slider to 7: written as 480.
    ASSERT_TRUE(settings.SetDoubleClick(7));
    ASSERT_EQ(backend.writes.size(), 1u);
    EXPECT_EQ(backend.writes[0], (PointerValues{{K::kDoubleClickSpeed, "480"}}));
    EXPECT_EQ(backend.stored[K::kMouseSensitivity], "11") << "the untouched speed keeps its 11";

    ASSERT_TRUE(settings.SetSpeed(6));
    EXPECT_EQ(backend.writes.back(), (PointerValues{{K::kMouseSensitivity, "10"}}));

    // Apply writes both changed settings again, and nothing else.
    ASSERT_TRUE(settings.Apply());
    EXPECT_EQ(backend.writes.back(),
              (PointerValues{{K::kMouseSensitivity, "10"}, {K::kDoubleClickSpeed, "480"}}));

    // A read shows the stored values again: the page has nothing of its own to write any more.
    ASSERT_TRUE(settings.Refresh());
    const std::size_t writes = backend.writes.size();
    ASSERT_TRUE(settings.Apply());
    EXPECT_EQ(backend.writes.size(), writes);
}

TEST(PointerSettings, PrecisionAndOneScreenToggles) {
    FakePointerBackend backend;
    backend.stored = WindowsDefaults();
    backend.stored[K::kMouseSpeed] = "0";
    backend.stored[K::kMouseThreshold1] = "0";
    backend.stored[K::kMouseThreshold2] = "0";
    PointerSettings settings(&backend);
    ASSERT_TRUE(settings.Refresh());
    ASSERT_FALSE(settings.page().precision);

    ASSERT_TRUE(settings.SetPrecision(true));
    EXPECT_EQ(backend.writes.back(),
              (PointerValues{
                  {K::kMouseSpeed, "1"}, {K::kMouseThreshold1, "6"}, {K::kMouseThreshold2, "10"}}));
    ASSERT_TRUE(settings.SetPrecision(false));
    EXPECT_EQ(backend.writes.back(),
              (PointerValues{
                  {K::kMouseSpeed, "0"}, {K::kMouseThreshold1, "0"}, {K::kMouseThreshold2, "0"}}));

    ASSERT_TRUE(settings.SetWheel(5));
    EXPECT_EQ(backend.writes.back(), (PointerValues{{K::kWheelScrollLines, "5"}}));
    ASSERT_TRUE(settings.SetOneScreen(true));
    EXPECT_EQ(backend.writes.back(), (PointerValues{{K::kWheelScrollLines, "-1"}}));
    EXPECT_EQ(settings.page().wheel, 5) << "the position is remembered";
    ASSERT_TRUE(settings.SetOneScreen(false));
    EXPECT_EQ(backend.writes.back(), (PointerValues{{K::kWheelScrollLines, "5"}}));
}

// A first start: no wheel lines kept anywhere. Ticking and unticking one screen per notch
// must not leave "-1" behind; the untick (and Apply) restore the position the page shows.
TEST(PointerSettings, UntickWithoutKeptWheelLinesRestoresTheShownPosition) {
    FakePointerBackend backend;
    backend.stored = WindowsDefaults();
    backend.stored.erase(K::kWheelScrollLines);
    PointerSettings settings(&backend);
    ASSERT_TRUE(settings.Refresh());
    ASSERT_EQ(settings.page().wheel, 0);
    ASSERT_TRUE(settings.SetOneScreen(true));
    EXPECT_EQ(backend.writes.back(), (PointerValues{{K::kWheelScrollLines, "-1"}}));
    ASSERT_TRUE(settings.SetOneScreen(false));
    EXPECT_EQ(backend.writes.back(), (PointerValues{{K::kWheelScrollLines, "1"}}));
    EXPECT_EQ(backend.stored[K::kWheelScrollLines], "1");
    ASSERT_TRUE(settings.Apply());
    EXPECT_EQ(backend.writes.back().at(K::kWheelScrollLines), "1");

    PointerSettings next(&backend);
    ASSERT_TRUE(next.Refresh());
    EXPECT_FALSE(next.page().one_screen);
    EXPECT_EQ(next.page().wheel, 1);
}

TEST(PointerSettings, ErrorsAreReturnedAndTheListenerHearsOnlyWrites) {
    FakePointerBackend backend;
    backend.stored = WindowsDefaults();
    PointerSettings settings(&backend);
    std::vector<PointerValues> heard;
    settings.SetListener([&](const PointerValues& values) { heard.push_back(values); });

    backend.read_error = "no session bus";
    const PointerResult read = settings.Refresh();
    EXPECT_FALSE(read);
    EXPECT_EQ(read.error, "no session bus");
    EXPECT_EQ(settings.page().speed, 0);

    // Before any read a zero position writes nothing for its setting.
    ASSERT_TRUE(settings.Apply());
    backend.read_error.clear();
    ASSERT_TRUE(settings.Refresh());

    ASSERT_TRUE(settings.SetWheel(8));
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], (PointerValues{{K::kWheelScrollLines, "8"}}));

    backend.write_error = "read-only";
    const PointerResult written = settings.SetDoubleClick(1);
    EXPECT_FALSE(written);
    EXPECT_EQ(written.error, "read-only");
    EXPECT_EQ(heard.size(), 1u);
    EXPECT_EQ(settings.page().double_click, 1) << "the page still shows the user's choice";
}

TEST(PointerSettings, WithoutABackendThePageKeepsAndShowsItsValues) {
    PointerSettings settings;
    ASSERT_TRUE(settings.Refresh());
    ASSERT_TRUE(settings.SetSpeed(4));
    ASSERT_TRUE(settings.SetOneScreen(true));
    ASSERT_TRUE(settings.Apply());
    EXPECT_EQ(settings.page().speed, 4);
    EXPECT_TRUE(settings.page().one_screen);
    EXPECT_EQ(settings.ValuesOf(PointerSettings::kSpeed | PointerSettings::kWheel),
              (PointerValues{{K::kMouseSensitivity, "6"}, {K::kWheelScrollLines, "-1"}}));
}

}  // namespace
}  // namespace velq
