#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velq {

// A decoded picture: 8-bit RGBA, straight alpha, rows top to bottom without padding.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // width * height * 4 bytes
};

// The largest picture the decoders accept, in pixels. The skin's largest picture is about
// 0.7 million pixels; anything far beyond is a damaged or hostile file, and refusing it keeps
// a corrupt header from asking for gigabytes.
inline constexpr std::size_t kMaxSkinPixels = std::size_t{4096} * 4096;

}  // namespace velq
