#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace velq::skin {

Rgba Mix(const Rgba& a, const Rgba& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Rgba WithAlpha(Rgba c, float alpha) {
    c.a = alpha;
    return c;
}

Paint Solid(Rgba c) {
    return [c](float, float) { return c; };
}

Paint VerticalGradient(float y0, Rgba c0, float y1, Rgba c1) {
    return LinearGradient(0, y0, 0, y1, c0, c1);
}

Paint LinearGradient(float x0, float y0, float x1, float y1, Rgba c0, Rgba c1) {
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    const float len2 = std::max(dx * dx + dy * dy, 1e-6f);
    return [=](float x, float y) {
        const float t = std::clamp(((x - x0) * dx + (y - y0) * dy) / len2, 0.0f, 1.0f);
        return Mix(c0, c1, t);
    };
}

Paint RadialGradient(float cx, float cy, float radius, Rgba inner, Rgba outer) {
    return [=](float x, float y) {
        const float t = std::clamp(std::hypot(x - cx, y - cy) / radius, 0.0f, 1.0f);
        return Mix(inner, outer, t);
    };
}

Canvas::Canvas(int width, int height, Rgba fill)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

void Canvas::Blend(int x, int y, Rgba c, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    const float sa = std::clamp(c.a * coverage, 0.0f, 1.0f);
    if (sa <= 0.0f) {
        return;
    }
    Rgba& d = pixels_[Index(x, y)];
    const float out_a = sa + d.a * (1.0f - sa);
    if (out_a <= 0.0f) {
        d = {};
        return;
    }
    const float keep = d.a * (1.0f - sa);
    d.r = (c.r * sa + d.r * keep) / out_a;
    d.g = (c.g * sa + d.g * keep) / out_a;
    d.b = (c.b * sa + d.b * keep) / out_a;
    d.a = out_a;
}

template <typename CoverageFn>
void Canvas::Cover(const Box& bounds, CoverageFn&& coverage, const Paint& paint) {
    const int x0 = std::max(0, static_cast<int>(std::floor(bounds.x0)) - 1);
    const int y0 = std::max(0, static_cast<int>(std::floor(bounds.y0)) - 1);
    const int x1 = std::min(width_, static_cast<int>(std::ceil(bounds.x1)) + 1);
    const int y1 = std::min(height_, static_cast<int>(std::ceil(bounds.y1)) + 1);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            const float cov = coverage(px, py);
            if (cov > 0.0f) {
                Blend(x, y, paint(px, py), cov);
            }
        }
    }
}

void Canvas::Fill(const Box& bounds, const Sdf& shape, const Paint& paint) {
    Cover(
        bounds, [&](float x, float y) { return std::clamp(0.5f - shape(x, y), 0.0f, 1.0f); },
        paint);
}

void Canvas::FillHard(const Box& bounds, const Sdf& shape, const Paint& paint) {
    const int x0 = std::max(0, static_cast<int>(std::floor(bounds.x0)) - 1);
    const int y0 = std::max(0, static_cast<int>(std::floor(bounds.y0)) - 1);
    const int x1 = std::min(width_, static_cast<int>(std::ceil(bounds.x1)) + 1);
    const int y1 = std::min(height_, static_cast<int>(std::ceil(bounds.y1)) + 1);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            if (shape(px, py) <= 0.0f) {
                // Replaces rather than blends, so the pixel is exactly the paint.
                pixels_[Index(x, y)] = paint(px, py);
            }
        }
    }
}

void Canvas::Glow(const Box& bounds, const Sdf& shape, Rgba c, float radius) {
    const Box grown{bounds.x0 - radius * 2.5f, bounds.y0 - radius * 2.5f, bounds.x1 + radius * 2.5f,
                    bounds.y1 + radius * 2.5f};
    const Paint paint = Solid(c);
    Cover(
        grown,
        [&](float x, float y) {
            const float d = std::max(shape(x, y), 0.0f) / radius;
            return std::exp(-d * d);
        },
        paint);
}

void Canvas::Stroke(const Box& bounds, const Sdf& shape, float width, const Paint& paint) {
    const float half = width / 2.0f;
    const Box grown{bounds.x0 - width, bounds.y0 - width, bounds.x1 + width, bounds.y1 + width};
    Cover(
        grown,
        [&](float x, float y) {
            return std::clamp(0.5f - (std::fabs(shape(x, y)) - half), 0.0f, 1.0f);
        },
        paint);
}

void Canvas::Draw(const Canvas& other, int x, int y) {
    for (int oy = 0; oy < other.height_; ++oy) {
        for (int ox = 0; ox < other.width_; ++ox) {
            Blend(x + ox, y + oy, other.At(ox, oy), 1.0f);
        }
    }
}

std::vector<uint8_t> Canvas::ToRgba8() const {
    // 4x4 Bayer thresholds, kept inside (-0.5, 0.5) of one step so that exact colours (the
    // window's colour key, pure black) survive unchanged.
    static constexpr float kBayer[16] = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};
    std::vector<uint8_t> out;
    out.reserve(pixels_.size() * 4);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Rgba& p = At(x, y);
            const float dither = (kBayer[(y % 4) * 4 + (x % 4)] + 0.5f) / 16.0f - 0.5f;
            const float d = dither * 0.9f;
            auto q = [d](float v) {
                return static_cast<uint8_t>(std::clamp(std::lround(v * 255.0f + d), 0L, 255L));
            };
            const uint8_t alpha = q(p.a);
            if (alpha == 0) {
                out.insert(out.end(), {0, 0, 0, 0});
                continue;
            }
            out.insert(out.end(), {q(p.r), q(p.g), q(p.b), alpha});
        }
    }
    return out;
}

}  // namespace velq::skin
