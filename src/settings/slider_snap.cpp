#include "settings/slider_snap.h"

namespace velq {
namespace {

constexpr int kMaxStep = 7;

int DpiStep(int dpi_count) {
    return kDpiSliderWidth / dpi_count;
}

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

int ThumbCentre(const SliderTrack& track, int position) {
    return track.start + track.step * position + track.step / 2;
}

int DpiSliderSnap(int x, int dpi_count) {
    const SliderTrack track = DpiSliderTrack(dpi_count);
    return SliderSnap(x, track.positions - 1, track.start, track.step);
}

SliderTrack DpiSliderTrack(int dpi_count) {
    const int step = DpiStep(dpi_count);
    return {kDpiSliderWidth, dpi_count, -(step / 4), step};
}

int SpeedSliderSnap(int x) {
    const SliderTrack& track = kSpeedSliderTrack;
    return SliderSnap(x, track.positions - 1, track.start, track.step);
}

int SpeedStepOfSliderValue(int value) {
    return kMaxStep - value / 100;
}

int SpeedSliderValueOfStep(int step) {
    return (kMaxStep - step) * 100;
}

}  // namespace velq
