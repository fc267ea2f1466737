#pragma once

#include <cstdint>
#include <optional>
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

// The width and height a PNG file announces in its header, without decoding it; nothing when
// the bytes do not start like a PNG file.
struct PngSize {
    int width = 0;
    int height = 0;
};
[[nodiscard]] std::optional<PngSize> ReadPngSize(std::span<const uint8_t> bytes);

}  // namespace velq
