#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "shell/skin_image.h"

namespace velq {

// One displayed frame of an animation: the whole logical screen as it looks while the frame
// shows, with earlier frames and disposal already applied.
struct GifFrame {
    RgbaImage image;
    int delay_ms = 0;
};

struct GifDecodeResult {
    bool ok = false;
    std::string error;
    int width = 0;  // logical screen
    int height = 0;
    std::vector<GifFrame> frames;
    explicit operator bool() const { return ok; }
};

// Decodes an (animated) GIF held in memory. Frames are composed onto a transparent screen:
// transparent pixels keep what lies below, "restore to background" clears the frame's area
// to transparent afterwards and "restore to previous" puts back what was there before the
// frame. Parts of a frame outside the screen are cut off. Damaged, truncated or oversized
// data gives an error.
[[nodiscard]] GifDecodeResult DecodeGif(std::span<const uint8_t> bytes);

// Decodes as DecodeGif does, but hands each frame to `take` as soon as it is composed instead
// of collecting them (the result's `frames` stay empty): the caller can shrink a frame before
// the next one is decoded, rather than holding every frame as RGBA at once. On an error the
// frames already taken stay with the caller.
[[nodiscard]] GifDecodeResult DecodeGifFrames(std::span<const uint8_t> bytes,
                                              const std::function<void(GifFrame&&)>& take);

}  // namespace velq
