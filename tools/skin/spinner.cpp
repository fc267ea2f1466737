#include "spinner.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "canvas.h"
#include "shapes.h"

namespace velq::skin {

std::vector<SpinnerFrame> DrawSpinner(int width, int height, int frame_count) {
    std::vector<SpinnerFrame> frames;
    const float cx = static_cast<float>(width) / 2;
    const float cy = static_cast<float>(height) / 2;
    constexpr int kSegments = 12;
    const float pi = std::numbers::pi_v<float>;
    for (int f = 0; f < frame_count; ++f) {
        // Intensity is drawn as the red channel of a canvas on black.
        Canvas c(width, height, Rgba{0, 0, 0, 1});
        const Box all{0, 0, static_cast<float>(width), static_cast<float>(height)};
        // Quiet outer and inner rings.
        c.Stroke(all, Circle(cx, cy, 72), 1.5f, Solid({0.22f, 0, 0, 1}));
        c.Stroke(all, Circle(cx, cy, 34), 1.0f, Solid({0.16f, 0, 0, 1}));
        // Segments: the head is the brightest, the trail fades behind it.
        const float head = static_cast<float>(f) * kSegments / static_cast<float>(frame_count);
        for (int s = 0; s < kSegments; ++s) {
            const float a = static_cast<float>(s) * 2 * pi / kSegments - pi / 2;
            float behind = head - static_cast<float>(s);
            while (behind < 0) {
                behind += kSegments;
            }
            const float level = std::max(0.18f, 1.0f - behind / 7.0f);
            const Point p0{cx + std::cos(a) * 44, cy + std::sin(a) * 44};
            const Point p1{cx + std::cos(a) * 62, cy + std::sin(a) * 62};
            const Sdf seg = Capsule(p0, p1, 9);
            if (level > 0.6f) {
                c.Glow(all, seg, {level * 0.35f, 0, 0, 1}, 4);
            }
            c.Fill(all, seg, Solid({0.3f + 0.7f * level, 0, 0, 1}));
        }
        // Centre pulse.
        const float pulse = 0.5f + 0.5f * std::sin(static_cast<float>(f) * 2 * pi /
                                                   static_cast<float>(frame_count));
        c.Fill(all, Circle(cx, cy, 6 + 2 * pulse), Solid({0.45f + 0.4f * pulse, 0, 0, 1}));

        SpinnerFrame frame;
        frame.delay_cs = 8;
        frame.intensity.reserve(static_cast<std::size_t>(width * height));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const float v = std::clamp(c.At(x, y).r, 0.0f, 1.0f);
                // Faint glow below one step would turn into dark grey pixels that the loading
                // window shows as an opaque haze; keep those black.
                const auto level = static_cast<uint8_t>(std::lround(v * 255.0f));
                frame.intensity.push_back(level < 10 ? 0 : level);
            }
        }
        frames.push_back(std::move(frame));
    }
    return frames;
}

void SpinnerColour(int index, uint8_t& r, uint8_t& g, uint8_t& b) {
    const float t = static_cast<float>(index) / 255.0f;
    // 0 -> black, 0.7 -> accent amber (255, 176, 48), 1 -> pale amber (255, 236, 200).
    float fr = 0;
    float fg = 0;
    float fb = 0;
    if (t < 0.7f) {
        const float k = t / 0.7f;
        fr = 255 * k;
        fg = 176 * k;
        fb = 48 * k;
    } else {
        const float k = (t - 0.7f) / 0.3f;
        fr = 255;
        fg = 176 + (236 - 176) * k;
        fb = 48 + (200 - 48) * k;
    }
    r = static_cast<uint8_t>(std::lround(fr));
    g = static_cast<uint8_t>(std::lround(fg));
    b = static_cast<uint8_t>(std::lround(fb));
}

}  // namespace velq::skin
