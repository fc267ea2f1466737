#pragma once

namespace velq {

// Where a slider released at pixel x lands: index i (0 <= i < count) of the first interval
// (start + step * i, start + step * (i + 1)] that holds x; 0 at or left of `start`, `count`
// right of every interval. The result is i x 100, the slider's value.
int SliderSnap(int x, int count, int start, int step);

// Where a slider's positions lie on screen: `positions` intervals of `step` pixels from `start`
// across a slider `width` pixels wide. The thumb of a position is drawn in the middle of the
// interval that snaps to it, so a click on a thumb keeps its value and every position lies
// inside the track.
struct SliderTrack {
    int width;
    int positions;
    int start;
    int step;
};
int ThumbCentre(const SliderTrack& track, int position);

// The DPI sliders (levels and aim key): 225 pixels wide, offering the first `dpi_count` entries
// of the DPI value list (the program settings give 11 or 12).
inline constexpr int kDpiSliderWidth = 225;
int DpiSliderSnap(int x, int dpi_count);
SliderTrack DpiSliderTrack(int dpi_count);

// The flowing light's speed slider: eight positions; position p stands for step 7 - p.
// Its track is as wide as its eight intervals reach (-15 + 8 x 30).
int SpeedSliderSnap(int x);
inline constexpr SliderTrack kSpeedSliderTrack = {225, 8, -15, 30};
int SpeedStepOfSliderValue(int value);
int SpeedSliderValueOfStep(int step);

}  // namespace velq
