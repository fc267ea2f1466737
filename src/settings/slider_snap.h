#pragma once

namespace velq {

// Where a slider released at pixel x lands: index i (0 <= i < count) of the first interval
// (start + step * i, start + step * (i + 1)] that holds x; 0 at or left of `start`, `count`
// right of every interval. The result is i x 100, the slider's value.
int SliderSnap(int x, int count, int start, int step);

// The DPI sliders (levels and aim key): 225 pixels wide, offering the first `dpi_count` entries
// of the DPI value list (the program settings give 11 or 12).
inline constexpr int kDpiSliderWidth = 225;
int DpiSliderSnap(int x, int dpi_count);

// The flowing light's speed slider: eight positions; position p stands for step 7 - p.
int SpeedSliderSnap(int x);
int SpeedStepOfSliderValue(int value);
int SpeedSliderValueOfStep(int step);

}  // namespace velq
