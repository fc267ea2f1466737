#include "mouse_art.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>
#include <vector>

#include "glyphs.h"
#include "shapes.h"
#include "theme.h"

namespace velq::skin {
namespace {

using namespace theme;

// The mouse body, centred in the picture, front at the top.
struct Body {
    float cx;
    float cy;
    float half_w = 90;
    float half_h = 160;
};

// Superellipse outline, narrower at the nose and slightly waisted, widest at the palm.
std::vector<Point> Outline(const Body& m) {
    std::vector<Point> pts;
    constexpr int kSteps = 240;
    constexpr float kExp = 2.0f / 2.6f;
    for (int i = 0; i < kSteps; ++i) {
        const float t = static_cast<float>(i) * 2.0f * std::numbers::pi_v<float> / kSteps;
        const float c = std::cos(t);
        const float s = std::sin(t);
        const float u = std::copysign(std::pow(std::fabs(c), kExp), c);
        const float v = std::copysign(std::pow(std::fabs(s), kExp), s);  // -1 nose, +1 tail
        const float profile = 0.84f + 0.16f * (v + 1.0f) / 2.0f - 0.05f * std::exp(-v * v / 0.08f);
        pts.push_back({m.cx + m.half_w * u * profile, m.cy + m.half_h * v});
    }
    return pts;
}

// Leftmost x of the outline at height y.
float LeftEdge(const std::vector<Point>& outline, float y) {
    float best = 1e9f;
    for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        const Point& a = outline[i];
        const Point& b = outline[j];
        if ((a.y > y) != (b.y > y)) {
            best = std::min(best, a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y));
        }
    }
    return best;
}

// Marker points of buttons 1..9 relative to the body centre, by the functions the mouse leaves
// the factory with: left, wheel, right, back side, forward side, DPI loop (the rear button),
// DPI up and DPI down (the two keys behind the wheel), fire (left front). The side buttons
// and the fire button are placed on the flank facing their labels below.
struct Marker {
    float dx;
    float dy;
};
constexpr Marker kMarkers[9] = {
    {-45, -110}, {0, -115}, {45, -110}, {0, 0}, {0, 0}, {0, 112}, {0, -72}, {0, -48}, {0, 0},
};

// Distance from point p to the segment a-b.
float DistanceToSegment(Point p, Point a, Point b) {
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float length2 = dx * dx + dy * dy;
    const float t = length2 > 0
                        ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0f, 1.0f)
                        : 0.0f;
    return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

// A leader line never runs over another button's marker. Its elbow is the first that keeps
// both segments clear of every other marker: of the horizontal runs from the longest down to
// none, else of the points around the label's side, the shortest path first.
Point ClearElbow(Point m, Point anchor, float longest, std::span<const Point> others) {
    constexpr float kClearance = 20;
    const auto clear = [&](Point elbow) {
        return std::none_of(others.begin(), others.end(),
                            [&](Point other) {
                                return DistanceToSegment(other, anchor, elbow) < kClearance;
                            }) &&
               std::none_of(others.begin(), others.end(), [&](Point other) {
                   return DistanceToSegment(other, elbow, m) < kClearance;
               });
    };
    const float direction = m.x > anchor.x ? 1.0f : -1.0f;
    for (float run = longest; run >= 0; run -= 5) {
        const Point elbow{anchor.x + direction * run, anchor.y};
        if (clear(elbow)) {
            return elbow;
        }
    }
    std::vector<Point> around;
    for (float run = 5; run <= 2 * longest + 40; run += 5) {
        for (float drop = -60; drop <= 60; drop += 5) {
            around.push_back({anchor.x + direction * run, anchor.y + drop});
        }
    }
    const auto length = [&](Point elbow) {
        return std::hypot(elbow.x - anchor.x, elbow.y - anchor.y) +
               std::hypot(m.x - elbow.x, m.y - elbow.y);
    };
    std::stable_sort(around.begin(), around.end(),
                     [&](Point a, Point b) { return length(a) < length(b); });
    for (const Point elbow : around) {
        if (clear(elbow)) {
            return elbow;
        }
    }
    return {anchor.x + direction * longest, anchor.y};
}

void DrawLeader(Canvas& c, Point m, const Box& label, std::span<const Point> others) {
    const float w = static_cast<float>(c.Width());
    const float h = static_cast<float>(c.Height());
    // Labels parked far outside the picture get no line.
    if (label.x1 < -400 || label.x0 > w + 400 || label.y1 < -400 || label.y0 > h + 400) {
        return;
    }
    const float mid_y = (label.y0 + label.y1) / 2;
    Point anchor;
    Point elbow;
    if (m.x > label.x1) {
        anchor = {label.x1, mid_y};
        elbow = ClearElbow(m, anchor, std::min(70.0f, (m.x - anchor.x) * 0.45f), others);
    } else if (m.x < label.x0) {
        anchor = {label.x0, mid_y};
        elbow = ClearElbow(m, anchor, std::min(70.0f, (anchor.x - m.x) * 0.45f), others);
    } else {
        anchor = {m.x, m.y < label.y0 ? label.y0 : label.y1};
        elbow = anchor;
    }
    const Box all{0, 0, w, h};
    const Rgba line = WithAlpha(kAccent, 0.7f);
    // Start the line at the marker ring, not its centre.
    const float dx = elbow.x - m.x;
    const float dy = elbow.y - m.y;
    const float len = std::max(std::hypot(dx, dy), 1e-3f);
    const Point start{m.x + dx / len * 7.5f, m.y + dy / len * 7.5f};
    const Sdf path = Union(Capsule(start, elbow, 1.3f), Capsule(elbow, anchor, 1.3f));
    c.Glow(all, path, WithAlpha(kAccent, 0.12f), 2.5f);
    c.Fill(all, path, Solid(line));
    c.Fill(all, Circle(anchor.x, anchor.y, 2.6f), Solid(kAccentHi));
}

void DrawMarker(Canvas& c, Point p) {
    const Box box{p.x - 14, p.y - 14, p.x + 14, p.y + 14};
    c.Glow(box, Circle(p.x, p.y, 6), WithAlpha(kAccent, 0.45f), 3);
    c.Fill(box, Circle(p.x, p.y, 6.5f), Solid(Hex(0x0A0C0F, 0.9f)));
    c.Stroke(box, Circle(p.x, p.y, 6.0f), 1.6f, Solid(kAccent));
    c.Fill(box, Circle(p.x, p.y, 2.2f), Solid(kAccentHi));
}

}  // namespace

Canvas DrawMousePage(int width, int height, const LabelBoxes& labels) {
    Canvas c(width, height);
    const float fw = static_cast<float>(width);
    const float fh = static_cast<float>(height);
    const Box all{0, 0, fw, fh};
    Body m{fw / 2, fh / 2 - 4};
    m.half_h = std::min(160.0f, fh / 2 - 36);
    const std::vector<Point> outline = Outline(m);
    const Sdf body = Polygon(outline);
    const Box body_box = Grow(BoundsOf(outline), 4);

    // A spotlight on the desk that fades out to nothing at the picture's edges, so the
    // picture blends into the window wherever the layout puts it.
    c.Fill(all, Ellipse(m.cx, m.cy, fw * 0.48f, fh * 0.5f), [&](float x, float y) {
        const float d = std::hypot((x - m.cx) / (fw * 0.48f), (y - m.cy) / (fh * 0.5f));
        const float t = std::clamp(1.0f - d, 0.0f, 1.0f);
        return WithAlpha(Hex(0x3A2A10), 0.35f * t * t);
    });
    // Fine dotted grid in the spotlight.
    for (float y = 10; y < fh; y += 20) {
        for (float x = 10; x < fw; x += 20) {
            const float d = std::hypot((x - m.cx) / (fw * 0.5f), (y - m.cy) / (fh * 0.52f));
            if (d < 1.0f) {
                c.Fill({x - 2, y - 2, x + 2, y + 2}, Circle(x, y, 0.8f),
                       Solid(WithAlpha(kAccent, 0.16f * (1.0f - d))));
            }
        }
    }

    // Drop shadow, body and rim.
    c.Glow(Grow(body_box, 4),
           Offset(Polygon([&] {
                      std::vector<Point> moved = outline;
                      for (Point& p : moved) {
                          p.y += 7;
                      }
                      return moved;
                  }()),
                  2),
           Hex(0x000000, 0.7f), 10);
    c.Fill(body_box, body,
           RadialGradient(m.cx - 20, m.cy + 40, m.half_h * 1.05f, Hex(0x363D47), Hex(0x121519)));
    // Palm sheen.
    c.Fill(body_box, Intersect(body, Ellipse(m.cx - 18, m.cy + 35, 45, 95)),
           RadialGradient(m.cx - 18, m.cy + 35, 95, Hex(0xFFFFFF, 0.07f), Hex(0xFFFFFF, 0.0f)));

    // Rear light strip just inside the outline, around the tail.
    const Sdf strip_line =
        Intersect([&](float x, float y) { return std::fabs(body(x, y) + 5.0f) - 1.1f; },
                  HalfPlane(0, -1, m.cy + 60));
    c.Glow(body_box, strip_line, WithAlpha(kAccent, 0.3f), 2.5f);
    c.Fill(body_box, strip_line, Solid(kAccent));

    // Left and right buttons: the front of the body above a gentle arc, split by the channel.
    const float split_r = 420;
    const Sdf front = Circle(m.cx, m.cy - 35 - split_r, split_r);
    const Sdf buttons = Intersect(Offset(body, -3), front);
    const Sdf left = Intersect(buttons, HalfPlane(1, 0, -(m.cx - 15)));
    const Sdf right = Intersect(buttons, HalfPlane(-1, 0, m.cx + 15));
    for (const Sdf& side : {left, right}) {
        c.Fill(body_box, side,
               VerticalGradient(m.cy - m.half_h, Hex(0x3A424D), m.cy - 30, Hex(0x1E2329)));
        c.Stroke(body_box, side, 1.2f, Solid(Hex(0x07080A, 0.85f)));
    }
    // Centre channel with wheel and DPI buttons.
    const Sdf channel = RoundRect(m.cx - 13, m.cy - m.half_h + 18, m.cx + 13, m.cy - 24, 8);
    c.Fill(body_box, channel, Solid(Hex(0x08090B)));
    const Sdf wheel = RoundRect(m.cx - 8, m.cy - 145, m.cx + 8, m.cy - 85, 7);
    c.Fill(body_box, wheel, VerticalGradient(m.cy - 145, Hex(0x4A535F), m.cy - 85, Hex(0x20252C)));
    for (float y = m.cy - 140; y < m.cy - 88; y += 5) {
        c.Fill(body_box, RoundRect(m.cx - 7, y, m.cx + 7, y + 1.6f, 0.8f),
               Solid(Hex(0x000000, 0.45f)));
    }
    for (float y : {m.cy - 78, m.cy - 54}) {
        const Sdf key = RoundRect(m.cx - 8, y, m.cx + 8, y + 12, 3);
        c.Fill(body_box, key, VerticalGradient(y, Hex(0x3F4752), y + 12, Hex(0x22272E)));
    }

    // Which side each button's label stands on (-1 left, +1 right); the side buttons and
    // the fire button are drawn on the flank facing their labels.
    std::array<float, 9> side{-1, 1, 1, -1, -1, 1, 1, 1, -1};
    for (std::size_t i = 0; i < 9; ++i) {
        if (labels[i]) {
            side[i] = (labels[i]->x0 + labels[i]->x1) / 2 < m.cx ? -1.0f : 1.0f;
        }
    }
    auto edge = [&](float s, float y) {
        const float edge_x = LeftEdge(outline, y);
        return s < 0 ? edge_x : 2 * m.cx - edge_x;
    };
    // Side buttons on both flanks (the shell is ambidextrous): forward at the front, back
    // behind it.
    constexpr float kForward[2] = {-18, 22};
    constexpr float kBack[2] = {30, 70};
    for (const float s : {-1.0f, 1.0f}) {
        for (const float* span : {kForward, kBack}) {
            const float y0 = m.cy + span[0];
            const float y1 = m.cy + span[1];
            const Sdf pad = Capsule({edge(s, y0) - s, y0}, {edge(s, y1) - s, y1}, 9);
            const float out = m.cx + s * (m.half_w + 4);
            const float in = m.cx + s * (m.half_w - 8);
            c.Fill(body_box, pad, LinearGradient(out, 0, in, 0, Hex(0x4A535F), Hex(0x262B33)));
            c.Stroke(body_box, pad, 1, Solid(Hex(0x07080A, 0.8f)));
        }
    }
    const float fire_y = m.cy - 95;
    const Point fire{edge(side[8], fire_y) - side[8] * 22, fire_y};
    c.Fill(body_box, Circle(fire.x, fire.y, 9),
           RadialGradient(fire.x - 2, fire.y - 2, 10, Hex(0x4A535F), Hex(0x1A1E24)));
    c.Stroke(body_box, Circle(fire.x, fire.y, 9), 1, Solid(Hex(0x07080A, 0.8f)));

    // Palm mark and the mode button behind it.
    DrawMark(c, m.cx, m.cy + 48, 44, kAccent);
    c.Fill(body_box, Ellipse(m.cx, m.cy + 112, 12, 7),
           VerticalGradient(m.cy + 105, Hex(0x434B56), m.cy + 119, Hex(0x1D2127)));
    c.Stroke(body_box, Ellipse(m.cx, m.cy + 112, 12, 7), 1, Solid(Hex(0x07080A, 0.8f)));

    // Outline rim last, over everything on the body.
    c.Stroke(body_box, body, 1.2f, Solid(Hex(0x4B5460, 0.9f)));

    // Markers and leader lines.
    std::array<Point, 9> marks;
    for (std::size_t i = 0; i < 9; ++i) {
        marks[i] = {m.cx + kMarkers[i].dx, m.cy + kMarkers[i].dy};
    }
    const float back_y = m.cy + (kBack[0] + kBack[1]) / 2;
    const float forward_y = m.cy + (kForward[0] + kForward[1]) / 2;
    marks[3] = {edge(side[3], back_y) + side[3] * 2, back_y};
    marks[4] = {edge(side[4], forward_y) + side[4] * 2, forward_y};
    marks[8] = fire;
    for (std::size_t i = 0; i < 9; ++i) {
        if (!labels[i]) {
            continue;
        }
        std::vector<Point> others;
        for (std::size_t j = 0; j < 9; ++j) {
            if (j != i && labels[j]) {
                others.push_back(marks[j]);
            }
        }
        DrawLeader(c, marks[i], *labels[i], others);
    }
    for (std::size_t i = 0; i < 9; ++i) {
        if (labels[i]) {
            DrawMarker(c, marks[i]);
        }
    }
    return c;
}

}  // namespace velq::skin
