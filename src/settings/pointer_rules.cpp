#include "settings/pointer_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "settings/slider_snap.h"

namespace velq {
namespace {

// Eleven intervals; a release right of them all is clamped to the last position.
constexpr int kSnapCount = kPointerPositions;

// Read bands of the sensitivity, by pairs: [first, last] -> position. Whatever no band holds
// (10, 11, outside 0..20) shows as position 6.
struct SensitivityBand {
    int first;
    int last;
    int position;
};
constexpr SensitivityBand kSensitivityBands[] = {
    {0, 1, 1},   {2, 3, 2},   {4, 5, 3},   {6, 7, 4},    {8, 9, 5},
    {12, 13, 7}, {14, 15, 8}, {16, 17, 9}, {18, 19, 10}, {20, 20, 11},
};
constexpr int kSensitivityElsewhere = 6;

constexpr int kWheelOfZero = 3;

constexpr int kMiddleSensitivity = 10;
constexpr int kMinSensitivity = 1;
constexpr int kMaxSensitivity = 20;

int ClampPosition(int position) {
    return std::clamp(position, 1, kPointerPositions);
}

}  // namespace

std::string_view PointerKeyName(PointerKey key) {
    return kPointerKeyNames[static_cast<std::size_t>(key)];
}

int PointerSliderSnap(int x) {
    return std::clamp(
        SliderSnap(x, kSnapCount, kPointerSliderTrack.start, kPointerSliderTrack.step), 0,
        kPointerSliderMax);
}

int PointerPositionOfSliderValue(int value) {
    return ClampPosition(value / 100 + 1);
}

int PointerSliderValueOfPosition(int position) {
    return (ClampPosition(position) - 1) * 100;
}

CorePointerControl CoreControlOf(int position, bool precision) {
    const auto& table = precision ? kCoreControlWithPrecision : kCoreControlWithoutPrecision;
    return table[static_cast<std::size_t>(ClampPosition(position) - 1)];
}

CoreControlReading PositionOfCoreControl(const CorePointerControl& control) {
    for (const bool precision : {true, false}) {
        for (int position = 1; position <= kPointerPositions; ++position) {
            const CorePointerControl row = CoreControlOf(position, precision);
            // The same factor in other terms (4/2 for 2/1) is the same row.
            if (row.threshold == control.threshold &&
                row.numerator * control.denominator == control.numerator * row.denominator) {
                return {position, precision};
            }
        }
    }
    return {kSensitivityElsewhere, control.numerator > control.denominator};
}

int SensitivityOfPosition(int position) {
    return kSensitivityOfPosition[static_cast<std::size_t>(ClampPosition(position) - 1)];
}

int SpeedPositionOfSensitivity(int sensitivity) {
    for (const SensitivityBand& band : kSensitivityBands) {
        if (band.first <= sensitivity && sensitivity <= band.last) {
            return band.position;
        }
    }
    return kSensitivityElsewhere;
}

int DoubleClickMsOfPosition(int position) {
    return kDoubleClickMsOfPosition[static_cast<std::size_t>(ClampPosition(position) - 1)];
}

int DoubleClickPositionOfMs(int ms) {
    // The first position whose written time is at most `ms`; shorter than every band: 11.
    for (int p = 1; p <= kPointerPositions; ++p) {
        if (ms >= DoubleClickMsOfPosition(p)) {
            return p;
        }
    }
    return kPointerPositions;
}

WheelReading WheelOfLines(int lines) {
    if (lines == kWheelOneScreen) {
        return {true, 1};
    }
    if (lines == 0) {
        return {false, kWheelOfZero};
    }
    if (lines >= 1 && lines <= kPointerPositions) {
        return {false, lines};
    }
    return {false, kPointerPositions};
}

double AccelSpeedOfSensitivity(int sensitivity) {
    const int s = std::clamp(sensitivity, kMinSensitivity, kMaxSensitivity);
    const double below = kMiddleSensitivity - kMinSensitivity;
    const double above = kMaxSensitivity - kMiddleSensitivity;
    return s <= kMiddleSensitivity ? (s - kMiddleSensitivity) / below
                                   : (s - kMiddleSensitivity) / above;
}

int SensitivityOfAccelSpeed(double speed) {
    const double v = std::clamp(speed, -1.0, 1.0);
    const double below = kMiddleSensitivity - kMinSensitivity;
    const double above = kMaxSensitivity - kMiddleSensitivity;
    return static_cast<int>(std::lround(kMiddleSensitivity + v * (v <= 0 ? below : above)));
}

std::optional<int> ParseStoredNumber(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace velq
