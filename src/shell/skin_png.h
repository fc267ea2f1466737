#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "shell/skin_image.h"

namespace velq {

struct PngDecodeResult {
    bool ok = false;
    std::string error;  // what was wrong with the data, when not ok
    RgbaImage image;
    explicit operator bool() const { return ok; }
};

// Decodes a PNG file held in memory into RGBA (any colour type and bit depth; palette and
// grey pictures are expanded). Damaged, truncated or oversized data gives an error.
[[nodiscard]] PngDecodeResult DecodePng(std::span<const uint8_t> bytes);

}  // namespace velq
