#include "pages.h"

#include <array>
#include <cmath>
#include <string>

#include "glyphs.h"
#include "shapes.h"
#include "theme.h"
#include "widgets.h"

namespace velq::skin {
namespace {

using namespace theme;

// Corner cut of the window and dialog outlines.
constexpr float kCut = 18;

// Fills everything outside the outline with the key colour and everything inside with the
// body, both hard-edged; later drawing stays inside `inset` pixels of the outline.
void ShapeWithKey(Canvas& c, const Sdf& outline, const Rgba& top, const Rgba& bottom) {
    const float w = static_cast<float>(c.Width());
    const float h = static_cast<float>(c.Height());
    const Box all{0, 0, w, h};
    c.FillHard(
        all, [](float, float) { return -1.0f; }, Solid(theme::kKey));
    c.FillHard(all, outline, VerticalGradient(0, top, h, bottom));
}

// Border of the shaped window: an opaque dark rim on the outermost pixel row, then a thin
// lit line; both lie fully inside the hard outline so nothing is blended with the key.
void Rim(Canvas& c, const Sdf& outline) {
    const float w = static_cast<float>(c.Width());
    const float h = static_cast<float>(c.Height());
    const Box all{0, 0, w, h};
    const Sdf inside = [outline](float x, float y) { return outline(x, y); };
    // Pixels whose centre is within 1.5 px inside the outline: the rim, painted hard.
    c.FillHard(
        all,
        [inside](float x, float y) {
            const float d = inside(x, y);
            return d <= 0 && d > -1.6f ? -1.0f : 1.0f;
        },
        Solid(Hex(0x3A424D)));
    c.Stroke(all, Offset(outline, -3.5f), 1.0f,
             VerticalGradient(0, WithAlpha(kAccent, 0.35f), h, WithAlpha(kAccent, 0.08f)));
}

Canvas ShapedPanel(int width, int height) {
    Canvas c(width, height);
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const Sdf outline = ChamferRect(0, 0, w, h, kCut);
    ShapeWithKey(c, outline, Hex(0x171B21), Hex(0x0D0F12));
    Rim(c, outline);
    return c;
}

// A raised card with a header strip and a faint corner bracket in the accent colour.
void Card(Canvas& c, const Box& b, bool header) {
    const Sdf card = RoundRect(b.x0, b.y0, b.x1, b.y1, 8);
    c.Glow(b, Offset(card, 1), Hex(0x000000, 0.5f), 6);
    c.Fill(b, card, VerticalGradient(b.y0, Hex(0x1B1F26), b.y1, Hex(0x14171C)));
    c.Stroke(b, Offset(card, -0.5f), 1, VerticalGradient(b.y0, kEdgeHi, b.y1, kEdge));
    if (header) {
        const Sdf head = Intersect(card, HalfPlane(0, 1, -(b.y0 + 30)));
        c.Fill(b, head, VerticalGradient(b.y0, Hex(0x232831), b.y0 + 30, Hex(0x1B1F26)));
        c.Fill(
            b, RoundRect(b.x0 + 10, b.y0 + 30, b.x1 - 10, b.y0 + 31, 0.5f),
            LinearGradient(b.x0, 0, b.x1, 0, WithAlpha(kAccent, 0.6f), WithAlpha(kAccent, 0.0f)));
        c.Fill(b, RoundRect(b.x0 + 10, b.y0 + 10, b.x0 + 13, b.y0 + 21, 1.5f), Solid(kAccent));
    }
    // Corner bracket, bottom right.
    const Sdf bracket = Union(Capsule({b.x1 - 22, b.y1 - 7}, {b.x1 - 7, b.y1 - 7}, 1.5f),
                              Capsule({b.x1 - 7, b.y1 - 22}, {b.x1 - 7, b.y1 - 7}, 1.5f));
    c.Fill(b, bracket, Solid(WithAlpha(kAccent, 0.45f)));
}

// A transparent page picture holding cards side by side; `splits` are the x positions (in
// the picture) where a new card starts. The columns follow the layouts' page grids, so the
// captions on top sit in the card headers.
Canvas Cards(int width, int height, std::initializer_list<float> splits, bool headers = true) {
    Canvas c(width, height);
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    float x0 = 4;
    std::vector<float> edges(splits);
    edges.push_back(w + 6);
    for (float next : edges) {
        const float x1 = next - 10;
        Card(c, {x0, 4, x1, h - 4}, headers);
        if (!headers) {
            x0 = next;
            continue;
        }
        // Speed stripes at the right end of the header, echoing the product mark.
        for (int i = 0; i < 3; ++i) {
            const float sx = x1 - 40 + static_cast<float>(i) * 7;
            c.Fill({sx - 2, 8, sx + 14, 28},
                   Polygon({{sx, 25}, {sx + 4, 25}, {sx + 11, 11}, {sx + 7, 11}}),
                   Solid(WithAlpha(kAccent, 0.18f + 0.08f * static_cast<float>(i))));
        }
        x0 = next;
    }
    return c;
}

// A card whose left part is a darker gutter for the row captions; the rows start at the
// top, so there is no header strip.
Canvas GutterCard(int width, int height, float gutter) {
    Canvas c = Cards(width, height, {}, false);
    const float h = static_cast<float>(height);
    const Box all{0, 0, static_cast<float>(width), h};
    const Sdf side = Intersect(RoundRect(5, 5, gutter, h - 5, 7), HalfPlane(1, 0, -gutter));
    c.Fill(all, side, Solid(Hex(0x000000, 0.22f)));
    c.Fill(all, RoundRect(gutter, 16, gutter + 1, h - 16, 0.5f),
           VerticalGradient(16, WithAlpha(kEdgeHi, 0.0f), h / 2, kEdgeHi));
    c.Fill(all, RoundRect(14, 14, 17, 30, 1.5f), Solid(kAccent));
    return c;
}

Canvas InsertPanel(int width, int height, int icon) {
    Canvas c(width, height);
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    Card(c, {1, 1, w - 1, h - 1}, false);
    const Rgba ink = WithAlpha(kAccent, 0.22f);
    switch (icon) {
        case 0:
            DrawClock(c, w - 26, 26, 13, ink, 1.6f);
            break;
        case 1:
            DrawKeyCap(c, w - 26, 26, 24, ink, 1.6f);
            break;
        default:
            DrawAxes(c, w - 28, 28, 20, ink, 1.6f);
            break;
    }
    return c;
}

// Gun buttons: a plate with the gun's silhouette in the right part, faint when normal and
// lit when selected, so the caption on top stays readable.
Canvas GunButton(int width, int height, int gun, bool selected) {
    Canvas c(width, height);
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    DrawPlate(c, {0, 0, w, h}, 7, selected ? Look::kActive : Look::kNormal);
    const Rgba ink = selected ? WithAlpha(kAccentHi, 0.35f) : WithAlpha(kSoft, 0.22f);
    DrawGun(c, gun, {w * 0.3f, h * 0.18f, w - 8, h - 8}, ink);
    if (selected) {
        c.Fill({0, 0, w, h}, RoundRect(10, h - 4, w - 10, h - 2, 1), Solid(kAccent));
    }
    return c;
}

}  // namespace

namespace {

// Amber corner brackets just inside a box.
void CornerBrackets(Canvas& c, const Box& b) {
    const Box all{0, 0, static_cast<float>(c.Width()), static_cast<float>(c.Height())};
    const Rgba bracket = WithAlpha(kAccent, 0.5f);
    for (const auto& [x, y, dx, dy] : {std::array<float, 4>{b.x0 + 8, b.y0 + 8, 1, 1},
                                       std::array<float, 4>{b.x1 - 8, b.y0 + 8, -1, 1},
                                       std::array<float, 4>{b.x0 + 8, b.y1 - 8, 1, -1},
                                       std::array<float, 4>{b.x1 - 8, b.y1 - 8, -1, -1}}) {
        c.Fill(
            all,
            Union(Capsule({x, y}, {x + 16 * dx, y}, 1.5f), Capsule({x, y}, {x, y + 16 * dy}, 1.5f)),
            Solid(bracket));
    }
}

// Areas of the window, matching the layouts' grid: a header with the window buttons, a rail
// of page tabs at the left, the content area where the page pictures go, and a bottom bar
// with the status line and the frame buttons.
struct WindowAreas {
    float header = 64;
    Box rail{14, 84, 146, 600};
    Box content{176, 76, 1016, 600};
    Box status{24, 612, 510, 641};
};

}  // namespace

Canvas DrawWindowBackground(int width, int height) {
    Canvas c = ShapedPanel(width, height);
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const Box all{0, 0, w, h};
    // Scale the areas when a picture of another size is asked for.
    const float sx = w / 1030.0f;
    const float sy = h / 662.0f;
    WindowAreas a;
    auto scale = [&](Box b) { return Box{b.x0 * sx, b.y0 * sy, b.x1 * sx, b.y1 * sy}; };
    a.header *= sy;
    a.rail = scale(a.rail);
    a.content = scale(a.content);
    a.status = scale(a.status);

    // Header band with the product mark and a lit seam under it.
    const Sdf inner = Offset(ChamferRect(0, 0, w, h, kCut), -4.5f);
    c.Fill(all, Intersect(inner, HalfPlane(0, 1, -a.header)),
           VerticalGradient(0, Hex(0x20252C), a.header, Hex(0x15181D)));
    c.Fill(all, RoundRect(8, a.header, w - 8, a.header + 1, 0.5f), Solid(Hex(0x000000, 0.6f)));
    c.Fill(all, RoundRect(24, a.header, w * 0.5f, a.header + 1, 0.5f),
           LinearGradient(24, 0, w * 0.5f, 0, WithAlpha(kAccent, 0.9f), WithAlpha(kAccent, 0.0f)));
    DrawMark(c, 46, a.header / 2, 34, kAccent);
    // Slanted speed stripes beside the mark.
    for (int i = 0; i < 4; ++i) {
        const float x = 78 + static_cast<float>(i) * 9;
        const float cy = a.header / 2;
        c.Fill(all, Polygon({{x, cy + 11}, {x + 5, cy + 11}, {x + 13, cy - 11}, {x + 8, cy - 11}}),
               Solid(WithAlpha(kAccent, 0.55f - 0.12f * static_cast<float>(i))));
    }
    // A quiet groove behind the window buttons at the top right.
    c.Fill(all, RoundRect(w - 80, 10, w - 12, 44, 8), Solid(Hex(0x0B0D10, 0.6f)));
    c.Stroke(all, RoundRect(w - 79.5f, 10.5f, w - 12.5f, 43.5f, 8), 1, Solid(kEdge));

    // Tab rail.
    const Sdf rail = RoundRect(a.rail.x0, a.rail.y0, a.rail.x1, a.rail.y1, 10);
    c.Fill(all, rail, VerticalGradient(a.rail.y0, Hex(0x181B21), a.rail.y1, Hex(0x101216)));
    c.Stroke(all, Offset(rail, -0.5f), 1, VerticalGradient(a.rail.y0, kEdgeHi, a.rail.y1, kEdge));
    c.Fill(all, RoundRect(a.rail.x0 + 12, a.rail.y0 + 6, a.rail.x1 - 12, a.rail.y0 + 8, 1),
           Solid(WithAlpha(kAccent, 0.7f)));

    // Content well, slightly recessed, with a shadow under its top edge.
    const Box& cb = a.content;
    const Sdf well = RoundRect(cb.x0, cb.y0, cb.x1, cb.y1, 12);
    c.Fill(all, well, VerticalGradient(cb.y0, Hex(0x0C0E11), cb.y1, Hex(0x111419)));
    c.Fill(all, Intersect(well, HalfPlane(0, 1, -(cb.y0 + 40))),
           VerticalGradient(cb.y0, Hex(0x000000, 0.4f), cb.y0 + 40, Hex(0x000000, 0.0f)));
    c.Stroke(all, Offset(well, -0.5f), 1, VerticalGradient(cb.y0, Hex(0x07080A), cb.y1, kEdge));
    CornerBrackets(c, cb);

    // Bottom bar: the status line groove at the left, a seam above.
    c.Fill(all, RoundRect(8, cb.y1 + 5, w - 8, cb.y1 + 6, 0.5f), Solid(Hex(0x000000, 0.5f)));
    const Box& sb = a.status;
    c.Fill(all, RoundRect(sb.x0, sb.y0, sb.x1, sb.y1, 6), Solid(Hex(0x0B0D10, 0.85f)));
    c.Stroke(all, RoundRect(sb.x0 + 0.5f, sb.y0 + 0.5f, sb.x1 - 0.5f, sb.y1 - 0.5f, 6), 1,
             Solid(kEdge));
    const float dot_y = (sb.y0 + sb.y1) / 2;
    c.Glow(all, Circle(sb.x0 + 12, dot_y, 3), WithAlpha(kAccent, 0.4f), 3);
    c.Fill(all, Circle(sb.x0 + 12, dot_y, 3), Solid(kAccent));
    return c;
}

Canvas DrawDialogBackground(int width, int height) {
    Canvas c = ShapedPanel(width, height);
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const Box all{0, 0, w, h};
    const Sdf inner = Offset(ChamferRect(0, 0, w, h, kCut), -4.5f);
    c.Fill(all, Intersect(inner, HalfPlane(0, 1, -48)),
           VerticalGradient(0, Hex(0x1F242B), 48, Hex(0x15181D)));
    c.Fill(all, RoundRect(24, 48, w * 0.5f, 49, 0.5f),
           LinearGradient(24, 0, w * 0.5f, 0, WithAlpha(kAccent, 0.85f), WithAlpha(kAccent, 0.0f)));
    DrawMark(c, 38, 25, 26, kAccent);
    const Box well_box{16, 60, w - 16, h - 16};
    const Sdf well = RoundRect(well_box.x0, well_box.y0, well_box.x1, well_box.y1, 10);
    c.Fill(all, well, VerticalGradient(60, Hex(0x0D0F13), h - 16, Hex(0x111419)));
    c.Stroke(all, Offset(well, -0.5f), 1, VerticalGradient(60, Hex(0x07080A), h - 16, kEdge));
    CornerBrackets(c, well_box);
    return c;
}

std::optional<Canvas> DrawPanel(std::string_view name, int width, int height) {
    // Split positions follow the page grids of the layouts (pictures at x = 190, or 155 for
    // the fire page): advanced has DPI levels left and fire key / pointer right, macro has
    // list, events and delay group, the fire page has the gun column and the slot rows.
    if (name == "Back2") {
        return Cards(width, height, {460});
    }
    if (name == "Back3") {
        return GutterCard(width, height, 200);
    }
    if (name == "Back4") {
        return Cards(width, height, {250, 570});
    }
    if (name == "Back5") {
        return Cards(width, height, {172});
    }
    if (name == "Back6") {
        return Cards(width, height, {311});
    }
    if (name == "InsertDelayBase") {
        return InsertPanel(width, height, 0);
    }
    if (name == "InsertKeyBase") {
        return InsertPanel(width, height, 1);
    }
    if (name == "InsertXYBase") {
        return InsertPanel(width, height, 2);
    }
    // "Gun<n>_01" normal, "Gun<n>_02" selected or hover.
    if (name.size() == 7 && name.starts_with("Gun") && name[3] >= '1' && name[3] <= '7' &&
        name[4] == '_' && (name.substr(5) == "01" || name.substr(5) == "02")) {
        return GunButton(width, height, name[3] - '0', name.substr(5) == "02");
    }
    return std::nullopt;
}

}  // namespace velq::skin
