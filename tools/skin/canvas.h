#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace velq::skin {

// A colour with straight (not premultiplied) alpha, each channel 0..1.
struct Rgba {
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 0;
};

// 0xRRGGBB with an alpha.
constexpr Rgba Hex(uint32_t rgb, float alpha = 1.0f) {
    return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f,
            static_cast<float>((rgb >> 8) & 0xFF) / 255.0f, static_cast<float>(rgb & 0xFF) / 255.0f,
            alpha};
}

Rgba Mix(const Rgba& a, const Rgba& b, float t);
Rgba WithAlpha(Rgba c, float alpha);

// Signed distance from a point to a shape's outline: negative inside, positive outside.
using Sdf = std::function<float(float x, float y)>;
// Colour of a shape at a point (for gradients).
using Paint = std::function<Rgba(float x, float y)>;

Paint Solid(Rgba c);
Paint VerticalGradient(float y0, Rgba c0, float y1, Rgba c1);
Paint LinearGradient(float x0, float y0, float x1, float y1, Rgba c0, Rgba c1);
Paint RadialGradient(float cx, float cy, float radius, Rgba inner, Rgba outer);

struct Box {
    float x0 = 0;
    float y0 = 0;
    float x1 = 0;
    float y1 = 0;
};

// An RGBA picture in floating point; shapes are composited "source over" with antialiased
// coverage taken from their distance function at each pixel centre.
class Canvas {
public:
    Canvas(int width, int height, Rgba fill = {});

    int Width() const { return width_; }
    int Height() const { return height_; }
    const Rgba& At(int x, int y) const { return pixels_[Index(x, y)]; }
    void Set(int x, int y, Rgba c) { pixels_[Index(x, y)] = c; }

    // Source-over blend of `c` with the given coverage (0..1).
    void Blend(int x, int y, Rgba c, float coverage);

    // Fills the shape inside `bounds` with antialiased edges.
    void Fill(const Box& bounds, const Sdf& shape, const Paint& paint);
    // Fills without antialiasing: a pixel belongs to the shape when its centre is inside.
    void FillHard(const Box& bounds, const Sdf& shape, const Paint& paint);
    // A soft glow outside (and just inside) the shape's outline, fading over `radius`.
    void Glow(const Box& bounds, const Sdf& shape, Rgba c, float radius);
    // An antialiased stroke of `width` centred on the outline.
    void Stroke(const Box& bounds, const Sdf& shape, float width, const Paint& paint);

    // Draws another canvas at (x, y) with source-over blending.
    void Draw(const Canvas& other, int x, int y);

    // 8-bit RGBA rows, top row first, with ordered dithering against banding in gradients.
    std::vector<uint8_t> ToRgba8() const;

private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }
    template <typename CoverageFn>
    void Cover(const Box& bounds, CoverageFn&& coverage, const Paint& paint);

    int width_;
    int height_;
    std::vector<Rgba> pixels_;
};

}  // namespace velq::skin
