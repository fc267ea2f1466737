#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "settings/slider_snap.h"

namespace velq {

// The PC's pointer settings are kept in the model of the Windows per-user mouse settings, as
// decimal text under these names, whatever the desktop stores underneath: the mapping between
// the stored numbers and the page's slider positions is fixed and loses information (11 is
// shown as 6 and would be written back as 10), which is why a value is rewritten only after
// the user changed it.
enum class PointerKey {
    kMouseSensitivity,
    kMouseSpeed,
    kMouseThreshold1,
    kMouseThreshold2,
    kDoubleClickSpeed,
    kWheelScrollLines,
};
inline constexpr int kPointerKeyCount = 6;
inline constexpr std::array<std::string_view, kPointerKeyCount> kPointerKeyNames = {
    "MouseSensitivity", "MouseSpeed",       "MouseThreshold1",
    "MouseThreshold2",  "DoubleClickSpeed", "WheelScrollLines",
};
std::string_view PointerKeyName(PointerKey key);

// Each of the three sliders has positions 1..11; its value is (position - 1) x 100.
inline constexpr int kPointerPositions = 11;
inline constexpr int kPointerSliderWidth = 281;
inline constexpr int kPointerSliderMax = 1000;
inline constexpr SliderTrack kPointerSliderTrack = {kPointerSliderWidth, kPointerPositions, -7, 26};

// Where a pointer slider released at pixel x lands (its value 0..1000, never beyond).
int PointerSliderSnap(int x);
int PointerPositionOfSliderValue(int value);
int PointerSliderValueOfPosition(int position);

// "MouseSensitivity": 1, 2, 4 .. 20 written for positions 1..11; read back by pairs, with 10,
// 11 and anything outside 0..20 shown in the middle (position 6).
inline constexpr std::array<int, kPointerPositions> kSensitivityOfPosition = {1,  2,  4,  6,  8, 10,
                                                                              12, 14, 16, 18, 20};
int SensitivityOfPosition(int position);
int SpeedPositionOfSensitivity(int sensitivity);
// A stored sensitivity that is no number reads as the fastest.
inline constexpr int kUnreadableSensitivity = 20;

// Enhanced precision: the acceleration triple written for ticked and unticked; read as ticked
// when any of the three is not 0 (a value that is no number reads as 0).
struct PrecisionValues {
    int mouse_speed;
    int threshold1;
    int threshold2;
};
inline constexpr PrecisionValues kPrecisionOn = {1, 6, 10};
inline constexpr PrecisionValues kPrecisionOff = {0, 0, 0};

// "DoubleClickSpeed" in milliseconds: 970 - 70 x position written; read by 70 ms bands, so
// 500 ms shows as position 7 and is written back as 480.
inline constexpr std::array<int, kPointerPositions> kDoubleClickMsOfPosition = {
    900, 830, 760, 690, 620, 550, 480, 410, 340, 270, 200};
int DoubleClickMsOfPosition(int position);
int DoubleClickPositionOfMs(int ms);
inline constexpr int kUnreadableDoubleClickMs = 480;

// "WheelScrollLines": the position itself, or -1 for one screen per notch. Read: -1 is the
// screen option (remembering position 1), 0 shows 3, 1..11 themselves, anything else 11.
inline constexpr int kWheelOneScreen = -1;
struct WheelReading {
    bool one_screen;
    int position;
};
WheelReading WheelOfLines(int lines);

// The desktop's pointer speed -1..1 (GSettings `speed`, libinput's "Accel Speed") for the
// sensitivity 1..20: linear on each side of the middle, so that Windows' default 10 is the
// desktop's default 0: (s - 10) / 9 for s <= 10, (s - 10) / 10 above; read back rounded to the
// nearest whole sensitivity. Values outside the ranges are clamped.
double AccelSpeedOfSensitivity(int sensitivity);
int SensitivityOfAccelSpeed(double speed);

// The X core pointer's control (XChangePointerControl): motion faster than `threshold` pixels
// is multiplied by numerator / denominator, slower motion is left alone. It can only speed
// the pointer up, so a factor below 1 would slow exactly the fast moves. With precision the
// middle position is the X server's own default, 2/1 over 4 pixels; each position up lowers
// the threshold or raises the factor, each position down does the opposite. Without precision
// nothing is accelerated up to the middle (1/1, where the threshold changes nothing and so
// carries the position, to read it back); above it the factor grows over a threshold that
// stays higher than any of the precise rows'. Every row is different, so a control read back
// names its position and mode.
struct CorePointerControl {
    int numerator;
    int denominator;
    int threshold;
    bool operator==(const CorePointerControl&) const = default;
};
inline constexpr std::array<CorePointerControl, kPointerPositions> kCoreControlWithPrecision = {{
    {5, 4, 10},
    {3, 2, 10},
    {3, 2, 7},
    {2, 1, 7},
    {2, 1, 5},
    {2, 1, 4},
    {5, 2, 4},
    {3, 1, 4},
    {3, 1, 3},
    {4, 1, 3},
    {4, 1, 2},
}};
inline constexpr std::array<CorePointerControl, kPointerPositions> kCoreControlWithoutPrecision = {{
    {1, 1, 1},
    {1, 1, 2},
    {1, 1, 3},
    {1, 1, 4},
    {1, 1, 5},
    {1, 1, 6},
    {5, 4, 12},
    {3, 2, 12},
    {3, 2, 9},
    {7, 4, 9},
    {2, 1, 9},
}};
CorePointerControl CoreControlOf(int position, bool precision);
struct CoreControlReading {
    int position;
    bool precision;
};
// A control that is none of the rows (set by another program) reads as the middle position,
// with precision when it accelerates at all.
CoreControlReading PositionOfCoreControl(const CorePointerControl& control);

// Decimal text as stored; nullopt for text that is no whole number.
std::optional<int> ParseStoredNumber(std::string_view text);

}  // namespace velq
