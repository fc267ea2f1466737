#pragma once

#include <cstdint>
#include <vector>

namespace velq::skin {

// One frame of the loading animation as light intensity 0..255 per pixel (0 = black, which
// the loading window shows as transparent).
struct SpinnerFrame {
    std::vector<uint8_t> intensity;
    int delay_cs = 0;  // hundredths of a second
};

std::vector<SpinnerFrame> DrawSpinner(int width, int height, int frame_count);

// Palette index -> RGB for the intensities: black, through the accent amber, to a pale
// highlight.
void SpinnerColour(int index, uint8_t& r, uint8_t& g, uint8_t& b);

}  // namespace velq::skin
