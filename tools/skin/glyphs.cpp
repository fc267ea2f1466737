#include "glyphs.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "shapes.h"

namespace velq::skin {
namespace {

Box Around(float cx, float cy, float r) {
    return {cx - r - 2, cy - r - 2, cx + r + 2, cy + r + 2};
}

// Gun silhouettes on a 100 x 40 design grid (x to the right, y down), scaled into a box.
struct GunShape {
    std::vector<Point> body;
    std::vector<Point> magazine;
};

GunShape GunDesign(int gun) {
    switch (gun) {
        case 1:  // long rifle with a curved magazine and a wooden-style stock
            return {{{0, 14},
                     {22, 12},
                     {30, 11},
                     {98, 11},
                     {98, 14},
                     {64, 14},
                     {60, 18},
                     {40, 18},
                     {36, 24},
                     {30, 24},
                     {28, 19},
                     {20, 19},
                     {4, 24},
                     {0, 24}},
                    {{44, 18}, {52, 18}, {56, 30}, {50, 33}}};
        case 2:  // rifle with a carry handle and a straight stock
            return {{{0, 12},
                     {24, 12},
                     {28, 8},
                     {50, 8},
                     {50, 11},
                     {98, 11},
                     {98, 14},
                     {66, 14},
                     {62, 18},
                     {40, 18},
                     {36, 25},
                     {30, 25},
                     {28, 18},
                     {0, 22}},
                    {{44, 18}, {50, 18}, {52, 31}, {46, 31}}};
        case 3:  // carbine: short barrel, telescoping stock
            return {{{4, 12},
                     {22, 12},
                     {26, 9},
                     {48, 9},
                     {48, 11},
                     {88, 11},
                     {88, 14},
                     {62, 14},
                     {58, 18},
                     {40, 18},
                     {36, 25},
                     {30, 25},
                     {28, 18},
                     {14, 18},
                     {4, 22}},
                    {{42, 18}, {48, 18}, {50, 30}, {44, 30}}};
        case 4:  // compact machine pistol with a folding stock
            return {{{10, 13},
                     {24, 13},
                     {28, 10},
                     {72, 10},
                     {72, 13},
                     {80, 13},
                     {80, 16},
                     {58, 16},
                     {54, 19},
                     {42, 19},
                     {38, 27},
                     {32, 27},
                     {30, 19},
                     {24, 17},
                     {10, 17}},
                    {{46, 19}, {52, 19}, {53, 33}, {47, 33}}};
        case 5:  // modern rifle with a long rail and a stocky profile
            return {{{0, 11},
                     {26, 11},
                     {30, 8},
                     {76, 8},
                     {76, 11},
                     {98, 11},
                     {98, 14},
                     {70, 14},
                     {68, 18},
                     {40, 18},
                     {36, 25},
                     {30, 25},
                     {28, 18},
                     {0, 21}},
                    {{44, 18}, {51, 18}, {53, 30}, {46, 30}}};
        default:
            return {};
    }
}

void Cartridge(Canvas& c, float x, float y, float w, float h, Rgba ink) {
    // Case, then a pointed bullet on top.
    const float neck = y + h * 0.38f;
    const Sdf body =
        Union(RoundRect(x, neck, x + w, y + h, w * 0.12f), Polygon({{x + w * 0.1f, neck + 1},
                                                                    {x + w * 0.1f, y + h * 0.2f},
                                                                    {x + w * 0.5f, y},
                                                                    {x + w * 0.9f, y + h * 0.2f},
                                                                    {x + w * 0.9f, neck + 1}}));
    c.Fill({x - 1, y - 1, x + w + 1, y + h + 1}, body, Solid(ink));
    c.Fill({x - 1, y - 1, x + w + 1, y + h + 1}, RoundRect(x, neck - 1, x + w, neck + 0.6f, 0.5f),
           Solid(Hex(0x000000, 0.5f)));
}

}  // namespace

void DrawGlobe(Canvas& c, float cx, float cy, float r, Rgba ink, float line) {
    const Box box = Around(cx, cy, r);
    const Paint paint = Solid(ink);
    c.Stroke(box, Circle(cx, cy, r), line, paint);
    c.Stroke(box, Intersect(Ellipse(cx, cy, r * 0.45f, r), Circle(cx, cy, r)), line, paint);
    c.Fill(box, Capsule({cx - r, cy}, {cx + r, cy}, line), paint);
    c.Fill(box, Capsule({cx, cy - r}, {cx, cy + r}, line), paint);
}

void DrawClock(Canvas& c, float cx, float cy, float r, Rgba ink, float line) {
    const Box box = Around(cx, cy, r);
    const Paint paint = Solid(ink);
    c.Stroke(box, Circle(cx, cy, r), line, paint);
    c.Fill(box, Capsule({cx, cy}, {cx, cy - r * 0.65f}, line), paint);
    c.Fill(box, Capsule({cx, cy}, {cx + r * 0.45f, cy + r * 0.25f}, line), paint);
    for (int i = 0; i < 12; i += 3) {
        const float a = static_cast<float>(i) * std::numbers::pi_v<float> / 6.0f;
        c.Fill(box, Circle(cx + std::sin(a) * r * 0.82f, cy - std::cos(a) * r * 0.82f, line * 0.6f),
               paint);
    }
}

void DrawKeyCap(Canvas& c, float cx, float cy, float size, Rgba ink, float line) {
    const float h = size / 2;
    const Box box = Around(cx, cy, size);
    const Paint paint = Solid(ink);
    c.Stroke(box, RoundRect(cx - h, cy - h, cx + h, cy + h, size * 0.18f), line, paint);
    c.Stroke(box,
             RoundRect(cx - h * 0.6f, cy - h * 0.7f, cx + h * 0.6f, cy + h * 0.35f, size * 0.1f),
             line * 0.8f, paint);
}

void DrawAxes(Canvas& c, float cx, float cy, float size, Rgba ink, float line) {
    const float h = size / 2;
    const Box box = Around(cx, cy, size);
    const Paint paint = Solid(ink);
    c.Fill(box, Capsule({cx - h, cy + h}, {cx + h, cy + h}, line), paint);
    c.Fill(box, Capsule({cx - h, cy + h}, {cx - h, cy - h}, line), paint);
    c.Fill(box, Polygon({{cx + h + 4, cy + h}, {cx + h - 2, cy + h - 4}, {cx + h - 2, cy + h + 4}}),
           paint);
    c.Fill(box, Polygon({{cx - h, cy - h - 4}, {cx - h - 4, cy - h + 2}, {cx - h + 4, cy - h + 2}}),
           paint);
    c.Fill(box, Capsule({cx - h, cy + h}, {cx + h * 0.5f, cy - h * 0.5f}, line * 0.8f),
           Solid(WithAlpha(ink, ink.a * 0.6f)));
    c.Fill(box, Circle(cx + h * 0.5f, cy - h * 0.5f, line * 1.4f), paint);
}

void DrawMark(Canvas& c, float cx, float cy, float size, Rgba ink) {
    const float s = size / 2;
    const Box box{cx - size, cy - size, cx + size, cy + size};
    const Sdf outer = Polygon({{cx - s, cy - s * 0.7f},
                               {cx - s * 0.55f, cy - s * 0.7f},
                               {cx, cy + s * 0.25f},
                               {cx + s * 0.55f, cy - s * 0.7f},
                               {cx + s, cy - s * 0.7f},
                               {cx + s * 0.12f, cy + s * 0.8f},
                               {cx - s * 0.12f, cy + s * 0.8f}});
    const Sdf inner = Polygon({{cx - s * 0.3f, cy - s * 0.7f},
                               {cx - s * 0.08f, cy - s * 0.7f},
                               {cx, cy - s * 0.5f},
                               {cx + s * 0.08f, cy - s * 0.7f},
                               {cx + s * 0.3f, cy - s * 0.7f},
                               {cx, cy - s * 0.15f}});
    c.Glow(box, outer, WithAlpha(ink, 0.35f), size * 0.12f);
    c.Fill(box, outer, VerticalGradient(cy - s, Hex(0xFFF1D6), cy + s, ink));
    c.Fill(box, inner, Solid(WithAlpha(ink, 0.85f)));
}

void DrawGun(Canvas& c, int gun, const Box& box, Rgba ink) {
    const float w = box.x1 - box.x0;
    const float h = box.y1 - box.y0;
    if (gun == 6 || gun == 7) {
        // The ammunition groups: two or three cartridges, the larger calibre taller.
        const int count = gun == 6 ? 2 : 3;
        const float cw = w * (gun == 6 ? 0.16f : 0.14f);
        const float ch = h * (gun == 6 ? 0.8f : 0.95f);
        const float gap = cw * 0.5f;
        const float total = cw * static_cast<float>(count) + gap * static_cast<float>(count - 1);
        float x = box.x0 + (w - total) / 2;
        for (int i = 0; i < count; ++i) {
            Cartridge(c, x, box.y1 - ch, cw, ch, ink);
            x += cw + gap;
        }
        return;
    }
    const GunShape design = GunDesign(gun);
    const float scale = std::min(w / 100.0f, h / 40.0f);
    const float ox = box.x0 + (w - 100.0f * scale) / 2;
    const float oy = box.y0 + (h - 40.0f * scale) / 2;
    auto place = [&](const std::vector<Point>& pts) {
        std::vector<Point> out;
        for (const Point& p : pts) {
            out.push_back({ox + p.x * scale, oy + p.y * scale});
        }
        return out;
    };
    const std::vector<Point> body = place(design.body);
    const std::vector<Point> mag = place(design.magazine);
    const Box bounds = Grow(box, 2);
    c.Fill(bounds, Union(Polygon(body), Polygon(mag)), Solid(ink));
}

}  // namespace velq::skin
