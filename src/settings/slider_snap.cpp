#include "settings/slider_snap.h"

namespace velq {
namespace {

constexpr int kSpeedPositions = 7;
constexpr int kSpeedStart = -15;
constexpr int kSpeedStep = 30;
constexpr int kMaxStep = 7;

}  // namespace

int SliderSnap(int x, int count, int start, int step) {
    if (x <= start) {
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        if (start + step * i < x && x <= start + step * (i + 1)) {
            return i * 100;
        }
    }
    return count * 100;
}

int DpiSliderSnap(int x, int dpi_count) {
    const int step = kDpiSliderWidth / dpi_count;
    return SliderSnap(x, dpi_count - 1, -(step / 4), step);
}

int SpeedSliderSnap(int x) {
    return SliderSnap(x, kSpeedPositions, kSpeedStart, kSpeedStep);
}

int SpeedStepOfSliderValue(int value) {
    return kMaxStep - value / 100;
}

int SpeedSliderValueOfStep(int step) {
    return (kMaxStep - step) * 100;
}

}  // namespace velq
