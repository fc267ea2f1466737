#include <gtest/gtest.h>

#include "settings/dpi_levels.h"
#include "settings/level_rules.h"
#include "settings/light_rules.h"
#include "settings/pointer_rules.h"
#include "settings/slider_snap.h"

namespace velq {
namespace {

TEST(SliderSnap, DpiSlidersSnapToTheirIntervals) {
    struct Case {
        int dpi_count;
        int x;
        int index;
    };
    const Case cases[] = {
        {12, -10, 0}, {12, -4, 0},   {12, 14, 0},   {12, 15, 1},   {12, 32, 1},
        {12, 33, 2},  {12, 194, 10}, {12, 195, 11}, {12, 200, 11}, {12, 225, 11},
        {11, 15, 0},  {11, 16, 1},   {11, 195, 9},  {11, 196, 10}, {11, 220, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.dpi_count) + " x=" + std::to_string(c.x));
        EXPECT_EQ(DpiSliderSnap(c.x, c.dpi_count), c.index * 100);
    }
    EXPECT_EQ(DpiValueOfIndex(11), 8000);
    EXPECT_EQ(DpiValueOfIndex(0xFF), std::nullopt);
}

TEST(SliderSnap, SpeedSliderPositionsAreStepsBackwards) {
    EXPECT_EQ(SpeedSliderSnap(200), 700);
    EXPECT_EQ(SpeedStepOfSliderValue(SpeedSliderSnap(200)), 0);
    EXPECT_EQ(SpeedSliderSnap(10), 0);
    EXPECT_EQ(SpeedStepOfSliderValue(SpeedSliderSnap(10)), 7);
    EXPECT_EQ(SpeedSliderSnap(16), 100);
    for (int step = 0; step <= 7; ++step) {
        EXPECT_EQ(SpeedStepOfSliderValue(SpeedSliderValueOfStep(step)), step);
    }
}

TEST(LevelRules, LabelClicksAddOrRemoveTheTopLevelOnly) {
    struct Case {
        int count;
        int level;
        int after;
    };
    const Case cases[] = {
        {4, 5, 5}, {5, 5, 4}, {4, 2, 4}, {4, 1, 4}, {4, 3, 4}, {4, 6, 4},
        {2, 2, 2}, {2, 3, 3}, {3, 3, 2}, {7, 7, 6}, {6, 7, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " levels, click on " + std::to_string(c.level));
        EXPECT_EQ(LevelCountAfterLabelClick(c.count, c.level), c.after);
    }
    EXPECT_EQ(CurrentLevelAfterClick(3, 6), std::nullopt);
    EXPECT_EQ(CurrentLevelAfterClick(3, 3), 3);
}

TEST(LevelRules, FieldsCorrectTheirOwnText) {
    struct Case {
        std::string (*correct)(const std::string&);
        const char* typed;
        const char* shown;
    };
    const auto lamps_typing = [](const std::string& t) { return CorrectLampText(t, false); };
    const auto lamps_left = [](const std::string& t) { return CorrectLampText(t, true); };
    const Case cases[] = {
        {CorrectColourText, "300", "255"},
        {CorrectColourText, "", "0"},
        {CorrectColourText, "17", "17"},
        {CorrectColourText, "99999999999", "255"},
        {CorrectStepText, "9", "7"},
        {CorrectStepText, "", "0"},
        {CorrectStepText, "3", "3"},
        {lamps_typing, "20", "13"},
        {lamps_typing, "", "13"},
        {lamps_typing, "0", "4"},
        {lamps_typing, "3", "4"},
        {lamps_typing, "1", "1"},
        {lamps_left, "1", "4"},
        {lamps_typing, "9", "9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(c.correct(c.typed), c.shown);
    }
}

TEST(LightRules, EachTypeShowsItsGroups) {
    EXPECT_EQ(GroupsOfLight(LightType::kFlowing), (LightGroups{false, true, true, true, true}));
    EXPECT_EQ(GroupsOfLight(LightType::kTwoColour), (LightGroups{true, true, false, false, false}));
    EXPECT_EQ(GroupsOfLight(LightType::kSync), (LightGroups{}));
    EXPECT_EQ(GroupsOfLight(LightType::kBreathing), (LightGroups{}));
}

// The core pointer's table: never slower than 1/1, each position at least as fast as the one
// below it (a higher factor or a lower threshold, never the reverse), strictly so with
// precision; the middle is the server's default with precision and no acceleration without;
// and every row reads back as itself.
TEST(CorePointerTable, SpeedGrowsWithThePositionInBothModes) {
    for (const bool precision : {true, false}) {
        SCOPED_TRACE(precision);
        for (int position = 1; position <= kPointerPositions; ++position) {
            const CorePointerControl row = CoreControlOf(position, precision);
            EXPECT_GE(row.numerator, row.denominator) << position;
            const CoreControlReading reading = PositionOfCoreControl(row);
            EXPECT_EQ(reading.position, position);
            EXPECT_EQ(reading.precision, precision);
            if (position == 1) {
                continue;
            }
            const CorePointerControl below = CoreControlOf(position - 1, precision);
            const double factor = static_cast<double>(row.numerator) / row.denominator;
            const double factor_below = static_cast<double>(below.numerator) / below.denominator;
            // Under a factor of 1 the threshold changes nothing.
            EXPECT_GE(factor, factor_below) << position;
            if (factor_below > 1.0) {
                EXPECT_LE(row.threshold, below.threshold) << position;
                EXPECT_TRUE(factor > factor_below || row.threshold < below.threshold) << position;
            } else if (precision) {
                EXPECT_GT(factor, 1.0) << position;
            }
            if (!precision && position > 6) {
                EXPECT_GT(factor, 1.0) << position;
            }
        }
    }
    EXPECT_EQ(CoreControlOf(6, true), (CorePointerControl{2, 1, 4}));
    EXPECT_EQ(CoreControlOf(6, false).numerator, CoreControlOf(6, false).denominator);
    // Another program's control: the middle, precise when it accelerates.
    EXPECT_EQ(PositionOfCoreControl({3, 10, 1}).position, 6);
    EXPECT_FALSE(PositionOfCoreControl({3, 10, 1}).precision);
    EXPECT_TRUE(PositionOfCoreControl({7, 1, 20}).precision);
    EXPECT_EQ(PositionOfCoreControl({4, 2, 4}).position, 6);  // 2/1 in other terms
}

}  // namespace
}  // namespace velq
